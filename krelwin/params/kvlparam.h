// CKvlParam: the parameter line of one command call, token 0 being the target file.
// Arguments resolve to full paths relative to the target's folder, with "%0" and "%1"
// standing for the target's name without and with extension.
#pragma once

#include "kelto/system/ezparam.h"

class CKvlParam : public CEzParam
{
public:
    enum { PATH_CACHE = 16, PATH_SIZE = 260 };

    explicit CKvlParam(const wchar_t* _pLine);
    ~CKvlParam() override;

    // Parameter _iNum as a path (0: the target unchanged); null when the parameter is
    // missing or the resolved path would not fit in PATH_SIZE - 1 characters.
    wchar_t* GetFilePath(int _iNum);
    // Parameter 1 as a path when there is one, otherwise the target.
    wchar_t* GetOutput();
    // Name and extension of argument _iNum's path, or _pDefault when the token is empty.
    wchar_t* GetFileName(int _iNum, wchar_t* _pDefault);
    // 1 when _cLetter stands among the flag letters of token _iNum (after "-" and the
    // option letter), ASCII case ignored.
    int CheckOptionChar(int _iNum, wchar_t _cLetter);

private:
    wchar_t* m_pPath[PATH_CACHE];
};
