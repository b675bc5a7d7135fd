#include "kelto/string/filter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const wchar_t kGuard = L'#';

// The text in a buffer with guard units after its terminator (and _iExtra units of room
// before them), so a write outside the text shows.
struct GuardedText
{
    std::vector<wchar_t> v;
    int iRoom;

    explicit GuardedText(const std::wstring& _s, int _iExtra = 0)
        : v(_s.begin(), _s.end()), iRoom(static_cast<int>(_s.size()) + 1 + _iExtra)
    {
        v.push_back(0);
        v.resize(iRoom, L'!');
        v.insert(v.end(), 8, kGuard);
    }
    wchar_t* p() { return v.data(); }
    std::wstring str() const { return std::wstring(v.data()); }
    // The units of the first _iLen, terminator or not.
    std::wstring str(int _iLen) const { return std::wstring(v.data(), _iLen); }
    bool guardsIntact() const
    {
        for (size_t i = iRoom; i < v.size(); ++i) {
            if (v[i] != kGuard) return false;
        }
        return true;
    }
};

// Visible form of a text in failure messages.
std::string show(const std::wstring& _s)
{
    std::string out;
    for (wchar_t c : _s) {
        if (c == L'\r') out += "\\r";
        else if (c == L'\n') out += "\\n";
        else if (c == L'\t') out += "\\t";
        else if (c < 0x80) out += static_cast<char>(c);
        else out += "?";
    }
    return out;
}

struct FilterRow
{
    const char* name;
    std::wstring in;
    std::wstring out;
};

// Runs a filter over each row: its result must be the expected text,
// the returned length must be that text's, and nothing after the buffer may change.
template <class FILTER>
void expectRows(const FilterRow* _pRows, size_t _uCount, FILTER _fFilter)
{
    for (size_t i = 0; i < _uCount; ++i) {
        const FilterRow& row = _pRows[i];
        GuardedText t(row.in);
        const int iLen = _fFilter(t);
        EXPECT_EQ(show(row.out), show(t.str())) << "case " << row.name;
        EXPECT_EQ(static_cast<int>(row.out.size()), iLen) << "case " << row.name;
        EXPECT_TRUE(t.guardsIntact()) << "case " << row.name;
    }
}

}  // namespace

// ---------------------------------------------------------------- FILT_deleteREM

TEST(FiltDeleteREM, RemovesCommentsKeepingLineBreaksAndQuotedText)
{
    const FilterRow rows[] = {
        {"line comment keeps its line end", L"a // note\r\nb", L"a \r\nb"},
        {"line comment before lone LF", L"a//b\nc", L"a\nc"},
        {"lone CR does not end a line comment", L"a // b\rc\r\nd", L"a \r\nd"},
        {"line comment at the end is cut", L"a // b", L"a "},
        {"block comment over three lines keeps two line ends", L"x/*1\r\n2\r\n3*/y\r\nz", L"x\r\n\r\ny\r\nz"},
        {"block comment on one line", L"a/* b */c", L"ac"},
        {"block comment ending the text is cut with its line ends", L"a\r\n/* x\r\n */", L"a\r\n"},
        {"marks inside quotes stay", L"s \"a//b/*c\" // c\r\n", L"s \"a//b/*c\" \r\n"},
        {"a comment after a closed quote goes", L"\"q\"// c\nd", L"\"q\"\nd"},
        {"open quote hides everything after it", L"a \"b // c\r\nd", L"a \"b // c\r\nd"},
        {"unterminated block comment stays", L"a /* b // c\r\nd", L"a /* b // c\r\nd"},
        {"two comments in a row", L"a/**//**/b//x\r\n//y\r\nc", L"ab\r\n\r\nc"},
        {"quotes and marks after removed comments", L"a//x\r\n\"b//c\"//d\r\n/*\n*/\"e/*\"f",
         L"a\r\n\"b//c\"\r\n\n\"e/*\"f"},
    };
    expectRows(rows, sizeof rows / sizeof rows[0],
               [](GuardedText& _t) { return FILT_deleteREM(_t.p(), static_cast<int>(_t.str().size()), L"//", L"/*", L"*/", L'"'); });
}

