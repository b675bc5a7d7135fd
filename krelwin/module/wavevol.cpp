#include "krelwin/module/wavevol.h"

#include <cstring>
#include <new>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"

namespace {

// Chunk headers: a four-letter id and a 32-bit size.
const uint32_t WAVE_CHUNK_HEADER = 8;
const uint32_t WAVE_RIFF_HEADER = 12;
const uint32_t WAVE_FORMAT_SIZE = 16;

bool wave_isId(const unsigned char* _pData, uint32_t _uSize, uint64_t _uPos, const char* _pId)
{
    return _uPos + 4 <= _uSize && std::memcmp(_pData + _uPos, _pId, 4) == 0;
}

// Four bytes that can be a chunk id: printable ASCII, as the ids of every writer are.
bool wave_holdsId(const unsigned char* _pData, uint32_t _uSize, uint64_t _uPos)
{
    if (_uPos + 4 > _uSize) return false;
    for (int i = 0; i < 4; ++i)
        if (_pData[_uPos + i] < 0x20 || _pData[_uPos + i] > 0x7E) return false;
    return true;
}

// A chunk header with such an id whose body ends inside the file.
bool wave_holdsChunk(const unsigned char* _pData, uint32_t _uSize, uint64_t _uPos)
{
    if (!wave_holdsId(_pData, _uSize, _uPos) || _uPos + WAVE_CHUNK_HEADER > _uSize) return false;
    const uint32_t uChunk = WAVEVOL::read32(_pData, _uSize, static_cast<uint32_t>(_uPos + 4));
    return _uPos + WAVE_CHUNK_HEADER + uChunk <= _uSize;
}

// How far the chunks after a place are followed to judge it: a chain this long holds up
// as well, and every judgement reads at most so many chunk headers.
const int WAVE_CHAIN_DEPTH = 16;
const int WAVE_CHAIN_HEADERS = 128;

// How the chunks from a place run on: broken (an id of other bytes, a body past the file's
// end), on for WAVE_CHAIN_DEPTH chunks, or up to a chunk still looked for or the file's end.
enum { WAVE_CHAIN_BROKEN = 0, WAVE_CHAIN_LONG = 1, WAVE_CHAIN_REACHES = 2 };

struct WAVE_CHAIN
{
    const unsigned char* pData;
    uint32_t uSize;
    bool bWantFormat;
    bool bWantData;
    int iHeadersLeft;
};

bool wave_sought(const WAVE_CHAIN& _c, uint64_t _uPos)
{
    return (_c.bWantFormat && wave_isId(_c.pData, _c.uSize, _uPos, "fmt ")) ||
           (_c.bWantData && wave_isId(_c.pData, _c.uSize, _uPos, "data"));
}

// A place where the walk can go on: the file's end, a chunk still looked for, or a chunk
// with a printable id whose body ends inside the file.
bool wave_opens(const WAVE_CHAIN& _c, uint64_t _uPos)
{
    return _uPos == _c.uSize || wave_sought(_c, _uPos) || wave_holdsChunk(_c.pData, _c.uSize, _uPos);
}

// After a chunk of odd size both places are followed, the padded one first; the better
// of the two counts.
int wave_chain(WAVE_CHAIN& _c, uint64_t _uPos, int _iDepth)
{
    if (_uPos == _c.uSize || wave_sought(_c, _uPos)) return WAVE_CHAIN_REACHES;
    if (_c.iHeadersLeft <= 0) return WAVE_CHAIN_BROKEN;
    --_c.iHeadersLeft;
    if (!wave_holdsChunk(_c.pData, _c.uSize, _uPos)) return WAVE_CHAIN_BROKEN;
    if (_iDepth >= WAVE_CHAIN_DEPTH) return WAVE_CHAIN_LONG;
    const uint32_t uChunk = WAVEVOL::read32(_c.pData, _c.uSize, static_cast<uint32_t>(_uPos + 4));
    const uint64_t uEnd = _uPos + WAVE_CHUNK_HEADER + uChunk;
    if (!(uChunk & 1u)) return wave_chain(_c, uEnd, _iDepth + 1);
    const int iPadded = wave_chain(_c, uEnd + 1, _iDepth + 1);
    if (iPadded == WAVE_CHAIN_REACHES) return iPadded;
    const int iUnpadded = wave_chain(_c, uEnd, _iDepth + 1);
    return iUnpadded > iPadded ? iUnpadded : iPadded;
}

// Where the chunk after one of odd size starts, its body ending at _uEnd. Chunks are padded
// to a word, but some writers leave the pad byte out, and a byte that merely looks like an id
// tells neither apart: where both places can start a chunk, the one from which the chunks run
// on is taken, the padded one when both do equally well, so padded files read by the standard
// layout. Only then are chains followed, so a walk over many odd chunks stays linear.
uint64_t wave_nextChunk(const unsigned char* _pData, uint32_t _uSize, uint64_t _uEnd, bool _bWantFormat,
                        bool _bWantData)
{
    const uint64_t uPadded = _uEnd + 1;
    WAVE_CHAIN c = {_pData, _uSize, _bWantFormat, _bWantData, WAVE_CHAIN_HEADERS};
    const bool bPadded = wave_opens(c, uPadded), bUnpadded = wave_opens(c, _uEnd);
    if (bPadded != bUnpadded) return bPadded ? uPadded : _uEnd;
    // Neither: what follows is damaged, and the walk ends in it either way.
    if (!bPadded) return wave_holdsId(_pData, _uSize, uPadded) ? uPadded : _uEnd;
    const int iPadded = wave_chain(c, uPadded, 0);
    if (iPadded == WAVE_CHAIN_REACHES) return uPadded;
    c.iHeadersLeft = WAVE_CHAIN_HEADERS;
    const int iUnpadded = wave_chain(c, _uEnd, 0);
    return iUnpadded > iPadded ? _uEnd : uPadded;
}

} // namespace

