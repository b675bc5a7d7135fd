// FITPARTS and FITPARTS_REV in process: list reading, the search over image files, the
// pasted outputs, the cut parts and the list written back.
#include "krelwin/module/fitparts.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "krelwin/main/output.h"
#include "krelwin/module/function_base.h"
#include "tests/krelwin/main/engine_fixture.h"
#include "tests/support/bmpfile.h"

namespace {

// A colour value r | g << 8 | b << 16 as a 32-bit image stores it (b, g, r, 0xFF).
uint32_t Stored(uint32_t _uColour) {
    return ((_uColour >> 16) & 0xFF) | (_uColour & 0xFF00) | ((_uColour & 0xFF) << 16) | 0xFF000000u;
}


// A 24-bit picture of the colour function.
std::string Picture24(int _iW, int _iH, const bmpfile::PixelFn& _colour) {
    bmpfile::Spec sp;
    sp.width = _iW;
    sp.height = _iH;
    sp.bits = 24;
    sp.pixel = _colour;
    return bmpfile::Make(sp);
}

// The 32-bit file FITPARTS writes for a picture of that colour function.
std::string Picture32(int _iW, int _iH, const bmpfile::PixelFn& _colour) {
    bmpfile::Spec sp;
    sp.width = _iW;
    sp.height = _iH;
    sp.bits = 32;
    sp.pixel = [_colour](int x, int y) { return Stored(_colour(x, y)); };
    return bmpfile::Make(sp);
}

bmpfile::PixelFn Shifted(const bmpfile::PixelFn& _f, int _iX, int _iY) {
    return [_f, _iX, _iY](int x, int y) { return _f(x + _iX, y + _iY); };
}

int AnswerYes(const wchar_t*) { return OUTPUT_ANSWER_YES; }

class FitPartsTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        m_pOldAsk = Output_setAsk(AnswerYes);
        m_pFit.reset(new FITPARTS);
        ASSERT_TRUE(m_dir.MakeDir(L"img"));
        ASSERT_TRUE(m_dir.MakeDir(L"out"));
    }
    void TearDown() override {
        m_pFit.reset();
        Output_setAsk(m_pOldAsk);
        Module_releaseAll();
        EngineTest::TearDown();
    }
    std::wstring Line() const { return L"\"" + m_dir.Path(L"list.txt") + L"\" img " + m_dir.Path(L"out"); }
    int Fit() {
        const int i = m_pFit->Func(Line().c_str());
        m_pFit->Quit(0);
        return i;
    }
    int Rev() {
        const int i = m_pFit->FuncRev(Line().c_str());
        m_pFit->Quit(0);
        return i;
    }
    // Records read in the FITPARTS_REV way (no image is read).
    int Read(const std::string& _strList, int _iReverse = 1) {
        return m_pFit->readList(_strList.data(), static_cast<int>(_strList.size()), _iReverse);
    }
    std::unique_ptr<FITPARTS> m_pFit;
    OUTPUT_ASK m_pOldAsk = nullptr;
};

