#include "krelwin/module/listupparam.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto/string/filter.h"
#include "krelwin/module/function_base.h"
#include "tests/krelwin/module/sample_commands_fixture.h"

namespace {

// Bytes that no script holds: every value, unbalanced quotes, comment marks and
// parentheses, and Shift-JIS lead bytes without their trail bytes.
std::string HostileBytes()
{
    std::string strBytes;
    unsigned int uSeed = 2024;
    for (int i = 0; i < 65536; ++i) {
        uSeed = uSeed * 1103515245u + 12345u;
        strBytes += static_cast<char>((uSeed >> 16) & 0xFF);
    }
    return strBytes + "(\"/*(,[\x81";
}

using sample_commands::Sjis;
typedef std::vector<std::wstring> Items;

// The scan as it was before it was made linear: every "(" that follows the name takes the
// text up to the next ")" again, and the word before it is walked back to its start. Kept
// to show that the module gives the same items and the same log lines.
namespace reference {

int matchName(const LISTUPPARAM& _cList, const wchar_t* _pText, int _iOpen)
{
    if (!_pText || _iOpen <= 0) return 0;
    int iStart = _iOpen;
    while (iStart > 0 && static_cast<unsigned short>(_pText[iStart - 1]) > 0x20) --iStart;
    const int iLen = _iOpen - iStart;
    if (iLen <= 0 || iLen >= LISTUPPARAM::WORD_LENGTH) return 0;
    const std::wstring strWord(_pText + iStart, _pText + _iOpen);
    return (!_cList.m_strListName.empty() && strWord.find(_cList.m_strListName) != std::wstring::npos) ? 1 : 0;
}

int parseList(LISTUPPARAM& _cList, const wchar_t* _pText, int _iPos, int _iLength)
{
    std::vector<std::wstring> vItem;
    std::wstring strItem;
    int i = _iPos;
    while (i < _iLength && _pText[i] != L')') {
        if (_pText[i] == L',') {
            ++i;
            continue;
        }
        if (strItem.size() < LISTUPPARAM::ITEM_LENGTH) strItem += _pText[i];
        ++i;
        if (i < _iLength && _pText[i] == L',') {
            vItem.push_back(strItem);
            strItem.clear();
            ++i;
        }
    }
    if (i >= _iLength) {
        Message_err(L"%s の括弧が閉じていません. %s", _cList.m_strListName.c_str(), L"");
        return 0;
    }
    vItem.push_back(strItem);
    for (const std::wstring& strOne : vItem) {
        if (static_cast<int>(strOne.size()) >= LISTUPPARAM::ITEM_LENGTH) {
            Message_err(L"パラメータが長すぎます(%d文字まで). %s...", LISTUPPARAM::ITEM_LENGTH - 1,
                        strOne.substr(0, LISTUPPARAM::ITEM_LENGTH - 1).c_str());
            continue;
        }
        _cList.addName(strOne);
    }
    return 1;
}

void scanText(LISTUPPARAM& _cList, const wchar_t* _pText, int _iLength)
{
    for (int i = 0; i < _iLength; ++i) {
        if (_pText[i] == L'(' && matchName(_cList, _pText, i) && !parseList(_cList, _pText, i + 1, _iLength)) break;
    }
}

} // namespace reference

class ListUpParamTest : public sample_commands::SampleCommandsTest
{
protected:
    // Scans a text as Func does, for the given name.
    void Scan(LISTUPPARAM& _cList, const std::wstring& _strName, std::wstring _strText)
    {
        _cList.Initialize();
        _cList.m_strListName = _strName;
        FILT_upper(&_strText[0], static_cast<int>(_strText.size()), L'"');
        _cList.scanText(_strText.c_str(), static_cast<int>(_strText.size()));
    }
};

TEST_F(ListUpParamTest, ItemsOfEveryCallOfTheNameAreCollectedOnce)
{
    struct Case {
        const char* name;
        std::wstring text;
        Items items;
    };
    const Case cases[] = {
        {"upper-cased, blank after the comma kept", L"SETFLAG(A, B)\r\nsetflag(c)", {L"A", L" B", L"C"}},
        {"the name anywhere in the word", L"X_SETFLAG_2(a) x=setflag(b)", {L"A", L"B"}},
        {"a blank splits the word", L"SET FLAG(a)\tSET\tFLAG(b)", {}},
        {"quoted items keep their case", L"SETFLAG(\"Mixed Case\", x)", {L"\"Mixed Case\"", L" X"}},
        {"empty list", L"SETFLAG()", {L""}},
        {"commas that end no item", L"SETFLAG(,a,,b,)", {L"A", L"B", L""}},
        {"an item is collected once", L"SETFLAG(a, a) SETFLAG(a)", {L"A", L" A"}},
        {"nested parentheses", L"SETFLAG(f(a), b)", {L"F(A", L"A"}},
        {"word of 31 characters", L"ABCDEFGHIJKLMNOPQRSTUVW_SETFLAG(a)", {L"A"}},
        {"word of 32 characters", L"ABCDEFGHIJKLMNOPQRSTUVWX_SETFLAG(a)", {}},
        {"line breaks stay in items", L"SETFLAG(a,\r\nb)", {L"A", L"\r\nB"}},
        {"parenthesis at the start of the text", L"(a) SETFLAG", {}},
    };
    for (const Case& c : cases) {
        LISTUPPARAM cList;
        Scan(cList, L"SETFLAG", c.text);
        EXPECT_EQ(c.items, cList.m_vName) << "case " << c.name;
    }
    LISTUPPARAM cList;
    Scan(cList, L"setflag", L"setflag(a) SetFlag(b)");
    EXPECT_EQ(Items{}, cList.m_vName) << "a lower-case name finds nothing outside quotes";
    EXPECT_EQ(L"", Log());
}

TEST_F(ListUpParamTest, LimitsAreReportedAndNothingOverrunsThem)
{
    const std::wstring strKept(63, L'K');
    const std::wstring strLong(64, L'L');
    LISTUPPARAM cList;
    Scan(cList, L"SET", L"SET(" + strKept + L"," + strLong + L",z)");
    EXPECT_EQ((Items{strKept, L"Z"}), cList.m_vName);
    EXPECT_EQ(L"パラメータが長すぎます(63文字まで). " + strLong.substr(0, 63) + L"...\r\n", Log());

    // A list that the text ends before its ")" adds nothing.
    Message_clear();
    Scan(cList, L"SET", L"SET(a, b");
    EXPECT_EQ((Items{strKept, L"Z"}), cList.m_vName);
    EXPECT_EQ(L"SET の括弧が閉じていません. \r\n", Log());
    EXPECT_EQ(2, s_stGl.m_iErrorCount);

    // The full collection is reported once, when it becomes full; later items stay out.
    Message_clear();
    LISTUPPARAM cFull;
    cFull.Initialize();
    for (int i = 0; i < LISTUPPARAM::NAME_MAX - 1; ++i) cFull.addName(std::to_wstring(i));
    EXPECT_EQ(L"", Log());
    EXPECT_EQ(1, cFull.addName(L"last"));
    EXPECT_EQ(L"LISTUP登録数がオーバーしました\r\n", Log());
    EXPECT_EQ(0, cFull.addName(L"more"));
    EXPECT_EQ(0, cFull.addName(L"0"));
    EXPECT_EQ(static_cast<size_t>(LISTUPPARAM::NAME_MAX), cFull.m_vName.size());
    EXPECT_EQ(L"LISTUP登録数がオーバーしました\r\n", Log());
}

TEST_F(ListUpParamTest, CallsThatTheTextEndsBeforeTheirCloseAreReportedOnce)
{
    // After a list without its ")" no later "(" has one either: each would take the
    // whole rest of the text again and report it again.
    std::wstring strText = L"SETFLAG(a) ";
    for (int i = 0; i < 4000; ++i) strText += L" SETFLAG(" + std::wstring(i % 7, L'x');
    LISTUPPARAM cList;
    Scan(cList, L"SETFLAG", strText);
    EXPECT_EQ((Items{L"A"}), cList.m_vName);
    EXPECT_EQ(L"SETFLAG の括弧が閉じていません. \r\n", Log());
    EXPECT_EQ(1, s_stGl.m_iErrorCount);
}

TEST_F(ListUpParamTest, ScanGivesTheItemsAndLogOfTheScanThatRereadEveryList)
{
    // Random texts of calls, nested and unclosed lists, quotes, runs of commas, items of
    // 63 and 64 characters and more, and words at the bound of 31 characters; some start
    // with a collection a few items short of full.
    const std::wstring aPiece[] = {
        L"CALL(", L"call(", L"x_call_2(", L"CAL(", L"CALL (", L"CALL(x, ", L"CALL(x,", L"(", L"(", L")", L")",
        L",", L",", L", ", L",,", L" ", L"\t", L"\r\n", L"\"", L"\"Q, r\"", L"a", L"b", L"Z", L"1", L"=",
        std::wstring(62, L'k'), std::wstring(63, L'k'), std::wstring(64, L'L'), std::wstring(90, L'm'),
        std::wstring(27, L'w') + L"CALL(", std::wstring(28, L'w') + L"CALL(", L"\x540d\x524d",
    };
    const int iPieces = static_cast<int>(sizeof(aPiece) / sizeof(aPiece[0]));
    unsigned int uSeed = 20240611u;
    auto next = [&uSeed](unsigned int _uBound) {
        uSeed = uSeed * 1103515245u + 12345u;
        return (uSeed >> 8) % _uBound;
    };
    for (int iCase = 0; iCase < 3000; ++iCase) {
        std::wstring strText;
        const unsigned int uCount = 1 + next(120);
        for (unsigned int i = 0; i < uCount; ++i) strText += aPiece[next(iPieces)];
        FILT_upper(&strText[0], static_cast<int>(strText.size()), L'"');
        const int iFill = (iCase % 100 == 0) ? LISTUPPARAM::NAME_MAX - 1 - static_cast<int>(next(12)) : 0;

        LISTUPPARAM cOld;
        LISTUPPARAM cNew;
        for (LISTUPPARAM* pList : {&cOld, &cNew}) {
            pList->Initialize();
            pList->m_strListName = L"CALL";
            for (int i = 0; i < iFill; ++i) pList->addName(L"#" + std::to_wstring(i));
        }
        Message_clear();
        const int iBefore = s_stGl.m_iErrorCount;
        reference::scanText(cOld, strText.c_str(), static_cast<int>(strText.size()));
        const std::wstring strOldLog = Log();
        const int iBetween = s_stGl.m_iErrorCount;
        Message_clear();
        cNew.scanText(strText.c_str(), static_cast<int>(strText.size()));
        ASSERT_EQ(cOld.m_vName, cNew.m_vName) << "case " << iCase << ": " << testing::PrintToString(strText);
        ASSERT_EQ(strOldLog, Log()) << "case " << iCase << ": " << testing::PrintToString(strText);
        ASSERT_EQ(iBetween - iBefore, s_stGl.m_iErrorCount - iBetween) << "case " << iCase;
    }
}

TEST_F(ListUpParamTest, ScriptLineGathersOverItsTargetsAndPrintsAnArray)
{
    ASSERT_TRUE(m_dir.Write(L"a.scr", Sjis(L"SetFlag(b, \"\x540d\x524d\")\r\nsetflag(a)\r\n")));
    ASSERT_TRUE(m_dir.Write(L"b.scr", "x = setflag(a)\r\nsetflag(c,b)\r\n"));
    LISTUPPARAM cList;
    EXPECT_EQ(1, cList.Func(Line(L"a.scr", L"SETFLAG").c_str()));
    EXPECT_EQ(1, cList.Func(Line(L"b.scr", L"SETFLAG").c_str()));
    EXPECT_EQ(0, cList.Func(Line(L"gone.scr", L"SETFLAG").c_str()));
    cList.Quit(0);
    EXPECT_EQ(L"SETFLAG[4] = {\r\n"
              L"\t \"\x540d\x524d\",\r\n"
              L"\tA,\r\n\tB,\r\n\tC,\r\n"
              L"};\n\r\n",
              Log());

    // The next script line starts an empty collection.
    Message_clear();
    EXPECT_EQ(1, cList.Func(Line(L"b.scr", L"SETFLAG").c_str()));
    cList.Quit(1);
    EXPECT_EQ(L"SETFLAG[3] = {\r\n\tA,\r\n\tB,\r\n\tC,\r\n};\n\r\n", Log());

    // Nothing found still prints the empty array.
    Message_clear();
    EXPECT_EQ(1, cList.Func(Line(L"b.scr", L"NONE").c_str()));
    cList.Quit(1);
    EXPECT_EQ(L"NONE[0] = {\r\n};\n\r\n", Log());
}

TEST_F(ListUpParamTest, MissingNameIsAnErrorAndNothingIsPrinted)
{
    ASSERT_TRUE(m_dir.Write(L"a.scr", "SETFLAG(a)\r\n"));
    Exec(L"LISTUPPARAM", L"", L"a.scr");
    Exec(L"LISTUPPARAM", L"-x", L"a.scr");
    Command_quit(1);
    EXPECT_EQ(L"検索するコマンドが指定されていません\r\n検索するコマンドが指定されていません\r\n", Log());
    EXPECT_EQ(2, s_stGl.m_iErrorCount);
}

TEST_F(ListUpParamTest, HostileBytesAreScannedWithinTheText)
{
    ASSERT_TRUE(m_dir.Write(L"junk.scr", HostileBytes()));
    LISTUPPARAM cModule;
    EXPECT_EQ(1, cModule.Func(Line(L"junk.scr", L"A").c_str()));
    cModule.Quit(1);
    EXPECT_FALSE(Log().empty());
}

} // namespace
