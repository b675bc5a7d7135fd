// CRC-32/BZIP2 of names (polynomial 0x04C11DB7, MSB first, start 0xFFFFFFFF, final
// complement, no reflection): the hash that the archive and package indexes store.
#include "kelto/string/string.h"

#include "kelto/string/moji.h"

namespace {

const unsigned int CRC_POLY = 0x04C11DB7u;

struct SCrcTable
{
    unsigned int auValue[256];
    SCrcTable()
    {
        for (unsigned int i = 0; i < 256; ++i) {
            unsigned int uCrc = i << 24;
            for (int k = 0; k < 8; ++k) uCrc = (uCrc & 0x80000000u) ? (uCrc << 1) ^ CRC_POLY : (uCrc << 1);
            auValue[i] = uCrc;
        }
    }
};

const SCrcTable& crcTable()
{
    static const SCrcTable s_cTable;
    return s_cTable;
}

} // namespace

unsigned int STRING_crc32(const wchar_t* _pText, int /*_iLength: the whole text is hashed*/)
{
    if (!_pText) return 0xFFFFFFFFu;
    CTOSJIS cText(_pText);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(cText.Get());
    if (!p) return 0xFFFFFFFFu;
    const unsigned int* pTable = crcTable().auValue;
    unsigned int uCrc = 0xFFFFFFFFu;
    for (; *p; ++p) uCrc = (uCrc << 8) ^ pTable[(*p ^ (uCrc >> 24)) & 0xFFu];
    return ~uCrc;
}

unsigned int STRING_crc32W(const wchar_t* _pText)
{
    if (!_pText) return 0xFFFFFFFFu;
    unsigned int uCrc = 0xFFFFFFFFu;
    for (const wchar_t* p = _pText; *p; ++p) {
        uCrc ^= (static_cast<unsigned int>(*p) & 0xFFu) << 24;
        for (int k = 0; k < 8; ++k) uCrc = (uCrc & 0x80000000u) ? (uCrc << 1) ^ CRC_POLY : (uCrc << 1);
    }
    return ~uCrc;
}
