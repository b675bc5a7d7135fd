#include "kelto/string/string.h"

#include <gtest/gtest.h>

namespace {
const wchar_t* const KEY_SET = L"= \t\r\n";
}

TEST(StringIsWord, NeedsASeparatorAfterTheWordWhenASetIsGiven)
{
    struct Row { const wchar_t* text; const wchar_t* word; const wchar_t* set; int expected; };
    const Row rows[] = {
        {L"KEY=1", L"KEY", KEY_SET, 1},
        {L"KEY", L"KEY", KEY_SET, 1},
        {L"KEYS=1", L"KEY", KEY_SET, 0},
        {L"KEYS=1", L"KEY", nullptr, 1},
        {L"KE", L"KEY", nullptr, 0},
        {L"key=1", L"KEY", KEY_SET, 0},
        {L"KEY", L"", KEY_SET, 0},
        {nullptr, L"KEY", KEY_SET, 0},
        {L"KEY", nullptr, KEY_SET, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, STRING_isWord(row.text, row.word, row.set))
            << "text " << (row.text ? row.text : L"(null)") << " word " << (row.word ? row.word : L"(null)");
    EXPECT_EQ(1, STRING_isWordI(L"key=1", L"KEY", KEY_SET));
    EXPECT_EQ(0, STRING_isWordI(L"keys=1", L"KEY", KEY_SET));
}

TEST(StringFindWord, FindsTheWordOnlyAtAWordStart)
{
    const wchar_t* pText = L"AKEY KEY";
    EXPECT_EQ(pText + 5, STRING_findWord(pText, L"KEY", 0, L" "));
    EXPECT_EQ(pText + 5, STRING_findWordI(pText, L"key", 0, L" "));
    EXPECT_EQ(nullptr, STRING_findWord(pText, L"KEYS", 0, L" "));
    EXPECT_EQ(nullptr, STRING_findWord(pText, L"", 0, L" "));
    EXPECT_EQ(nullptr, STRING_findWord(nullptr, L"KEY", 0, L" "));
}

TEST(StringFindWord, BoundedSearchLooksPastTerminatorsButNeverPastTheLimit)
{
    // Two lines separated by a NUL inside one buffer.
    const wchar_t szBuffer[] = {L'a', L'b', 0, L'K', L'E', L'Y', L' ', L'x', 0};
    EXPECT_EQ(szBuffer + 3, STRING_findWord(szBuffer, L"KEY", 8, L" "));
    EXPECT_EQ(nullptr, STRING_findWord(szBuffer, L"KEY", 0, L" ")) << "limit 0 ends at the terminator";

    // The units after the limit would complete a match: they must not be read.
    const wchar_t szCut[] = {L'x', L' ', L'K', L'E', L'Y', 0};
    EXPECT_EQ(nullptr, STRING_findWord(szCut, L"KEY", 4, L" "));
    EXPECT_EQ(nullptr, STRING_findWordI(szCut, L"key", 4, L" "));
    // A word that ends exactly at the limit ends the buffer, which separates.
    EXPECT_EQ(szCut + 2, STRING_findWord(szCut, L"KEY", 5, L" "));
    const wchar_t szNoTerminator[] = {L'x', L' ', L'K', L'E', L'Y'};
    EXPECT_EQ(szNoTerminator + 2, STRING_findWord(szNoTerminator, L"KEY", 5, L" "));
}

TEST(StringWords, LengthAndExtraction)
{
    EXPECT_EQ(3, STRING_wordLen(L"KEY=1", KEY_SET));
    EXPECT_EQ(5, STRING_wordLen(L"KEY=1", nullptr));
    EXPECT_EQ(0, STRING_wordLen(nullptr, KEY_SET));

    wchar_t szOut[16] = L"zzzzzzzzzzzzzzz";
    EXPECT_EQ(5, STRING_getWord(L"HELLO world", szOut, 0, L" "));
    EXPECT_STREQ(L"HELLO", szOut);
    EXPECT_EQ(5, STRING_getWord(L"HELLO world", szOut, 2, L" "));
    EXPECT_STREQ(L"HE", szOut);
    EXPECT_EQ(5, STRING_getWord(L"HELLO world", nullptr, 0, L" "));
    EXPECT_EQ(0, STRING_getWord(nullptr, szOut, 0, L" "));
}

TEST(StringWords, StepsBetweenWords)
{
    const wchar_t* pText = L"ab  cd ef";
    EXPECT_EQ(pText + 4, STRING_nextWord(pText, L" "));
    EXPECT_EQ(pText + 4, STRING_nextWord(pText + 1, L" "));
    EXPECT_EQ(pText + 9, STRING_nextWord(pText + 7, L" "));
    EXPECT_EQ(nullptr, STRING_nextWord(nullptr, L" "));

    EXPECT_EQ(pText + 4, STRING_prevWord(pText + 8, pText, L" "));
    EXPECT_EQ(pText, STRING_prevWord(pText + 5, pText, L" "));
    EXPECT_EQ(pText, STRING_prevWord(pText + 1, pText, L" "));
    EXPECT_EQ(nullptr, STRING_prevWord(nullptr, pText, L" "));

    EXPECT_EQ(pText + 4, STRING_wordTop(pText + 5, pText, L" "));
    EXPECT_EQ(pText, STRING_wordTop(pText + 1, pText, L" "));
    EXPECT_EQ(nullptr, STRING_wordTop(nullptr, pText, L" "));

    const wchar_t* pLead = L" ab";
    EXPECT_EQ(pLead + 1, STRING_prevWord(pLead + 2, pLead, L" ")) << "a separator at the start is passed";
}

TEST(StringSkipSpace, StepsOverBlanksTabsAndFullWidthUnits)
{
    const wchar_t* pText = L" \t　あx";
    EXPECT_EQ(pText + 4, STRING_skipSpace(pText, 0));
    EXPECT_EQ(pText + 2, STRING_skipSpace(pText, 2));
    const wchar_t* pBlank = L"   ";
    EXPECT_EQ(pBlank + 3, STRING_skipSpace(pBlank, 0));
    EXPECT_EQ(nullptr, STRING_skipSpace(nullptr, 0));
}

TEST(StringGetLine, GivesTheLineHoldingThePosition)
{
    const wchar_t* pText = L"first\r\nsecond line\nthird";
    wchar_t szLine[32];
    struct Row { int pos; int expected; const wchar_t* line; };
    const Row rows[] = {{0, 5, L"first"}, {3, 5, L"first"}, {10, 11, L"second line"}, {7, 11, L"second line"},
                        {22, 5, L"third"}};
    for (const Row& row : rows) {
        EXPECT_EQ(row.expected, STRING_getLine(pText + row.pos, pText, szLine)) << "pos " << row.pos;
        EXPECT_STREQ(row.line, szLine) << "pos " << row.pos;
    }
    EXPECT_EQ(11, STRING_getLine(pText + 7, nullptr, nullptr)) << "no start: the position starts the line";
    EXPECT_EQ(0, STRING_getLine(nullptr, pText, szLine));
}
