// The spreadsheet commands in process: a fresh engine state, the test spreadsheet on a
// thread, and the DDE client's list and shell calls replaced (the list by conversations
// made per topic, the shell by a record of what it was asked to open).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "kelto/system/win32/ddeplatform.h"
#include "tests/krelwin/main/engine_fixture.h"
#include "tests/support/xlserver.h"

namespace excel_test {

inline std::string Sjis(const std::wstring& _str)
{
    return xlserver::ToCodePage(932, _str);
}

// The topics the replaced list call connects to.
inline std::vector<std::wstring>& ListTopics()
{
    static std::vector<std::wstring> s_topics;
    return s_topics;
}
inline std::vector<std::wstring>& Opened()
{
    static std::vector<std::wstring> s_opened;
    return s_opened;
}

inline INT_PTR& ShellResult()
{
    static INT_PTR s_result = 42;
    return s_result;
}

// Run when the shell is asked to open a file.
inline void (*&OnShell())()
{
    static void (*s_pOnShell)() = nullptr;
    return s_pOnShell;
}

struct FakeList
{
    std::vector<HCONV> convs;
};

inline HCONVLIST WINAPI FakeConnectList(DWORD inst, HSZ service, HSZ, HCONVLIST, PCONVCONTEXT)
{
    FakeList* list = new FakeList;
    for (const std::wstring& name : ListTopics()) {
        HSZ topic = DdeCreateStringHandleW(inst, name.c_str(), CP_WINUNICODE);
        HCONV conv = DdeConnect(inst, service, topic, nullptr);
        if (conv) list->convs.push_back(conv);
        DdeFreeStringHandle(inst, topic);
    }
    return reinterpret_cast<HCONVLIST>(list);
}
inline HCONV WINAPI FakeQueryNextServer(HCONVLIST handle, HCONV prev)
{
    FakeList* list = reinterpret_cast<FakeList*>(handle);
    size_t next = 0;
    if (prev) {
        while (next < list->convs.size() && list->convs[next] != prev) ++next;
        ++next;
    }
    return next < list->convs.size() ? list->convs[next] : nullptr;
}
inline BOOL WINAPI FakeDisconnectList(HCONVLIST handle)
{
    FakeList* list = reinterpret_cast<FakeList*>(handle);
    for (HCONV conv : list->convs) DdeDisconnect(conv);
    delete list;
    return TRUE;
}
inline HINSTANCE WINAPI FakeShellExecute(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR, LPCWSTR, INT show)
{
    Opened().push_back(std::wstring(verb ? verb : L"") + L" " + (file ? file : L"") + L" " + std::to_wstring(show));
    if (OnShell()) OnShell()();
    return reinterpret_cast<HINSTANCE>(ShellResult());
}

class ExcelTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        const DDEXL_PLATFORM fake = {FakeConnectList, FakeQueryNextServer, FakeDisconnectList, FakeShellExecute};
        m_stOld = DDEXL_setPlatform(&fake);
        ListTopics().clear();
        Opened().clear();
        ShellResult() = 42;
        OnShell() = nullptr;
    }
    void TearDown() override
    {
        OnShell() = nullptr;
        m_pServer.reset();
        DDEXL_setPlatform(&m_stOld);
        EngineTest::TearDown();
    }

    // Starts the spreadsheet with the books; the list call offers every sheet topic,
    // "System" and the workbook topics.
    void Serve(const std::vector<xlserver::Book>& _vBooks, bool _bWait = true)
    {
        ListTopics().push_back(L"System");
        for (const xlserver::Book& b : _vBooks) {
            ListTopics().push_back(b.name);
            for (const xlserver::Sheet& s : b.sheets) ListTopics().push_back(L"[" + b.name + L"]" + s.name);
        }
        m_pServer.reset(new xlserver::Spreadsheet(_vBooks, L"Microsoft Excel - BOOK.xls"));
        ASSERT_TRUE(_bWait ? m_pServer->Start() : m_pServer->StartAsync());
    }
    xlserver::Spreadsheet& Server() { return *m_pServer; }

    std::wstring Path(const std::wstring& _strName) const { return m_dir.Path(_strName); }
    std::wstring Line(const std::wstring& _strBook, const std::wstring& _strArgs) const
    {
        return L"\"" + Path(_strBook) + L"\" " + _strArgs;
    }
    // The cell requests of the server, without topics.
    std::vector<std::wstring> Cells(const std::wstring& _strTopic)
    {
        std::vector<std::wstring> v;
        for (const std::wstring& r : m_pServer->Requests()) {
            if (r.compare(0, _strTopic.size() + 1, _strTopic + L"|") == 0) v.push_back(r.substr(_strTopic.size() + 1));
        }
        return v;
    }

    std::unique_ptr<xlserver::Spreadsheet> m_pServer;
    DDEXL_PLATFORM m_stOld = {};
};

}  // namespace excel_test
