#include "krelwin/module/rlspress.h"

#include <cstdint>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/press/rls.h"
#include "kelto/string/moji.h"
#include "kelto/string/string.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/params/kvlparam.h"

MODULE_DEFINE_CREATOR(RLSPRESS)

namespace {

void rlspress_putU32(unsigned char* _pOut, uint32_t _uValue)
{
    for (int i = 0; i < 4; ++i) _pOut[i] = static_cast<unsigned char>(_uValue >> (8 * i));
}

} // namespace

void RLSPRESS::MakeHeader(unsigned char* _pOut, const wchar_t* _pExt, unsigned int _uSize)
{
    MEM_clear(_pOut, RLSPRESS_HEADER_SIZE);
    _pOut[0] = 'R';
    _pOut[1] = 'L';
    _pOut[2] = 'S';
    if (_pExt && _pExt[0] == L'.') ++_pExt;
    if (_pExt && _pExt[0]) {
        CTOSJIS cExt(_pExt);
        const char* pBytes = cExt.Get();
        for (int i = 0; pBytes && i < 4 && pBytes[i]; ++i) _pOut[4 + i] = static_cast<unsigned char>(pBytes[i]);
    }
    rlspress_putU32(_pOut + 8, _uSize);
}

void RLSPRESS::Quit(int) {}

int RLSPRESS::Func(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pTarget = cParam.GetTarget();
    if (!pTarget || !pTarget[0]) return 0;

    unsigned char* pData = 0;
    const int iSize = MEM_TargetRead(&pData, pTarget);
    if (iSize <= 0 || !pData) {
        MEM_free(&pData);
        return 0;
    }

    const wchar_t* pOutput = cParam.GetOutput();
    wchar_t szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH], szName[FILE_PART_LENGTH],
        szExt[FILE_PART_LENGTH];
    wchar_t szPath[FILE_PATH_LENGTH] = {0};
    if (pOutput) {
        FILE_split(pOutput, szDrive, szDir, szName, szExt);
        if (szName[0] || szExt[0]) FILE_merge(szPath, szDrive, szDir, szName, L".rls", FILE_PATH_LENGTH);
    }
    if (!szPath[0]) {
        MEM_free(&pData);
        Message_err(L"Can't write file.%s", pOutput ? Get_FileName(pOutput) : cParam.GetParam(1));
        return 0;
    }

    // The encoder's work lists bound the source; a larger one is refused, not overrun.
    if (iSize > RLS_WORKLIST_SIZE) {
        MEM_free(&pData);
        Message_err(L"size over:%s", pTarget);
        return 0;
    }

    // Room for the header and the encoder's largest output (16 + 2 x source bytes), at
    // least the source doubled and rounded up to 1 KiB.
    int iRoom = (2 * iSize + 1023) / 1024 * 1024;
    if (iRoom < RLSPRESS_HEADER_SIZE + 16 + 2 * iSize) iRoom += 1024;
    unsigned char* pOut = KELTO_NEW("RLSPRESS::Func") unsigned char[iRoom];
    if (!pOut) {
        MEM_free(&pData);
        Message_err(L"error %s", pTarget);
        return 0;
    }
    MEM_clear(pOut, iRoom);

    int iCoded = 1;  // non-zero asks for the coded form
    const int iResult = RLS_encodeDWORD(reinterpret_cast<const uint32_t*>(pData),
                                        reinterpret_cast<uint32_t*>(pOut + RLSPRESS_HEADER_SIZE), &iCoded, 1,
                                        iSize);
    MEM_free(&pData);
    if (iResult < 1) {
        // No run (or no memory for the work lists): there is no RLS data to write, and a
        // header over nothing would be a broken file.
        delete[] pOut;
        Message_err(L"error %s", pTarget);
        return 0;
    }
    Message_info(L"%s %3d%%", pTarget, static_cast<int>(static_cast<long long>(iCoded) * 100 / iSize));

    MakeHeader(pOut, szExt, static_cast<unsigned int>(iSize));
    const int iWritten = Write_OutFile(szPath, pOut, RLSPRESS_HEADER_SIZE + iCoded);
    delete[] pOut;
    return iWritten > 0 ? 1 : 0;
}
