#include "kelto/press/canz.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "kelto/press/gda1.h"
#include "kelto/press/unpress.h"
#include "kelto/string/string.h"
#include "tests/support/testdir.h"

namespace {

typedef std::vector<uint8_t> Bytes;

Bytes Gda1Of(const Bytes& _vData) {
    Bytes vBlock(_vData.size() * 2 + 256);
    uint32_t uSize = uint32_t(_vData.size()), uBlock = 0;
    EXPECT_EQ(1, GDA1_PressMem(_vData.data(), vBlock.data(), uint32_t(vBlock.size()), &uSize, &uBlock));
    vBlock.resize(uBlock);
    return vBlock;
}

Bytes Text(const std::string& _s) { return Bytes(_s.begin(), _s.end()); }

Bytes Pattern(size_t _uSize) {
    Bytes v;
    for (size_t i = 0; i < _uSize; ++i) v.push_back(uint8_t("archive member "[i % 15] + (i / 700) % 3));
    return v;
}

void Le16(Bytes* _p, uint32_t _u) { _p->push_back(uint8_t(_u)); _p->push_back(uint8_t(_u >> 8)); }
void Le32(Bytes* _p, uint32_t _u) { Le16(_p, _u & 0xFFFF); Le16(_p, _u >> 16); }

struct Member { uint32_t key; Bytes stored; };

// A type-2 archive whose entries lie in order in the data area, each padded to 2^t bytes.
Bytes Archive(const std::vector<Member>& _vMembers, uint8_t _uOffsetShift = 0, uint8_t _uSizeShift = 0,
              uint8_t _uType = 2) {
    Bytes vData, vIndex;
    for (const Member& m : _vMembers) {
        while (vData.size() % (1u << _uOffsetShift)) vData.push_back(0);
        Le32(&vIndex, m.key);
        Le16(&vIndex, uint32_t(vData.size() >> _uOffsetShift));
        const size_t uUnits = (m.stored.size() + (1u << _uSizeShift) - 1) >> _uSizeShift;
        Le16(&vIndex, uint32_t(uUnits));
        vData.insert(vData.end(), m.stored.begin(), m.stored.end());
        vData.resize(vData.size() + (uUnits << _uSizeShift) - m.stored.size(), 0xA5);
    }
    Bytes v = Text("CANZ");
    v.push_back(0);
    v.push_back(_uType);
    Le16(&v, uint32_t(12 + vIndex.size()));
    Le16(&v, uint32_t(_vMembers.size()));
    v.push_back(_uOffsetShift);
    v.push_back(_uSizeShift);
    v.insert(v.end(), vIndex.begin(), vIndex.end());
    v.insert(v.end(), vData.begin(), vData.end());
    return v;
}

uint32_t Key(const wchar_t* _szName) { return STRING_crc32(_szName); }

std::string Str(const Bytes& _v) { return std::string(_v.begin(), _v.end()); }

Bytes Read(const testdir::TestDir& _cDir, const wchar_t* _szArchive, const wchar_t* _szName, int* _pResult) {
    unsigned char* p = 0;
    *_pResult = CANZ_ReadFile(&p, _cDir.Path(_szArchive).c_str(), _szName);
    Bytes v;
    if (p) v.assign(p, p + (*_pResult > 0 ? *_pResult : 0));
    MEM_free(&p);
    return v;
}

} // namespace

