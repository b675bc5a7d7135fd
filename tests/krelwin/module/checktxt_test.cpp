// CHECKTXT in process: the module object is given parameter lines as the dispatcher
// builds them, and the whole message log is compared.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "krelwin/main/global.h"
#include "krelwin/main/message.h"
#include "krelwin/module/checktxt.h"
#include "tests/support/testdir.h"

namespace {

// Shift-JIS bytes of a text, converted by the platform's code page 932 tables.
std::string Sjis(const std::wstring &_str)
{
	if (_str.empty()) return std::string();
	int n = WideCharToMultiByte(932, 0, _str.c_str(), (int)_str.size(), 0, 0, 0, 0);
	std::string s(n, '\0');
	WideCharToMultiByte(932, 0, _str.c_str(), (int)_str.size(), &s[0], n, 0, 0);
	return s;
}

class CheckTxtTest : public ::testing::Test {
protected:
	void SetUp() override {
		ASSERT_TRUE(m_dir.Ok());
		GetCurrentDirectoryW(MAX_PATH, m_szOldCwd);
		// The checker writes its debug copies into the current folder.
		ASSERT_TRUE(SetCurrentDirectoryW(m_dir.Path().c_str()));
		ASSERT_EQ(1, Message_alloc());
		s_stGl.m_hMessage = 0;
		s_stGl.m_iErrorCount = 0;
		std::memset(&s_stGl.m_stIniSetting, 0, sizeof(SETTING_INFO));
		s_stGl.m_pSetting = &s_stGl.m_stIniSetting;
	}
	void TearDown() override {
		SetCurrentDirectoryW(m_szOldCwd);
		Message_free();
	}

	void Write(const std::wstring &_strName, const std::wstring &_strText) {
		ASSERT_TRUE(m_dir.Write(_strName, Sjis(_strText)));
	}
	std::wstring Path(const std::wstring &_strName) const { return m_dir.Path(_strName); }
	// The parameter line of the dispatcher: the target in double quotes, a blank, the
	// script line's text.
	int Run(CHECKTXT &_cCheck, const std::wstring &_strTarget, const std::wstring &_strArgs) {
		std::wstring strLine = L"\"" + Path(_strTarget) + L"\" " + _strArgs;
		return _cCheck.Func(strLine.c_str());
	}
	// One finding line as the log holds it.
	std::wstring Finding(const std::wstring &_strPrefix, const std::wstring &_strTarget, int _iLine,
						 const std::wstring &_strText, const std::wstring &_strMessage) const {
		return _strPrefix + L"\t" + Path(_strTarget) + L"(" + std::to_wstring(_iLine) + L"): " +
			   _strText + L"\t\t←" + _strMessage + L"\r\n";
	}
	std::wstring Longest(const std::wstring &_strTarget, int _iLine, const std::wstring &_strText) const {
		return L"長\t" + Path(_strTarget) + L"(" + std::to_wstring(_iLine) + L"): " + _strText + L"\r\n";
	}
	std::wstring Log() const { return s_stGl.m_memMsg ? std::wstring(s_stGl.m_memMsg) : std::wstring(); }
	void ClearLog() { Message_clear(); }

