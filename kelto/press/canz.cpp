// CANZ archives, in memory and in files.
#include "kelto/press/canz.h"

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/file_private.h"
#include "kelto/memory/mem.h"
#include "kelto/press/gda1.h"
#include "kelto/press/unpress.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"

namespace {

uint16_t readLe16(const unsigned char* _p) { return static_cast<uint16_t>(_p[0] | (_p[1] << 8)); }

uint32_t readLe32(const unsigned char* _p)
{
    return uint32_t(_p[0]) | (uint32_t(_p[1]) << 8) | (uint32_t(_p[2]) << 16) | (uint32_t(_p[3]) << 24);
}

void readEntry(const unsigned char* _p, CANZ_ENTRY* _pEntry)
{
    _pEntry->m_uKey = readLe32(_p);
    _pEntry->m_uOffset = readLe16(_p + 4);
    _pEntry->m_uSize = readLe16(_p + 6);
}

// The entry's stored bytes from the archive's start; false when shifted out of 32 bits.
bool locate(const CANZ_HEADER& _cHeader, const CANZ_ENTRY& _cEntry, uint64_t* _pOffset, uint64_t* _pStored)
{
    if (_cHeader.m_uOffsetShift > 31 || _cHeader.m_uSizeShift > 31) return false;
    *_pOffset = _cHeader.m_uHeaderSize + (uint64_t(_cEntry.m_uOffset) << _cHeader.m_uOffsetShift);
    *_pStored = uint64_t(_cEntry.m_uSize) << _cHeader.m_uSizeShift;
    return *_pOffset + *_pStored <= 0xFFFFFFFFull;
}

// The stored bytes of an in-memory archive's entry, by number (_szName null) or by name.
const unsigned char* memEntry(const void* _pArchive, uint32_t _uSize, int _iIndex, const wchar_t* _szName,
                              uint32_t* _pStored)
{
    CANZ_HEADER cHeader;
    CANZ_ENTRY cEntry;
    if (!canz_readHeader(_pArchive, _uSize, &cHeader)) return 0;
    const int iFound = _szName ? canz_findEntry(_szName, _pArchive, _uSize, &cEntry)
                               : canz_getEntry(_iIndex, _pArchive, _uSize, &cEntry);
    uint64_t uOffset = 0, uStored = 0;
    if (!iFound || !locate(cHeader, cEntry, &uOffset, &uStored) || uOffset + uStored > _uSize) return 0;
    *_pStored = static_cast<uint32_t>(uStored);
    return static_cast<const unsigned char*>(_pArchive) + uOffset;
}

} // namespace

int canz_readHeader(const void* _pArchive, uint32_t _uSize, CANZ_HEADER* _pHeader)
{
    const unsigned char* p = static_cast<const unsigned char*>(_pArchive);
    if (!p || !_pHeader || _uSize < CANZ_HEADER_SIZE) return 0;
    if (p[0] != 'C' || p[1] != 'A' || p[2] != 'N' || p[3] != 'Z') return 0;
    CANZ_HEADER cHeader;
    cHeader.m_uType = p[5];
    cHeader.m_uHeaderSize = readLe16(p + 6);
    cHeader.m_uCount = readLe16(p + 8);
    cHeader.m_uOffsetShift = p[10];
    cHeader.m_uSizeShift = p[11];
    if (cHeader.m_uHeaderSize < CANZ_HEADER_SIZE || cHeader.m_uHeaderSize > _uSize) return 0;
    *_pHeader = cHeader;
    return 1;
}

int canz_findEntry(const wchar_t* _szName, const void* _pHeader, uint32_t _uSize, CANZ_ENTRY* _pEntry)
{
    CANZ_HEADER cHeader;
    if (!_szName || !_pEntry || !canz_readHeader(_pHeader, _uSize, &cHeader) || cHeader.m_uType != 2) return 0;
    const uint32_t uKey = STRING_crc32(_szName);
    const unsigned char* pIndex = static_cast<const unsigned char*>(_pHeader) + CANZ_HEADER_SIZE;
    const uint32_t uIndexBytes = cHeader.m_uHeaderSize - CANZ_HEADER_SIZE;
    for (uint32_t u = 0; u + CANZ_ENTRY_SIZE <= uIndexBytes; u += CANZ_ENTRY_SIZE) {
        if (readLe32(pIndex + u) == uKey) {
            readEntry(pIndex + u, _pEntry);
            return 1;
        }
    }
    return 0;
}