WAVEVOL::WAVEVOL()
    : m_uRiffSize(11025), m_wBlockAlign(1), m_wBytesPerSample(1), m_uBytesPerSec(11025),
      m_wChannels(1), m_uSampleRate(11025), m_wBitsPerSample(8), m_iDataSize(11025),
      m_iSamples(11025), m_iAllocated(0), m_iConverted(0)
{
}

WAVEVOL::~WAVEVOL() {}

uint32_t WAVEVOL::read32(const unsigned char* _pData, uint32_t _uSize, uint32_t _uPos)
{
    if (!_pData || static_cast<uint64_t>(_uPos) + 4 > _uSize) return 0;
    const unsigned char* p = _pData + _uPos;
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint16_t WAVEVOL::read16(const unsigned char* _pData, uint32_t _uSize, uint32_t _uPos)
{
    if (!_pData || static_cast<uint64_t>(_uPos) + 2 > _uSize) return 0;
    const unsigned char* p = _pData + _uPos;
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

int WAVEVOL::ReadHeader(const unsigned char* _pData, uint32_t _uSize, WAVE_HEADER* _pOut,
                        int _iWantData)
{
    WAVE_HEADER stHeader;
    std::memset(&stHeader, 0, sizeof stHeader);
    if (_pOut) *_pOut = stHeader;
    if (!_pData) return WAVE_READ_SHORT;
    // Ids are judged on the bytes there are: a short text file is no WAVE file either.
    if (_uSize >= 4 && !wave_isId(_pData, _uSize, 0, "RIFF")) return WAVE_READ_NOT_WAVE;
    if (_uSize >= WAVE_RIFF_HEADER && !wave_isId(_pData, _uSize, 8, "WAVE")) return WAVE_READ_NOT_WAVE;
    if (_uSize < WAVE_RIFF_HEADER) return WAVE_READ_SHORT;
    stHeader.uRiffSize = read32(_pData, _uSize, 4);

    bool bFormat = false, bData = false;
    uint64_t uPos = WAVE_RIFF_HEADER;
    // Every step moves on by at least a chunk header, and the walk stops at the file's end.
    while (uPos + WAVE_CHUNK_HEADER <= _uSize) {
        const uint32_t uChunk = read32(_pData, _uSize, static_cast<uint32_t>(uPos + 4));
        const uint64_t uBody = uPos + WAVE_CHUNK_HEADER;
        const uint64_t uLeft = _uSize - uBody;
        if (!bFormat && wave_isId(_pData, _uSize, uPos, "fmt ")) {
            if (uChunk < WAVE_FORMAT_SIZE) return WAVE_READ_NOT_WAVE;
            // Fields past the file's end read as 0: a cut chunk still shows what it holds.
            const uint32_t b = static_cast<uint32_t>(uBody);
            stHeader.wFormatTag = read16(_pData, _uSize, b);
            stHeader.wChannels = read16(_pData, _uSize, b + 2);
            stHeader.uSampleRate = read32(_pData, _uSize, b + 4);
            stHeader.uBytesPerSec = read32(_pData, _uSize, b + 8);
            stHeader.wBlockAlign = read16(_pData, _uSize, b + 12);
            stHeader.wBitsPerSample = read16(_pData, _uSize, b + 14);
            stHeader.uFormatOffset = b;
            if (uChunk > uLeft) {
                if (_pOut) *_pOut = stHeader;
                return WAVE_READ_SHORT;
            }
            bFormat = true;
        } else if (_iWantData && !bData && wave_isId(_pData, _uSize, uPos, "data")) {
            stHeader.uDataOffset = static_cast<uint32_t>(uBody);
            stHeader.uDataSize = static_cast<uint32_t>(uChunk < uLeft ? uChunk : uLeft);
            bData = true;
        }
        if (bFormat && (bData || !_iWantData)) {
            if (_pOut) *_pOut = stHeader;
            return WAVE_READ_OK;
        }
        uPos = uBody + uChunk;
        if (uChunk & 1u) uPos = wave_nextChunk(_pData, _uSize, uPos, !bFormat, _iWantData && !bData);
    }
    if (_pOut) *_pOut = stHeader;
    return WAVE_READ_SHORT;
}

void WAVEVOL::ReadFixedHeader(const unsigned char* _pData, uint32_t _uSize, WAVE_HEADER* _pOut)
{
    if (!_pOut) return;
    WAVE_HEADER stHeader;
    std::memset(&stHeader, 0, sizeof stHeader);
    stHeader.uRiffSize = read32(_pData, _uSize, 4);
    stHeader.wFormatTag = read16(_pData, _uSize, 20);
    stHeader.wChannels = read16(_pData, _uSize, 22);
    stHeader.uSampleRate = read32(_pData, _uSize, 24);
    stHeader.uBytesPerSec = read32(_pData, _uSize, 28);
    stHeader.wBlockAlign = read16(_pData, _uSize, 32);
    stHeader.wBitsPerSample = read16(_pData, _uSize, 34);
    *_pOut = stHeader;
}

int WAVEVOL::AllocChannels()
{
    m_pChannel[0].reset();
    m_pChannel[1].reset();
    m_iAllocated = 0;
    const std::size_t uCount = m_iSamples > 0 ? static_cast<std::size_t>(m_iSamples) : 1;
    if (uCount > static_cast<std::size_t>(-1) / sizeof(double)) return 0;
    for (std::unique_ptr<double[]>& pBuffer : m_pChannel) {
        pBuffer.reset(new (std::nothrow) double[uCount]());
        if (!pBuffer) {
            m_pChannel[0].reset();
            m_pChannel[1].reset();
            return 0;
        }
    }
    m_iAllocated = 1;
    return 1;
}

int WAVEVOL::readSamples(const unsigned char* _pData, const WAVE_HEADER& _stHeader)
{
    m_uRiffSize = _stHeader.uRiffSize;
    m_wChannels = _stHeader.wChannels;
    m_uSampleRate = _stHeader.uSampleRate;
    m_uBytesPerSec = _stHeader.uBytesPerSec;
    m_wBlockAlign = _stHeader.wBlockAlign;
    m_wBitsPerSample = _stHeader.wBitsPerSample;
    m_wBytesPerSample = static_cast<uint16_t>(m_wBitsPerSample / 8);
    m_iDataSize = static_cast<int32_t>(_stHeader.uDataSize);
    // One sample frame holds every channel's sample; the levels come from the first.
    const uint32_t uStride = static_cast<uint32_t>(m_wChannels) * m_wBytesPerSample;
    m_iSamples = static_cast<int32_t>(_stHeader.uDataSize / uStride);
    if (!AllocChannels()) return 0;

    const int iChannels = m_wChannels >= 2 ? 2 : 1;
    const unsigned char* pFrame = _pData + _stHeader.uDataOffset;
    for (int32_t i = 0; i < m_iSamples; ++i, pFrame += uStride) {
        for (int c = 0; c < iChannels; ++c) {
            const unsigned char* p = pFrame + c * m_wBytesPerSample;
            m_pChannel[c][i] = (m_wBytesPerSample == 2) ? static_cast<int16_t>(p[0] | p[1] << 8)
                                                        : static_cast<int>(p[0]) - 128;
        }
    }
    return 1;
}

int WAVEVOL::Convert(const wchar_t* _pPath, unsigned char* _pOut, int _iOutSize, int _iFrameStep,
                     int _iPercent, int _iType)
{
    if (_iFrameStep < 1 || _iFrameStep > 60 || !_pPath) return 0;
    unsigned char* pData = 0;
    const int iSize = MEM_TargetRead(&pData, _pPath);
    if (!pData) {
        // An empty file holds no header; a missing or unreadable one is not converted.
        return (FILE_IsExist(_pPath) && FILE_GetSize(_pPath) == 0) ? -1 : 0;
    }
    const int iResult =
        ConvertData(pData, static_cast<uint32_t>(iSize), _pOut, _iOutSize, _iFrameStep, _iPercent, _iType);
    MEM_free(&pData);
    return iResult;
}

int WAVEVOL::ConvertData(const unsigned char* _pData, uint32_t _uSize, unsigned char* _pOut,
                         int _iOutSize, int _iFrameStep, int _iPercent, int _iType)
{
    if (_iFrameStep < 1 || _iFrameStep > 60) return 0;
    WAVE_HEADER stHeader;
    if (ReadHeader(_pData, _uSize, &stHeader, 1) != WAVE_READ_OK) return -1;
    if (stHeader.uSampleRate == 0 || stHeader.wChannels == 0 ||
        (stHeader.wBitsPerSample != 8 && stHeader.wBitsPerSample != 16))
        return -1;

    const int iRate = 60 / _iFrameStep;
    // Below one sample a frame the window has no whole sample to divide by.
    if (stHeader.uSampleRate < static_cast<uint32_t>(iRate)) return 0;
    if (!readSamples(_pData, stHeader)) return 0;
    m_iConverted = 1;

    const int iFrames = static_cast<int>(static_cast<double>(iRate) * m_iSamples / m_uSampleRate);
    const int iNeed = (_iType == TYPE_TWO_VALUED) ? (iFrames + 7) / 8 : iFrames;
    if (iNeed <= 0) return 0;
    if (!_pOut) return iNeed;
    if (iNeed > _iOutSize) return 0;

    const double dWindow = static_cast<double>(m_uSampleRate) / iRate;
    const uint64_t uDivisor = static_cast<uint64_t>(dWindow);
    const uint64_t uScale = static_cast<uint64_t>(SampleScale(m_wBytesPerSample));
    const long long llThreshold = static_cast<long long>(_iPercent) * 255 / 100;
    const double* pSamples = m_pChannel[0].get();
    MEM_clear(_pOut, iNeed);
    for (int i = 0; i < iFrames; ++i) {
        uint64_t uSum = 0, uPeak = 0;
        for (long long j = 0; j < dWindow; ++j) {
            const long long llAt = static_cast<long long>(dWindow * i + j);
            if (llAt >= m_iSamples) break;
            const double dValue = pSamples[llAt];
            const uint64_t uAbs = static_cast<uint64_t>(dValue < 0 ? -dValue : dValue);
            uSum += uAbs;
            if (uAbs > uPeak) uPeak = uAbs;
        }
        const uint64_t uMean = uSum / uDivisor / uScale;
        uint64_t uValue = 0;
        switch (_iType) {
        case TYPE_MEAN: uValue = uMean; break;
        case TYPE_PEAK: uValue = uPeak / uScale; break;
        case TYPE_TWO_VALUED: uValue = static_cast<long long>(uMean) >= llThreshold ? 1 : 0; break;
        default: break;
        }
        if (_iType == TYPE_TWO_VALUED) {
            if (uValue) MEM_bitAccess(_pOut, iNeed * 8, i, 1);
        } else {
            // A window of under two samples can sum past the byte; keep it at the top.
            _pOut[i] = static_cast<unsigned char>(uValue > 255 ? 255 : uValue);
        }
    }
    return iFrames;
}
