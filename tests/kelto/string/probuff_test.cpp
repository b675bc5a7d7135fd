#include "kelto/string/probuff.h"

#include <gtest/gtest.h>

#include <string>

#include "kelto/tools/debug.h"

namespace {

int Len(const std::wstring& _s) { return static_cast<int>(_s.size()); }

// Collects what the assertion handler sends while it lives.
class ReportCapture
{
public:
    ReportCapture() { s_strText.clear(); m_pPrev = DEBUG_setOutputHook(&ReportCapture::Hook); }
    ~ReportCapture() { DEBUG_setOutputHook(m_pPrev); }
    const std::wstring& Text() const { return s_strText; }

private:
    static void Hook(const wchar_t* _pText) { s_strText += _pText; }
    static std::wstring s_strText;
    DEBUG_OUTPUT_HOOK m_pPrev;
};
std::wstring ReportCapture::s_strText;

const std::wstring kSettings =
    L"[Setting]\r\n"
    L"AutoExec = 1\r\n"
    L"Name\t=  MSG.TXT  \r\n"
    L"Hex=0xff\r\n"
    L"Empty =\r\n"
    L"Rate = 2.5\r\n"
    L"Bare  value here\r\n"
    L"[OTHER]\r\n"
    L"AUTOEXEC=7\r\n";

}  // namespace

TEST(ProbuffGetInt, ReadsKeysOfTheRightSectionIgnoringCase)
{
    struct Row
    {
        const char* name;
        const wchar_t* sec;
        const wchar_t* key;
        int expected;
    };
    const Row rows[] = {
        {"upper-case names", L"SETTING", L"AUTOEXEC", 1},
        {"the other section", L"other", L"autoexec", 7},
        {"hexadecimal", L"Setting", L"HEX", 255},
        {"empty value gives the default", L"SETTING", L"EMPTY", -3},
        {"missing key gives the default", L"SETTING", L"NOPE", -3},
        {"missing section gives the default", L"NOPE", L"AUTOEXEC", -3},
        {"a key of another section is not seen", L"OTHER", L"HEX", -3},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.expected, PROBUFF_GetInt(kSettings.c_str(), Len(kSettings), row.sec, row.key, -3))
            << "case " << row.name;
    }
    EXPECT_FLOAT_EQ(2.5f, PROBUFF_GetFloat(kSettings.c_str(), Len(kSettings), L"SETTING", L"RATE", 1.0f));
    EXPECT_FLOAT_EQ(1.0f, PROBUFF_GetFloat(kSettings.c_str(), Len(kSettings), L"SETTING", L"EMPTY", 1.0f));
}

TEST(ProbuffGetString, CopiesTheValueToTheLineEnd)
{
    wchar_t sz[64];
    // Blanks after '=' are passed; blanks at the value's end belong to it.
    EXPECT_EQ(9, PROBUFF_GetString(kSettings.c_str(), Len(kSettings), L"SETTING", L"NAME", sz, 64));
    EXPECT_EQ(std::wstring(L"MSG.TXT  "), sz);
    // A key without '=' has the text after its blanks as its value.
    EXPECT_EQ(10, PROBUFF_GetString(kSettings.c_str(), Len(kSettings), L"SETTING", L"BARE", sz, 64));
    EXPECT_EQ(std::wstring(L"value here"), sz);

    const std::wstring text = L"[S]\r\nK = abcdef\r\n";
    EXPECT_EQ(3, PROBUFF_GetString(text.c_str(), Len(text), L"S", L"K", sz, 4));
    EXPECT_EQ(std::wstring(L"abc"), sz);
    EXPECT_EQ(0, PROBUFF_GetString(text.c_str(), Len(text), L"S", L"K", sz, 1));
    EXPECT_EQ(std::wstring(L""), sz);
}

TEST(ProbuffGetString, MissingKeyGivesTheDefaultAndZero)
{
    wchar_t sz[16] = L"junk";
    EXPECT_EQ(0, PROBUFF_GetString(kSettings.c_str(), Len(kSettings), L"SETTING", L"NOPE", sz, 16, L"MSG.TXT"));
    EXPECT_EQ(std::wstring(L"MSG.TXT"), sz);
    EXPECT_EQ(0, PROBUFF_GetString(kSettings.c_str(), Len(kSettings), L"SETTING", L"NOPE", sz, 4, L"MSG.TXT"));
    EXPECT_EQ(std::wstring(L"MSG"), sz);
    EXPECT_EQ(0, PROBUFF_GetString(kSettings.c_str(), Len(kSettings), L"NOPE", L"NAME", sz, 16));
    EXPECT_EQ(std::wstring(L""), sz);
    EXPECT_EQ(0, PROBUFF_GetString(0, 10, L"SETTING", L"NAME", sz, 16, L"D"));
    EXPECT_EQ(std::wstring(L"D"), sz);
}

TEST(ProbuffSection, LabelMustStandAsAWord)
{
    struct Row
    {
        const char* name;
        std::wstring text;
        int expected;
    };
    const Row rows[] = {
        {"label inside a line", L"x[SETTING]\r\nA=1\r\n", 0},
        {"label after a blank", L"x [SETTING]\r\nA=1\r\n", 1},
        {"label after ']'", L"[X][SETTING]\r\nA=1\r\n", 1},
        {"label followed by a letter", L"[SETTING]x\r\nA=1\r\n", 0},
        {"label at the end of the text", L"A=1\r\n[SETTING]", 1},
        {"case ignored", L"[setting]\r\n", 1},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.expected, PROBUFF_IsSection(row.text.c_str(), Len(row.text), L"SETTING")) << "case " << row.name;
    }
}