TEST(FiltDeleteREM, OtherMarksAndNoQuote)
{
    // Without a quote unit a mark inside quotes counts too.
    GuardedText t(L"a ; b\r\n\"x;\" ;y\r\n");
    int iLen = FILT_deleteREM(t.p(), 16, L";", 0, 0, 0);
    EXPECT_EQ(show(L"a \r\n\"x\r\n"), show(t.str()));
    EXPECT_EQ(8, iLen);

    GuardedText u(L"a # b\r\n# c\r\nd");
    iLen = FILT_deleteREM(u.p(), 13, L"#", 0, 0, L'"');
    EXPECT_EQ(show(L"a \r\n\r\nd"), show(u.str()));
    EXPECT_EQ(7, iLen);
}

TEST(FiltDeleteREM, MissingOrEmptyMarksMeanNoSuchComment)
{
    const std::wstring text = L"a // b /* c */ d\r\n";
    const int n = static_cast<int>(text.size());
    {
        GuardedText t(text);
        EXPECT_EQ(n, FILT_deleteREM(t.p(), n, 0, 0, 0, L'"'));
        EXPECT_EQ(text, t.str());
    }
    {
        // An empty mark matches nowhere: the text is neither erased nor scanned forever.
        GuardedText t(text);
        EXPECT_EQ(n, FILT_deleteREM(t.p(), n, L"", L"", L"", L'"'));
        EXPECT_EQ(text, t.str());
    }
    {
        GuardedText t(text);
        FILT_deleteREM(t.p(), n, L"", L"/*", L"*/", L'"');
        EXPECT_EQ(show(L"a // b  d\r\n"), show(t.str()));
    }
    {
        // A block start without an end mark removes no block; line comments still go.
        GuardedText t(text);
        FILT_deleteREM(t.p(), n, L"//", L"/*", L"", L'"');
        EXPECT_EQ(show(L"a \r\n"), show(t.str()));
    }
    GuardedText t(text);
    EXPECT_EQ(0, FILT_deleteREM(0, n, L"//", L"/*", L"*/", L'"'));
    EXPECT_EQ(0, FILT_deleteREM(t.p(), 0, L"//", L"/*", L"*/", L'"'));
    EXPECT_EQ(text, t.str());
}

TEST(FiltDeleteREM, WorksOnlyOnTheGivenLength)
{
    // The mark straddling the length is not seen; what lies after the length is not read.
    GuardedText t(L"ab /x// c");
    EXPECT_EQ(4, FILT_deleteREM(t.p(), 4, L"//", L"/*", L"*/", L'"'));
    EXPECT_EQ(L"ab /x// c", t.str());
}

// ---------------------------------------------------------------- line filters

TEST(FiltDeleteTailSpace, RemovesBlanksBeforeEachLineEnd)
{
    const FilterRow rows[] = {
        {"three blanks before CR LF", L"ab   \r\ncd", L"ab\r\ncd"},
        {"blanks and TABs before LF", L"a \t \nb\t\r\n", L"a\nb\r\n"},
        {"blanks at the start of the text", L"  \r\nx", L"\r\nx"},
        {"blanks at the very end stay", L"ab\r\ncd  ", L"ab\r\ncd  "},
        {"blanks inside lines stay", L"a  b\r\n", L"a  b\r\n"},
    };
    expectRows(rows, sizeof rows / sizeof rows[0],
               [](GuardedText& _t) { return FILT_deleteTailSpace(_t.p(), static_cast<int>(_t.str().size())); });
    EXPECT_EQ(0, FILT_deleteTailSpace(0, 5));
}