TEST_F(FitPartsTest, ListLinesColumnsAndLineEnds) {
    struct Rec {
        const wchar_t *pBase, *pPart, *pOut;
        int iW, iH, iX, iY;
    };
    struct Case {
        const char* pName;
        std::string strList;
        std::vector<Rec> vRec;
    };
    const Case aCase[] = {
        {"base then part", "base.bmp\r\n\tpart.bmp\r\n",
         {{L"base.bmp", L"", L"", 0, 0, -1, -1}, {L"base.bmp", L"part.bmp", L"", 0, 0, -1, -1}}},
        {"last line without a line end", "a\r\n\tb\t\t3\t4\t5\t6",
         {{L"a", L"", L"", 0, 0, -1, -1}, {L"a", L"b", L"", 3, 4, 5, 6}}},
        {"LF LF is one line end", "a\n\nb\n", {{L"a", L"", L"", 0, 0, -1, -1}, {L"b", L"", L"", 0, 0, -1, -1}}},
        {"CR CR is two", "a\r\rb\r",
         {{L"a", L"", L"", 0, 0, -1, -1}, {L"", L"", L"", 0, 0, -1, -1}, {L"b", L"", L"", 0, 0, -1, -1}}},
        {"commas, hexadecimal, ignored columns", "a,b,c,1,2,0x10,17,9,9,zz\r\n",
         {{L"a", L"b", L"c", 1, 2, 16, 17}}},
        {"empty columns stay unset", ",,o.bmp,,7\r\n", {{L"", L"", L"o.bmp", 0, 7, -1, -1}}},
        {"a part line keeps the base above it", "x\r\n\tp\r\n\r\n\tq\r\ny\t\r\n\tr",
         {{L"x", L"", L"", 0, 0, -1, -1},
          {L"x", L"p", L"", 0, 0, -1, -1},
          {L"", L"", L"", 0, 0, -1, -1},
          {L"x", L"q", L"", 0, 0, -1, -1},
          {L"y", L"", L"", 0, 0, -1, -1},
          {L"y", L"r", L"", 0, 0, -1, -1}}},
        {"nothing", "", {}},
        {"one empty line", "\r\n", {{L"", L"", L"", 0, 0, -1, -1}}},
        {"a lone separator", "\t", {{L"", L"", L"", 0, 0, -1, -1}}},
    };
    for (const Case& c : aCase) {
        SCOPED_TRACE(c.pName);
        ASSERT_EQ(static_cast<int>(c.vRec.size()), Read(c.strList));
        for (size_t i = 0; i < c.vRec.size(); ++i) {
            const FITPARTS_RECORD& r = m_pFit->GetRecord(static_cast<int>(i));
            const Rec& w = c.vRec[i];
            EXPECT_EQ(std::wstring(w.pBase), r.szBase) << i;
            EXPECT_EQ(std::wstring(w.pPart), r.szPart) << i;
            EXPECT_EQ(std::wstring(w.pOut), r.szOutput) << i;
            EXPECT_EQ(w.iW, r.iWidth) << i;
            EXPECT_EQ(w.iH, r.iHeight) << i;
            EXPECT_EQ(w.iX, r.iX) << i;
            EXPECT_EQ(w.iY, r.iY) << i;
        }
    }
    EXPECT_EQ(L"", Log());
}

TEST_F(FitPartsTest, ReadingForTheSearchTakesImageSizesAndDefaultOutputs) {
    ASSERT_TRUE(m_dir.Write(L"img\\base.bmp", Picture24(40, 30, bmpfile::Noise)));
    ASSERT_TRUE(m_dir.Write(L"img\\part.bmp", Picture24(8, 6, bmpfile::Noise)));
    std::string strCut = Picture24(5, 5, bmpfile::Noise);
    ASSERT_TRUE(m_dir.Write(L"img\\cut.bmp", strCut.substr(0, strCut.size() - 10)));
    m_pFit->SetFolders(m_dir.Path(L"img").c_str(), L"");
    ASSERT_EQ(4, Read("base.bmp\t\t\t1\t2\r\n\tpart.bmp\r\n\tgone.bmp\r\n\tcut.bmp\r\n", 0));
    const FITPARTS_RECORD& b = m_pFit->GetRecord(0);
    EXPECT_EQ(std::wstring(L"base.bmp"), b.szOutput);
    EXPECT_EQ(40, b.iWidth) << "columns 3 and 4 are not read for the search";
    EXPECT_EQ(30, b.iHeight);
    const FITPARTS_RECORD& p = m_pFit->GetRecord(1);
    EXPECT_EQ(std::wstring(L"base.bmp"), p.szBase);
    EXPECT_EQ(std::wstring(L"part.bmp"), p.szOutput);
    EXPECT_EQ(8, p.iWidth);
    EXPECT_EQ(6, p.iHeight);
    // An unreadable part keeps the base name its own line gave: none.
    EXPECT_EQ(std::wstring(L""), m_pFit->GetRecord(2).szBase);
    EXPECT_EQ(std::wstring(L"gone.bmp"), m_pFit->GetRecord(2).szOutput);
    EXPECT_EQ(0, m_pFit->GetRecord(2).iWidth);
    EXPECT_EQ(std::wstring(L""), m_pFit->GetRecord(3).szBase);
    EXPECT_EQ(L"gone.bmp not read\r\nビットマップでないファイル cut.bmp\r\n", Log());
    EXPECT_EQ(2, s_stGl.m_iErrorCount);
}

TEST_F(FitPartsTest, ExactPartIsFoundAndWrittenWithItsBaseOnly) {
    ASSERT_TRUE(m_dir.Write(L"img\\base.bmp", Picture24(40, 30, bmpfile::Noise)));
    ASSERT_TRUE(m_dir.Write(L"img\\part.bmp", Picture24(8, 6, Shifted(bmpfile::Noise, 12, 7))));
    ASSERT_TRUE(m_dir.Write(L"list.txt", "base.bmp\r\n\tpart.bmp\r\n"));
    EXPECT_EQ(1, Fit());
    EXPECT_EQ(L"searching...\r\nfiting\r\npart.bmp 12,7  (48:48)100%\r\nouting\r\n", Log());
    EXPECT_EQ(Picture32(40, 30, bmpfile::Noise), m_dir.Read(L"out\\part.bmp"));
    EXPECT_FALSE(m_dir.IsFile(L"out\\base.bmp")) << "the base is not written on its own";
    EXPECT_EQ("base.bmp\t\t\t40\t30\r\n\tpart.bmp\tpart.bmp\t8\t6\t12\t7\r\n", m_dir.Read(L"list.txt"));
    EXPECT_EQ(0, s_stGl.m_iErrorCount);
}

