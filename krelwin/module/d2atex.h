// D2ATEX: rewrites the texture references of a text: in each ".tga" name that follows a
// double quote, the characters after the quote (8 at most) become the first characters of
// the target path. Writes the text to the output argument, or back to the target.
#pragma once

#include <string>

#include "krelwin/module/module.h"

// Characters of a name that the rewrite replaces at most.
#define D2ATEX_PREFIX_LENGTH 8

class SMPL_D2ATEX : public CModule
{
public:
    SMPL_D2ATEX() {}

    int Func(const wchar_t* _pParam) override;
    void Quit(int _iFinal) override;

    // The text with the rewrite done, _pPrefix giving the characters (as many as it has).
    static std::wstring Rewrite(const std::wstring& _strText, const wchar_t* _pPrefix);
};