TEST(FiltDeleteEmptyLine, ShrinksRunsOfLineEnds)
{
    const FilterRow rows[] = {
        {"three CR LF pairs between two lines", L"a\r\n\r\n\r\nb", L"a\r\nb"},
        {"lone LF runs", L"a\n\n\nb\n", L"a\nb\n"},
        {"the first line end stays at the text start", L"\r\n\r\na", L"\r\na"},
        {"a line of blanks is not empty", L"a\r\n  \r\nb", L"a\r\n  \r\nb"},
        {"line ends at the text end", L"a\r\n\r\n", L"a\r\n"},
    };
    expectRows(rows, sizeof rows / sizeof rows[0],
               [](GuardedText& _t) { return FILT_deleteEmptyLine(_t.p(), static_cast<int>(_t.str().size())); });
}

TEST(FiltCase, ChangesAsciiLettersOutsideQuotes)
{
    GuardedText t(L"ab\"cd\"ef");
    FILT_upper(t.p(), 8, L'"');
    EXPECT_EQ(L"AB\"cd\"EF", t.str());

    GuardedText u(L"aB\"cD\"eF");
    FILT_lower(u.p(), 8, L'"');
    EXPECT_EQ(L"ab\"cD\"ef", u.str());

    // Without a quote unit every letter changes; only the first length units; no other unit.
    GuardedText v(L"a\"b\"z{\u3042c");
    FILT_upper(v.p(), 7, 0);
    EXPECT_EQ(L"A\"B\"Z{\u3042c", v.str());

    // An open quote leaves the rest alone.
    GuardedText w(L"a\"bc");
    FILT_upper(w.p(), 4, L'"');
    EXPECT_EQ(L"A\"bc", w.str());
    FILT_upper(0, 4, L'"');
}

// ---------------------------------------------------------------- FILT_squeezeSpace

TEST(FiltSqueezeSpace, NormalisesBlanksBetweenTokens)
{
    const FilterRow rows[] = {
        {"word pair keeps one TAB, symbols none", L"MOVE  10 ,  20\r\n", L"MOVE\t10,20\r\n"},
        {"blanks at line start and end go", L"  a  b  \r\n  c\r\n", L"a\tb\r\nc\r\n"},
        {"word before a quote or underscore", L"PRINT  \"a  b\"  x _y\r\n", L"PRINT\t\"a  b\"x\t_y\r\n"},
        {"define keeps its blanks and one TAB after the name",
         L"#define  NAME   12 + 3\r\n", L"#define  NAME\t12+3\r\n"},
        {"at-sign define, TAB even before a symbol", L"@#define A (1)\r\n", L"@#define A\t(1)\r\n"},
        {"define as a prefix of a longer word is a plain token", L"#defined  (x)\r\n", L"#defined(x)\r\n"},
        {"trailing blanks and line ends trimmed, CR LF added", L"a b\r\n\r\n  \r\n", L"a\tb\r\n"},
        {"lone LF line ends", L"a\n b  c\r\n", L"a\nb\tc\r\n"},
    };
    expectRows(rows, sizeof rows / sizeof rows[0], [](GuardedText& _t) {
        return FILT_squeezeSpace(_t.p(), static_cast<int>(_t.str().size()), L'"');
    });
}

TEST(FiltSqueezeSpace, EndsAndOpenQuotes)
{
    // No room after the trimmed text: no CR LF is added.
    GuardedText t(L"a  b");
    EXPECT_EQ(3, FILT_squeezeSpace(t.p(), 4, L'"'));
    EXPECT_EQ(L"a\tb", t.str());
    EXPECT_TRUE(t.guardsIntact());

    // A quote left open ends the work; the rest stays as it was.
    GuardedText u(L"A  \"b  c\r\n");
    EXPECT_EQ(9, FILT_squeezeSpace(u.p(), 10, L'"'));
    EXPECT_EQ(show(L"A\t\"b  c\r\n"), show(u.str()));
    EXPECT_TRUE(u.guardsIntact());

    GuardedText v(L" \t \r\n");
    EXPECT_EQ(0, FILT_squeezeSpace(v.p(), 5, L'"'));
    EXPECT_EQ(L"", v.str());
    EXPECT_EQ(0, FILT_squeezeSpace(0, 5, L'"'));
    EXPECT_EQ(0, FILT_squeezeSpace(v.p(), 0, L'"'));
}

