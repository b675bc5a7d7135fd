#include "krelwin/params/rangecheck.h"

#include "krelwin/main/global.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const wchar_t START = static_cast<wchar_t>(RANGE_CODE_START);
const wchar_t END = static_cast<wchar_t>(RANGE_CODE_END);

// Puts a marker (the code, any unit, the code) at the position.
void PutMarker(std::wstring& text, int pos, wchar_t code)
{
    text[pos] = code;
    text[pos + 2] = code;
}

// IsSkip for every position in order, after Init.
std::vector<int> Scan(const std::wstring& text, int range)
{
    s_stGl.m_pSetting->RANGE = range;
    CRangeCheck cCheck;
    const int len = static_cast<int>(text.size());
    cCheck.Init(text.c_str(), len);
    std::vector<int> v;
    for (int i = 0; i < len; ++i) v.push_back(cCheck.IsSkip(text.c_str(), i, len));
    return v;
}

std::vector<int> Expect(int len, int skipFrom, int skipTo)  // skip in [skipFrom, skipTo)
{
    std::vector<int> v(len, 0);
    for (int i = skipFrom; i < skipTo; ++i) v[i] = 1;
    return v;
}

class RangeCheck : public testing::Test {
protected:
    void SetUp() override { m_iSaved = s_stGl.m_pSetting->RANGE; }
    void TearDown() override { s_stGl.m_pSetting->RANGE = m_iSaved; }
    int m_iSaved = 0;
};

} // namespace

TEST_F(RangeCheck, MarkedStretchIsWorkedOnAndTheRestLeftAlone)
{
    std::wstring text(100, L'a');
    PutMarker(text, 10, START);
    PutMarker(text, 50, END);
    std::vector<int> expected(100, 0);
    for (int i = 0; i < 10; ++i) expected[i] = 1;
    for (int i = 51; i < 95; ++i) expected[i] = 1;
    EXPECT_EQ(Scan(text, 1), expected) << "RANGE 1";
    EXPECT_EQ(Scan(text, 2), expected) << "RANGE 2 with both markers";
    EXPECT_EQ(Scan(text, 0), std::vector<int>(100, 0)) << "RANGE 0";
}

TEST_F(RangeCheck, SecondStretchStartsAgain)
{
    std::wstring text(60, L'a');
    PutMarker(text, 5, START);
    PutMarker(text, 10, END);
    PutMarker(text, 30, START);
    PutMarker(text, 40, END);
    std::vector<int> expected(60, 0);
    for (int i = 0; i < 5; ++i) expected[i] = 1;
    for (int i = 11; i < 30; ++i) expected[i] = 1;
    for (int i = 41; i < 55; ++i) expected[i] = 1;
    EXPECT_EQ(Scan(text, 1), expected);
}

TEST_F(RangeCheck, RangeTwoNeedsBothMarkers)
{
    std::wstring startOnly(40, L'a');
    PutMarker(startOnly, 10, START);
    EXPECT_EQ(Scan(startOnly, 2), std::vector<int>(40, 0)) << "start marker only";

    std::wstring endOnly(40, L'a');
    PutMarker(endOnly, 10, END);
    EXPECT_EQ(Scan(endOnly, 2), std::vector<int>(40, 0)) << "end marker only";

    // Order does not matter for switching on: an end before the start still enables it.
    std::wstring reversed(40, L'a');
    PutMarker(reversed, 5, END);
    PutMarker(reversed, 20, START);
    std::vector<int> expected = Expect(40, 0, 20);
    EXPECT_EQ(Scan(reversed, 2), expected);
}

TEST_F(RangeCheck, UnitsNotMarkersWhenNotTwoApart)
{
    // 0x81A5 twice in a row, and a single 0x81A3, are no markers.
    std::wstring text(30, L'a');
    text[3] = START;
    text[4] = START;
    text[12] = END;
    EXPECT_EQ(Scan(text, 2), std::vector<int>(30, 0));
    EXPECT_EQ(Scan(text, 1), Expect(30, 0, 25));
}

TEST_F(RangeCheck, TriangleCharactersAreNotMarkers)
{
    // The characters themselves (U+25BC, U+25B2) are ordinary text; only the code units count.
    std::wstring text(40, L'a');
    text[5] = L'\u25BC';
    text[7] = L'\u25BC';
    text[20] = L'\u25B2';
    text[22] = L'\u25B2';
    EXPECT_EQ(Scan(text, 2), std::vector<int>(40, 0)) << "RANGE 2: not restricted";
    EXPECT_EQ(Scan(text, 1), Expect(40, 0, 35)) << "RANGE 1: no stretch opens";
}

TEST_F(RangeCheck, LastFiveUnitsAreNeverLeftAloneAndHideMarkers)
{
    for (int len = 0; len <= 6; ++len) {
        std::wstring text(len, L'a');
        EXPECT_EQ(Scan(text, 1), Expect(len, 0, len > 5 ? len - 5 : 0)) << "length " << len;
    }
    // A start marker within the last five units is not seen.
    std::wstring text(20, L'a');
    PutMarker(text, 15, START);
    EXPECT_EQ(Scan(text, 1), Expect(20, 0, 15));
}

TEST_F(RangeCheck, IsCodeComparesOneUnit)
{
    const wchar_t unit = START;
    EXPECT_EQ(IsCode(&unit, START), 1);
    EXPECT_EQ(IsCode(&unit, END), 0);
    EXPECT_EQ(IsCode(nullptr, START), 0);
}