TEST_F(FitPartsTest, ASecondPartOfTheSameSizeIsTriedFirstAtThePreviousPlace) {
    // Two base pixels black, so that white part pixels there score 0.
    const bmpfile::PixelFn base = [](int x, int y) { return (y == 7 && (x == 12 || x == 13)) ? 0u : bmpfile::Noise(x, y) | 1u; };
    const bmpfile::PixelFn part2 = [base](int x, int y) { return (y == 0 && x < 2) ? 0xFFFFFFu : base(x + 12, y + 7); };
    ASSERT_TRUE(m_dir.Write(L"img\\base.bmp", Picture24(40, 30, base)));
    ASSERT_TRUE(m_dir.Write(L"img\\p1.bmp", Picture24(8, 6, Shifted(base, 12, 7))));
    ASSERT_TRUE(m_dir.Write(L"img\\p2.bmp", Picture24(8, 6, part2)));
    ASSERT_TRUE(m_dir.Write(L"list.txt", "base.bmp\r\n\tp1.bmp\r\n\tp2.bmp\r\n"));
    EXPECT_EQ(1, Fit());
    // 46 of 48 pixels match: 95 % without a full search.
    EXPECT_EQ(L"searching...\r\nfiting\r\np1.bmp 12,7  (48:48)100%\r\np2.bmp  95%\r\nouting\r\n", Log());
    EXPECT_EQ("base.bmp\t\t\t40\t30\r\n\tp1.bmp\tp1.bmp\t8\t6\t12\t7\r\n\tp2.bmp\tp2.bmp\t8\t6\t12\t7\r\n",
              m_dir.Read(L"list.txt"));
    const bmpfile::PixelFn pasted = [base](int x, int y) { return (y == 7 && (x == 12 || x == 13)) ? 0xFFFFFFu : base(x, y); };
    EXPECT_EQ(Picture32(40, 30, pasted), m_dir.Read(L"out\\p2.bmp"));
}

TEST_F(FitPartsTest, PlacedRecordsAreNotSearchedButWrittenAgain) {
    ASSERT_TRUE(m_dir.Write(L"img\\base.bmp", Picture24(20, 20, bmpfile::Noise)));
    ASSERT_TRUE(m_dir.Write(L"img\\part.bmp", Picture24(2, 2, [](int, int) { return 0x0000FFu; })));
    ASSERT_TRUE(m_dir.Write(L"list.txt", "base.bmp\r\n\tpart.bmp\tp_out.bmp\t0\t0\t3\t4\r\n"));
    EXPECT_EQ(1, Fit());
    EXPECT_EQ(L"searching...\r\nfiting\r\nbase.bmp  already printing.\r\nouting\r\n", Log());
    EXPECT_EQ(Picture32(20, 20, bmpfile::Noise), m_dir.Read(L"out\\base.bmp"));
    const bmpfile::PixelFn pasted = [](int x, int y) {
        return (x >= 3 && x < 5 && y >= 4 && y < 6) ? 0x0000FFu : bmpfile::Noise(x, y);
    };
    EXPECT_EQ(Picture32(20, 20, pasted), m_dir.Read(L"out\\p_out.bmp"));
    EXPECT_EQ("base.bmp\t\tbase.bmp\t20\t20\r\n\tpart.bmp\tp_out.bmp\t2\t2\t3\t4\r\n", m_dir.Read(L"list.txt"));
}

TEST_F(FitPartsTest, TransparentPixelsAreNeitherComparedNorPasted) {
    // The base's top-left colour marks transparent pixels; the part has some where the base differs.
    const uint32_t uKey = bmpfile::Noise(0, 0);
    const bmpfile::PixelFn part = [uKey](int x, int y) { return ((x + y) % 3 == 0) ? uKey : bmpfile::Noise(x + 9, y + 4); };
    ASSERT_TRUE(m_dir.Write(L"img\\base.bmp", Picture24(30, 20, bmpfile::Noise)));
    ASSERT_TRUE(m_dir.Write(L"img\\part.bmp", Picture24(6, 6, part)));
    ASSERT_TRUE(m_dir.Write(L"list.txt", "base.bmp\r\n\tpart.bmp\r\n"));
    EXPECT_EQ(1, Fit());
    EXPECT_EQ(L"searching...\r\nfiting\r\npart.bmp 9,4  (24:24)100%\r\nouting\r\n", Log());
    EXPECT_EQ(Picture32(30, 20, bmpfile::Noise), m_dir.Read(L"out\\part.bmp"));
    EXPECT_EQ(Stored(uKey), m_pFit->GetTransparent());
}

