// CKvlParam: a command's parameter line, its tokens, options and the paths they resolve to.
// Input: the line as UTF-16LE.
#include <cstdint>
#include <vector>

#include "krelwin/params/kvlparam.h"
#include "kelto/string/string.h"
#include "tests/fuzz/support/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* _pData, size_t _uSize)
{
    std::vector<wchar_t> vLine = fuzz_terminated(fuzz_units(_pData, _uSize));
    CKvlParam cParam(vLine.data());
    const int iCount = cParam.GetCount();
    wchar_t szDefault[] = L"default";
    for (int i = 0; i <= iCount + 1 && i < 40; ++i) {
        cParam.GetToken(i, szDefault);
        cParam.IsOption(i);
        const wchar_t* pPath = cParam.GetFilePath(i);
        // A resolved argument fits its room; the target (0) is given back as it stands.
        if (i > 0 && pPath && STRING_len(pPath) >= CKvlParam::PATH_SIZE) __builtin_trap();
        cParam.GetFileName(i, szDefault);
        cParam.CheckOptionChar(i, L'p');
        cParam.GetArgInt(i, 3);
        cParam.GetParam(i);
    }
    cParam.GetOutput();
    cParam.FindOption(L'm');
    cParam.GetOption(L'o', szDefault);
    cParam.GetOptionInt(L'm', 0);
    return 0;
}
