// BMP files for tests, written and read byte by byte without the library under test:
// 40-byte info header, bottom-up rows padded to 4 bytes, the file padded to a multiple
// of 4 bytes as the library's own blocks are.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace bmpfile {

inline void Put32(std::string* s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) (*s)[at + i] = static_cast<char>(v >> (8 * i));
}
inline void Put16(std::string* s, size_t at, uint32_t v) {
    (*s)[at] = static_cast<char>(v);
    (*s)[at + 1] = static_cast<char>(v >> 8);
}
inline uint32_t Get32(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(s[at + i]);
    return v;
}
inline uint32_t Get16(const std::string& s, size_t at) {
    return static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1]) << 8;
}

inline int Stride(int width, int bits) {
    const long long bytes = (static_cast<long long>(width) * bits + 7) / 8;
    return static_cast<int>((bytes + 3) & ~3LL);
}

// Pixel values as the library gives them: the index at 4 and 8 bits, the colour value
// r | g << 8 | b << 16 at 24 bits, the stored word (b, g, r, a bytes) at 32 bits.
typedef std::function<uint32_t(int x, int y)> PixelFn;

struct Spec {
    int width = 1;
    int height = 1;
    int bits = 8;
    PixelFn pixel = [](int, int) { return 0u; };
    // Palette colour values; at 4 and 8 bits a missing entry i is the grey i, i, i.
    std::vector<uint32_t> palette;
    int paletteEntries = -1;  // -1: 16 at 4 bits, 256 at 8 bits, none otherwise
    int resolution = 72;
};

inline std::string Make(const Spec& sp) {
    int entries = sp.paletteEntries;
    if (entries < 0) entries = sp.bits == 4 ? 16 : sp.bits == 8 ? 256 : 0;
    const int stride = Stride(sp.width, sp.bits);
    const size_t offset = 54 + 4 * static_cast<size_t>(entries);
    size_t size = offset + static_cast<size_t>(stride) * sp.height;
    size = (size + 3) & ~static_cast<size_t>(3);
    std::string s(size, '\0');
    s[0] = 'B';
    s[1] = 'M';
    Put32(&s, 2, static_cast<uint32_t>(size));
    Put32(&s, 10, static_cast<uint32_t>(offset));
    Put32(&s, 14, 40);
    Put32(&s, 18, static_cast<uint32_t>(sp.width));
    Put32(&s, 22, static_cast<uint32_t>(sp.height));
    Put16(&s, 26, 1);
    Put16(&s, 28, static_cast<uint32_t>(sp.bits));
    Put32(&s, 38, static_cast<uint32_t>(sp.resolution));
    Put32(&s, 42, static_cast<uint32_t>(sp.resolution));
    for (int i = 0; i < entries; ++i) {
        const uint32_t c = i < static_cast<int>(sp.palette.size()) ? sp.palette[i]
                                                                    : static_cast<uint32_t>(i * 0x010101);
        s[54 + 4 * i] = static_cast<char>(c >> 16);
        s[55 + 4 * i] = static_cast<char>(c >> 8);
        s[56 + 4 * i] = static_cast<char>(c);
    }
    for (int y = 0; y < sp.height; ++y) {
        const size_t row = offset + static_cast<size_t>(sp.height - 1 - y) * stride;
        for (int x = 0; x < sp.width; ++x) {
            const uint32_t v = sp.pixel(x, y);
            switch (sp.bits) {
            case 4: {
                char& b = s[row + x / 2];
                if (x & 1) b = static_cast<char>((b & 0xF0) | (v & 0x0F));
                else b = static_cast<char>((b & 0x0F) | (v & 0x0F) << 4);
                break;
            }
            case 8: s[row + x] = static_cast<char>(v); break;
            case 24:
                s[row + 3 * x] = static_cast<char>(v >> 16);
                s[row + 3 * x + 1] = static_cast<char>(v >> 8);
                s[row + 3 * x + 2] = static_cast<char>(v);
                break;
            case 32: Put32(&s, row + 4 * x, v); break;
            default: break;
            }
        }
    }
    return s;
}

// A picture of the pixel function at the depth (default palette).
inline std::string Picture(int width, int height, int bits, const PixelFn& pixel) {
    Spec sp;
    sp.width = width;
    sp.height = height;
    sp.bits = bits;
    sp.pixel = pixel;
    return Make(sp);
}

// A 24-bit colour that differs from place to place, so that a part of a picture is found
// at one place only.
inline uint32_t Noise(int x, int y) {
    // Unsigned throughout: an int product would overflow.
    const uint32_t u = (static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u) * 2654435761u;
    return (u ^ (u >> 13)) & 0xFFFFFF;
}

// The same image with a longer info header (the 108- and 124-byte forms of newer editors):
// the extra header bytes go between the 40 bytes and the palette, the sizes and the pixel
// offset grow by as much.
inline std::string WithLongInfoHeader(const std::string& image, uint32_t infoSize) {
    std::string s = image;
    const uint32_t extra = infoSize - 40;
    s.insert(54, std::string(extra, '\x5A'));  // header fields nobody here reads
    Put32(&s, 2, static_cast<uint32_t>(s.size()));
    Put32(&s, 10, Get32(s, 10) + extra);
    Put32(&s, 14, infoSize);
    return s;
}

// A file read back: header fields and pixel values in the forms above.
struct Image {
    bool ok = false;
    int width = 0, height = 0, bits = 0;
    std::string bytes;
    uint32_t Pixel(int x, int y) const {
        const size_t offset = Get32(bytes, 10);
        const size_t row = offset + static_cast<size_t>(height - 1 - y) * Stride(width, bits);
        switch (bits) {
        case 4: {
            const unsigned char b = static_cast<unsigned char>(bytes[row + x / 2]);
            return (x & 1) ? (b & 0x0F) : (b >> 4);
        }
        case 8: return static_cast<unsigned char>(bytes[row + x]);
        case 24:
            return static_cast<unsigned char>(bytes[row + 3 * x + 2]) |
                   static_cast<unsigned char>(bytes[row + 3 * x + 1]) << 8 |
                   static_cast<unsigned char>(bytes[row + 3 * x]) << 16;
        case 32: return Get32(bytes, row + 4 * x);
        default: return 0;
        }
    }
};

inline Image Read(const std::string& bytes) {
    Image im;
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return im;
    im.bytes = bytes;
    im.width = static_cast<int>(Get32(bytes, 18));
    im.height = static_cast<int>(Get32(bytes, 22));
    im.bits = static_cast<int>(Get16(bytes, 28));
    const size_t need = Get32(bytes, 10) + static_cast<size_t>(Stride(im.width, im.bits)) * im.height;
    im.ok = im.width >= 0 && im.height >= 0 && need <= bytes.size();
    return im;
}

}  // namespace bmpfile
