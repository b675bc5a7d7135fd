// A clean engine state for the tests of FUNCTION_BASE, INITSAMPLE, DEL, DELREM, ZEN2HAN
// and CHGRW: fresh log and settings (EngineTest), no module objects left from an earlier
// test, and the overwrite question answered by the test instead of a message box.
#pragma once

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "krelwin/main/global.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/module/function_base.h"
#include "tests/krelwin/main/engine_fixture.h"

namespace sample_commands {

// Shift-JIS bytes of a text, converted by the platform's code page 932 tables.
inline std::string Sjis(const std::wstring& _str)
{
    if (_str.empty()) return std::string();
    int n = WideCharToMultiByte(932, 0, _str.c_str(), (int)_str.size(), 0, 0, 0, 0);
    std::string s(n, '\0');
    WideCharToMultiByte(932, 0, _str.c_str(), (int)_str.size(), &s[0], n, 0, 0);
    return s;
}

// The overwrite question: every text asked, and the answer to give.
struct ASKED
{
    static int& Answer() { static int s_i = OUTPUT_ANSWER_NO; return s_i; }
    static std::wstring& Texts() { static std::wstring s_str; return s_str; }
    static int Ask(const wchar_t* _pText)
    {
        Texts() += _pText;
        Texts() += L"|";
        return Answer();
    }
};

class SampleCommandsTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        Module_releaseAll();
        ASKED::Answer() = OUTPUT_ANSWER_NO;
        ASKED::Texts().clear();
        m_pOldAsk = Output_setAsk(ASKED::Ask);
        s_stGl.m_iAbort = 0;
        s_stGl.m_iStop = 0;
    }
    void TearDown() override
    {
        Output_setAsk(m_pOldAsk);
        Module_releaseAll();
        EngineTest::TearDown();
    }

    std::wstring Path(const std::wstring& _strName) const { return m_dir.Path(_strName); }
    // The parameter line as the dispatcher builds it.
    std::wstring Line(const std::wstring& _strTarget, const std::wstring& _strArgs = L"") const
    {
        return L"\"" + Path(_strTarget) + L"\" " + _strArgs;
    }
    // One script line over one file through the dispatcher.
    void Exec(const std::wstring& _strCommand, const std::wstring& _strParam, const std::wstring& _strTarget)
    {
        SCRIPT_STAT st;
        st.m_strCommand = _strCommand;
        st.m_strParam = _strParam;
        Command_exec(st, Path(_strTarget).c_str());
    }
    bool SetReadOnly(const std::wstring& _strName, bool _bOn)
    {
        return SetFileAttributesW(Path(_strName).c_str(),
                                  _bOn ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL) != 0;
    }
    bool IsReadOnly(const std::wstring& _strName) const
    {
        DWORD a = GetFileAttributesW(Path(_strName).c_str());
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
    }

    OUTPUT_ASK m_pOldAsk = 0;
};

} // namespace sample_commands
