// CANZ archives: a 12-byte header ("CANZ", a byte the library does not read, the type,
// the header size, the entry count, the offset and size shifts), an index of 8-byte
// entries (CRC-32 key of the name, offset and stored size in shifted units), then the
// entries' data, each stored as it is or as a GDA1 block. Type 2 archives are found
// through the index; type 3 carries a table of 32-bit sizes instead. Every reader is
// given the size of what it reads; an index or entry outside it finds nothing.
#ifndef KELTO_PRESS_CANZ_H
#define KELTO_PRESS_CANZ_H

#include <cstdint>

class CUnPress;

#define CANZ_HEADER_SIZE 12
#define CANZ_ENTRY_SIZE 8

struct CANZ_HEADER
{
    uint8_t m_uType;
    uint16_t m_uHeaderSize;
    uint16_t m_uCount;
    uint8_t m_uOffsetShift;
    uint8_t m_uSizeShift;
};

struct CANZ_ENTRY
{
    uint32_t m_uKey;
    uint16_t m_uOffset;
    uint16_t m_uSize;
};

// The header of _uSize bytes at _pArchive: 1 for a CANZ header whose header size is 12
// or more and within the bytes, else 0.
int canz_readHeader(const void* _pArchive, uint32_t _uSize, CANZ_HEADER* _pHeader);
// The first index entry whose key is the name's; 1 found, 0 none (type not 2, no key).
// _pHeader is the archive's header with its index, _uSize bytes of it readable.
int canz_findEntry(const wchar_t* _szName, const void* _pHeader, uint32_t _uSize, CANZ_ENTRY* _pEntry);
// Entry number _iIndex; 1, or 0 for a type other than 2 or a number not below the count
// or not within the index.
int canz_getEntry(int _iIndex, const void* _pHeader, uint32_t _uSize, CANZ_ENTRY* _pEntry);

// Reads the header and index of the archive file into a new block (header size bytes,
// replacing what the holder held): 1; 0 when the file cannot be read or is no CANZ archive
// (the holder is then untouched).
int CANZ_MEM_Open(unsigned char** _ppHeader, const wchar_t* _szPath);
// The named entry of the archive file, expanded when it is a GDA1 block, in a new block:
// its size; 0 when the archive cannot be read, is no type-2 archive, lacks the name, or
// the entry is empty, lies outside the file or does not expand.
int CANZ_ReadFile(unsigned char** _ppOut, const wchar_t* _szPath, const wchar_t* _szName);
// The same with the header and index already loaded by CANZ_MEM_Open.
int CANZ_ReadEntry(unsigned char** _ppOut, const unsigned char* _pHeader, const wchar_t* _szPath,
                   const wchar_t* _szName);
// _uStored bytes at _uOffset of the archive file, expanded when they are a GDA1 block.
int canz_mem_seekexpand(uint32_t _uOffset, uint32_t _uStored, unsigned char** _ppOut, const wchar_t* _szPath);

// Archives held whole in memory (_uSize bytes). The expanders take only GDA1 entries and
// need room for the expanded size; they return it, or 0.
int CANZ_MEM_ExpandIndex(void* _pOut, uint32_t _uRoom, const void* _pArchive, uint32_t _uSize, int _iIndex);
int CANZ_MEM_ExpandName(unsigned char** _ppOut, const void* _pArchive, uint32_t _uSize, const wchar_t* _szName);
// Begin the caller's decoder on the entry; the caller steps it until Step returns true.
int CANZ_MEM_BeginIndex(CUnPress* _pDecoder, void* _pOut, uint32_t _uRoom, const void* _pArchive,
                        uint32_t _uSize, int _iIndex);
int CANZ_MEM_BeginName(CUnPress* _pDecoder, void* _pOut, uint32_t _uRoom, const void* _pArchive,
                       uint32_t _uSize, const wchar_t* _szName);
// Expanded size of a GDA1 entry, else its stored size; type 3: the size table's value.
uint32_t CANZ_MEM_GetSizeIndex(const void* _pArchive, uint32_t _uSize, int _iIndex);
uint32_t CANZ_MEM_GetSizeName(const void* _pArchive, uint32_t _uSize, const wchar_t* _szName);

#endif