TEST_F(FitPartsTest, FailedSearchesKeepTheRunningPlace) {
    const uint32_t uKey = bmpfile::Noise(0, 0);
    ASSERT_TRUE(m_dir.Write(L"img\\base.bmp", Picture24(30, 20, bmpfile::Noise)));
    ASSERT_TRUE(m_dir.Write(L"img\\same.bmp", Picture24(30, 20, bmpfile::Noise)));
    ASSERT_TRUE(m_dir.Write(L"img\\big.bmp", Picture24(31, 5, bmpfile::Noise)));
    ASSERT_TRUE(m_dir.Write(L"img\\clear.bmp", Picture24(4, 4, [uKey](int, int) { return uKey; })));
    ASSERT_TRUE(m_dir.Write(L"img\\p.bmp", Picture24(5, 5, Shifted(bmpfile::Noise, 7, 2))));
    ASSERT_TRUE(m_dir.Write(L"list.txt", "base.bmp\r\n\tp.bmp\r\n\tsame.bmp\r\n\tbig.bmp\r\n\tclear.bmp"));
    EXPECT_EQ(1, Fit());
    EXPECT_EQ(L"searching...\r\nfiting\r\np.bmp 7,2  (25:25)100%\r\nclear.bmp  no pixels to compare\r\nouting\r\n",
              Log());
    EXPECT_EQ("base.bmp\t\t\t30\t20\r\n"
              "\tp.bmp\tp.bmp\t5\t5\t7\t2\r\n"
              "\tsame.bmp\tsame.bmp\t30\t20\t7\t2\r\n"
              "\tbig.bmp\tbig.bmp\t31\t5\t7\t2\r\n"
              "\tclear.bmp\tclear.bmp\t4\t4\t7\t2\r\n",
              m_dir.Read(L"list.txt"))
        << "the last line, without a line end, is written back with one";
}

TEST_F(FitPartsTest, ListsOfTenThousandLines) {
    std::string strFull;
    for (int i = 0; i < 10000; ++i) strFull += "\r\n";
    ASSERT_TRUE(m_dir.Write(L"list.txt", strFull));
    EXPECT_EQ(1, Rev());
    EXPECT_EQ(10000, m_pFit->GetCount());
    EXPECT_EQ(L"searching...\r\nファイルが多すぎます\r\nouting\r\n", Log());
    EXPECT_EQ(strFull, m_dir.Read(L"list.txt"));

    // One line more would be lost by writing the list back: it stays as it is.
    Message_clear();
    const std::string strMore = strFull + "base.bmp\r\n";
    ASSERT_TRUE(m_dir.Write(L"list.txt", strMore));
    EXPECT_EQ(1, Rev());
    EXPECT_EQ(10000, m_pFit->GetCount());
    EXPECT_EQ(L"searching...\r\nファイルが多すぎます\r\nouting\r\nlist.txt not rewritten\r\n", Log());
    EXPECT_EQ(strMore, m_dir.Read(L"list.txt"));
}

TEST_F(FitPartsTest, NamesTooLongForARecordKeepTheList) {
    const std::string strList = "base.bmp\r\n\t" + std::string(300, 'n') + ".bmp\r\n";
    ASSERT_TRUE(m_dir.Write(L"list.txt", strList));
    EXPECT_EQ(1, Rev());
    EXPECT_EQ(L"searching...\r\n2: name too long\r\nouting\r\nlist.txt not rewritten\r\n", Log());
    EXPECT_EQ(strList, m_dir.Read(L"list.txt"));
}