// ---------------------------------------------------------------- FILT_StringRelief

TEST(FiltStringRelief, QuotesRunsOfJapaneseText)
{
    struct Row
    {
        const char* name;
        std::wstring in;
        wchar_t comment;
        int equal;
        std::wstring out;
    };
    const Row rows[] = {
        {"run closed at the TAB before ASCII", L"\u3042\u3044\tabc", 0, 0, L"\"\u3042\u3044\"\tabc"},
        {"TABs inside a run go", L"x \u3042\t\u3044\ty", 0, 0, L"x \"\u3042\u3044\"\ty"},
        {"run to the end of the text", L"\u3042\u3044", 0, 0, L"\"\u3042\u3044\""},
        {"run before a line end", L"\u3042\r\n\u3044", 0, 0, L"\"\u3042\r\n\u3044\""},
        {"line end before ASCII closes", L"\u3042\r\nx", 0, 0, L"\"\u3042\"\r\nx"},
        {"ASCII inside a run without a mark stays in it", L"\u3042a b", 0, 0, L"\"\u3042a b\""},
        {"quoted and parenthesised stretches are passed", L"(\u3042(\u3044)) \"\u3046\" \u3048", 0, 0,
         L"(\u3042(\u3044)) \"\u3046\" \"\u3048\""},
        {"half-width katakana", L"\uff71\uff72\r\nx", 0, 0, L"\"\uff71\uff72\"\r\nx"},
        {"backslash opens a run", L"\\n\tx", 0, 0, L"\"\\n\"\tx"},
        {"comment to the line end is passed", L"; \u3042\n\u3044", L';', 0, L"; \u3042\n\"\u3044\""},
        {"equals passed to the line end", L"a=\u3042\n\u3044", 0, 1, L"a=\u3042\n\"\u3044\""},
        {"equals passed to a parenthesis", L"a=\u3042) \u3044", 0, 1, L"a=\u3042) \"\u3044\""},
        {"equals not handled", L"a=\u3042\nb", 0, 0, L"a=\"\u3042\"\nb"},
    };
    for (const Row& row : rows) {
        GuardedText t(row.in, 16);
        const int iLen = FILT_StringRelief(t.p(), t.iRoom, row.comment, row.equal, L'"');
        EXPECT_EQ(show(row.out), show(t.str())) << "case " << row.name;
        EXPECT_EQ(static_cast<int>(row.out.size()), iLen) << "case " << row.name;
        EXPECT_TRUE(t.guardsIntact()) << "case " << row.name;
    }
}

TEST(FiltStringRelief, NeverOutgrowsTheBuffer)
{
    // Room for the text and its terminator only: nothing is inserted.
    GuardedText t(L"a \u3042");
    EXPECT_EQ(3, FILT_StringRelief(t.p(), t.iRoom, 0, 0, L'"'));
    EXPECT_EQ(L"a \u3042", t.str());
    EXPECT_TRUE(t.guardsIntact());

    // Room for one quote: a run is not opened without room for its closing quote.
    GuardedText u(L"a \u3042", 1);
    EXPECT_EQ(3, FILT_StringRelief(u.p(), u.iRoom, 0, 0, L'"'));
    EXPECT_EQ(L"a \u3042", u.str());
    EXPECT_TRUE(u.guardsIntact());

    // Room for one run of two: the second stays unquoted.
    GuardedText v(L"\u3042\tx \u3044", 2);
    EXPECT_EQ(7, FILT_StringRelief(v.p(), v.iRoom, 0, 0, L'"'));
    EXPECT_EQ(L"\"\u3042\"\tx \u3044", v.str());
    EXPECT_TRUE(v.guardsIntact());

    // An empty text becomes a single TAB (after the assertion's report).
    GuardedText e(L"", 4);
    EXPECT_EQ(1, FILT_StringRelief(e.p(), e.iRoom, 0, 0, L'"'));
    EXPECT_EQ(L"\t", e.str());
    EXPECT_EQ(0, FILT_StringRelief(0, 10, 0, 0, L'"'));
}

