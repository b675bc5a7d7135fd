// Run-length coding of 32- and 16-bit values. Plain C++: no platform calls.
#include "kelto/press/rls.h"

#include "kelto/memory/mem.h"
#include "kelto/tools/busy.h"

#include <cstring>

namespace {

// Element i of a source of _iBytes bytes taken as _iUnit-byte values; a last, partial element
// takes the remaining bytes with zero bytes above them.
uint32_t rls_element(const unsigned char* _pSrc, int _iBytes, int _iIndex, int _iUnit)
{
    uint32_t uValue = 0;
    const int iStart = _iIndex * _iUnit;
    const int iTake = _iBytes - iStart < _iUnit ? _iBytes - iStart : _iUnit;
    for (int i = 0; i < iTake; ++i) uValue |= static_cast<uint32_t>(_pSrc[iStart + i]) << (8 * i);
    return uValue;
}

// The largest source whose run table and value list stay inside the work lists: every run
// takes 4 bytes of the run table for at least two elements.
int rls_maxSource(int _iUnit)
{
    return _iUnit == 4 ? RLS_WORKLIST_SIZE : RLS_WORKLIST_SIZE - 4;
}

// Shared packer: _iUnit 4 writes 32-bit values, 2 writes 16-bit values.
int rls_pack(const void* _pSrc, int _iBytes, uint32_t* _pRuns, int* _pRunBytes, void* _pValues,
             int* _pValueBytes, int _iPositionMode, int _iUnit)
{
    if (!_pSrc || !_pRuns || !_pRunBytes || !_pValues || !_pValueBytes) return 0;
    if (_iBytes <= 0 || _iBytes > rls_maxSource(_iUnit)) return 0;
    const unsigned char* pSrc = static_cast<const unsigned char*>(_pSrc);
    const int iElements = (_iBytes + _iUnit - 1) / _iUnit;
    uint32_t* pValues32 = static_cast<uint32_t*>(_pValues);
    uint16_t* pValues16 = static_cast<uint16_t*>(_pValues);
    auto put = [&](int iIndex, uint32_t uValue) {
        if (_iUnit == 4) pValues32[iIndex] = uValue;
        else pValues16[iIndex] = static_cast<uint16_t>(uValue);
    };

    int iRuns = 0, iCurrent = 0, iBase = 0;
    uint32_t uCurrent = rls_element(pSrc, _iBytes, 0, _iUnit);
    uint32_t uRepeat = 1;
    put(0, uCurrent);
    auto endRun = [&]() {
        if (uRepeat > 1) {
            _pRuns[1 + iRuns] = static_cast<uint32_t>(iCurrent - iBase) | uRepeat << 16;
            ++iRuns;
            if (_iPositionMode == 0) iBase = iCurrent;
        }
        uRepeat = 1;
    };
    for (int i = 1; i < iElements; ++i) {
        BUSY_poll();
        const uint32_t uValue = rls_element(pSrc, _iBytes, i, _iUnit);
        if (uValue == uCurrent && uRepeat < RLS_MAX_REPEAT && iCurrent - iBase <= RLS_MAX_POSITION) {
            ++uRepeat;
            continue;
        }
        endRun();
        ++iCurrent;
        put(iCurrent, uValue);
        uCurrent = uValue;
    }
    endRun();
    if (iRuns == 0) return 0;
    _pRuns[0] = static_cast<uint32_t>(iRuns);
    *_pRunBytes = 4 + 4 * iRuns;
    const int iValues = iCurrent + 1;
    if (_iUnit == 4) {
        *_pValueBytes = 4 * iValues;
    } else {
        if (iValues & 1) pValues16[iValues] = 0;
        *_pValueBytes = (2 * iValues + 3) & ~3;
    }
    return 1;
}

int rls_encode(const void* _pSrc, void* _pOut, int* _pSize, int _iPositionMode, int _iBytes,
               int _iUnit, const char* _pTag)
{
    if (!_pSrc || !_pOut || !_pSize || _iBytes < 0 || _iBytes > rls_maxSource(_iUnit)) return -1;
    if (*_pSize == 0) {
        rls_store(_pSrc, _iBytes, _pOut, _pSize);
        return 2;
    }
    uint32_t* pRuns = static_cast<uint32_t*>(MEM_allocBytes(RLS_WORKLIST_SIZE, _pTag));
    void* pValues = pRuns ? MEM_allocBytes(RLS_WORKLIST_SIZE, _pTag) : 0;
    if (!pValues) {
        MEM_freeBytes(pRuns);
        return -2;
    }
    int iRunBytes = 0, iValueBytes = 0;
    const int iResult =
        rls_pack(_pSrc, _iBytes, pRuns, &iRunBytes, pValues, &iValueBytes, _iPositionMode, _iUnit);
    if (iResult == 1) rls_join(_pOut, pRuns, iRunBytes, pValues, iValueBytes, _iBytes);
    MEM_freeBytes(pRuns);
    MEM_freeBytes(pValues);
    *_pSize = iRunBytes + iValueBytes + 8;
    return iResult;
}

uint32_t rls_word(const unsigned char* _p)
{
    uint32_t u;
    std::memcpy(&u, _p, 4);
    return u;
}

// Shared decoder: _iUnit 4 or 2 bytes per value, _bRelative for relative run positions.
int rls_decode(const void* _pData, int _iBytes, void* _pOut, int _iCount, int _iUnit, bool _bRelative)
{
    if (!_pData || !_pOut || _iBytes < 8 || _iCount < 0) return -1;
    const unsigned char* p = static_cast<const unsigned char*>(_pData);
    const long long llPayload = rls_word(p), llLength = rls_word(p + 4);
    uint32_t* pOut32 = static_cast<uint32_t*>(_pOut);
    uint16_t* pOut16 = static_cast<uint16_t*>(_pOut);

    if (llPayload == 0) {
        if (8 + 4 * llLength > _iBytes || 4 * llLength > static_cast<long long>(_iCount) * _iUnit) return -1;
        std::memcpy(_pOut, p + 8, static_cast<std::size_t>(4 * llLength));
        return static_cast<int>(llLength);
    }
    if (8 + 4 * llPayload > _iBytes) return -1;
    const long long llRuns = rls_word(p + 8);
    if (1 + llRuns > llPayload) return -1;
    const unsigned char* pRuns = p + 12;
    const unsigned char* pValues = pRuns + 4 * llRuns;
    const long long llValues = (llPayload - 1 - llRuns) * (4 / _iUnit);

    long long llRun = 0, llPosition = 0, llOut = 0;
    for (long long v = 0; v < llValues; ++v) {
        uint32_t uValue;
        if (_iUnit == 4) {
            uValue = rls_word(pValues + 4 * v);
        } else {
            uValue = static_cast<uint32_t>(pValues[2 * v] | pValues[2 * v + 1] << 8);
        }
        long long llTimes = 1;
        if (llRun < llRuns) {
            const uint32_t uRun = rls_word(pRuns + 4 * llRun);
            const long long llAt = (uRun & 0xFFFFu) + (_bRelative ? llPosition : 0);
            if (llAt == v) {
                llTimes = uRun >> 16;
                llPosition = llAt;
                ++llRun;
            }
        }
        if (llOut + llTimes > _iCount) {
            // The zero that pads an odd 16-bit value list needs no room of its own.
            if (_iUnit == 2 && v == llValues - 1 && llTimes == 1 && uValue == 0) break;
            return -1;
        }
        for (long long i = 0; i < llTimes; ++i, ++llOut) {
            if (_iUnit == 4) pOut32[llOut] = uValue;
            else pOut16[llOut] = static_cast<uint16_t>(uValue);
        }
    }
    return static_cast<int>(llValues);
}

} // namespace