TEST(CanzFile, ReadsStoredAndCompressedEntriesByName) {
    testdir::TestDir cDir;
    ASSERT_TRUE(cDir.Ok());
    const Bytes vBig = Pattern(50000);
    const Bytes vArchive = Archive({{Key(L"readme.txt"), Text("plain bytes")},
                                    {Key(L"big.bin"), Gda1Of(vBig)},
                                    {0xFC891918u, Text("crc")},  // CRC-32/BZIP2 of "123456789"
                                    {Key(L"\x753B\x50CF.bmp"), Text("image")},
                                    {Key(L"readme.txt"), Text("hidden by the first")}},
                                   2, 2);
    ASSERT_TRUE(cDir.Write(L"pack.dat", Str(vArchive)));
    int iSize = 0;
    EXPECT_EQ("plain bytes\xA5", Str(Read(cDir, L"pack.dat", L"readme.txt", &iSize))) << "padding kept";
    EXPECT_EQ(12, iSize);
    EXPECT_TRUE(Read(cDir, L"pack.dat", L"big.bin", &iSize) == vBig);
    EXPECT_EQ(50000, iSize);
    EXPECT_EQ("crc\xA5", Str(Read(cDir, L"pack.dat", L"123456789", &iSize)));
    EXPECT_EQ("image\xA5\xA5\xA5", Str(Read(cDir, L"pack.dat", L"\x753B\x50CF.bmp", &iSize)));
    Read(cDir, L"pack.dat", L"README.TXT", &iSize);
    EXPECT_EQ(0, iSize) << "names are exact";
    Read(cDir, L"missing.dat", L"readme.txt", &iSize);
    EXPECT_EQ(0, iSize);

    // Through the file loader, and the loaded header with CANZ_ReadEntry.
    unsigned char* p = 0;
    EXPECT_EQ(50000, MEM_TargetRead(&p, cDir.Path(L"pack.dat").c_str(), L"big.bin"));
    EXPECT_TRUE(p && Bytes(p, p + 50000) == vBig);
    unsigned char* pHeader = 0;
    ASSERT_EQ(1, CANZ_MEM_Open(&pHeader, cDir.Path(L"pack.dat").c_str()));
    EXPECT_EQ(8, CANZ_ReadEntry(&p, pHeader, cDir.Path(L"pack.dat").c_str(), L"\x753B\x50CF.bmp"));
    MEM_free(&pHeader);
    MEM_free(&p);
}

TEST(CanzFile, ArchiveTypesAndEmptyIndex) {
    testdir::TestDir cDir;
    ASSERT_TRUE(cDir.Ok());
    const std::vector<Member> vOne = {{Key(L"a"), Text("data")}};
    ASSERT_TRUE(cDir.Write(L"type1.dat", Str(Archive(vOne, 0, 0, 1))));
    ASSERT_TRUE(cDir.Write(L"empty.dat", Str(Archive({}))));
    Bytes vType3 = Text("CANZ");
    vType3.insert(vType3.end(), {0, 3, 20, 0, 2, 0, 0, 0});
    Le32(&vType3, 1234);
    Le32(&vType3, 0xFFFFFFF0u);
    ASSERT_TRUE(cDir.Write(L"type3.dat", Str(vType3)));
    int iSize = 1;
    Read(cDir, L"type1.dat", L"a", &iSize);
    EXPECT_EQ(0, iSize);
    Read(cDir, L"empty.dat", L"a", &iSize);
    EXPECT_EQ(0, iSize);
    Read(cDir, L"type3.dat", L"a", &iSize);
    EXPECT_EQ(0, iSize);
    EXPECT_EQ(1234u, CANZ_MEM_GetSizeIndex(vType3.data(), uint32_t(vType3.size()), 0));
    EXPECT_EQ(0xFFFFFFF0u, CANZ_MEM_GetSizeIndex(vType3.data(), uint32_t(vType3.size()), 1));
    EXPECT_EQ(0u, CANZ_MEM_GetSizeIndex(vType3.data(), uint32_t(vType3.size()), 2)) << "past the archive";
    EXPECT_EQ(0u, CANZ_MEM_GetSizeName(vType3.data(), uint32_t(vType3.size()), L"a"));
    Bytes vType1 = Archive(vOne, 0, 0, 1);
    EXPECT_EQ(0u, CANZ_MEM_GetSizeIndex(vType1.data(), uint32_t(vType1.size()), 0));
}