TEST(ProbuffSection, KeySearchStaysInsideTheSection)
{
    // The key's first whole-word place in the section wins, even as another key's value.
    const std::wstring early = L"[S]\r\nA = KEY 7\r\nKEY = 5\r\n";
    EXPECT_EQ(7, PROBUFF_GetInt(early.c_str(), Len(early), L"S", L"KEY", -1));

    // A '[' inside a value ends the section there: later keys are not found.
    const std::wstring bracket = L"[S]\r\nA = x[y\r\nB = 2\r\n";
    wchar_t sz[16];
    EXPECT_EQ(1, PROBUFF_GetString(bracket.c_str(), Len(bracket), L"S", L"A", sz, 16));
    EXPECT_EQ(std::wstring(L"x"), sz);
    EXPECT_EQ(-1, PROBUFF_GetInt(bracket.c_str(), Len(bracket), L"S", L"B", -1));

    // The '[' that ends the section is no separator: a key name right before it is no key.
    const std::wstring touching = L"[S]\r\nNAME=foo[1]\r\nfoo=5\r\n";
    EXPECT_EQ(0, PROBUFF_GetString(touching.c_str(), Len(touching), L"S", L"foo", sz, 16, L"D"));
    EXPECT_EQ(std::wstring(L"D"), sz);
    EXPECT_EQ(-1, PROBUFF_GetInt(touching.c_str(), Len(touching), L"S", L"foo", -1));

    // Nothing beyond the given length is seen.
    const std::wstring two = L"[A]\r\nK=1\r\n[B]\r\nJ=2\r\n";
    const int iToB = static_cast<int>(two.find(L"[B]"));
    EXPECT_EQ(0, PROBUFF_IsSection(two.c_str(), iToB, L"B"));
    EXPECT_EQ(0, PROBUFF_IsSection(two.c_str(), iToB + 2, L"B"));
    EXPECT_EQ(1, PROBUFF_IsSection(two.c_str(), iToB + 3, L"B"));
    EXPECT_EQ(-1, PROBUFF_GetInt(two.c_str(), 7, L"A", L"K", -1));
    EXPECT_EQ(1, PROBUFF_GetInt(two.c_str(), 8, L"A", L"K", -1));
    EXPECT_EQ(0, PROBUFF_IsSection(two.c_str(), 0, L"A"));
}

TEST(ProbuffGetSection, BodyRunsToTheLineBeforeTheNextLabel)
{
    const std::wstring text = L"[A]\r\nk=1\r\nx[\r\n[B]\r\nm=2";
    int iBody = -1;
    const wchar_t* p = PROBUFF_GetSection(text.c_str(), Len(text), L"a", &iBody);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(5, p - text.c_str());
    EXPECT_EQ(std::wstring(L"k=1\r\nx[\r\n"), std::wstring(p, iBody));

    p = PROBUFF_GetSection(text.c_str(), Len(text), L"B", &iBody);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(std::wstring(L"m=2"), std::wstring(p, iBody));

    // A label with a lone LF, or at the very end, has its body right after it.
    const std::wstring lf = L"[C]\nv";
    p = PROBUFF_GetSection(lf.c_str(), Len(lf), L"C", &iBody);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(std::wstring(L"v"), std::wstring(p, iBody));
    const std::wstring end = L"x\r\n[C]";
    p = PROBUFF_GetSection(end.c_str(), Len(end), L"C", &iBody);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(0, iBody);

    EXPECT_EQ(nullptr, PROBUFF_GetSection(text.c_str(), Len(text), L"Z", &iBody));
    EXPECT_EQ(nullptr, PROBUFF_GetSection(0, 10, L"A", &iBody));
}

TEST(ProbuffErrors, BadNamesAreReportedAndNotFound)
{
    wchar_t sz[16] = L"junk";
    {
        ReportCapture cReport;
        EXPECT_EQ(0, PROBUFF_GetString(kSettings.c_str(), Len(kSettings), 0, L"NAME", sz, 16, L"D"));
        EXPECT_EQ(std::wstring(L"D"), sz);
        EXPECT_NE(std::wstring::npos, cReport.Text().find(L"assertion!!(NULL!=_pSec)\n"));
    }
    {
        ReportCapture cReport;
        EXPECT_EQ(-4, PROBUFF_GetInt(kSettings.c_str(), Len(kSettings), L"SETTING", 0, -4));
        EXPECT_NE(std::wstring::npos, cReport.Text().find(L"(NULL!=_pKey)"));
    }
    {
        ReportCapture cReport;
        EXPECT_EQ(0, PROBUFF_GetString(kSettings.c_str(), Len(kSettings), L"SETTING", L"NAME", 0, 16));
        EXPECT_NE(std::wstring::npos, cReport.Text().find(L"受け取りポインタ異常"));
    }
    {
        ReportCapture cReport;
        EXPECT_EQ(nullptr, PROBUFF_GetSection(kSettings.c_str(), Len(kSettings), 0));
        EXPECT_NE(std::wstring::npos, cReport.Text().find(L"セクション名が指定されていません"));
    }
    {
        // A section name too long for its label is reported; the cut label finds nothing here.
        ReportCapture cReport;
        const std::wstring strLong(300, L'S');
        EXPECT_EQ(0, PROBUFF_IsSection(kSettings.c_str(), Len(kSettings), strLong.c_str()));
        EXPECT_NE(std::wstring::npos, cReport.Text().find(L"セクション名が異常"));
    }
    {
        // A name that fits (252 units) reports nothing.
        ReportCapture cReport;
        const std::wstring strName(252, L'S');
        const std::wstring text = L"[" + strName + L"]\r\nA=3\r\n";
        EXPECT_EQ(3, PROBUFF_GetInt(text.c_str(), Len(text), strName.c_str(), L"A", 0));
        EXPECT_EQ(std::wstring(), cReport.Text());
    }
}
