// WAVE files made byte by byte for the tests of UTTER, WAVEVOL and FILECHECK.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wave_fixture {

inline std::string Le16(uint32_t _u) { return std::string{char(_u & 0xFF), char((_u >> 8) & 0xFF)}; }
inline std::string Le32(uint32_t _u) { return Le16(_u & 0xFFFF) + Le16(_u >> 16); }

// A chunk: id, size and body, with the pad byte after an odd body.
inline std::string Chunk(const char* _pId, const std::string& _strBody)
{
    return std::string(_pId, 4) + Le32(static_cast<uint32_t>(_strBody.size())) + _strBody +
           (_strBody.size() % 2 ? std::string(1, '\0') : std::string());
}
// A chunk whose size field says what the test wants, body as given.
inline std::string RawChunk(const char* _pId, uint32_t _uSize, const std::string& _strBody)
{
    return std::string(_pId, 4) + Le32(_uSize) + _strBody;
}

// The 16 bytes of a PCM format chunk's body.
inline std::string Format(uint16_t _wChannels, uint32_t _uRate, uint16_t _wBits, uint16_t _wTag = 1)
{
    const uint32_t uAlign = _wChannels * (_wBits / 8u);
    return Le16(_wTag) + Le16(_wChannels) + Le32(_uRate) + Le32(_uRate * uAlign) + Le16(uAlign) + Le16(_wBits);
}

// "RIFF", the size of what follows, "WAVE" and the chunks.
inline std::string Riff(const std::string& _strChunks)
{
    return "RIFF" + Le32(static_cast<uint32_t>(4 + _strChunks.size())) + "WAVE" + _strChunks;
}

// A plain PCM file: format chunk, then the data chunk with the sample bytes.
inline std::string Wave(uint16_t _wChannels, uint32_t _uRate, uint16_t _wBits, const std::string& _strSamples)
{
    return Riff(Chunk("fmt ", Format(_wChannels, _uRate, _wBits)) + Chunk("data", _strSamples));
}

// 8-bit sample bytes of signed levels (-128 to 127 around the middle 128).
inline std::string Bytes8(const std::vector<int>& _aLevel)
{
    std::string s;
    for (int i : _aLevel) s += char(static_cast<unsigned char>(128 + i));
    return s;
}
// The same levels as 16-bit samples, each x 256.
inline std::string Bytes16(const std::vector<int>& _aLevel)
{
    std::string s;
    for (int i : _aLevel) s += Le16(static_cast<uint16_t>(static_cast<int16_t>(i * 256)));
    return s;
}

// Frames of _iWindow samples each, every sample of frame k at level +/- _aFrame[k]
// (levels up to 127; the sign alternating, so the signal is a sound and not an offset).
inline std::vector<int> FrameLevels(const std::vector<int>& _aFrame, int _iWindow)
{
    std::vector<int> a;
    for (int iLevel : _aFrame)
        for (int j = 0; j < _iWindow; ++j) a.push_back(j % 2 ? -iLevel : iLevel);
    return a;
}

} // namespace wave_fixture