int canz_getEntry(int _iIndex, const void* _pHeader, uint32_t _uSize, CANZ_ENTRY* _pEntry)
{
    CANZ_HEADER cHeader;
    if (!_pEntry || !canz_readHeader(_pHeader, _uSize, &cHeader) || cHeader.m_uType != 2) return 0;
    if (_iIndex < 0 || _iIndex >= cHeader.m_uCount) return 0;
    const uint32_t uAt = CANZ_HEADER_SIZE + CANZ_ENTRY_SIZE * static_cast<uint32_t>(_iIndex);
    if (uAt + CANZ_ENTRY_SIZE > cHeader.m_uHeaderSize) return 0;  // count past the index
    readEntry(static_cast<const unsigned char*>(_pHeader) + uAt, _pEntry);
    return 1;
}

int CANZ_MEM_Open(unsigned char** _ppHeader, const wchar_t* _szPath)
{
    if (!_ppHeader || !_szPath) return 0;
    int iFileSize = 0;
    FILE_HANDLE hFile = file_openSized(_szPath, &iFileSize);
    if (hFile == FILE_INVALID_HANDLE) return 0;
    unsigned char aHead[CANZ_HEADER_SIZE];
    CANZ_HEADER cHeader;
    unsigned char* pBlock = 0;
    if (file_readAll(hFile, aHead, CANZ_HEADER_SIZE) &&
        canz_readHeader(aHead, static_cast<uint32_t>(iFileSize), &cHeader)) {
        pBlock = KELTO_NEW("CANZ_MEM_Open") unsigned char[cHeader.m_uHeaderSize];
        if (pBlock) {
            MEM_copy(pBlock, aHead, CANZ_HEADER_SIZE);
            if (!file_readAll(hFile, pBlock + CANZ_HEADER_SIZE, cHeader.m_uHeaderSize - CANZ_HEADER_SIZE))
                MEM_free(&pBlock);
        }
    }
    FILE_HdClose(hFile);
    if (!pBlock) return 0;
    MEM_free(_ppHeader);
    *_ppHeader = pBlock;
    return 1;
}

int canz_mem_seekexpand(uint32_t _uOffset, uint32_t _uStored, unsigned char** _ppOut, const wchar_t* _szPath)
{
    if (!_ppOut || !_szPath || _uStored == 0) return 0;
    int iFileSize = 0;
    FILE_HANDLE hFile = file_openSized(_szPath, &iFileSize);
    if (hFile == FILE_INVALID_HANDLE) return 0;
    unsigned char* pBlock = 0;
    if (uint64_t(_uOffset) + _uStored <= static_cast<uint64_t>(iFileSize)) {
        pBlock = KELTO_NEW("canz_mem_seekexpand") unsigned char[_uStored];
        if (pBlock && (FILE_HdSeek(hFile, static_cast<int32_t>(_uOffset), 0) != _uOffset ||
                       !file_readAll(hFile, pBlock, static_cast<int>(_uStored))))
            MEM_free(&pBlock);
    }
    FILE_HdClose(hFile);
    if (!pBlock) return 0;
    if (_uStored >= 4 && pBlock[0] == 'G' && pBlock[1] == 'D' && pBlock[2] == 'A' && pBlock[3] == '1') {
        const int iSize = EXPA_GDA1(&pBlock, _uStored, _ppOut);
        MEM_free(&pBlock);
        return iSize;
    }
    MEM_free(_ppOut);
    *_ppOut = pBlock;
    return static_cast<int>(_uStored);
}

int CANZ_ReadEntry(unsigned char** _ppOut, const unsigned char* _pHeader, const wchar_t* _szPath,
                   const wchar_t* _szName)
{
    CANZ_HEADER cHeader;
    CANZ_ENTRY cEntry;
    // The loaded block is the header with its index, as long as its header size says.
    if (!_pHeader || !canz_readHeader(_pHeader, 0xFFFF, &cHeader)) return 0;
    if (!canz_findEntry(_szName, _pHeader, cHeader.m_uHeaderSize, &cEntry)) return 0;
    uint64_t uOffset = 0, uStored = 0;
    if (!locate(cHeader, cEntry, &uOffset, &uStored)) return 0;
    return canz_mem_seekexpand(static_cast<uint32_t>(uOffset), static_cast<uint32_t>(uStored), _ppOut, _szPath);
}

