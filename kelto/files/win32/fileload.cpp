// Loading files into new blocks, and text files into terminated UTF-16 blocks.
#include "kelto/files/win32/fileload.h"

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/file_private.h"
#include "kelto/memory/mem.h"
#include "kelto/string/moji.h"
#include "kelto/tools/debug.h"

int mem_loadWhole(unsigned char** _ppBuff, const wchar_t* _szPath, int _iMul, const char* _pTag)
{
    if (!_ppBuff || _iMul < 1) return 0;
    int iSize = 0;
    FILE_HANDLE hFile = file_openSized(_szPath, &iSize);
    if (hFile == FILE_INVALID_HANDLE) return 0;  // nothing to load: holder untouched
    int64_t llRoom = static_cast<int64_t>(iSize) * _iMul;
    if (llRoom >= FILE_LOAD_LIMIT) {
        FILE_HdClose(hFile);
        return 0;
    }
    MEM_free(_ppBuff);
    *_ppBuff = KELTO_NEW(_pTag) unsigned char[static_cast<size_t>(llRoom)];
    int iOk = *_ppBuff && file_readAll(hFile, *_ppBuff, iSize);
    FILE_HdClose(hFile);
    if (!iOk) {
        MEM_free(_ppBuff);
        return 0;
    }
    return iSize;
}

int MEM_TargetRead(unsigned char** _ppBuff, const wchar_t* _szPath, const wchar_t* _szMember)
{
    if (!_ppBuff || !_szPath) return 0;
    if (_szMember) return mem_TargetReadMember(_ppBuff, _szPath, _szMember);
    return mem_loadWhole(_ppBuff, _szPath, 1, "MEM_TargetRead");
}

int MEM_TargetRead(unsigned char** _ppBuff, const wchar_t* _szPath, uint32_t* _pCount)
{
    return MEM_TargetRead(_ppBuff, _szPath, 0, _pCount);
}

int MEM_TargetRead(unsigned char** _ppBuff, const wchar_t* _szPath, int _iOffset, uint32_t* _pCount)
{
    if (!_ppBuff || !_szPath || !_pCount) return 0;
    uint32_t uAsked = *_pCount;
    *_pCount = 0;
    int iSize = 0;
    FILE_HANDLE hFile = file_openSized(_szPath, &iSize);
    if (hFile == FILE_INVALID_HANDLE) return 0;  // nothing to load: holder untouched
    MEM_free(_ppBuff);

    int64_t llLeft = _iOffset >= 0 ? static_cast<int64_t>(iSize) - _iOffset : 0;
    int64_t llWant = uAsked < llLeft ? static_cast<int64_t>(uAsked) : llLeft;
    if (llWant <= 0) {  // 0 bytes asked, or an offset at or past the end
        FILE_HdClose(hFile);
        return 0;
    }
    int iWant = static_cast<int>(llWant);
    unsigned char* pBuff = KELTO_NEW("MEM_TargetRead") unsigned char[iWant];
    uint32_t uRead = 0;
    if (pBuff && FILE_HdSeek(hFile, _iOffset, 0) == static_cast<uint32_t>(_iOffset)) {
        while (uRead < static_cast<uint32_t>(iWant)) {
            uint32_t uPart = 0;
            if (!FILE_HdRead(hFile, pBuff + uRead, iWant - uRead, &uPart) || uPart == 0) break;
            uRead += uPart;
        }
    }
    FILE_HdClose(hFile);
    *_pCount = uRead;
    if (uRead != static_cast<uint32_t>(iWant)) {
        MEM_free(&pBuff);
        return 0;
    }
    *_ppBuff = pBuff;
    return iWant;
}

int MEM_TargetRead2(unsigned char** _ppBuff, const wchar_t* _szPath, int _iMul)
{
    KELTO_ASSERT(_iMul > 0);
    if (_iMul < 1) return 0;
    return mem_loadWhole(_ppBuff, _szPath, _iMul, "MEM_TargetRead2");
}

static int mem_textRead(wchar_t** _ppText, const wchar_t* _szPath, int _iMul, const char* _pTag)
{
    if (!_ppText || _iMul < 1) return 0;
    unsigned char* pBytes = 0;
    int iBytes = MEM_TargetRead(&pBytes, _szPath);
    if (iBytes == 0) return 0;
    CMOJIUTIL cMoji;
    const char* pText = reinterpret_cast<const char*>(pBytes);
    int iUnits = cMoji.MbToWcSize(pText, iBytes);
    // Room in units, terminator included; its bytes must stay under the load limit too.
    int64_t llRoom = static_cast<int64_t>(iUnits) * _iMul + 1;
    wchar_t* pOut = 0;
    if (iUnits > 0 && llRoom * static_cast<int64_t>(sizeof(wchar_t)) < FILE_LOAD_LIMIT)
        pOut = KELTO_NEW(_pTag) wchar_t[static_cast<size_t>(llRoom)];
    if (pOut) {
        cMoji.MbToWc(pText, iBytes, pOut);
        pOut[iUnits] = 0;
        *_ppText = pOut;
    }
    MEM_free(&pBytes);
    return pOut ? iUnits : 0;
}

int MEM_TextRead(wchar_t** _ppText, const wchar_t* _szPath)
{
    return mem_textRead(_ppText, _szPath, 1, "MEM_TextRead");
}

int MEM_TextRead2(wchar_t** _ppText, const wchar_t* _szPath, int _iMul)
{
    KELTO_ASSERT(_iMul > 0);
    return mem_textRead(_ppText, _szPath, _iMul, "MEM_TextRead2");
}
