// Writes the seed corpus of every fuzz target into FOLDER/NAME/, made with the project's
// own writers: the block and run-length encoders, the bitmap writer, the code-page
// converters, the WAVE fixture of the unit tests, and small texts of each reader's kind.
// Usage: fuzz_seeds FOLDER
#include <cstdint>
#include <cstdio>
#include <cstring>
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
    return 0;
}