int rls_packDWORD(const uint32_t* _pSrc, int _iBytes, uint32_t* _pRuns, int* _pRunBytes,
                  uint32_t* _pValues, int* _pValueBytes, int _iPositionMode)
{
    return rls_pack(_pSrc, _iBytes, _pRuns, _pRunBytes, _pValues, _pValueBytes, _iPositionMode, 4);
}

int rls_packWORD(const uint16_t* _pSrc, int _iBytes, uint32_t* _pRuns, int* _pRunBytes,
                 uint16_t* _pValues, int* _pValueBytes, int _iPositionMode)
{
    return rls_pack(_pSrc, _iBytes, _pRuns, _pRunBytes, _pValues, _pValueBytes, _iPositionMode, 2);
}

void rls_store(const void* _pSrc, int _iBytes, void* _pOut, int* _pSize)
{
    if (!_pSrc || !_pOut || !_pSize || _iBytes < 0) return;
    const int iPadded = (_iBytes + 3) & ~3;
    unsigned char* pOut = static_cast<unsigned char*>(_pOut);
    const uint32_t auHead[2] = {0, static_cast<uint32_t>(iPadded / 4)};
    std::memcpy(pOut, auHead, 8);
    std::memcpy(pOut + 8, _pSrc, static_cast<std::size_t>(_iBytes));
    std::memset(pOut + 8 + _iBytes, 0, static_cast<std::size_t>(iPadded - _iBytes));
    *_pSize = iPadded + 8;
}

void rls_join(void* _pOut, const void* _pRuns, int _iRunBytes, const void* _pValues,
              int _iValueBytes, int _iBytes)
{
    if (!_pOut || !_pRuns || !_pValues || _iRunBytes < 0 || _iValueBytes < 0 || _iBytes < 0) return;
    unsigned char* pOut = static_cast<unsigned char*>(_pOut);
    const uint32_t auHead[2] = {static_cast<uint32_t>((_iRunBytes + _iValueBytes) / 4),
                                static_cast<uint32_t>((static_cast<long long>(_iBytes) + 3) / 4)};
    std::memcpy(pOut, auHead, 8);
    std::memcpy(pOut + 8, _pRuns, static_cast<std::size_t>(_iRunBytes));
    std::memcpy(pOut + 8 + _iRunBytes, _pValues, static_cast<std::size_t>(_iValueBytes));
}

int RLS_encodeDWORD(const uint32_t* _pSrc, uint32_t* _pOut, int* _pSize, int _iPositionMode, int _iBytes)
{
    return rls_encode(_pSrc, _pOut, _pSize, _iPositionMode, _iBytes, 4, "RLS_encodeDWORD");
}

int RLS_encodeWORD(const uint16_t* _pSrc, void* _pOut, int* _pSize, int _iPositionMode, int _iBytes)
{
    return rls_encode(_pSrc, _pOut, _pSize, _iPositionMode, _iBytes, 2, "RLS_encodeWORD");
}

int RLS_decodeDWORD(const void* _pData, int _iBytes, uint32_t* _pOut, int _iCount)
{
    return rls_decode(_pData, _iBytes, _pOut, _iCount, 4, false);
}

int RLS_decodeDWORDRel(const void* _pData, int _iBytes, uint32_t* _pOut, int _iCount)
{
    return rls_decode(_pData, _iBytes, _pOut, _iCount, 4, true);
}

int RLS_decodeWORD(const void* _pData, int _iBytes, uint16_t* _pOut, int _iCount)
{
    return rls_decode(_pData, _iBytes, _pOut, _iCount, 2, false);
}

int RLS_decodeWORDRel(const void* _pData, int _iBytes, uint16_t* _pOut, int _iCount)
{
    return rls_decode(_pData, _iBytes, _pOut, _iCount, 2, true);
}
