// Writes the seed corpus of every fuzz target into FOLDER/NAME/, made with the project's
// own writers: the block and run-length encoders, the bitmap writer, the code-page
// converters, the WAVE fixture of the unit tests, and small texts of each reader's kind.
// Usage: fuzz_seeds FOLDER
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "kelto/graphics/bmp.h"
#include "kelto/press/canz.h"
#include "kelto/press/gda1.h"
#include "kelto/press/rls.h"
#include "kelto/string/moji.h"
#include "kelto/string/string.h"
#include "tests/krelwin/module/wave_fixture.h"

namespace {

typedef std::vector<unsigned char> BYTES;

std::string s_strRoot;

void put(const char* _pTarget, const BYTES& _vData)
{
    static int s_iCount = 0;
    const std::string strFolder = s_strRoot + "/" + _pTarget;
    mkdir(strFolder.c_str(), 0777);
    const std::string strPath = strFolder + "/seed-" + std::to_string(++s_iCount);
    FILE* pFile = std::fopen(strPath.c_str(), "wb");
    if (!pFile || (_vData.size() && std::fwrite(_vData.data(), 1, _vData.size(), pFile) != _vData.size())) {
        std::fprintf(stderr, "cannot write %s\n", strPath.c_str());
        std::exit(1);
    }
    std::fclose(pFile);
}

BYTES bytes(const std::string& _str)
{
    return BYTES(_str.begin(), _str.end());
}

// UTF-16LE units.
BYTES units(const wchar_t* _pText)
{
    BYTES v;
    for (const wchar_t* p = _pText; *p; ++p) {
        v.push_back(static_cast<unsigned char>(*p & 0xFF));
        v.push_back(static_cast<unsigned char>(*p >> 8));
    }
    return v;
}

// The system code page's bytes of the text (the form files are stored in).
BYTES narrow(const wchar_t* _pText)
{
    CTOSJIS cText(_pText);
    return bytes(cText.Get() ? cText.Get() : "");
}

BYTES join(const BYTES& _a, const BYTES& _b)
{
    BYTES v(_a);
    v.insert(v.end(), _b.begin(), _b.end());
    return v;
}

const BYTES kUnitCut = {0xFF, 0xFE};
// The file separator of the command targets (FUZZ_PART).
const BYTES kPart = {0xFE, 0xFE, 0xFE, 0xFE};

// The parts of a command target's input, FUZZ_PART between them.
BYTES parts(std::initializer_list<BYTES> _lParts)
{
    BYTES v;
    bool bFirst = true;
    for (const BYTES& vPart : _lParts) {
        if (!bFirst) v.insert(v.end(), kPart.begin(), kPart.end());
        v.insert(v.end(), vPart.begin(), vPart.end());
        bFirst = false;
    }
    return v;
}

// A file of the dispatch target's input: its name, a line feed and its bytes.
BYTES named(const char* _pName, const BYTES& _vData)
{
    return join(bytes(std::string(_pName) + "\n"), _vData);
}

// The bytes of an image made here, which it releases, with no 0xFE (see image).
BYTES imageBytes(void* _pImage, int _iSize)
{
    const unsigned char* p = static_cast<unsigned char*>(_pImage);
    BYTES v(p, p + _iSize);
    delete[] static_cast<unsigned char*>(_pImage);
    for (unsigned char& c : v)
        if (c == 0xFE) c = 0xFD;
    return v;
}

// A bitmap of the writer with a pattern of colours of that depth; no byte of it is 0xFE,
// which would cut the input's parts there.
BYTES image(int _iWidth, int _iHeight, uint16_t _wBits, int _iSeed)
{
    void* pImage = nullptr;
    const int iSize = BMP_Create(&pImage, _iWidth, _iHeight, _wBits, 2835, 2835);
    if (iSize <= 0) std::exit(1);
    BMP_INFO stInfo = BMP_GetInfo(pImage);
    if (_wBits <= 8) {
        for (int i = 0; i < (_wBits == 4 ? 16 : 256); ++i) BMP_SetPalette(&stInfo, i, (i * 0x102030 + 0x050505) & 0x7F7F7F);
    }
    for (int y = 0; y < _iHeight; ++y) {
        for (int x = 0; x < _iWidth; ++x) {
            const int iValue = ((x * 7 + y * 13 + _iSeed) * 0x010203) & 0x7F7F7F;
            BMP_SetPixel(&stInfo, x, y, _wBits == 4 ? iValue & 15 : _wBits == 8 ? iValue & 255 : iValue);
        }
    }
    return imageBytes(pImage, iSize);
}

// The image's rectangle as a bitmap of its own, 24 bits.
BYTES cut(const BYTES& _vImage, int _iX, int _iY, int _iWidth, int _iHeight)
{
    const BMP_INFO stSrc = BMP_GetInfo(_vImage.data());
    void* pImage = nullptr;
    const int iSize = BMP_Create(&pImage, _iWidth, _iHeight, 24, 2835, 2835);
    if (iSize <= 0) std::exit(1);
    BMP_INFO stInfo = BMP_GetInfo(pImage);
    for (int y = 0; y < _iHeight; ++y)
        for (int x = 0; x < _iWidth; ++x) BMP_SetPixel(&stInfo, x, y, BMP_GetPixel(&stSrc, _iX + x, _iY + y));
    return imageBytes(pImage, iSize);
}

BYTES pressBlock(const BYTES& _vSource)
{
    BYTES vBlock(_vSource.size() * 2 + 1024);
    uint32_t uIn = static_cast<uint32_t>(_vSource.size()), uBlock = 0;
    if (!GDA1_PressMem(_vSource.data(), vBlock.data(), static_cast<uint32_t>(vBlock.size()), &uIn, &uBlock)) {
        std::fprintf(stderr, "the encoder failed\n");
        std::exit(1);
    }
    vBlock.resize(uBlock);
    return vBlock;
}

void le16(BYTES* _p, uint32_t _u)
{
    _p->push_back(static_cast<unsigned char>(_u));
    _p->push_back(static_cast<unsigned char>(_u >> 8));
}

void le32(BYTES* _p, uint32_t _u)
{
    le16(_p, _u & 0xFFFF);
    le16(_p, _u >> 16);
}

// A type-2 archive of GDA1 members; shifts 0.
BYTES archive(const std::vector<std::pair<const wchar_t*, BYTES>>& _vMembers)
{
    const uint32_t uHeader = CANZ_HEADER_SIZE + 8 * static_cast<uint32_t>(_vMembers.size());
    BYTES v = bytes("CANZ");
    v.push_back(0);
    v.push_back(2);
    le16(&v, uHeader);
    le16(&v, static_cast<uint32_t>(_vMembers.size()));
    v.push_back(0);
    v.push_back(0);
    uint32_t uOffset = 0;
    BYTES vData;
    for (const auto& m : _vMembers) {
        const BYTES vBlock = pressBlock(m.second);
        le32(&v, STRING_crc32(m.first));
        le16(&v, uOffset);
        le16(&v, static_cast<uint32_t>(vBlock.size()));
        vData.insert(vData.end(), vBlock.begin(), vBlock.end());
        uOffset += static_cast<uint32_t>(vBlock.size());
    }
    return join(v, vData);
}

} // namespace