int CANZ_ReadFile(unsigned char** _ppOut, const wchar_t* _szPath, const wchar_t* _szName)
{
    if (!_ppOut || !_szPath || !_szName) return 0;
    unsigned char* pHeader = 0;
    if (!CANZ_MEM_Open(&pHeader, _szPath)) return 0;
    const int iSize = CANZ_ReadEntry(_ppOut, pHeader, _szPath, _szName);
    MEM_free(&pHeader);
    return iSize;
}

int CANZ_MEM_ExpandIndex(void* _pOut, uint32_t _uRoom, const void* _pArchive, uint32_t _uSize, int _iIndex)
{
    uint32_t uStored = 0;
    const unsigned char* pData = memEntry(_pArchive, _uSize, _iIndex, 0, &uStored);
    if (!pData) return 0;
    CUnPress cDecoder;
    const int iSize = gda1_begin(&cDecoder, _pOut, _uRoom, pData, uStored);
    if (iSize == 0) return 0;
    while (!cDecoder.Step()) BUSY_poll();
    if (cDecoder.Failed() || cDecoder.OutCount() != static_cast<uint32_t>(iSize)) return 0;
    return iSize;
}

int CANZ_MEM_ExpandName(unsigned char** _ppOut, const void* _pArchive, uint32_t _uSize, const wchar_t* _szName)
{
    uint32_t uStored = 0;
    const unsigned char* pData = _szName ? memEntry(_pArchive, _uSize, 0, _szName, &uStored) : 0;
    if (!pData) return 0;
    return gda1_expand(_ppOut, pData, uStored);
}

int CANZ_MEM_BeginIndex(CUnPress* _pDecoder, void* _pOut, uint32_t _uRoom, const void* _pArchive,
                        uint32_t _uSize, int _iIndex)
{
    uint32_t uStored = 0;
    const unsigned char* pData = memEntry(_pArchive, _uSize, _iIndex, 0, &uStored);
    return pData ? gda1_begin(_pDecoder, _pOut, _uRoom, pData, uStored) : 0;
}

int CANZ_MEM_BeginName(CUnPress* _pDecoder, void* _pOut, uint32_t _uRoom, const void* _pArchive,
                       uint32_t _uSize, const wchar_t* _szName)
{
    uint32_t uStored = 0;
    const unsigned char* pData = _szName ? memEntry(_pArchive, _uSize, 0, _szName, &uStored) : 0;
    return pData ? gda1_begin(_pDecoder, _pOut, _uRoom, pData, uStored) : 0;
}

static uint32_t canz_entrySize(const unsigned char* _pData, uint32_t _uStored)
{
    uint32_t uExpanded = 0;
    if (gda1_check(_pData, _uStored, &uExpanded, 0)) return uExpanded;
    return _uStored;
}

uint32_t CANZ_MEM_GetSizeIndex(const void* _pArchive, uint32_t _uSize, int _iIndex)
{
    CANZ_HEADER cHeader;
    if (!canz_readHeader(_pArchive, _uSize, &cHeader)) return 0;
    if (cHeader.m_uType == 3) {
        if (_iIndex < 0) return 0;
        const uint64_t uAt = CANZ_HEADER_SIZE + 4ull * static_cast<uint32_t>(_iIndex);
        if (uAt + 4 > _uSize) return 0;
        return readLe32(static_cast<const unsigned char*>(_pArchive) + uAt);
    }
    uint32_t uStored = 0;
    const unsigned char* pData = memEntry(_pArchive, _uSize, _iIndex, 0, &uStored);
    return pData ? canz_entrySize(pData, uStored) : 0;
}

uint32_t CANZ_MEM_GetSizeName(const void* _pArchive, uint32_t _uSize, const wchar_t* _szName)
{
    uint32_t uStored = 0;
    const unsigned char* pData = _szName ? memEntry(_pArchive, _uSize, 0, _szName, &uStored) : 0;
    return pData ? canz_entrySize(pData, uStored) : 0;
}
