// ZEN2HAN: the table of full-width codes, the byte filter and the command on files.
#include <set>
#include <string>

#include "krelwin/module/zen2han.h"
#include "tests/krelwin/module/sample_commands_fixture.h"

using sample_commands::SampleCommandsTest;
using sample_commands::Sjis;
using sample_commands::ASKED;

namespace {

std::string Filter(std::string _str)
{
    const int n = FILT_zen2han(reinterpret_cast<unsigned char*>(&_str[0]), (int)_str.size());
    _str.resize(n < 0 ? 0 : n);
    return _str;
}

std::string Hex(const std::string& _str)
{
    static const char s_cDigit[] = "0123456789ABCDEF";
    std::string s;
    for (unsigned char c : _str) {
        s += s_cDigit[c >> 4];
        s += s_cDigit[c & 15];
        s += ' ';
    }
    return s;
}

} // namespace

TEST(Zen2han, KanaLettersAndDigitsBecomeSingleBytesAndVoicedKanaStays)
{
    // あ ガ Ａ １ ～: ten bytes become ｱ ガ A 1 ~, six bytes.
    const std::string strIn("\x82\xA0\x83\x4B\x82\x60\x82\x50\x81\x60", 10);
    EXPECT_EQ(Hex(std::string("\xB1\x83\x4B" "A1~", 6)), Hex(Filter(strIn)));
}