TEST_F(FitPartsTest, PartsBelowABaseNameTooLongTakeNoEarlierBase) {
    // p2 lies in a.bmp as well: taken as a.bmp's part it would be searched and pasted there.
    ASSERT_TRUE(m_dir.Write(L"img\\a.bmp", Picture24(20, 10, bmpfile::Noise)));
    ASSERT_TRUE(m_dir.Write(L"img\\p1.bmp", Picture24(3, 3, Shifted(bmpfile::Noise, 4, 5))));
    ASSERT_TRUE(m_dir.Write(L"img\\p2.bmp", Picture24(3, 3, Shifted(bmpfile::Noise, 9, 2))));
    const std::string strList = "a.bmp\r\n\tp1.bmp\r\n" + std::string(300, 'n') + ".bmp\r\n\tp2.bmp\r\n";
    ASSERT_TRUE(m_dir.Write(L"list.txt", strList));
    EXPECT_EQ(1, Fit());
    EXPECT_EQ(L"searching...\r\n3: name too long\r\nfiting\r\np1.bmp 4,5  (9:9)100%\r\nouting\r\n"
              L"list.txt not rewritten\r\n",
              Log());
    EXPECT_TRUE(m_dir.IsFile(L"out\\p1.bmp"));
    EXPECT_FALSE(m_dir.IsFile(L"out\\p2.bmp"));
    EXPECT_EQ(strList, m_dir.Read(L"list.txt"));
}

TEST_F(FitPartsTest, ReverseCutsScaledPartsAndScalesTheirPlaces) {
    // The output image was halved; a 24-bit one, as an editor may save it.
    const bmpfile::PixelFn half = [](int x, int y) { return bmpfile::Noise(x * 2, y * 2); };
    ASSERT_TRUE(m_dir.Write(L"out\\part.bmp", Picture24(20, 15, half)));
    ASSERT_TRUE(m_dir.Write(L"out\\b2.bmp", Picture24(3, 3, bmpfile::Noise)));
    ASSERT_TRUE(m_dir.Write(L"list.txt", "base.bmp\t\t\t40\t30\r\n\tpart.bmp\tpart.bmp\t8\t6\t12\t7\r\n"
                                         "base2.bmp\t\tb2.bmp\t3\t3\r\n"));
    EXPECT_EQ(1, Rev());
    EXPECT_EQ(L"searching...\r\nouting\r\n50%,50%\r\n", Log());
    EXPECT_EQ(Picture32(4, 3, Shifted(half, 6, 3)), m_dir.Read(L"img\\part.bmp"));
    EXPECT_EQ(Picture24(3, 3, bmpfile::Noise), m_dir.Read(L"img\\base2.bmp")) << "a base is copied unchanged";
    EXPECT_EQ("base.bmp\t\t\t40\t30\r\n\tpart.bmp\tpart.bmp\t8\t6\t6\t3\r\nbase2.bmp\t\tb2.bmp\t3\t3\r\n",
              m_dir.Read(L"list.txt"));
}

TEST_F(FitPartsTest, ReverseRefusesWhatItCannotScaleOrCut) {
    ASSERT_TRUE(m_dir.Write(L"out\\p.bmp", Picture24(10, 10, bmpfile::Noise)));
    std::string strLying = Picture24(10, 10, bmpfile::Noise);
    bmpfile::Put32(&strLying, 18, 100000);
    ASSERT_TRUE(m_dir.Write(L"out\\lie.bmp", strLying));
    ASSERT_TRUE(m_dir.Write(L"list.txt", "zero.bmp\t\t\t0\t0\r\n\tp.bmp\tp.bmp\t4\t4\t1\t1\r\n"
                                         "base.bmp\t\t\t10\t10\r\n\tp.bmp\tp.bmp\t4\t4\r\n"
                                         "\tp.bmp\tgone.bmp\t4\t4\t0\t0\r\n\tp.bmp\tlie.bmp\t4\t4\t0\t0\r\n"
                                         "\tp.bmp\tp.bmp\t0\t4\t0\t0\r\n"));
    EXPECT_EQ(1, Rev());
    EXPECT_EQ(L"searching...\r\nouting\r\n"
              L"p.bmp: no size of its base\r\n"
              L"p.bmp: no place\r\n"
              L"gone.bmp not read\r\n"
              L"ビットマップでないファイル lie.bmp\r\n"
              L"100%,100%\r\np.bmp: size out of range\r\n",
              Log());
    EXPECT_FALSE(m_dir.IsFile(L"img\\p.bmp"));
    EXPECT_EQ(5, s_stGl.m_iErrorCount);
}