// ---------------------------------------------------------------- FILT_Calculate

namespace {

struct CalcRow
{
    const char* name;
    std::wstring in;
    std::wstring out;
};

void expectCalc(const CalcRow& _row, int _iLength = 0, int _iStart = 0)
{
    GuardedText t(_row.in);
    const int iResult = FILT_Calculate(t.p(), _iLength, _iStart, L'"');
    EXPECT_EQ(_iLength, iResult) << "case " << _row.name;
    EXPECT_EQ(show(_row.out), show(t.str(static_cast<int>(_row.in.size())))) << "case " << _row.name;
    EXPECT_EQ(0, t.v[_row.in.size()]) << "case " << _row.name;
    EXPECT_TRUE(t.guardsIntact()) << "case " << _row.name;
}

}  // namespace

TEST(FiltCalculate, EvaluatesArithmeticInPlace)
{
    const CalcRow rows[] = {
        {"precedence", L"2*3+4", L"10   "},
        {"multiplication after addition", L"1+2*3", L"7    "},
        {"parentheses", L"(1+2)*3", L"9      "},
        {"nested parentheses", L"((2+3)*(4-1))", L" 15          "},
        {"left to right", L"10-2-3", L"5     "},
        {"blanks around operators", L"3 - 5 + 1", L"-1       "},
        {"integer division truncates", L"10/4", L"2   "},
        {"negative division truncates toward zero", L"-7/2", L"-3  "},
        {"remainder takes the dividend's sign", L"-7%3", L"-1  "},
        {"or then and, left to right", L"6|1&3", L"3    "},
        {"float operand", L"10/4.0", L"2.5   "},
        {"float on the left", L"1.5*2", L"3    "},
        {"zero fraction on the left is an integer", L"7.0/2", L"3    "},
        {"negative start", L"-5+3", L"-2  "},
        {"negative right operand", L"2*-3", L"-6  "},
        {"TAB keeps a name apart", L"A 1+2", L"A\t3  "},
        {"TAB keeps a number apart", L"1 2+3", L"1\t5  "},
        {"zero after a name is written too", L"A 1-1", L"A\t0  "},
        {"letter touching the left number", L"x1+2", L"x1+2"},
        {"letter touching the right number", L"1+2x", L"1+2x"},
        {"hexadecimal is not arithmetic", L"0x10", L"0x10"},
        {"operator without numbers", L"a + b", L"a + b"},
        {"quoted text is not grouped", L"\"(\" 1+1", L"\"(\"2   "},
        {"empty parentheses are passed", L"()1+1", L"()2  "},
        {"group with a name keeps its parentheses", L"(X 1+2)", L"(X\t3  )"},
        {"unclosed parenthesis closes at the end", L"(1+2", L" 3  "},
        {"unmatched ')' ends the evaluation", L"1+1)2*2", L"2  )2*2"},
    };
    for (const CalcRow& row : rows) expectCalc(row);
}