TEST(CanzFile, DamagedArchivesFindNothingAndHandOutNothing) {
    testdir::TestDir cDir;
    ASSERT_TRUE(cDir.Ok());
    const Bytes vGood = Archive({{Key(L"m"), Text("member bytes")}, {Key(L"z"), Gda1Of(Pattern(3000))}});
    struct Case { const char* name; Bytes archive; const wchar_t* member; };
    std::vector<Case> cases;
    auto with = [&](const char* name, const wchar_t* member, size_t at, std::vector<uint8_t> bytes) {
        Bytes v = vGood;
        for (size_t i = 0; i < bytes.size(); ++i) v[at + i] = bytes[i];
        cases.push_back({name, v, member});
    };
    with("bad magic", L"m", 0, {'C', 'A', 'N', 'Y'});
    with("header size below 12", L"m", 6, {8, 0});
    with("header size past the file", L"m", 6, {0xFF, 0x7F});
    with("entry offset past the file", L"m", 12 + 4, {0xF0, 0x0F});
    with("entry size past the file", L"m", 12 + 6, {0xFF, 0x0F});
    with("offset shift beyond 32 bits", L"m", 10, {40});
    with("size shift beyond 32 bits", L"m", 11, {200});
    with("GDA1 payload size past the entry", L"z", 28 + 12 + 8, {0xFF, 0xFF, 0, 0});
    with("GDA1 expanded size above the stream's", L"z", 28 + 12 + 4, {0xB9, 0x0B});
    with("GDA1 expanded size below the stream's", L"z", 28 + 12 + 4, {0xB7, 0x0B});
    with("GDA1 stream damaged", L"z", 28 + 12 + 12, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    cases.push_back({"cut inside the index", Bytes(vGood.begin(), vGood.begin() + 20), L"m"});
    cases.push_back({"cut inside an entry", Bytes(vGood.begin(), vGood.end() - 100), L"z"});
    cases.push_back({"shorter than a header", Bytes(vGood.begin(), vGood.begin() + 11), L"m"});
    for (const Case& c : cases) {
        ASSERT_TRUE(cDir.Write(L"bad.dat", Str(c.archive)));
        unsigned char* p = 0;
        EXPECT_EQ(0, CANZ_ReadFile(&p, cDir.Path(L"bad.dat").c_str(), c.member)) << c.name;
        EXPECT_EQ(nullptr, p) << c.name;
        MEM_free(&p);
        const uint32_t n = uint32_t(c.archive.size());
        EXPECT_EQ(0, CANZ_MEM_ExpandName(&p, c.archive.data(), n, c.member)) << c.name;
        EXPECT_EQ(nullptr, p) << c.name;
        Bytes vOut(4000, 0xEE);
        EXPECT_EQ(0, CANZ_MEM_ExpandIndex(vOut.data(), uint32_t(vOut.size()), c.archive.data(), n,
                                          c.member[0] == L'z' ? 1 : 0)) << c.name;
    }
    // The good archive passes the same calls, so each case above fails for its damage.
    ASSERT_TRUE(cDir.Write(L"good.dat", Str(vGood)));
    unsigned char* p = 0;
    EXPECT_EQ(12, CANZ_ReadFile(&p, cDir.Path(L"good.dat").c_str(), L"m"));
    EXPECT_EQ(3000, CANZ_ReadFile(&p, cDir.Path(L"good.dat").c_str(), L"z"));
    MEM_free(&p);
}

TEST(CanzMemory, ExpandsSizesAndStepsEntriesOfAnArchiveInMemory) {
    const Bytes vBig = Pattern(70000);
    const Bytes vArchive = Archive({{Key(L"plain"), Text("not compressed")}, {Key(L"big"), Gda1Of(vBig)}}, 1, 1);
    const uint32_t n = uint32_t(vArchive.size());
    EXPECT_EQ(14u, CANZ_MEM_GetSizeIndex(vArchive.data(), n, 0));
    EXPECT_EQ(70000u, CANZ_MEM_GetSizeIndex(vArchive.data(), n, 1));
    EXPECT_EQ(70000u, CANZ_MEM_GetSizeName(vArchive.data(), n, L"big"));
    EXPECT_EQ(0u, CANZ_MEM_GetSizeIndex(vArchive.data(), n, 2));

    Bytes vOut(70000 + 16, 0xEE);
    EXPECT_EQ(0, CANZ_MEM_ExpandIndex(vOut.data(), uint32_t(vOut.size()), vArchive.data(), n, 0)) << "not GDA1";
    EXPECT_EQ(0, CANZ_MEM_ExpandIndex(vOut.data(), 69999, vArchive.data(), n, 1)) << "room too small";
    EXPECT_EQ(0xEE, vOut[0]);
    EXPECT_EQ(70000, CANZ_MEM_ExpandIndex(vOut.data(), uint32_t(vOut.size()), vArchive.data(), n, 1));
    EXPECT_TRUE(Bytes(vOut.begin(), vOut.begin() + 70000) == vBig);

    unsigned char* p = 0;
    EXPECT_EQ(70000, CANZ_MEM_ExpandName(&p, vArchive.data(), n, L"big"));
    EXPECT_TRUE(p && Bytes(p, p + 70000) == vBig);
    MEM_free(&p);

    CUnPress* pDecoder = new CUnPress;
    Bytes vStepped(70000);
    EXPECT_EQ(0, CANZ_MEM_BeginName(pDecoder, vStepped.data(), 70000, vArchive.data(), n, L"plain"));
    ASSERT_EQ(70000, CANZ_MEM_BeginIndex(pDecoder, vStepped.data(), 70000, vArchive.data(), n, 1));
    int iSteps = 0;
    while (!pDecoder->Step()) ++iSteps;
    EXPECT_GE(iSteps, 6) << "three chunks, each decoded and copied out";
    EXPECT_FALSE(pDecoder->Failed());
    EXPECT_TRUE(vStepped == vBig);
    delete pDecoder;
}

TEST(Gda1, BlocksInMemoryAndFilesRoundTrip) {
    testdir::TestDir cDir;
    ASSERT_TRUE(cDir.Ok());
    const Bytes vData = Pattern(40000);
    ASSERT_TRUE(cDir.Write(L"src.bin", Str(vData)));
    ASSERT_TRUE(cDir.Write(L"empty.bin", ""));
    char szDir[MAX_PATH];
    ASSERT_GT(WideCharToMultiByte(CP_ACP, 0, cDir.Path().c_str(), -1, szDir, MAX_PATH, 0, 0), 0);
    const std::string sDir = szDir;

    uint32_t uExpanded = 0, uSize = 0;
    ASSERT_EQ(1, GDA1_PressFile((sDir + "\\src.bin").c_str(), (sDir + "\\src.gda").c_str(), &uExpanded, &uSize));
    EXPECT_EQ(40000u, uExpanded);
    const std::string sBlock = cDir.Read(L"src.gda");
    EXPECT_EQ(sBlock.size(), uSize);
    EXPECT_TRUE(Text(sBlock) == Gda1Of(vData)) << "file and memory writers agree";
    unsigned char* p = 0;
    EXPECT_EQ(40000, gda1_expand(&p, sBlock.data(), uint32_t(sBlock.size())));
    EXPECT_TRUE(p && Bytes(p, p + 40000) == vData);
    MEM_free(&p);

    // The decoder copies, from memory and from the file's payload.
    Bytes vOut(40000);
    uint32_t uDone = 0;
    EXPECT_EQ(1, gda1_expandMem(sBlock.data() + 12, vOut.data(), uint32_t(sBlock.size() - 12), 40000, &uDone));
    EXPECT_EQ(40000u, uDone);
    EXPECT_TRUE(vOut == vData);
    EXPECT_EQ(0, gda1_expandMem(sBlock.data() + 12, vOut.data(), uint32_t(sBlock.size() - 12), 39999)) << "room";
    FILE* pIn = std::fopen((sDir + "\\src.gda").c_str(), "rb");
    ASSERT_NE(nullptr, pIn);
    std::fseek(pIn, 12, SEEK_SET);
    vOut.assign(40000, 0);
    EXPECT_EQ(1, gda1_expandFile(pIn, vOut.data(), 40000, &uDone));
    EXPECT_TRUE(vOut == vData);

    // An empty source: the 12-byte block "GDA1", 0, 0, which expands to an empty block.
    ASSERT_EQ(1, GDA1_PressFile((sDir + "\\empty.bin").c_str(), (sDir + "\\empty.gda").c_str(), &uExpanded, &uSize));
    EXPECT_EQ(0u, uExpanded);
    EXPECT_EQ(12u, uSize);
    EXPECT_EQ(std::string("GDA1\0\0\0\0\0\0\0\0", 12), cDir.Read(L"empty.gda"));

    // A source that cannot be read leaves an existing destination as it was.
    ASSERT_TRUE(cDir.Write(L"kept.gda", "older file"));
    EXPECT_EQ(0, GDA1_PressFile((sDir + "\\none.bin").c_str(), (sDir + "\\kept.gda").c_str(), &uExpanded, &uSize));
    EXPECT_EQ("older file", cDir.Read(L"kept.gda"));

    // A memory destination too small for the block is refused, and nothing is written past it.
    Bytes vRoom(200 + 8, 0xEE);
    uint32_t uIn = 40000;
    EXPECT_EQ(0, GDA1_PressMem(vData.data(), vRoom.data(), 200, &uIn, &uSize));
    for (size_t i = 200; i < vRoom.size(); ++i) EXPECT_EQ(0xEE, vRoom[i]);
}

TEST(ArchiveMember, LoaderTakesTheArchiveOrTheLooseFileBesideIt) {
    testdir::TestDir cDir;
    ASSERT_TRUE(cDir.Ok());
    ASSERT_TRUE(cDir.MakeDir(L"pack"));
    ASSERT_TRUE(cDir.MakeDir(L"pack\\img"));
    ASSERT_TRUE(cDir.Write(L"pack\\img\\a.bmp", "loose"));
    unsigned char* p = 0;
    // No archive: the loose file in the folder named after it.
    EXPECT_EQ(5, MEM_TargetRead(&p, cDir.Path(L"pack.dat").c_str(), L"img\\a.bmp"));
    EXPECT_EQ("loose", std::string(reinterpret_cast<char*>(p), 5));
    ASSERT_TRUE(cDir.Write(L"pack.dat", ""));
    EXPECT_EQ(5, MEM_TargetRead(&p, cDir.Path(L"pack.dat").c_str(), L"img\\a.bmp")) << "an empty archive is none";
    unsigned char* pKept = p;
    EXPECT_EQ(0, MEM_TargetRead(&p, cDir.Path(L"pack.dat").c_str(), L"img\\b.bmp"));
    EXPECT_EQ(pKept, p) << "a missing loose file leaves the holder";
    // An archive without the member: 0, though the loose file exists.
    ASSERT_TRUE(cDir.Write(L"pack.dat", Str(Archive({{Key(L"other"), Text("x")}}))));
    EXPECT_EQ(0, MEM_TargetRead(&p, cDir.Path(L"pack.dat").c_str(), L"img\\a.bmp"));
    ASSERT_TRUE(cDir.Write(L"pack.dat", Str(Archive({{Key(L"img\\a.bmp"), Gda1Of(Text("from the archive"))}}))));
    EXPECT_EQ(16, MEM_TargetRead(&p, cDir.Path(L"pack.dat").c_str(), L"img\\a.bmp"));
    EXPECT_EQ("from the archive", std::string(reinterpret_cast<char*>(p), 16));
    MEM_free(&p);
}
