// CHECKTXT: the settings reader (include lines, [MAIN] keys, word lists) and the checker
// on a target text, both read from disk as the command reads them.
// Input: the settings file's bytes, a zero byte, then the target's bytes (system code page).
#include <cstdint>
#include <cstring>
#include <unistd.h>

#include "krelwin/module/checktxt.h"
#include "tests/fuzz/support/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    const uint8_t* pCut = static_cast<const uint8_t*>(std::memchr(_pData, 0, _uSize));
    const size_t uSettings = pCut ? static_cast<size_t>(pCut - _pData) : _uSize;
    const size_t uTarget = pCut ? _uSize - uSettings - 1 : 0;
    const std::wstring strIni = fuzz_file(L"check.ini", _pData, uSettings);
    const std::wstring strTarget = fuzz_file(L"target.txt", pCut ? pCut + 1 : _pData, uTarget);
    // The command writes its work files into the current folder: the run's own.
    static bool s_bMoved = false;
    if (!s_bMoved) {
        std::string strFolder;
        for (wchar_t c : strIni.substr(0, strIni.rfind(L'/'))) strFolder += static_cast<char>(c);
        if (chdir(strFolder.c_str()) != 0) __builtin_trap();
        s_bMoved = true;
    }
    CHECKTXT cCheck;
    std::wstring strLine = L"\"" + strTarget + L"\" \"" + strIni + L"\"";
    cCheck.Func(strLine.c_str());
    cCheck.Quit(1);
    return 0;
}