TEST(FiltCalculate, NeverTrapsOrOverflows)
{
    const CalcRow rows[] = {
        {"integer division by zero is left", L"10/0", L"10/0"},
        {"remainder by zero is left", L"5%0", L"5%0"},
        {"float division by zero is left", L"1.5/0", L"1.5/0"},
        {"float remainder by zero is left", L"2.5%0.5", L"2.5%0.5"},
        {"INT_MIN / -1 wraps", L"-2147483648/-1", L"-2147483648   "},
        {"INT_MIN % -1 is 0", L"-2147483648%-1", L"0             "},
        {"addition wraps", L"2147483647+1", L"-2147483648 "},
        {"multiplication wraps", L"65536*65536", L"0          "},
        {"long digit runs wrap", L"99999999999*0", L"0            "},
        {"float result beyond 32 bits is left", L"99999999.5*99999999.5", L"99999999.5*99999999.5"},
        {"float result with a fraction", L"0.5*3", L"1.5  "},
    };
    for (const CalcRow& row : rows) expectCalc(row);
}

TEST(FiltCalculate, FloatsComputeInSinglePrecision)
{
    const CalcRow rows[] = {
        {"0.1+0.2 is the single-precision 0.3", L"0.1+0.2", L"0.3    "},
        {"the span's length limits the decimals", L"0.52+0.35", L"0.869999 "},
        {"a float between integers", L"1+0.25*2", L"1.5     "},
    };
    for (const CalcRow& row : rows) expectCalc(row);
}

TEST(FiltCalculate, FloatSpansOfAnyLengthGiveTheirResult)
{
    std::wstring halves = L"0.5";
    for (int i = 1; i < 18; ++i) halves += L"+0.5";
    const std::wstring blanks(61, L' ');
    const CalcRow rows[] = {
        {"18 halves", halves, L"9" + std::wstring(halves.size() - 1, L' ')},
        {"blanks inside the span", L"1.5" + blanks + L"*2", L"3" + std::wstring(blanks.size() + 4, L' ')},
        {"a long span keeps every decimal", L"0.1" + blanks + L"+0.2", L"0.3" + std::wstring(blanks.size() + 4, L' ')},
        {"a TAB before a long float result", L"A 0.25" + blanks + L"*1", L"A\t0.25" + std::wstring(blanks.size() + 2, L' ')},
        {"a negative long float result", L"0.5" + blanks + L"-1.75", L"-1.25" + std::wstring(blanks.size() + 3, L' ')},
    };
    for (const CalcRow& row : rows) expectCalc(row);
}

TEST(FiltCalculate, HonoursLengthAndStart)
{
    expectCalc({"length not above start changes nothing", L"2*3", L"2*3"}, 3, 3);
    expectCalc({"start past the operator changes nothing", L"2*3+4", L"2*3+4"}, 5, 4);
    expectCalc({"only the region from start", L"2*3 4*5", L"2*3 20 "}, 7, 4);
    expectCalc({"the sign before start is not taken", L"-2*3", L"-6  "}, 4, 1);
    expectCalc({"only the first length units", L"2*3+4", L"6  +4"}, 3, 0);
    EXPECT_EQ(0, FILT_Calculate(0, 5, 0, L'"'));

    // A terminator inside the length ends the region.
    wchar_t sz[] = L"1+1\0" L"2*2";
    EXPECT_EQ(7, FILT_Calculate(sz, 7, 0, L'"'));
    EXPECT_EQ(std::wstring(L"2  "), std::wstring(sz, 3));
    EXPECT_EQ(std::wstring(L"2*2"), std::wstring(sz + 4, 3));
}

TEST(FiltCalculate, SurvivesDeepNesting)
{
    // More open groups than are tracked: the evaluator stays inside the text.
    std::wstring in(1100, L'(');
    in += L"1+1";
    in += std::wstring(1100, L')');
    GuardedText t(in);
    EXPECT_EQ(0, FILT_Calculate(t.p(), 0, 0, L'"'));
    const std::wstring out = t.str(static_cast<int>(in.size()));
    EXPECT_NE(std::wstring::npos, out.find(L'2'));
    EXPECT_EQ(std::wstring::npos, out.find(L'+'));
    EXPECT_EQ(0, t.v[in.size()]);
    EXPECT_TRUE(t.guardsIntact());
}
