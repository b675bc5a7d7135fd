// The DDEXL_ client against the test spreadsheet on a thread of this program. The list
// calls of DDEML are replaced by conversations made with DdeConnect per topic, so the
// sheet-list loop meets real conversations.
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "kelto/system/win32/dde.h"
#include "kelto/system/win32/ddeplatform.h"
#include "tests/support/xlserver.h"

namespace {

using xlserver::Book;
using xlserver::Spreadsheet;

std::vector<Book> Books()
{
    Book book{L"BOOK.xls", {}};
    book.Add(L"S1")
        .Set(1, 1, L"abc")
        .Set(2, 1, L"日本語")
        .Set(1, 2, L"abcdef")
        .Set(3, 1, std::wstring(L"ab\0cd", 5))
        .Set(4, 1, std::wstring(5000, L'x'))
        .Set(5, 1, L"", xlserver::CELL_NACK)
        .Set(6, 1, L"", xlserver::CELL_SILENT)
        .Set(7, 1, L"late", xlserver::CELL_LATE);
    book.Add(L"LongSheetName").Set(1, 1, L"long");
    book.Add(L"S3").Set(1, 1, L"three");
    Book other{L"OTHER.xls", {}};
    other.Add(L"X").Set(1, 1, L"x");
    return {book, other};
}

// Waits, within a bound, until the server holds the given number of conversations.
bool WaitConversations(Spreadsheet& server, int count)
{
    const DWORD start = GetTickCount();
    while (server.OpenConversations() != count) {
        if (GetTickCount() - start > 5000) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    return true;
}

// The conversation list: one DdeConnect per (service, topic) of the table.
struct FakeList
{
    std::vector<HCONV> convs;
};
std::vector<std::pair<std::wstring, std::wstring>>& ListTopics()
{
    static std::vector<std::pair<std::wstring, std::wstring>> s_topics;
    return s_topics;
}
int& OpenLists()
{
    static int s_open = 0;
    return s_open;
}

HCONVLIST WINAPI FakeConnectList(DWORD inst, HSZ, HSZ, HCONVLIST, PCONVCONTEXT)
{
    FakeList* list = new FakeList;
    for (const auto& entry : ListTopics()) {
        HSZ service = DdeCreateStringHandleW(inst, entry.first.c_str(), CP_WINUNICODE);
        HSZ topic = DdeCreateStringHandleW(inst, entry.second.c_str(), CP_WINUNICODE);
        HCONV conv = DdeConnect(inst, service, topic, nullptr);
        if (conv) list->convs.push_back(conv);
        DdeFreeStringHandle(inst, service);
        DdeFreeStringHandle(inst, topic);
    }
    ++OpenLists();
    return reinterpret_cast<HCONVLIST>(list);
}

HCONV WINAPI FakeQueryNextServer(HCONVLIST handle, HCONV prev)
{
    FakeList* list = reinterpret_cast<FakeList*>(handle);
    size_t next = 0;
    if (prev) {
        while (next < list->convs.size() && list->convs[next] != prev) ++next;
        ++next;
    }
    return next < list->convs.size() ? list->convs[next] : nullptr;
}

BOOL WINAPI FakeDisconnectList(HCONVLIST handle)
{
    FakeList* list = reinterpret_cast<FakeList*>(handle);
    for (HCONV conv : list->convs) DdeDisconnect(conv);
    delete list;
    --OpenLists();
    return TRUE;
}

// What the shell was asked to open.
std::vector<std::wstring>& Opened()
{
    static std::vector<std::wstring> s_opened;
    return s_opened;
}
INT_PTR& ShellResult()
{
    static INT_PTR s_result = 42;
    return s_result;
}
HINSTANCE WINAPI FakeShellExecute(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR params, LPCWSTR dir, INT show)
{
    Opened().push_back(std::wstring(verb ? verb : L"-") + L"|" + (file ? file : L"-") + L"|" +
                       (params ? params : L"-") + L"|" + (dir ? dir : L"-") + L"|" + std::to_wstring(show));
    return reinterpret_cast<HINSTANCE>(ShellResult());
}

class DdeClientTest : public ::testing::Test
{
protected:
    DdeClientTest() : server_(Books()) {}
    void SetUp() override
    {
        ASSERT_TRUE(server_.Start());
        const DDEXL_PLATFORM fake = {FakeConnectList, FakeQueryNextServer, FakeDisconnectList, FakeShellExecute};
        old_ = DDEXL_setPlatform(&fake);
        ListTopics().clear();
        Opened().clear();
        ShellResult() = 42;
        OpenLists() = 0;
    }
    void TearDown() override
    {
        DDEXL_Disconnect(&state_);
        DDEXL_setPlatform(&old_);
    }

    Spreadsheet server_;
    DDEXL_STATE state_;
    DDEXL_PLATFORM old_ = {};
};

TEST_F(DdeClientTest, CellsAreReadFromTheSheetConversationAsText)
{
    ASSERT_EQ(1, DDEXL_Connect(&state_, L"C:\\data\\BOOK.xls", L"[BOOK.xls]S1"));
    ASSERT_NE(nullptr, state_.m_hConv) << "the workbook topic, as a path";
    ASSERT_NE(nullptr, state_.m_hConv2);
    wchar_t out[4096];
    struct Row
    {
        const char* name;
        int row, col;
        std::wstring text;
    } rows[] = {
        {"ASCII with its line end", 1, 1, L"abc\r\n"},
        {"code page 932 to UTF-16", 2, 1, L"日本語\r\n"},
        {"the text ends at its first NUL", 3, 1, L"ab"},
        {"an empty cell is its line end", 9, 9, L"\r\n"},
        {"a long cell is cut to the room", 4, 1, std::wstring(4095, L'x')},
    };
    for (const Row& r : rows) {
        out[0] = L'?';
        EXPECT_EQ(0, DDEXL_GetData(&state_, r.row, r.col, out, 4096)) << r.name;
        EXPECT_EQ(r.text, std::wstring(out)) << r.name;
    }
    const std::vector<std::wstring> requests = server_.Requests();
    ASSERT_EQ(5u, requests.size());
    EXPECT_EQ(L"[BOOK.xls]S1|R1C1", requests[0]);
    EXPECT_EQ(L"[BOOK.xls]S1|R9C9", requests[3]);
}

TEST_F(DdeClientTest, TheTextIsCutToOutCharsLessOneAndNothingPastItIsWritten)
{
    ASSERT_EQ(1, DDEXL_Connect(&state_, L"BOOK.xls", L"[BOOK.xls]S1"));
    wchar_t out[8];
    for (wchar_t& c : out) c = L'#';
    EXPECT_EQ(0, DDEXL_GetData(&state_, 1, 2, out, 4));
    EXPECT_EQ(std::wstring(L"abc"), std::wstring(out));
    EXPECT_EQ(L'#', out[4]);
    for (wchar_t& c : out) c = L'#';
    EXPECT_EQ(0, DDEXL_GetData(&state_, 1, 2, out, 1));
    EXPECT_EQ(0, out[0]);
    EXPECT_EQ(L'#', out[1]);
}

TEST_F(DdeClientTest, BadArgumentsAreRefusedWithoutARequest)
{
    wchar_t out[16] = L"keep";
    EXPECT_EQ(-1, DDEXL_GetData(&state_, 1, 1, out, 16)) << "no conversation yet";
    ASSERT_EQ(1, DDEXL_Connect(&state_, L"BOOK.xls", L"[BOOK.xls]S1"));
    EXPECT_EQ(-1, DDEXL_GetData(&state_, 0, 1, out, 16));
    EXPECT_EQ(-1, DDEXL_GetData(&state_, 1, 0, out, 16));
    EXPECT_EQ(-1, DDEXL_GetData(&state_, -3, 1, out, 16));
    EXPECT_EQ(-1, DDEXL_GetData(&state_, 1, 1, nullptr, 16));
    EXPECT_EQ(-1, DDEXL_GetData(&state_, 1, 1, out, 0));
    EXPECT_EQ(-1, DDEXL_GetData(nullptr, 1, 1, out, 16));
    EXPECT_EQ(-1, DDEXL_GetData(&state_, 2000000000, 2000000000, out, 16)) << "the item name does not fit";
    EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(DdeClientTest, AFailedRequestEmptiesOut)
{
    ASSERT_EQ(1, DDEXL_Connect(&state_, L"BOOK.xls", L"[BOOK.xls]S1"));
    wchar_t out[16] = L"stale";
    EXPECT_EQ(-2, DDEXL_GetData(&state_, 5, 1, out, 16));
    EXPECT_EQ(0, out[0]);
    // The conversation still serves the next cell.
    EXPECT_EQ(0, DDEXL_GetData(&state_, 1, 1, out, 16));
    EXPECT_EQ(std::wstring(L"abc\r\n"), std::wstring(out));
}

TEST_F(DdeClientTest, ARequestThatIsNeverAnsweredTimesOut)
{
    // A conversation of its own: a late reply would be taken by the next request on it.
    ASSERT_EQ(1, DDEXL_Connect(&state_, L"BOOK.xls", L"[BOOK.xls]S1"));
    wchar_t out[16] = L"stale";
    const DWORD start = GetTickCount();
    EXPECT_EQ(-2, DDEXL_GetData(&state_, 6, 1, out, 16));
    EXPECT_LT(GetTickCount() - start, 10000u);
    EXPECT_EQ(0, out[0]);
}

TEST_F(DdeClientTest, ALateReplyIsNeverTakenForTheNextCell)
{
    // The server answers the timed-out request only when the next one comes.
    ASSERT_EQ(1, DDEXL_Connect(&state_, L"BOOK.xls", L"[BOOK.xls]S1"));
    wchar_t out[16] = L"stale";
    EXPECT_EQ(-2, DDEXL_GetData(&state_, 7, 1, out, 16));
    EXPECT_EQ(0, out[0]);
    ASSERT_NE(nullptr, state_.m_hConv2) << "the sheet conversation is made anew";
    EXPECT_EQ(0, DDEXL_GetData(&state_, 1, 1, out, 16));
    EXPECT_EQ(std::wstring(L"abc\r\n"), std::wstring(out));
    EXPECT_EQ(0, DDEXL_GetData(&state_, 2, 1, out, 16));
    EXPECT_EQ(std::wstring(L"日本語\r\n"), std::wstring(out));
}

TEST_F(DdeClientTest, ATopicTheServerDoesNotOfferGivesNoConversation)
{
    EXPECT_EQ(1, DDEXL_Connect(&state_, L"NONE.xls", L"[NONE.xls]S1"));
    EXPECT_EQ(nullptr, state_.m_hConv);
    EXPECT_EQ(nullptr, state_.m_hConv2);
    wchar_t out[16];
    EXPECT_EQ(-1, DDEXL_GetData(&state_, 1, 1, out, 16));
    EXPECT_EQ(-1, DDEXL_Disconnect(&state_));
}

TEST_F(DdeClientTest, ASheetWithoutItsConversationIsNeverReadFromTheWorkbooks)
{
    // The workbook's conversation would answer with another sheet's cells.
    ASSERT_EQ(1, DDEXL_Connect(&state_, L"BOOK.xls", L"[BOOK.xls]NONE"));
    ASSERT_NE(nullptr, state_.m_hConv);
    ASSERT_EQ(nullptr, state_.m_hConv2);
    wchar_t out[16] = L"stale";
    EXPECT_EQ(-1, DDEXL_GetData(&state_, 1, 1, out, 16));
    EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(DdeClientTest, WithoutASheetTopicCellsComeFromTheWorkbookConversation)
{
    ASSERT_EQ(1, DDEXL_Connect(&state_, L"BOOK.xls", nullptr));
    wchar_t out[16];
    EXPECT_EQ(0, DDEXL_GetData(&state_, 1, 1, out, 16));
    ASSERT_EQ(1u, server_.Requests().size());
    EXPECT_EQ(L"BOOK.xls|R1C1", server_.Requests()[0]);
}

TEST_F(DdeClientTest, DisconnectDropsBothConversationsAndTheStateConnectsAgain)
{
    ASSERT_EQ(1, DDEXL_Connect(&state_, L"BOOK.xls", L"[BOOK.xls]S1"));
    const unsigned long inst = state_.m_dwInst;
    ASSERT_TRUE(WaitConversations(server_, 2));
    EXPECT_EQ(0, DDEXL_Disconnect(&state_));
    EXPECT_EQ(nullptr, state_.m_hConv);
    EXPECT_EQ(nullptr, state_.m_hConv2);
    EXPECT_TRUE(WaitConversations(server_, 0));
    EXPECT_EQ(-1, DDEXL_Disconnect(&state_)) << "nothing left to drop";

    // The instance stays: every later sheet connects on it.
    for (const wchar_t* sheet : {L"[BOOK.xls]S3", L"[BOOK.xls]S3", L"[BOOK.xls]S1"}) {
        ASSERT_EQ(1, DDEXL_Connect(&state_, L"BOOK.xls", sheet));
        EXPECT_EQ(inst, state_.m_dwInst);
        wchar_t out[16];
        EXPECT_EQ(0, DDEXL_GetData(&state_, 1, 1, out, 16)) << testing::PrintToString(std::wstring(sheet));
        EXPECT_EQ(0, DDEXL_Disconnect(&state_));
    }
}

TEST_F(DdeClientTest, ASpreadsheetStartedAgainIsConnectedOnTheTopicsItHadBefore)
{
    // The conversations the spreadsheet ended when it closed must not stand in the way.
    ASSERT_EQ(1, DDEXL_Connect(&state_, L"BOOK.xls", L"[BOOK.xls]S1"));
    PostMessageW(server_.Window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(server_.WaitClosed(5000));
    wchar_t out[16];
    EXPECT_GT(0, DDEXL_GetData(&state_, 1, 1, out, 16));
    DDEXL_Disconnect(&state_);
    Spreadsheet again(Books());
    ASSERT_TRUE(again.Start());
    ASSERT_EQ(1, DDEXL_Connect(&state_, L"BOOK.xls", L"[BOOK.xls]S1"));
    EXPECT_NE(nullptr, state_.m_hConv);
    EXPECT_NE(nullptr, state_.m_hConv2);
    EXPECT_EQ(0, DDEXL_GetData(&state_, 1, 1, out, 16));
    EXPECT_EQ(std::wstring(L"abc\r\n"), std::wstring(out));
    EXPECT_EQ(0, DDEXL_Disconnect(&state_));
    EXPECT_TRUE(WaitConversations(again, 0));
}

TEST_F(DdeClientTest, DisconnectWithoutAWorkbookConversationLeavesTheSheetOpen)
{
    ASSERT_EQ(1, DDEXL_Connect(&state_, L"NONE.xls", L"[BOOK.xls]S1"));
    ASSERT_EQ(nullptr, state_.m_hConv);
    ASSERT_NE(nullptr, state_.m_hConv2);
    EXPECT_EQ(-1, DDEXL_Disconnect(&state_));
    EXPECT_NE(nullptr, state_.m_hConv2);
    wchar_t out[16];
    EXPECT_EQ(0, DDEXL_GetData(&state_, 1, 1, out, 16));
    // A later connection of the state drops it first, so the same topic is had again.
    ASSERT_EQ(1, DDEXL_Connect(&state_, L"BOOK.xls", L"[BOOK.xls]S1"));
    ASSERT_NE(nullptr, state_.m_hConv2);
    EXPECT_TRUE(WaitConversations(server_, 2));
}

// The names of a sheet list, in order; a last name without its NUL is marked.
std::vector<std::wstring> Names(const std::wstring& list)
{
    std::vector<std::wstring> names;
    for (size_t i = 0; i < list.size();) {
        const size_t end = list.find(L'\0', i);
        if (end == std::wstring::npos) {
            names.push_back(L"(no NUL) " + list.substr(i));
            break;
        }
        names.push_back(list.substr(i, end - i));
        i = end + 1;
    }
    return names;
}

TEST_F(DdeClientTest, TheSheetListTakesTheWorkbooksSheetTopics)
{
    Spreadsheet other({Books()[0]}, L"Other", L"Other");
    ASSERT_TRUE(other.Start());
    ListTopics() = {
        {L"Excel", L"System"},          {L"Other", L"[BOOK.xls]S1"},  // another service
        {L"Excel", L"[BOOK.xls]S1"},    {L"Excel", L"BOOK.xls"},      // no "]"
        {L"Excel", L"[OTHER.xls]X"},    {L"Excel", L"[BOOK.xls]LongSheetName"},
        {L"Excel", L"[book.XLS]S3"},
    };
    struct Row
    {
        const char* name;
        const wchar_t* book;
        std::vector<std::wstring> names;
    } rows[] = {
        {"every sheet of the book", L"C:\\data\\BOOK.xls", {L"S1", L"LongSheetName", L"S3"}},
        {"the book's name in another case", L"book.xls", {L"S1", L"LongSheetName", L"S3"}},
        {"no book: every workbook's sheets", nullptr, {L"S1", L"X", L"LongSheetName", L"S3"}},
        {"a workbook the server does not have", L"NONE.xls", {}},
    };
    for (const Row& r : rows) {
        std::wstring list = L"stale";
        EXPECT_EQ(static_cast<int>(r.names.size()), DDEXL_GetSheetList(r.book, &list)) << r.name;
        EXPECT_EQ(r.names, Names(list)) << r.name;
        EXPECT_EQ(0, OpenLists()) << r.name;
    }
    EXPECT_EQ(3, DDEXL_GetSheetList(L"BOOK.xls", nullptr)) << "no out: the count alone";
    EXPECT_TRUE(WaitConversations(server_, 0)) << "the list's conversations are dropped";
}

TEST_F(DdeClientTest, WithoutListedConversationsTheServersOwnTopicListStandsIn)
{
    // The platform's list calls may be stubs that list nothing.
    ListTopics().clear();
    std::wstring list;
    EXPECT_EQ(3, DDEXL_GetSheetList(L"BOOK.xls", &list));
    EXPECT_EQ(std::wstring(L"S1\0LongSheetName\0S3\0", 20), list);
    EXPECT_EQ(4, DDEXL_GetSheetList(nullptr, nullptr));
    EXPECT_TRUE(WaitConversations(server_, 0));
    PostMessageW(server_.Window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(server_.WaitClosed(5000));
    list = L"stale";
    EXPECT_EQ(0, DDEXL_GetSheetList(L"BOOK.xls", &list)) << "no server at all";
    EXPECT_TRUE(list.empty());
}

TEST(DdeClientTopicsTest, TheServersTopicListIsTakenWhole)
{
    // A name of any length is taken whole; a workbook name alone and empty entries are no
    // sheets, and a workbook whose name is longer than any file name is not the one asked.
    Book longName{std::wstring(300, L'L') + L".xls", {}};
    longName.Add(L"S1");
    Book book{L"BOOK.xls", {}};
    book.Add(L"S1");
    book.Add(L"");
    book.Add(std::wstring(300, L's'));
    Spreadsheet server({longName, book});
    ASSERT_TRUE(server.Start());
    const DDEXL_PLATFORM fake = {FakeConnectList, FakeQueryNextServer, FakeDisconnectList, FakeShellExecute};
    DDEXL_PLATFORM old = DDEXL_setPlatform(&fake);
    ListTopics().clear();
    std::wstring list;
    EXPECT_EQ(2, DDEXL_GetSheetList(L"BOOK.xls", &list));
    EXPECT_EQ(std::vector<std::wstring>({L"S1", std::wstring(300, L's')}), Names(list));
    EXPECT_EQ(3, DDEXL_GetSheetList(nullptr, nullptr)) << "every workbook's: the long one's S1 too";
    DDEXL_setPlatform(&old);
}

TEST(DdeClientTopicsTest, EverySheetIsListedHoweverManyTheServerHolds)
{
    // The workbook's 48 sheets of 17 or 18 characters each hold far more than any fixed
    // list, and with other workbooks open before it the server's topic list runs past 64 KiB.
    Book others{L"OTHERS.xls", {}};
    for (int i = 0; i < 2000; ++i) others.Add(L"他の本の見出しシート" + std::to_wstring(i));
    Book book{L"BOOK.xls", {}};
    const std::vector<std::wstring> names = xlserver::ScenarioSheetNames(48);
    for (const std::wstring& n : names) book.Add(n);
    Spreadsheet server({others, book});
    ASSERT_TRUE(server.Start());
    const DDEXL_PLATFORM fake = {FakeConnectList, FakeQueryNextServer, FakeDisconnectList, FakeShellExecute};
    DDEXL_PLATFORM old = DDEXL_setPlatform(&fake);
    struct Row
    {
        const char* name;
        bool listed;  // the platform lists the conversations (else the server's topic list)
    } rows[] = {{"the server's topic list", false}, {"the conversation list", true}};
    for (const Row& r : rows) {
        ListTopics().clear();
        if (r.listed) {
            for (const std::wstring& n : names) ListTopics().push_back({L"Excel", L"[BOOK.xls]" + n});
        }
        std::wstring list;
        EXPECT_EQ(48, DDEXL_GetSheetList(L"BOOK.xls", &list)) << r.name;
        EXPECT_EQ(names, Names(list)) << r.name;
    }
    ListTopics().clear();
    EXPECT_EQ(2048, DDEXL_GetSheetList(nullptr, nullptr)) << "every workbook's sheets";
    DDEXL_setPlatform(&old);
    EXPECT_TRUE(WaitConversations(server, 0));
}

TEST(DdeClientManyCellsTest, TheInstanceIsStartedAnewUnseenByItsCaller)
{
    // Under Wine a process runs out of string handles after some 16,000 answered items
    // (the end-to-end test reads 17,000 cells), so every few thousand requests the instance
    // is started anew: the cells stay right, both conversations are made again and none is
    // left behind.
    const int kRows = 1030, kCols = 4;
    Book book{L"BIG.xls", {}};
    book.Add(L"S1").Fill(kRows, kCols);
    Spreadsheet server({book}, L"Microsoft Excel - test", L"Excel", 600000);
    ASSERT_TRUE(server.Start());
    DDEXL_STATE state;
    ASSERT_EQ(1, DDEXL_Connect(&state, L"BIG.xls", L"[BIG.xls]S1"));
    const unsigned long first = state.m_dwInst;
    const DWORD start = GetTickCount();
    wchar_t out[64];
    int wrong = 0;
    for (int col = 1; col <= kCols; ++col) {
        for (int row = 1; row <= kRows; ++row) {
            const int result = DDEXL_GetData(&state, row, col, out, 64);
            const std::wstring expected = xlserver::FillText(row, col) + L"\r\n";
            if (result == 0 && expected == out) continue;
            if (++wrong <= 3) {
                ADD_FAILURE() << "R" << row << "C" << col << " gave " << result << " "
                              << testing::PrintToString(std::wstring(out));
            }
        }
    }
    printf("%d cells in %lu ms\n", kRows * kCols, static_cast<unsigned long>(GetTickCount() - start));
    EXPECT_EQ(0, wrong) << "cells not read right";
    EXPECT_NE(first, state.m_dwInst) << "the instance was started anew";
    EXPECT_EQ(static_cast<size_t>(kRows * kCols), server.Requests().size()) << "each cell asked once";
    EXPECT_TRUE(WaitConversations(server, 2)) << "the workbook and the sheet, no more";
    EXPECT_NE(nullptr, state.m_hConv);
    EXPECT_EQ(0, DDEXL_Disconnect(&state));
    EXPECT_TRUE(WaitConversations(server, 0));
}

// Cell requests on one conversation, each of a distinct cell (Wine keeps one string handle
// per item name, so the range stays small).
TEST_F(DdeClientTest, DISABLED_BenchmarkCellRequests)
{
    ASSERT_EQ(1, DDEXL_Connect(&state_, L"BOOK.xls", L"[BOOK.xls]S1"));
    const int kRows = 1000;
    wchar_t out[4096];
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    for (int row = 1; row <= kRows; ++row) ASSERT_EQ(0, DDEXL_GetData(&state_, row, 3, out, 4096));
    QueryPerformanceCounter(&t1);
    const double ms = 1000.0 * (t1.QuadPart - t0.QuadPart) / freq.QuadPart;
    printf("DDEXL_GetData: %d requests in %.1f ms, %.3f ms each\n", kRows, ms, ms / kRows);
}

TEST_F(DdeClientTest, TheShellOpensMinimisedAndTheServerIsWaitedFor)
{
    EXPECT_EQ(1, DDEXL_ShellOpen(L"C:\\data\\BOOK.xls"));
    ShellResult() = 31;
    EXPECT_EQ(0, DDEXL_ShellOpen(L"C:\\data\\BOOK.xls"));
    EXPECT_EQ(0, DDEXL_ShellOpen(nullptr));
    ASSERT_EQ(2u, Opened().size());
    EXPECT_EQ(L"open|C:\\data\\BOOK.xls|-|-|" + std::to_wstring(SW_MINIMIZE), Opened()[0]);

    EXPECT_EQ(1, DDEXL_WaitServer(5000));
    PostMessageW(server_.Window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(server_.WaitClosed(5000));
    EXPECT_EQ(0, DDEXL_WaitServer(200));
    EXPECT_EQ(1, DDEXL_Connect(&state_, L"BOOK.xls", L"[BOOK.xls]S1")) << "DDE itself runs";
    EXPECT_EQ(nullptr, state_.m_hConv);
}

TEST_F(DdeClientTest, TheErrorBoxShowsNothingWithoutAnError)
{
    EXPECT_EQ(0, DDEXL_ErrorBox(nullptr, nullptr));
    ASSERT_EQ(1, DDEXL_Connect(&state_, L"BOOK.xls", L"[BOOK.xls]S1"));
    wchar_t out[16];
    ASSERT_EQ(0, DDEXL_GetData(&state_, 1, 1, out, 16));
    EXPECT_EQ(0, DDEXL_ErrorBox(nullptr, &state_));
}

// The message box of this process titled as the DDE error box: its text, then OK pressed.
struct BoxWatch
{
    std::wstring text;
    bool found = false;
};
BOOL CALLBACK FindBox(HWND w, LPARAM p)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    wchar_t title[64] = {0};
    GetWindowTextW(w, title, 64);
    if (pid != GetCurrentProcessId() || std::wstring(title) != L"サーバーに接続失敗") return TRUE;
    BoxWatch* watch = reinterpret_cast<BoxWatch*>(p);
    wchar_t text[1024] = {0};
    GetDlgItemTextW(w, 0xFFFF, text, 1024);
    watch->text = text;
    watch->found = true;
    PostMessageW(w, WM_COMMAND, IDOK, 0);
    return FALSE;
}
DWORD WINAPI WatchBox(LPVOID p)
{
    BoxWatch* watch = static_cast<BoxWatch*>(p);
    const DWORD start = GetTickCount();
    while (!watch->found && GetTickCount() - start < 10000) {
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(watch));
        if (!watch->found) Sleep(20);
    }
    return 0;
}

TEST(DdeErrorBoxTest, TheLastErrorIsShownInABox)
{
    // An instance identifier DDEML never gave out: the query itself fails.
    DDEXL_STATE state;
    state.m_dwInst = 0x7777;
    BoxWatch watch;
    HANDLE watcher = CreateThread(nullptr, 0, WatchBox, &watch, 0, nullptr);
    ASSERT_NE(nullptr, watcher);
    EXPECT_EQ(IDOK, DDEXL_ErrorBox(nullptr, &state));
    WaitForSingleObject(watcher, 15000);
    CloseHandle(watcher);
    ASSERT_TRUE(watch.found);
    EXPECT_FALSE(watch.text.empty());
}

}  // namespace
