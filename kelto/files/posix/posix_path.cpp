// UTF-16 <-> UTF-8 for the POSIX counterparts; a lone surrogate becomes U+FFFD.
#include "kelto/files/posix/posix_path.h"

#include <cstdint>

std::string POSIX_toUtf8(const wchar_t* _pText)
{
    std::string strOut;
    if (!_pText) return strOut;
    for (const wchar_t* p = _pText; *p; ++p) {
        uint32_t c = static_cast<uint16_t>(*p);
        if (c >= 0xD800 && c < 0xDC00 && p[1] >= 0xDC00 && p[1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint16_t>(p[1]) - 0xDC00);
            ++p;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            strOut += static_cast<char>(c);
        } else if (c < 0x800) {
            strOut += static_cast<char>(0xC0 | (c >> 6));
            strOut += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            strOut += static_cast<char>(0xE0 | (c >> 12));
            strOut += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            strOut += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            strOut += static_cast<char>(0xF0 | (c >> 18));
            strOut += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            strOut += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            strOut += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return strOut;
}

std::string POSIX_path(const wchar_t* _szPath)
{
    std::string strPath = POSIX_toUtf8(_szPath);
    for (char& c : strPath)
        if (c == '\\') c = '/';
    return strPath;
}

std::wstring POSIX_fromUtf8(const char* _pText)
{
    std::wstring strOut;
    if (!_pText) return strOut;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(_pText);
    while (*p) {
        uint32_t c = *p;
        int iMore = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (iMore < 0) {
            strOut += static_cast<wchar_t>(0xFFFD);
            ++p;
            continue;
        }
        c &= iMore == 0 ? 0x7F : (0x3F >> iMore);
        int i = 1;
        for (; i <= iMore && (p[i] & 0xC0) == 0x80; ++i) c = (c << 6) | (p[i] & 0x3F);
        if (i <= iMore) {
            strOut += static_cast<wchar_t>(0xFFFD);
            p += i;
            continue;
        }
        p += iMore + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            strOut += static_cast<wchar_t>(0xD800 + (c >> 10));
            strOut += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
        } else {
            strOut += static_cast<wchar_t>(c);
        }
    }
    return strOut;
}
