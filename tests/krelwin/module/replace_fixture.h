// The REPLASE module in process: rule and text files written as Shift-JIS with CR LF,
// parameter lines built as the dispatcher builds them, the overwrite question answered Yes.
#pragma once

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "krelwin/main/output.h"
#include "krelwin/module/replace.h"
#include "tests/krelwin/main/engine_fixture.h"

namespace replacetest {

inline std::string Sjis(const std::wstring& _str)
{
    if (_str.empty()) return std::string();
    const int n = WideCharToMultiByte(932, 0, _str.c_str(), static_cast<int>(_str.size()), 0, 0, 0, 0);
    std::string s(n, '\0');
    WideCharToMultiByte(932, 0, _str.c_str(), static_cast<int>(_str.size()), &s[0], n, 0, 0);
    return s;
}

inline std::wstring FromSjis(const std::string& _s)
{
    if (_s.empty()) return std::wstring();
    const int n = MultiByteToWideChar(932, 0, _s.data(), static_cast<int>(_s.size()), 0, 0);
    std::wstring str(n, L'\0');
    MultiByteToWideChar(932, 0, _s.data(), static_cast<int>(_s.size()), &str[0], n);
    return str;
}

class ReplaceTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        s_iAsked = 0;
        m_pOldAsk = Output_setAsk(&Ask);
    }
    void TearDown() override
    {
        Output_setAsk(m_pOldAsk);
        EngineTest::TearDown();
    }

    static int Ask(const wchar_t*)
    {
        ++s_iAsked;
        return OUTPUT_ANSWER_YES;
    }

    void Write(const std::wstring& _strName, const std::wstring& _strText)
    {
        ASSERT_TRUE(m_dir.Write(_strName, Sjis(_strText)));
    }
    std::wstring Text(const std::wstring& _strName) const { return FromSjis(m_dir.Read(_strName)); }

    // "<target>" <args> -m<mode>, the target in the test folder.
    int Run(REPLASE& _cRep, const std::wstring& _strTarget, const std::wstring& _strArgs, int _iMode = 0)
    {
        const std::wstring strLine =
            L"\"" + m_dir.Path(_strTarget) + L"\" " + _strArgs + L" -m" + std::to_wstring(_iMode);
        return _cRep.Func(strLine.c_str());
    }

    static int s_iAsked;
    OUTPUT_ASK m_pOldAsk = 0;
};

inline int ReplaceTest::s_iAsked = 0;

}  // namespace replacetest