TEST_F(FitPartsTest, RewrittenListsReadBackToTheSameBases) {
    // No output names: FITPARTS_REV reads and rewrites the list and touches no image.
    struct Case {
        const char* pName;
        std::string strList;
        std::string strWritten;
    };
    const Case aCase[] = {
        {"the list's own layout stays as it is",
         "base.bmp\t\t\t40\t30\r\n\tp.bmp\t\t8\t6\t1\t2\r\n\tq.bmp\t\t2\t2\t3\t4\r\n",
         "base.bmp\t\t\t40\t30\r\n\tp.bmp\t\t8\t6\t1\t2\r\n\tq.bmp\t\t2\t2\t3\t4\r\n"},
        {"a line with a base and a part",
         "a.bmp\t\t\t4\t4\r\n\tp1.bmp\t\t1\t1\t0\t0\r\nb.bmp\tp2.bmp\t\t1\t1\t0\t0\r\n\tp3.bmp\t\t1\t1\t0\t0\r\n",
         "a.bmp\t\t\t4\t4\r\n\tp1.bmp\t\t1\t1\t0\t0\r\nb.bmp\tp2.bmp\t\t1\t1\t0\t0\r\n\tp3.bmp\t\t1\t1\t0\t0\r\n"},
        {"both names on the first line", "b.bmp\tp.bmp\r\n\tq.bmp",
         "b.bmp\tp.bmp\t\t0\t0\t-1\t-1\r\n\tq.bmp\t\t0\t0\t-1\t-1\r\n"},
        {"a part line naming the base above it", "a.bmp\r\na.bmp\tp.bmp\r\n",
         "a.bmp\t\t\t0\t0\r\n\tp.bmp\t\t0\t0\t-1\t-1\r\n"},
        {"back to the first base", "a.bmp\r\nb.bmp\tp.bmp\r\na.bmp\tq.bmp\r\n\tr.bmp\r\n",
         "a.bmp\t\t\t0\t0\r\nb.bmp\tp.bmp\t\t0\t0\t-1\t-1\r\na.bmp\tq.bmp\t\t0\t0\t-1\t-1\r\n\tr.bmp\t\t0\t0\t-1\t-1\r\n"},
        {"empty lines carry the base on", "a.bmp\r\n\r\nb.bmp\tp.bmp\r\n\r\n\tq.bmp\r\n",
         "a.bmp\t\t\t0\t0\r\n\r\nb.bmp\tp.bmp\t\t0\t0\t-1\t-1\r\n\r\n\tq.bmp\t\t0\t0\t-1\t-1\r\n"},
    };
    for (const Case& c : aCase) {
        SCOPED_TRACE(c.pName);
        Message_clear();
        std::vector<FITPARTS_RECORD> vBefore;
        for (int i = 0; i < Read(c.strList); ++i) vBefore.push_back(m_pFit->GetRecord(i));
        ASSERT_TRUE(m_dir.Write(L"list.txt", c.strList));
        EXPECT_EQ(1, Rev());
        EXPECT_EQ(L"searching...\r\nouting\r\n", Log());
        const std::string strWritten = m_dir.Read(L"list.txt");
        EXPECT_EQ(c.strWritten, strWritten);
        ASSERT_EQ(static_cast<int>(vBefore.size()), Read(strWritten));
        for (size_t i = 0; i < vBefore.size(); ++i) {
            const FITPARTS_RECORD& r = m_pFit->GetRecord(static_cast<int>(i));
            EXPECT_EQ(std::wstring(vBefore[i].szBase), r.szBase) << i;
            EXPECT_EQ(std::wstring(vBefore[i].szPart), r.szPart) << i;
            EXPECT_EQ(vBefore[i].iX, r.iX) << i;
        }
    }
}