TEST(Zen2han, EveryGroupOfTheTableMapsToItsHalfWidthForm)
{
    struct ROW { const char* pName; std::string strFull; std::string strHalf; };
    const ROW aRow[] = {
        {"plain hiragana",
         Sjis(L"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"),
         Sjis(L"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝ")},
        {"small kana", Sjis(L"ぁぃぅぇぉゃゅょっ"), Sjis(L"ｧｨｩｪｫｬｭｮｯ")},
        {"capitals", Sjis(L"ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ"), "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        {"small letters", Sjis(L"ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ"), "abcdefghijklmnopqrstuvwxyz"},
        {"digits", Sjis(L"０１２３４５６７８９"), "0123456789"},
        {"kana punctuation", Sjis(L"「」。、ー・"), Sjis(L"｢｣｡､ｰ･")},
        // ideographic space ？！（）［］＠＋－＊／～ as their Shift-JIS codes
        {"symbols",
         std::string("\x81\x40\x81\x48\x81\x49\x81\x69\x81\x6A\x81\x6D\x81\x6E\x81\x97\x81\x7B\x81\x7C"
                     "\x81\x96\x81\x5E\x81\x60", 26),
         " ?!()[]@+-*/~"},
    };
    for (const ROW& r : aRow) {
        EXPECT_EQ(Hex(r.strHalf), Hex(Filter(r.strFull))) << "case " << r.pName;
    }
}

TEST(Zen2han, UnlistedCharactersStayWhole)
{
    struct ROW { const char* pName; std::string strIn; };
    const ROW aRow[] = {
        {"voiced hiragana", Sjis(L"がぱ")},
        {"katakana", Sjis(L"アイウ")},
        {"kanji", Sjis(L"漢字")},
        {"full-width marks not listed", Sjis(L"＃％＆")},
        {"half-width text", "abc ｱｲｳ 123\r\n"},
        // モ is 83 82: stepping into its second byte would read 82 A9 as か
        {"trail byte that looks like a lead byte", std::string("\x83\x82\xA9", 3)},
        {"lead byte as the last byte", std::string("a\x82", 2)},
    };
    for (const ROW& r : aRow) {
        EXPECT_EQ(Hex(r.strIn), Hex(Filter(r.strIn))) << "case " << r.pName;
    }
}

TEST(Zen2han, PairCutByTheLengthIsNotRead)
{
    // Only the first byte of あ lies inside the length: it is not converted, and the byte
    // after the length is neither read as its partner nor moved.
    unsigned char aBuf[] = {'x', 0x82, 0xA0, 0};
    EXPECT_EQ(2, FILT_zen2han(aBuf, 2));
    EXPECT_EQ(0x82, aBuf[1]);
    EXPECT_EQ(0xA0, aBuf[2]);
    EXPECT_EQ(0, FILT_zen2han(aBuf, 0));
    EXPECT_EQ(0, FILT_zen2han(nullptr, 5));
}

TEST(Zen2han, TableHoldsTheListedCodesOnly)
{
    std::set<unsigned short> stCodes;
    int iCount = 0;
    while (s_usZen2hanList[iCount]) stCodes.insert(s_usZen2hanList[iCount++]);
    EXPECT_EQ(ZEN2HAN_LIST_COUNT, iCount);
    EXPECT_EQ(static_cast<size_t>(ZEN2HAN_LIST_COUNT), stCodes.size()) << "codes are distinct";
    for (unsigned short us : stCodes) {
        EXPECT_EQ(1, ZEN2HAN_isListed(us)) << std::hex << us;
        EXPECT_NE(0, ZEN2HAN_toHan(us)) << std::hex << us;
    }
    // を and ～ are the two that leave the plain order.
    EXPECT_EQ(0xA6, ZEN2HAN_toHan(0x82F0));
    EXPECT_EQ('~', ZEN2HAN_toHan(0x8160));
    for (unsigned short us : {0x0000, 0x82AA, 0x82CE, 0x8340, 0x8394, 0x815F, 0x8161, 0x889F}) {
        EXPECT_EQ(0, ZEN2HAN_isListed(us)) << std::hex << us;
    }
}

TEST(Zen2han, DoubleByteTestFollowsCodePage932)
{
    struct ROW { unsigned char a, b; int iExpect; };
    const ROW aRow[] = {
        {0x81, 0x40, 1}, {0x9F, 0xFC, 1}, {0xE0, 0x7E, 1}, {0xFC, 0x80, 1},
        {0x80, 0x40, 0}, {0xA0, 0x40, 0}, {0xDF, 0x40, 0}, {0xFD, 0x40, 0},
        {0x82, 0x3F, 0}, {0x82, 0x7F, 0}, {0x82, 0xFD, 0}, {'a', 'b', 0},
    };
    for (const ROW& r : aRow) {
        EXPECT_EQ(r.iExpect, ZEN2HAN_isSjisChar(r.a, r.b)) << std::hex << (int)r.a << " " << (int)r.b;
    }
}

TEST_F(SampleCommandsTest, Zen2hanRewritesTheTargetAndLogsItsSizes)
{
    // 100 bytes, a third of them converted: 1Kb before and after.
    std::string strText = Sjis(L"ＡＢＣ") + std::string(92, 'x') + "\r\n";
    ASSERT_EQ(100u, strText.size());
    ASSERT_TRUE(m_dir.Write(L"z.txt", strText));
    ASKED::Answer() = OUTPUT_ANSWER_YES;
    EXPECT_EQ(1, Command_zen2han(Line(L"z.txt").c_str()));
    EXPECT_EQ("ABC" + std::string(92, 'x') + "\r\n", m_dir.Read(L"z.txt"));
    EXPECT_EQ(L"zen2han z.txt 1Kb->1Kb\r\n", Log());
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
    EXPECT_NE(std::wstring::npos, ASKED::Texts().find(L"上書きしますか")) << "BACKUP 0 asks first";
}

TEST_F(SampleCommandsTest, Zen2hanSizesRoundUpToWholeKb)
{
    // 513 full-width letters (1,026 bytes) become 513 bytes: 2Kb -> 1Kb.
    std::wstring strFull(513, L'ｚ');
    ASSERT_TRUE(m_dir.Write(L"big.txt", Sjis(strFull)));
    EXPECT_EQ(1, Command_zen2han(Line(L"big.txt", L"out\\big2.txt").c_str()));
    EXPECT_EQ(std::string(513, 'z'), m_dir.Read(L"out\\big2.txt"));
    EXPECT_EQ(Sjis(strFull), m_dir.Read(L"big.txt")) << "the target stays when an output is named";
    EXPECT_EQ(L"zen2han big.txt 2Kb->1Kb\r\n", Log());
}

TEST_F(SampleCommandsTest, Zen2hanOnMissingOrEmptyTargetFailsAndWritesNothing)
{
    ASSERT_TRUE(m_dir.Write(L"empty.txt", ""));
    for (const wchar_t* pName : {L"missing.txt", L"empty.txt"}) {
        Message_clear();
        const int iErrors = s_stGl.m_iErrorCount;
        EXPECT_EQ(0, Command_zen2han(Line(pName, L"o.txt").c_str())) << pName;
        EXPECT_EQ(L"zen2han  failed. " + Path(pName) + L"\r\n", Log()) << pName;
        EXPECT_EQ(iErrors + 1, s_stGl.m_iErrorCount) << pName;
    }
    EXPECT_FALSE(m_dir.IsFile(L"missing.txt"));
    EXPECT_FALSE(m_dir.IsFile(L"o.txt"));
    EXPECT_EQ("", m_dir.Read(L"empty.txt"));
}

TEST_F(SampleCommandsTest, Zen2hanLogsNoSizeLineWhenTheOutputIsNotWritten)
{
    const std::string strText = Sjis(L"ＡＢＣ\r\n");
    ASSERT_TRUE(m_dir.Write(L"ro.txt", strText));
    ASSERT_TRUE(SetReadOnly(L"ro.txt", true));
    for (int iBackup : {0, 1}) {
        Message_clear();
        s_stGl.m_pSetting->BACKUP = iBackup;
        ASKED::Answer() = OUTPUT_ANSWER_YES;
        EXPECT_EQ(1, Command_zen2han(Line(L"ro.txt").c_str())) << "BACKUP " << iBackup;
        EXPECT_EQ(L"Can't write file.ro.txt\r\n", Log()) << "BACKUP " << iBackup;
        EXPECT_EQ(strText, m_dir.Read(L"ro.txt")) << "BACKUP " << iBackup;
        EXPECT_TRUE(IsReadOnly(L"ro.txt"));
        EXPECT_FALSE(m_dir.IsFile(L"ro.bak")) << "BACKUP " << iBackup;
    }
    s_stGl.m_pSetting->BACKUP = 0;

    // The user keeps the file: nothing written, nothing logged.
    ASSERT_TRUE(m_dir.Write(L"keep.txt", strText));
    Message_clear();
    ASKED::Answer() = OUTPUT_ANSWER_NO;
    EXPECT_EQ(1, Command_zen2han(Line(L"keep.txt").c_str()));
    EXPECT_EQ(L"", Log());
    EXPECT_EQ(strText, m_dir.Read(L"keep.txt"));
}