	testdir::TestDir m_dir;
	wchar_t m_szOldCwd[MAX_PATH] = { 0 };
};

TEST_F(CheckTxtTest, StartAndEndCharactersOfEachLine)
{
	Write(L"c.ini", L"[MAIN]\r\nNOTETYPE=1\r\nLINETOPCHAR=あいう「\r\nENABLEENDCHAR=。」\r\n"
					L"ILLEGALSYMBOL=＃\r\n");
	Write(L"t.txt", L"あいう。\r\nえお\r\n＃コメント\r\nabc\r\n「かぎ」\r\n");
	CHECKTXT cCheck;
	EXPECT_EQ(1, Run(cCheck, L"t.txt", L"c.ini"));
	cCheck.Quit(1);
	EXPECT_EQ(Finding(L"2", L"t.txt", 2, L"えお", L"行頭に無効な文字") +
			  Finding(L"0", L"t.txt", 2, L"えお", L"末尾が有効な文字で終っていない") +
			  Finding(L"1", L"t.txt", 3, L"＃コメント", L"注釈記号抜けの可能性") +
			  Finding(L"2", L"t.txt", 3, L"＃コメント", L"行頭に無効な文字"),
			  Log());
	EXPECT_EQ(0, s_stGl.m_iErrorCount) << "findings are not errors";
}

TEST_F(CheckTxtTest, SymbolsMustBeFollowedByABlank)
{
	Write(L"c.ini", L"[MAIN]\r\nNOTETYPE=1\r\nSYMBLESPACE=、！\r\nSYMBLEOK=」ー\r\n");
	Write(L"t.txt", L"あ、い\r\nあ、　い\r\nあ、」\r\nあ、\r\nあ、 い\r\nあ！ー\r\n");
	CHECKTXT cCheck;
	Run(cCheck, L"t.txt", L"c.ini");
	cCheck.Quit(1);
	EXPECT_EQ(Finding(L"4", L"t.txt", 1, L"あ、い", L"'、'の後に空白が無い") +
			  Finding(L"4", L"t.txt", 5, L"あ、 い", L"'、'の後に空白が無い"),
			  Log());

	// A blank in SYMBLEOK accepts the blank after a symbol.
	ClearLog();
	Write(L"c2.ini", L"[MAIN]\r\nNOTETYPE=1\r\nSYMBLESPACE=、\r\nSYMBLEOK=」 ー\r\n");
	Run(cCheck, L"t.txt", L"c2.ini");
	cCheck.Quit(1);
	EXPECT_EQ(Finding(L"4", L"t.txt", 1, L"あ、い", L"'、'の後に空白が無い"), Log());
}

TEST_F(CheckTxtTest, BracketPairs)
{
	Write(L"c.ini", L"[MAIN]\r\nNOTETYPE=1\r\nPARENTPEAR=「」（）\r\nPARENTNOSTART=1\r\nPARENTNOMATCH=1\r\n");
	Write(L"t.txt", L"あ「い」う\r\n」あ「\r\n（あ（い）\r\nあ(い\r\n");
	CHECKTXT cCheck;
	Run(cCheck, L"t.txt", L"c.ini");
	cCheck.Quit(1);
	EXPECT_EQ(Finding(L"3", L"t.txt", 2, L"」あ「", L"'「'で始まっていない'」'") +
			  Finding(L"3", L"t.txt", 2, L"」あ「", L"「」の数が合っていない") +
			  Finding(L"3", L"t.txt", 3, L"（あ（い）", L"（）の数が合っていない"),
			  Log());

	// Without PARENTNOSTART a closing bracket first cancels the later opening one.
	ClearLog();
	Write(L"c2.ini", L"[MAIN]\r\nNOTETYPE=1\r\nPARENTPEAR=「」（）\r\nPARENTNOMATCH=1\r\n");
	Run(cCheck, L"t.txt", L"c2.ini");
	cCheck.Quit(1);
	EXPECT_EQ(Finding(L"3", L"t.txt", 3, L"（あ（い）", L"（）の数が合っていない"), Log());
}

TEST_F(CheckTxtTest, WordListsReportEveryMatchListByList)
{
	Write(L"c.ini", L"[MAIN]\r\nNOTETYPE=1\r\n"
					L"STRING=禁止語\r\n悪い\t\t使わない\r\n悪\r\n[abc]X\r\nAB\r\n"
					L"STRING=表記\r\n行う\r\n[^あ]ね\r\n");
	Write(L"t.txt", L"これは悪い例\r\naXです\r\nA Bです\r\n行う悪い\r\nあねいね\r\n");
	CHECKTXT cCheck;
	Run(cCheck, L"t.txt", L"c.ini");
	cCheck.Quit(1);
	EXPECT_EQ(Finding(L"A", L"t.txt", 1, L"これは悪い例", L"禁止語の可能性\"悪い\"を含む  使わない") +
			  Finding(L"A", L"t.txt", 1, L"これは悪い例", L"禁止語の可能性\"悪\"を含む") +
			  Finding(L"A", L"t.txt", 2, L"aXです", L"禁止語の可能性\"aX\"を含む") +
			  Finding(L"A", L"t.txt", 3, L"A Bです", L"禁止語の可能性\"A B\"を含む") +
			  Finding(L"B", L"t.txt", 4, L"行う悪い", L"表記の可能性\"行う\"を含む") +
			  Finding(L"A", L"t.txt", 4, L"行う悪い", L"禁止語の可能性\"悪い\"を含む  使わない") +
			  Finding(L"A", L"t.txt", 4, L"行う悪い", L"禁止語の可能性\"悪\"を含む") +
			  Finding(L"B", L"t.txt", 5, L"あねいね", L"表記の可能性\"いね\"を含む"),
			  Log());
}

TEST_F(CheckTxtTest, AWordFoundAcrossALineBreakLeavesTheBreakOut)
{
	// NOTETYPE 3: no filter, the file's own quotes make the literals.
	Write(L"c.ini", L"[MAIN]\r\nNOTETYPE=3\r\nSTRING=語\r\nAB\r\n");
	Write(L"t.txt", L"x = \"A\r\nBあ\";\r\ny = \"abc AB\";\r\nz = \"AB\\n\";\r\n");
	CHECKTXT cCheck;
	Run(cCheck, L"t.txt", L"c.ini");
	cCheck.Quit(1);
	EXPECT_EQ(Finding(L"A", L"t.txt", 1, L"x = \"A", L"語の可能性\"AB\"を含む") +
			  Finding(L"A", L"t.txt", 4, L"z = \"AB\\n\";", L"語の可能性\"AB\"を含む"),
			  Log()) << "a literal without a backslash or full-width character is not checked";
}

TEST_F(CheckTxtTest, ALineFeedRightAfterTheOpeningQuoteIsCounted)
{
	Write(L"c.ini", L"[MAIN]\r\nNOTETYPE=3\r\nLINETOPCHAR=あ\r\n");
	Write(L"t.txt", L"\"\nえあ\"\r\n\"お\"\r\n");
	CHECKTXT cCheck;
	Run(cCheck, L"t.txt", L"c.ini");
	cCheck.Quit(1);
	EXPECT_EQ(Finding(L"2", L"t.txt", 3, L"\"お\"", L"行頭に無効な文字"), Log());
}

TEST_F(CheckTxtTest, PatternMatching)
{
	CHECKTXT cCheck;
	struct { const wchar_t *name, *text, *pattern; int result; } const cases[] = {
		{ L"plain", L"ABC", L"AB", 2 },
		{ L"blank inside", L"A B", L"AB", 3 },
		{ L"line break inside", L"A\r\nB", L"AB", 4 },
		{ L"ideographic space inside", L"A\x3000" L"B", L"AB", 3 },
		{ L"blank at the start", L" AB", L"AB", 0 },
		{ L"case counts", L"ab", L"AB", 0 },
		{ L"class", L"bX", L"[abc]X", 2 },
		{ L"class miss", L"dX", L"[abc]X", 0 },
		{ L"negated class", L"dX", L"[^abc]X", 2 },
		{ L"negated class miss", L"aX", L"[^abc]X", 0 },
		{ L"empty word", L"AB", L"", 0 },
		{ L"text shorter than word", L"A", L"AB", 0 },
		{ L"negated class at the text end", L"A", L"A[^x]", 0 },
		{ L"unclosed class stands for itself", L"[ab", L"[ab", 3 },
		{ L"unclosed class misses", L"ab", L"[ab", 0 },
	};
	for (const auto &c : cases) {
		EXPECT_EQ(c.result, cCheck.matchPattern(c.text, c.pattern)) << "case " << c.name;
	}
}

TEST_F(CheckTxtTest, LongestSegmentsPerFileAreEmptiedAfterTheirReport)
{
	Write(L"c.ini", L"[MAIN]\r\nNOTETYPE=1\r\nSYMBESTLONG=、\r\nBESTLONGALL=0\r\n");
	// Segments of 5, 3, 10, 7 and 12 characters.
	Write(L"t.txt", L"あいうえお、かきく、あいうえおかきくけこ\r\nあいうえおかき、あいうえおかきくけこさし\r\n");
	Write(L"u.txt", L"たちつ\r\n");
	CHECKTXT cCheck;
	Run(cCheck, L"t.txt", L"c.ini");
	EXPECT_EQ(Longest(L"t.txt", 2, L"あいうえおかきくけこさし") +
			  Longest(L"t.txt", 1, L"あいうえおかきくけこ") + Longest(L"t.txt", 1, L"あいうえお"),
			  Log());
	ClearLog();
	Run(cCheck, L"u.txt", L"c.ini");
	cCheck.Quit(1);
	EXPECT_EQ(Longest(L"u.txt", 1, L"たちつ"), Log());
}

TEST_F(CheckTxtTest, LongestSegmentsOfAScriptLineArePrintedOnce)
{
	Write(L"c.ini", L"[MAIN]\r\nNOTETYPE=1\r\nSYMBESTLONG=。\r\n");
	Write(L"t.txt", L"あいうえおかきくけこ。さ\r\n");
	Write(L"u.txt", L"たちつ\r\n");
	CHECKTXT cCheck;
	Run(cCheck, L"t.txt", L"c.ini");
	Run(cCheck, L"u.txt", L"c.ini");
	EXPECT_EQ(L"", Log()) << "with BESTLONGALL 1 the report waits for the end of the line";
	cCheck.Quit(0);
	EXPECT_EQ(Longest(L"t.txt", 1, L"あいうえおかきくけこ"), Log());

	// The next script line reports only its own segments.
	ClearLog();
	Run(cCheck, L"u.txt", L"c.ini");
	cCheck.Quit(1);
	EXPECT_EQ(Longest(L"u.txt", 1, L"たちつ"), Log());
	ClearLog();
	cCheck.Quit(1);
	EXPECT_EQ(L"", Log()) << "an inactive module prints nothing";
}

TEST_F(CheckTxtTest, CommentMarkers)
{
	Write(L"t.txt", L"あいう。//えお\r\n/*\r\nかき\r\n*/\r\nくけ\r\n");
	// Default markers are empty: nothing is removed.
	Write(L"none.ini", L"[MAIN]\r\nNOTETYPE=1\r\nENABLEENDCHAR=。\r\n");
	// "//" is a marker here though it starts comments elsewhere in the settings.
	Write(L"rem.ini", L"[MAIN]\r\nREMLINE=//\r\nREMSTART=/*\r\nREMEND=*/\r\nNOTETYPE=1 // literal per line\r\n"
					  L"ENABLEENDCHAR=。\r\n");
	CHECKTXT cCheck;
	Run(cCheck, L"t.txt", L"none.ini");
	cCheck.Quit(0);
	EXPECT_EQ(Finding(L"0", L"t.txt", 1, L"あいう。//えお", L"末尾が有効な文字で終っていない") +
			  Finding(L"0", L"t.txt", 3, L"かき", L"末尾が有効な文字で終っていない") +
			  Finding(L"0", L"t.txt", 5, L"くけ", L"末尾が有効な文字で終っていない"),
			  Log());
	ClearLog();
	Run(cCheck, L"t.txt", L"rem.ini");
	cCheck.Quit(1);
	EXPECT_EQ(Finding(L"0", L"t.txt", 5, L"くけ", L"末尾が有効な文字で終っていない"), Log())
		<< "removed block comments keep the line numbers";
}

TEST_F(CheckTxtTest, NoteType2KeepsBracketedLinesTogether)
{
	Write(L"t.txt", L"「あい\r\nう」\r\nえ\r\n");
	Write(L"one.ini", L"[MAIN]\r\nNOTETYPE=1\r\nPARENTPEAR=「」\r\nENABLEENDCHAR=」\r\n");
	Write(L"two.ini", L"[MAIN]\r\nNOTETYPE=2\r\nPARENTPEAR=「」\r\nENABLEENDCHAR=」\r\n");
	CHECKTXT cCheck;
	Run(cCheck, L"t.txt", L"one.ini");
	cCheck.Quit(0);
	EXPECT_EQ(Finding(L"0", L"t.txt", 1, L"「あい", L"末尾が有効な文字で終っていない") +
			  Finding(L"0", L"t.txt", 3, L"え", L"末尾が有効な文字で終っていない"),
			  Log());
	EXPECT_EQ(Sjis(L"\"「あい\"\r\n\"う」\"\r\n\"え\"\r\n"), m_dir.Read(L"buff.txt"));
	ClearLog();
	Run(cCheck, L"t.txt", L"two.ini");
	cCheck.Quit(1);
	EXPECT_EQ(Finding(L"0", L"t.txt", 3, L"え", L"末尾が有効な文字で終っていない"), Log());
	EXPECT_EQ(Sjis(L"\"「あい\r\nう」\"\r\n\"え\"\r\n"), m_dir.Read(L"buff.txt"));
}

TEST_F(CheckTxtTest, QuotedAndUnquotedLiteralsOfNoteType0)
{
	Write(L"c.ini", L"[MAIN]\r\nLINETOPCHAR=あ\r\n");
	Write(L"t.txt", L"print \"あいう\";\r\nmsg 'えお';\r\nx = \"abc\";\r\nかき\r\n");
	CHECKTXT cCheck;
	Run(cCheck, L"t.txt", L"c.ini");
	cCheck.Quit(1);
	EXPECT_EQ(Finding(L"2", L"t.txt", 2, L"msg 'えお';", L"行頭に無効な文字") +
			  Finding(L"2", L"t.txt", 4, L"かき", L"行頭に無効な文字"),
			  Log());
}

TEST_F(CheckTxtTest, SettingsWithIncludes)
{
	Write(L"c.ini", L"[MAIN]\r\nFILE=inc.ini\r\nNOTETYPE=1\r\nFILE = gone.ini\r\n");
	Write(L"inc.ini", L"LINETOPCHAR=あ\r\n");
	Write(L"t.txt", L"いう\r\n");
	CHECKTXT cCheck;
	Run(cCheck, L"t.txt", L"c.ini");
	cCheck.Quit(1);
	EXPECT_EQ(Finding(L"2", L"t.txt", 1, L"いう", L"行頭に無効な文字"), Log());
	EXPECT_EQ(0, s_stGl.m_iErrorCount) << "a missing include adds nothing and is no error";
	// The blank after FILE belongs to the missing name, which is still taken out.
	EXPECT_EQ(Sjis(L"[MAIN]\r\nLINETOPCHAR=あ\r\n\r\nNOTETYPE=1\r\n\r\n"), m_dir.Read(L"initFile.txt"));
}

TEST_F(CheckTxtTest, AnIncludeOfItselfIsReadOnce)
{
	const std::wstring strIni = L"[MAIN]\r\nNOTETYPE=1\r\nFILE=self.ini\r\nSTRING=語\r\n悪\r\n";
	Write(L"self.ini", strIni);
	Write(L"t.txt", L"悪\r\n");
	CHECKTXT cCheck;
	EXPECT_EQ(1, Run(cCheck, L"t.txt", L"self.ini"));
	cCheck.Quit(1);
	const std::wstring strMerged = L"[MAIN]\r\nNOTETYPE=1\r\n" + strIni + L"\r\nSTRING=語\r\n悪\r\n";
	EXPECT_EQ(Sjis(strMerged), m_dir.Read(L"initFile.txt"));
	// Two lists of the same name now: one finding from each.
	EXPECT_EQ(Finding(L"A", L"t.txt", 1, L"悪", L"語の可能性\"悪\"を含む") +
			  Finding(L"B", L"t.txt", 1, L"悪", L"語の可能性\"悪\"を含む"),
			  Log());
}

TEST_F(CheckTxtTest, MissingOrEmptySettingsFile)
{
	Write(L"t.txt", L"えお\r\n");
	Write(L"empty.ini", L"");
	CHECKTXT cCheck;
	EXPECT_EQ(1, Run(cCheck, L"t.txt", L"none.ini")) << "the target is still scanned";
	cCheck.Quit(0);
	EXPECT_EQ(L"設定ファイル none.ini が読めません\r\n", Log());
	EXPECT_EQ(1, s_stGl.m_iErrorCount);
	ClearLog();
	Run(cCheck, L"t.txt", L"empty.ini");
	cCheck.Quit(0);
	Run(cCheck, L"t.txt", L"");
	cCheck.Quit(1);
	EXPECT_EQ(L"設定ファイル empty.ini が読めません\r\n設定ファイル  が読めません\r\n", Log());
	EXPECT_EQ(3, s_stGl.m_iErrorCount);
}

TEST_F(CheckTxtTest, WordListLines)
{
	std::wstring strLongName(63, L'N');
	Write(L"c.ini", L"[MAIN]\r\nNOTETYPE=1\r\n"
					L"STRING=空\r\n"
					L"STRING=解説\r\n悪\t説明1\t説明2\r\n\r\n良\t説明3\r\n"
					L"STRING=" + strLongName + L"名\r\n猫\r\n");
	Write(L"t.txt", L"良い悪い\r\n名猫\r\n");
	CHECKTXT cCheck;
	Run(cCheck, L"t.txt", L"c.ini");
	cCheck.Quit(1);
	// The second explanation is an error and continues the first; the pairs after it
	// stay aligned. The empty list takes the letter A; the cut name's rest is a word.
	EXPECT_EQ(L"設定ファイルに複数の解説が記述されています\r\n" +
			  Finding(L"B", L"t.txt", 1, L"良い悪い", L"解説の可能性\"良\"を含む  説明3") +
			  Finding(L"B", L"t.txt", 1, L"良い悪い", L"解説の可能性\"悪\"を含む  説明1 説明2") +
			  Finding(L"C", L"t.txt", 2, L"名猫", strLongName + L"の可能性\"名\"を含む") +
			  Finding(L"C", L"t.txt", 2, L"名猫", strLongName + L"の可能性\"猫\"を含む"),
			  Log());
	EXPECT_EQ(1, s_stGl.m_iErrorCount);
}

TEST_F(CheckTxtTest, TargetsThatAreSkipped)
{
	Write(L"c.ini", L"[MAIN]\r\nNOTETYPE=1\r\nLINETOPCHAR=あ\r\n");
	ASSERT_TRUE(m_dir.MakeDir(L"sub"));
	Write(L"sub\\C.INI", L"えお\r\n");
	Write(L"empty.txt", L"");
	CHECKTXT cCheck;
	EXPECT_EQ(0, Run(cCheck, L"missing.txt", L"c.ini"));
	EXPECT_EQ(0, Run(cCheck, L"empty.txt", L"c.ini"));
	// The settings file itself, named in another case, is not a target.
	EXPECT_EQ(0, Run(cCheck, L"sub\\C.INI", L"c.ini"));
	cCheck.Quit(1);
	EXPECT_EQ(L"", Log());
}

TEST_F(CheckTxtTest, SmallAndBinaryTargetsStayInsideTheirBuffers)
{
	Write(L"c.ini", L"[MAIN]\r\nNOTETYPE=1\r\nLINETOPCHAR=い\r\nENABLEENDCHAR=い\r\nSYMBESTLONG=、\r\n"
					L"SYMBLESPACE=あ\r\nPARENTPEAR=「」\r\nPARENTNOMATCH=1\r\nSTRING=語\r\n[あ\r\n[^x\r\n");
	Write(L"one.txt", L"あ");
	std::string strBinary;
	for (int i = 0; i < 4096; ++i) strBinary += static_cast<char>((i * 7919 + i / 13) & 0xFF);
	ASSERT_TRUE(m_dir.Write(L"bin.dat", strBinary));
	ASSERT_TRUE(m_dir.Write(L"quote.txt", "\""));
	CHECKTXT cCheck;
	for (int iType = 0; iType <= 3; ++iType) {
		SCOPED_TRACE(iType);
		Write(L"t.ini", L"[MAIN]\r\nNOTETYPE=" + std::to_wstring(iType) + L"\r\nSTRING=語\r\n[^x\r\n\x3042\r\n");
		EXPECT_EQ(1, Run(cCheck, L"bin.dat", L"t.ini"));
		EXPECT_EQ(1, Run(cCheck, L"quote.txt", L"t.ini"));
		cCheck.Quit(0);
	}
	ClearLog();
	EXPECT_EQ(1, Run(cCheck, L"one.txt", L"c.ini"));
	cCheck.Quit(1);
	EXPECT_EQ(Finding(L"2", L"one.txt", 1, L"あ", L"行頭に無効な文字") +
			  Finding(L"0", L"one.txt", 1, L"あ", L"末尾が有効な文字で終っていない") +
			  Longest(L"one.txt", 1, L"あ"),
			  Log());
	EXPECT_EQ(Sjis(L"\"あ\""), m_dir.Read(L"buff.txt"));
}

TEST_F(CheckTxtTest, RangeRestrictionWithoutMarkersLeavesTheTextAlone)
{
	s_stGl.m_stIniSetting.RANGE = 1;
	Write(L"c.ini", L"[MAIN]\r\nNOTETYPE=1\r\nLINETOPCHAR=あ\r\n");
	Write(L"t.txt", L"えお\r\nかき\r\nabcdefgh\r\n");
	CHECKTXT cCheck;
	Run(cCheck, L"t.txt", L"c.ini");
	cCheck.Quit(1);
	EXPECT_EQ(L"", Log());
}

// Benchmark, not a test: a 1 MB Shift-JIS text against 5,000 list words.
// Run with --gtest_also_run_disabled_tests --gtest_filter=*Benchmark*.
TEST_F(CheckTxtTest, DISABLED_Benchmark)
{
	std::wstring strIni = L"[MAIN]\r\nNOTETYPE=1\r\nLINETOPCHAR=あいうえお\r\nENABLEENDCHAR=。\r\n"
						  L"SYMBLESPACE=！\r\nPARENTPEAR=「」\r\nPARENTNOMATCH=1\r\nSYMBESTLONG=、\r\n";
	// Kanji that code page 932 holds, so that words and text survive the conversion.
	std::vector<wchar_t> vKanji;
	for (wchar_t c = 0x4E00; vKanji.size() < 600 && c < 0x9FA0; ++c) {
		char sz[4];
		BOOL bDefault = FALSE;
		if (WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &c, 1, sz, 4, 0, &bDefault) == 2 && !bDefault)
			vKanji.push_back(c);
	}
	ASSERT_EQ(600u, vKanji.size());
	unsigned int uSeed = 12345;
	auto next = [&]() { uSeed = uSeed * 1103515245u + 12345u; return (uSeed >> 16) & 0x7FFF; };
	for (int iList = 0; iList < 5; ++iList) {
		strIni += L"STRING=list" + std::to_wstring(iList) + L"\r\n";
		for (int k = 0; k < 1000; ++k) {
			std::wstring strWord;
			const int iLen = 2 + next() % 3;
			for (int c = 0; c < iLen; ++c) strWord += vKanji[next() % 600];
			strIni += strWord + L"\t説明\r\n";
		}
	}
	Write(L"big.ini", strIni);
	std::wstring strText;
	while (strText.size() < 500000) {
		const int iLen = 10 + next() % 40;
		for (int c = 0; c < iLen; ++c) {
			const unsigned r = next() % 100;
			strText += r < 5 ? L'、' : (r < 50 ? static_cast<wchar_t>(0x3042 + next() % 80) : vKanji[next() % 600]);
		}
		strText += L"。\r\n";
	}
	Write(L"big.txt", strText);
	const std::string strBytes = m_dir.Read(L"big.txt");

	CHECKTXT cCheck;
	const auto tStart = std::chrono::steady_clock::now();
	Run(cCheck, L"big.txt", L"big.ini");
	cCheck.Quit(1);
	const double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - tStart).count();
	int iLines = 0;
	for (const wchar_t *p = s_stGl.m_memMsg; *p; ++p) iLines += (*p == L'\n');
	std::printf("CHECKTXT benchmark: %zu bytes, 5000 words, %d log lines, %.3f s\n",
				strBytes.size(), iLines, dSeconds);
}

}  // namespace