TEST_F(FitPartsTest, ReverseRefusesPartsLargerThanTheirScaledBase) {
    // base.bmp stayed 4 x 4; half.bmp's image was halved from 40 x 30, dbl.bmp's doubled from 2 x 2.
    ASSERT_TRUE(m_dir.Write(L"out\\b.bmp", Picture24(4, 4, bmpfile::Noise)));
    ASSERT_TRUE(m_dir.Write(L"out\\h.bmp", Picture24(20, 15, bmpfile::Noise)));
    ASSERT_TRUE(m_dir.Write(L"out\\d.bmp", Picture24(4, 4, bmpfile::Noise)));
    ASSERT_TRUE(m_dir.Write(L"list.txt", "base.bmp\t\t\t4\t4\r\n"
                                         "\tbig.bmp\tb.bmp\t8000\t8000\t0\t0\r\n"
                                         "\twide.bmp\tb.bmp\t5\t1\t0\t0\r\n"
                                         "\ttall.bmp\tb.bmp\t1\t5\t3\t0\r\n"
                                         "\tover.bmp\tb.bmp\t0x7FFFFFFF\t1\t0\t0\r\n"
                                         "\tneg.bmp\tb.bmp\t-4\t4\t0\t0\r\n"
                                         "\tfull.bmp\tb.bmp\t4\t4\t0\t0\r\n"
                                         "\tedge.bmp\tb.bmp\t3\t3\t2\t2\r\n"
                                         "half.bmp\t\t\t40\t30\r\n"
                                         "\thalf_p.bmp\th.bmp\t40\t30\t0\t0\r\n"
                                         "\thalf_big.bmp\th.bmp\t42\t30\t0\t0\r\n"
                                         "dbl.bmp\t\t\t2\t2\r\n"
                                         "\tdbl_p.bmp\td.bmp\t2\t2\t0\t0\r\n"));
    EXPECT_EQ(1, Rev());
    EXPECT_EQ(L"searching...\r\nouting\r\n"
              L"100%,100%\r\nbig.bmp: larger than its base image\r\n"
              L"100%,100%\r\nwide.bmp: larger than its base image\r\n"
              L"100%,100%\r\ntall.bmp: larger than its base image\r\n"
              L"over.bmp: size out of range\r\n"
              L"100%,100%\r\nneg.bmp: size out of range\r\n"
              L"100%,100%\r\n"
              L"100%,100%\r\n"
              L"50%,50%\r\n"
              L"50%,50%\r\nhalf_big.bmp: larger than its base image\r\n"
              L"200%,200%\r\n",
              Log());
    EXPECT_EQ(6, s_stGl.m_iErrorCount);
    for (const wchar_t* pName : {L"img\\big.bmp", L"img\\wide.bmp", L"img\\tall.bmp", L"img\\over.bmp",
                                 L"img\\neg.bmp", L"img\\half_big.bmp"})
        EXPECT_FALSE(m_dir.IsFile(pName)) << testing::PrintToString(std::wstring(pName));
    EXPECT_EQ(Picture32(4, 4, bmpfile::Noise), m_dir.Read(L"img\\full.bmp"));
    // Partly outside the image: what lies outside reads as 0.
    bmpfile::Spec stEdge;
    stEdge.width = 3;
    stEdge.height = 3;
    stEdge.bits = 32;
    stEdge.pixel = [](int x, int y) { return (x < 2 && y < 2) ? Stored(bmpfile::Noise(x + 2, y + 2)) : 0u; };
    EXPECT_EQ(bmpfile::Make(stEdge), m_dir.Read(L"img\\edge.bmp"));
    EXPECT_EQ(Picture32(20, 15, bmpfile::Noise), m_dir.Read(L"img\\half_p.bmp")) << "the whole halved image";
    EXPECT_EQ(Picture32(4, 4, bmpfile::Noise), m_dir.Read(L"img\\dbl_p.bmp")) << "the whole doubled image";
    // Refused parts keep their places.
    EXPECT_EQ("base.bmp\t\t\t4\t4\r\n"
              "\tbig.bmp\tb.bmp\t8000\t8000\t0\t0\r\n"
              "\twide.bmp\tb.bmp\t5\t1\t0\t0\r\n"
              "\ttall.bmp\tb.bmp\t1\t5\t3\t0\r\n"
              "\tover.bmp\tb.bmp\t2147483647\t1\t0\t0\r\n"
              "\tneg.bmp\tb.bmp\t-4\t4\t0\t0\r\n"
              "\tfull.bmp\tb.bmp\t4\t4\t0\t0\r\n"
              "\tedge.bmp\tb.bmp\t3\t3\t2\t2\r\n"
              "half.bmp\t\t\t40\t30\r\n"
              "\thalf_p.bmp\th.bmp\t40\t30\t0\t0\r\n"
              "\thalf_big.bmp\th.bmp\t42\t30\t0\t0\r\n"
              "dbl.bmp\t\t\t2\t2\r\n"
              "\tdbl_p.bmp\td.bmp\t2\t2\t0\t0\r\n",
              m_dir.Read(L"list.txt"));
}

TEST_F(FitPartsTest, ReverseCopiesBaseImagesByteForByte) {
    // Palette images of editors that write the longer info headers.
    bmpfile::Spec sp;
    sp.width = 5;
    sp.height = 3;
    sp.bits = 8;
    sp.pixel = [](int x, int y) { return static_cast<uint32_t>(3 * x + y); };
    const std::string str124 = bmpfile::WithLongInfoHeader(bmpfile::Make(sp), 124);
    const std::string str108 = bmpfile::WithLongInfoHeader(bmpfile::Make(sp), 108);
    ASSERT_TRUE(m_dir.Write(L"out\\o124.bmp", str124));
    ASSERT_TRUE(m_dir.Write(L"out\\o108.bmp", str108));
    ASSERT_TRUE(m_dir.Write(L"out\\text.bmp", "not an image"));
    ASSERT_TRUE(m_dir.Write(L"list.txt", "b124.bmp\t\to124.bmp\t5\t3\r\nb108.bmp\t\to108.bmp\t5\t3\r\n"
                                         "bt.bmp\t\ttext.bmp\t5\t3\r\n"));
    EXPECT_EQ(1, Rev());
    EXPECT_EQ(L"searching...\r\nouting\r\nビットマップでないファイル text.bmp\r\n", Log());
    EXPECT_EQ(str124, m_dir.Read(L"img\\b124.bmp"));
    EXPECT_EQ(str108, m_dir.Read(L"img\\b108.bmp"));
    EXPECT_FALSE(m_dir.IsFile(L"img\\bt.bmp"));
}