int main(int _iArgc, char** _ppArgv)
{
    if (_iArgc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
        return 2;
    }
    s_strRoot = _ppArgv[1];
    mkdir(s_strRoot.c_str(), 0777);

    const BYTES vText = narrow(L"[SCRIPT]\r\nREPLACE names.txt %0_rep.txt\r\n台詞のテキスト、テキスト。\r\n");
    BYTES vRamp;
    for (int i = 0; i < 3000; ++i) vRamp.push_back(static_cast<unsigned char>((i * i) >> 5));

    // Blocks: one byte of room first (255: the most), then the block; the payload alone
    // is a raw stream.
    for (const BYTES& v : {vText, vRamp, BYTES(5000, 'a'), BYTES()}) {
        const BYTES vBlock = pressBlock(v);
        put("gda1", join({255}, vBlock));
        put("gda1", join({255}, BYTES(vBlock.begin() + GDA1_HEADER_SIZE, vBlock.end())));
        put("roundtrip", v);
    }
    put("gda1", join({2}, pressBlock(vRamp)));

    put("canz", join(bytes(std::string("scene.txt") + '\0'),
                     archive({{L"scene.txt", vText}, {L"ramp.bin", vRamp}})));
    put("canz", join({0}, archive({{L"a", BYTES(100, 'x')}})));

    // Run-length data of both widths and position modes; one byte of room first.
    {
        std::vector<uint32_t> vValues;
        for (int i = 0; i < 64; ++i) vValues.push_back(static_cast<uint32_t>(i / 8));
        std::vector<uint16_t> vWords(vValues.begin(), vValues.end());
        for (int iMode = 0; iMode < 2; ++iMode) {
            std::vector<uint32_t> vOut(64);
            int iSize = 1;
            if (RLS_encodeDWORD(vValues.data(), vOut.data(), &iSize, iMode, 256) > 0) {
                const unsigned char* p = reinterpret_cast<const unsigned char*>(vOut.data());
                put("rls", join({16}, BYTES(p, p + iSize)));
            }
            iSize = 1;
            if (RLS_encodeWORD(vWords.data(), vOut.data(), &iSize, iMode, 128) > 0) {
                const unsigned char* p = reinterpret_cast<const unsigned char*>(vOut.data());
                put("rls", join({16}, BYTES(p, p + iSize)));
            }
        }
        put("rls_roundtrip", BYTES(reinterpret_cast<const unsigned char*>(vValues.data()),
                               reinterpret_cast<const unsigned char*>(vValues.data() + vValues.size())));
    }

    // Bitmaps of every depth the writer makes, with a few pixels and palette entries set.
    for (uint16_t wBits : {4, 8, 16, 24, 32}) {
        void* pImage = nullptr;
        const int iSize = BMP_Create(&pImage, 5, 3, wBits, 2835, 2835);
        if (iSize <= 0) return 1;
        BMP_INFO stInfo = BMP_GetInfo(pImage);
        for (int i = 0; i < 5; ++i) BMP_SetPixel(&stInfo, i, i % 3, i * 3);
        if (wBits <= 8) BMP_SetPalette(&stInfo, 1, 0x00FF8040);
        const unsigned char* p = static_cast<unsigned char*>(pImage);
        put("bmp", BYTES(p, p + iSize));
        delete[] static_cast<unsigned char*>(pImage);
    }

    // Texts of the FILT_ rewrites and the evaluator (first byte: options).
    put("filter", join({1}, units(L"a = 2*3+4 // note\r\n/* block\r\n */ b\t = \"x  y\"  \r\n\r\n\r\nc=(1+2)*3.5%2\r\n")));
    put("filter", join({0x21}, units(L"「台詞」 ＡＢＣ ｶﾀｶﾅ \\n 10/4-1|6&3\r\n")));

    put("probuff", join(join(units(L"MAIN"), kUnitCut),
                        units(L"[MAIN]\r\nKEY = value\r\nNUM=0x10\r\nF=2.5\r\n[OTHER]\r\nKEY=1\r\n")));

    put("format", join({40}, units(L"%s: %d (%5.2f) %-8S|%08X %c%% %ls %I64d %*d %.3s %p")));
    put("format", join({10}, units(L"%hd %lu %#o %+i % d %e %G %a %hs %C %n %")));

    put("codepage", join({0}, narrow(L"日本語のテキスト ｶﾀｶﾅ abc")));
    {
        CMOJIUTIL cMoji;
        const wchar_t* pText = L"ユニコード ＵＴＦ－８ 𠀋";
        const int iN = STRING_len(pText);
        std::string strUtf8(static_cast<size_t>(cMoji.WcToUtf8Size(pText, iN)), '\0');
        cMoji.WcToUtf8(pText, iN, &strUtf8[0]);
        put("codepage", join({1}, bytes(strUtf8)));
        put("codepage", join({0}, units(pText)));
    }

    put("kvl", narrow(L"// batch\r\n[SCRIPT]\r\nREPLACE names.txt %0_rep.txt\r\nDUMP 1\r\n\r\n[FILES]\r\n"
                      L"a.txt\r\nsub\\*.txt\r\n*.*\r\n\r\n[SETTING]\r\nOUTINFO=1\r\nSEARCHSUB=1\r\n"
                      L"OUTINFONAME=%HOME\\log.txt\r\n/* end */\r\n"));

    put("kvlparam", units(L"\"C:\\work\\text\\scene01.txt\" names.txt %0_rep.txt -m1 -op \"out dir\\%1\""));
    put("kvlparam", units(L"target.txt ..\\up\\file.bin -x12 -- \"\""));

    put("xlcell", units(L"\"一行目\n二行目\"\r\n"));
    put("xlcell", units(L"\"say \"\"hi\"\"\"\r\n"));
    put("xlcell", units(L"AA1AZ4096"));

    put("replace", join(join(units(L"台詞\tセリフ\r\n\\str\t[\\str]\r\nA\\n\tB\\t\r\n\\val\t#\\val#\r\n\\wrd\t<\\wrd>\r\n"
                                   L"削除\r\n\\knj\\blk\t\\knj\r\n"),
                             kUnitCut),
                        units(L"台詞のテキスト、\"引用 12\" A\r\nword 削除 漢字 x\r\n")));

    put("checktxt", join(join(narrow(L"[MAIN]\r\nNOTETYPE=1\r\nLINETOPCHAR=あいう「\r\nENABLEENDCHAR=。」\r\n"
                                     L"ILLEGALSYMBOL=＃\r\nSYMBLESPACE=、！\r\nSYMBLEOK=」ー\r\nPARENTPEAR=「」（）\r\n"
                                     L"PARENTNOSTART=1\r\nPARENTNOMATCH=1\r\nSYMBESTLONG=。\r\nREMLINE=//\r\n"
                                     L"STRING=禁止語\r\n悪い\t\t使わない\r\n[abc]X\r\n"),
                              {0}),
                         narrow(L"\"あいう。\"\r\n\"えお＃\"\r\n\"（あ（い）\"\r\n\"これは悪い例、い\" // x\r\n")));
    put("checktxt", join(join(narrow(L"[MAIN]\r\nNOTETYPE=2\r\nFILE=check.ini\r\n"), {0}),
                         narrow(L"'あ「い」う'\r\n\"aXです\"\r\n")));

    {
        using namespace wave_fixture;
        const std::string strSamples = Bytes8(FrameLevels({10, 100, 0, 60}, 200));
        put("wavevol", join({1}, bytes(Wave(1, 8000, 8, strSamples))));
        put("wavevol", join({0x42}, bytes(Wave(2, 11025, 16, Bytes16(FrameLevels({30, 5}, 400))))));
        put("wavevol", join({3}, bytes(Riff(Chunk("LIST", "abc") + Chunk("fmt ", Format(1, 22050, 8))))));
        // Odd chunks without their pad bytes, before a chunk of zeros and before the data.
        put("wavevol", join({2}, bytes(Riff(RawChunk("LIST", 5, "INFOx") + Chunk("PAD ", std::string(34, '\0')) +
                                            Chunk("fmt ", Format(1, 8000, 8)) + RawChunk("JUNK", 3, "abc") +
                                            Chunk("data", strSamples)))));
    }

    put("d2pack", units(L"<layout>\r\n<tex_param fname=\"face01\"/>\r\n<tex_param fname=\"bg\" />\r\n"
                        L"<Reference><data name=\"@voice01\"/></Reference>\r\n<Reference><data name=\"local\"/>"
                        L"</Reference>\r\n</layout>\r\n"));

    put("songdata", join(join(units(L"tex_a,tex_b\r\ntex_c,,tex_d,tex_e\rlast,row\n"), kUnitCut),
                         units(L"<song><img src=\"wrd01_000.tga\"/><img src=\"wrd01_000.tga\"/></song>wrd01_000.tga")));
    put("path", units(L"C:\\work\\text\\..\\scene01.txt"));
    put("path", units(L"..\\up/mixed\\name.tar.gz"));
    put("path", units(L"\\\\server\\share\\dir\\"));

    put("textconv", narrow(L"ぜんかく　ＡＢＣ１２３、。「」ゃ 漢字 half"));

    // The command targets: files of the run folder and the argument text, as the dispatcher
    // gives them (support/fuzz_run.h).
    const BYTES vScript = narrow(L"// 台詞のスクリプト\r\nload(\"BG01.BMP\", 1)\r\nplay( click , 2)\r\nflag[3] = 1;\r\n"
                                 L"label01:\r\nSETPARAM(alpha, beta,gamma)\r\nx = voice01 + 12\r\n"
                                 L"/* \"hidden.bmp\" */ \"text with blank\" ; note\r\n"
                                 L"全角の台詞「あいう」亜弌 \x81A5x\x81A5 skip(me) \x81A3y\x81A3 end(1)\r\n");
    put("listsort", join(bytes("-olp -s: -c/\n"), narrow(L"b:2\r\na:1\r\n\r\nc/x:3\r\nb:2\r\n台詞:0\r\n")));
    put("listsort", join(bytes("-orl\n"), narrow(L"short\nlonger line\r\n\r\nx\r\n")));
    put("listsort", join(bytes("\n"), bytes(std::string("a\0b\r\nc\r\n", 7))));
    for (unsigned char uRange : {0, 1, 2}) {
        put("listupscr", join({uRange}, join(bytes("\n"), parts({vScript, narrow(L"other(1) x: y[2] z\r\n")}))));
        put("checkscr", join({uRange}, join(bytes("data -cse\n"),
                                            parts({bytes("bg01.bmp\nse/click.wav\nvoice01.ogg\n12.dat\n"
                                                         "a_name_too_long_for_it.bmp\nunused.txt\n"),
                                                   vScript, narrow(L"load(\"bg01.bmp\")\r\n")}))));
    }
    put("checkscr", join({0}, join(bytes("data -p\n"), parts({bytes("x.txt\n"), narrow(L"# (x.txt)\r\ncall(x)\r\n")}))));
    put("checkscr", join({0}, join(bytes("missing\n"), parts({BYTES(), vScript}))));
    put("listupparam", join(bytes("SetParam\n"),
                            parts({vScript, narrow(L"xSETPARAM( a , \"q,r\" ,,b)\r\nSETPARAM(unclosed\r\n")})));
    put("kanji_check", join(bytes("2\n"), parts({vScript, bytes("\x88\x9f\x98\x9f\xed\x40\xfa\x40\xf0\x40 // \x88\xa0\r\n"
                                                                 "/* \x98\xa0 */ abc \x82\xa0  \r\n")})));
    put("kanji_check", join(bytes("0\n"), parts({narrow(L"漢字のみ"), BYTES()})));
    put("viragrep", join(bytes("words.txt 1\n"), parts({narrow(L"台詞\r\nword\r\nwo\r\nvoice\r\n"), vScript,
                                                        narrow(L"a word here\r\nwords\r\n台詞の word\r\n")})));
    put("viragrep", join(bytes("words.txt 0\n"), parts({narrow(L"a\r\nab\r\nabc\r\n"), bytes("abcabc\r\nxab\r\n")})));

    {
        // A base, two parts cut from it and one that is nowhere in it.
        const BYTES vBase = image(12, 10, 24, 0);
        const BYTES vPart = cut(vBase, 5, 4, 4, 3);
        const BYTES vOther = image(3, 2, 8, 5);
        const BYTES vList = narrow(L"1.bmp\t\tbase_out.bmp\r\n\t2.bmp\r\n\t3.bmp,,,,-1,-1\r\n\t4.bmp\r\n");
        put("fitparts", join({7}, join(bytes("img out\n"), parts({vList, vBase, vPart, cut(vBase, 0, 0, 2, 2), vOther}))));
        put("fitparts", join({1}, join(bytes("img out\n"), parts({vList, vBase, vPart}))));
        const BYTES vRevList = narrow(L"1.bmp\t\tbase_out.bmp\t12\t10\r\n\t2.bmp\t2.bmp\t4\t3\t5\t4\r\n\t3.bmp\t3.bmp\t2\t2\r\n");
        put("fitparts", join({6}, join(bytes("img out\n"), parts({vRevList, vBase, vPart, image(24, 20, 8, 1)}))));
        put("fitparts", join({3}, join(bytes("img out\n"), parts({narrow(L"1.bmp,,base_out.bmp\n,2.bmp"), image(8, 8, 4, 2),
                                                                 image(2, 2, 4, 2)}))));
    }

    // The tables' limits: 1,025 script words, 10,001 list lines. (A grep list of 1,025 words
    // is left to the unit tests: each such input costs a work file per word, a tenth of the
    // target's speed.)
    {
        std::string strCalls;
        for (int i = 0; i <= 1024; ++i) strCalls += "f" + std::to_string(i) + "(";
        put("listupscr", join({0}, join(bytes("\n"), bytes(strCalls))));
        std::string strList;
        for (int i = 0; i < 10001; ++i) strList += "\r\n";
        put("fitparts", join({3}, join(bytes("img out\n"), parts({bytes(strList + "1.bmp\r\n\t2.bmp\r\n"),
                                                                 image(4, 4, 24, 0), image(2, 2, 24, 0)}))));
    }

    const BYTES vIni = narrow(L"[MAIN]\r\nNOTETYPE=1\r\nLINETOPCHAR=あいう「\r\nENABLEENDCHAR=。」\r\nILLEGALSYMBOL=＃\r\n"
                              L"SYMBLESPACE=、！\r\nPARENTPEAR=「」（）\r\nSTRING=禁止語\r\n悪い\t\t使わない\r\n");
    const BYTES vBook = narrow(L"Sheet1\nname\tvalue\n\"quoted\"\t12\n台詞、です。\t\"a\"\"b\"\t\x0Bline\x0Btwo\n"
                               L"\fSheet2\nx\t\ty\n,comma\t悪い例\n\f!Refused\nz\n\fEmpty\n");
    put("xlsheet", join({3}, join(bytes("-rA1C5 check.ini\n"), parts({vBook, vIni}))));
    put("xlsheet", join({1}, join(bytes("\n"), parts({vBook}))));
    put("xlsheet", join({1}, join(bytes("-rAA1AB3\n"), parts({bytes("S\n\ta\tb\n")}))));
    put("xlsheet", join({2}, join(bytes("check.ini -rA1B2\n"), parts({vBook, vIni}))));
    put("xlsheet", join({3}, join(bytes("-r1A\n"), parts({vBook}))));
    put("xlsheet", join({1}, join(bytes("-rA1A3\n"), parts({bytes("Bad\n\x07\nok\n")}))));

    {
        // The batches of the dispatch target: every command on the files its seeds bring.
        using namespace wave_fixture;
        const BYTES vWave = bytes(Wave(1, 8000, 8, Bytes8(FrameLevels({10, 100, 0, 60}, 400))));
        const BYTES vBase = image(12, 10, 24, 0);
        const BYTES vWorld = parts({
            named("a.txt", vScript), named("names.txt", narrow(L"台詞\tセリフ\r\n\\str\t[\\str]\r\n削除\r\n")),
            named("rules.txt", narrow(L"a(b+)c\tX\\1Y\r\n[0-9]+\t#\r\n")),
            named("words.txt", narrow(L"台詞\r\nload\r\n")), named("img.bmp", image(6, 4, 8, 3)),
            named("base.bmp", vBase), named("part.bmp", cut(vBase, 5, 4, 4, 3)), named("voice.wav", vWave),
            named("list.txt", narrow(L"base.bmp\t\tbase_out.bmp\r\n\tpart.bmp\r\n")),
            named("book.xls", vBook), named("check.ini", vIni),
            named("table.csv", narrow(L"tex_a,tex_b\r\ntex_c,,tex_d\r\n")),
            named("baseD2a/wrd_001.d2a", narrow(L"<img src=\"wrd01_000.tga\"/>")),
            named("baseD2a/wrd_002.d2a", narrow(L"<img src=\"wrd01_000.tga\"/><img src=\"wrd01_000.tga\"/>")),
            named("layout.txt", narrow(L"<layout><tex_param fname=\"face\"/><Reference><data name=\"@voice\"/>"
                                       L"</Reference></layout>")),
            named("layout.d2b", bytes("D2DATA")), named("gim/face.gim", bytes("GIM-DATA")),
            named("scene.txt", narrow(L"\"abcdefgh.tga\" \"x.tga\"\r\n")), named("data/bg01.bmp", BYTES()),
        });
        const char* const apBatch[] = {
            "COPY copied -rkrelwin-fuzz-\r\nCOPY copy2\r\n[FILES]\r\na.txt\r\n",
            "DEL\r\nDEL\r\n[FILES]\r\nwords.txt\r\nmissing.txt\r\n",
            "DELREM %0_del.txt -L; \r\n[FILES]\r\na.txt\r\n",
            "KANJI_CHECK 2\r\n[FILES]\r\na.txt\r\nscene.txt\r\n",
            "ZEN2HAN %0_han.txt\r\n[FILES]\r\na.txt\r\n",
            "REPLACE names.txt %0_rep.txt\r\nreplace_rem names.txt\r\nREPLACE_REGEX rules.txt out\\%1\r\n[FILES]\r\na.txt\r\n",
            "VIRAGREP words.txt 1\r\n[FILES]\r\na.txt\r\nscene.txt\r\n",
            "LISTUPPARAM SETPARAM\r\n[FILES]\r\na.txt\r\n",
            "LISTSORT -olp\r\n[FILES]\r\nnames.txt\r\n",
            "FILECHECK\r\n[FILES]\r\nvoice.wav\r\nimg.bmp\r\na.txt\r\n",
            "BMP_RESIZE %0_big.bmp %8,+3\r\n[FILES]\r\nimg.bmp\r\n",
            "FITPARTS . fit\r\nFITPARTS_REV . fit\r\n[FILES]\r\nlist.txt\r\n",
            "DUMP 2\r\nDUMP hex.txt 4\r\n[FILES]\r\nimg.bmp\r\n",
            "LISTUPSCR\r\n[FILES]\r\na.txt\r\n",
            "CHECKSCR data -cs\r\n[FILES]\r\na.txt\r\n",
            "CHECKTXT check.ini\r\n[FILES]\r\na.txt\r\n",
            "KINSOKU\r\nRENEWFILES\r\nD2ARC\r\nUTTER_SCR\r\n[FILES]\r\na.txt\r\n",
            "SAMESIZE\r\n[FILES]\r\na.txt\r\nimg.bmp\r\nnew.bin\r\n",
            "CHGRW 1\r\nCHGRW\r\n[FILES]\r\nwords.txt\r\n",
            "SONGDATACONVERT song\r\n[FILES]\r\ntable.csv\r\n",
            "CHAIN all\r\nRLSPRESS %0\r\n[FILES]\r\nimg.bmp\r\nwords.txt\r\n",
            "D2PACK\r\n[FILES]\r\nlayout.txt\r\n",
            "D2ATEX %0_tex.txt\r\n[FILES]\r\nscene.txt\r\n",
            "MAKEMASK\r\n[FILES]\r\nimg.bmp\r\n",
            "XLS2CSV -rA1C4\r\nCHECKEXCEL check.ini -rA1B3\r\n[FILES]\r\nbook.xls\r\n",
            "INITSAMPLE\r\nINITSAMPLE\r\n[FILES]\r\na.txt\r\nwords.txt\r\n",
            "UTTER -f30 -t2\r\nutter -t0 -p50\r\n[FILES]\r\nvoice.wav\r\n",
            "FUNCTION_BASE %0_fb.txt\r\n[FILES]\r\na.txt\r\n",
            "notepad.exe %1 %1\r\ntool\r\n\"\" x\r\n[FILES]\r\na.txt\r\n",
        };
        for (const char* pBatch : apBatch)
            put("dispatch", parts({join(bytes("[SCRIPT]\r\n"), bytes(pBatch)), vWorld}));
        put("dispatch", parts({bytes("// settings\r\n[SETTING]\r\nBACKUP=1\r\nOUTINFO=1\r\nOUTINFONAME=log\\res.txt\r\n"
                                     "RANGE=2\r\nSEARCHSUB=1\r\n[SCRIPT]\r\nLISTSORT\r\nFUNCTION_BASE %0.txt\r\n"
                                     "/* two lines */\r\nDUMP 1\r\n[FILES]\r\n*.txt\r\ndata\r\n"),
                               vWorld}));
        put("dispatch", parts({bytes("[SCRIPT]\r\nFILECHECK\r\n[FILES]\r\n..\\outside.txt\r\n/etc/hostname\r\n%HOME\\x\r\n"),
                               vWorld}));
    }
    return 0;
}