TEST_F(FitPartsTest, FoldersTooLongAreRefusedAndNothingIsWrittenInTheCurrentFolder) {
    // The fixture's current folder is the test folder: names taken as they stand would land there.
    const std::wstring strLong(300, L'd');
    ASSERT_TRUE(m_dir.Write(L"img\\base.bmp", Picture24(20, 10, bmpfile::Noise)));
    ASSERT_TRUE(m_dir.Write(L"img\\part.bmp", Picture24(3, 3, Shifted(bmpfile::Noise, 4, 5))));
    ASSERT_TRUE(m_dir.Write(L"out\\part.bmp", Picture24(20, 10, bmpfile::Noise)));
    const std::string strList = "base.bmp\r\n\tpart.bmp\tpart.bmp\t3\t3\t4\t5\r\n";
    ASSERT_TRUE(m_dir.Write(L"list.txt", strList));
    const std::wstring strList16 = L"\"" + m_dir.Path(L"list.txt") + L"\" ";
    // FITPARTS with an output folder too long; FITPARTS_REV with an image folder too long.
    EXPECT_EQ(1, m_pFit->Func((strList16 + L"img " + m_dir.Path(strLong)).c_str()));
    m_pFit->Quit(0);
    EXPECT_EQ(1, m_pFit->FuncRev((strList16 + strLong + L" out").c_str()));
    m_pFit->Quit(0);
    EXPECT_EQ(L"フォルダ名が長すぎます list.txt\r\nフォルダ名が長すぎます list.txt\r\n", Log());
    EXPECT_EQ(2, s_stGl.m_iErrorCount);
    EXPECT_FALSE(m_dir.IsFile(L"part.bmp"));
    EXPECT_FALSE(m_dir.IsFile(L"base.bmp"));
    EXPECT_EQ(strList, m_dir.Read(L"list.txt"));
}

TEST_F(FitPartsTest, ShiftJisNamesRoundTrip) {
    ASSERT_TRUE(m_dir.Write(L"img\\\x65e5\x672c.bmp", Picture24(20, 10, bmpfile::Noise)));  // 日本.bmp
    ASSERT_TRUE(m_dir.Write(L"img\\\x90e8\x54c1.bmp", Picture24(3, 3, Shifted(bmpfile::Noise, 4, 5))));  // 部品.bmp
    const std::string strList = "\x93\xfa\x96\x7b.bmp\r\n\t\x95\x94\x95\x69.bmp\r\n";
    ASSERT_TRUE(m_dir.Write(L"list.txt", strList));
    EXPECT_EQ(1, Fit());
    EXPECT_EQ("\x93\xfa\x96\x7b.bmp\t\t\t20\t10\r\n\t\x95\x94\x95\x69.bmp\t\x95\x94\x95\x69.bmp\t3\t3\t4\t5\r\n",
              m_dir.Read(L"list.txt"));
    EXPECT_EQ(Picture32(20, 10, bmpfile::Noise), m_dir.Read(L"out\\\x90e8\x54c1.bmp"));
}

TEST_F(FitPartsTest, OnlyTheFirstReadableListOfALineIsHandled) {
    ASSERT_TRUE(m_dir.Write(L"other.txt", "\r\n"));
    ASSERT_TRUE(m_dir.Write(L"list.txt", "a\r\n"));
    SCRIPT_STAT stLine;
    stLine.m_strCommand = L"FITPARTS_REV";
    stLine.m_strParam = L"img";
    Command_exec(stLine, m_dir.Path(L"gone.txt").c_str());
    Command_exec(stLine, m_dir.Path(L"list.txt").c_str());
    Command_exec(stLine, m_dir.Path(L"other.txt").c_str());
    EXPECT_EQ(L"searching...\r\nouting\r\n", Log());
    EXPECT_EQ("a\t\t\t0\t0\r\n", m_dir.Read(L"list.txt"));
    EXPECT_EQ("\r\n", m_dir.Read(L"other.txt"));
    Command_quit(0);
    Command_exec(stLine, m_dir.Path(L"other.txt").c_str());
    EXPECT_EQ(L"searching...\r\nouting\r\nsearching...\r\nouting\r\n", Log()) << "the next line handles one again";
    Command_quit(1);
}

}  // namespace
