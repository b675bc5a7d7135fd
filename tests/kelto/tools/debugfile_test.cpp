// Debug files: appended 8-bit text, raw bytes and the log "D.TXT".
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "kelto/tools/debugfile.h"
#include "tests/support/testdir.h"

namespace {

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {0};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.rfind(L'\\') + 1);
}

// A file in the program's folder, removed before and after the test.
class ProgramFile {
public:
    explicit ProgramFile(const std::wstring& name) : m_path(ProgramFolder() + name) { DeleteFileW(m_path.c_str()); }
    ~ProgramFile() { DeleteFileW(m_path.c_str()); }
    const std::wstring& Path() const { return m_path; }
    std::string Read() const {
        std::string bytes;
        testdir::ReadBytes(m_path, &bytes);
        return bytes;
    }

private:
    std::wstring m_path;
};

class DebugFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.Ok()); }
    std::wstring Path(const wchar_t* name) const { return m_dir.Path(name); }
    testdir::TestDir m_dir;
};

TEST(DebugLog, AppendsToDTxtInTheProgramFolderWithoutLineBreaks) {
    ProgramFile log(L"D.TXT");
    EXPECT_EQ(1, DEBUG_log(L"%d", 5));
    EXPECT_EQ("5", log.Read());
    EXPECT_EQ(1, DEBUG_log(L"%d", 5));
    EXPECT_EQ("55", log.Read());
    EXPECT_EQ(1, DEBUG_log(L"[%s]\r\n", L"日本"));
    EXPECT_EQ("55[\x93\xfa\x96\x7b]\r\n", log.Read());
}

TEST(DebugLog, TooLongTextWritesNothing) {
    ProgramFile log(L"D.TXT");
    const std::wstring text(1024, L'x');
    EXPECT_EQ(0, DEBUG_log(L"%s", text.c_str()));
    EXPECT_FALSE(testdir::IsFile(log.Path()));
    const std::wstring fits(1023, L'y');
    EXPECT_EQ(1, DEBUG_log(L"%s", fits.c_str()));
    EXPECT_EQ(std::string(1023, 'y'), log.Read());
}

TEST_F(DebugFileTest, FullPathIsUsedAsItIsAndABareNameGoesToTheProgramFolder) {
    const std::wstring full = Path(L"全体.txt");
    EXPECT_EQ(1, DEBUG_puts(full.c_str(), L"あ"));
    EXPECT_EQ("\x82\xa0", m_dir.Read(L"全体.txt"));

    ProgramFile bare(L"kelto_debugfile_bare.txt");
    EXPECT_EQ(1, DEBUG_puts(L"kelto_debugfile_bare.txt", L"abc"));
    EXPECT_EQ(1, DEBUG_puts(L"kelto_debugfile_bare.txt", L"def"));
    EXPECT_EQ("abcdef", bare.Read());
}

TEST_F(DebugFileTest, PrintfHexAndFloatFormats) {
    const std::wstring file = Path(L"fmt.txt");
    EXPECT_EQ(1, DEBUG_printf(file.c_str(), L"%s=%d;", L"値", -12));
    EXPECT_EQ(1, DEBUG_putHex(file.c_str(), 255));
    EXPECT_EQ(1, DEBUG_putFloat(file.c_str(), 2.5f));
    EXPECT_EQ(1, DEBUG_putFloat(file.c_str(), -3.0f));
    EXPECT_EQ(1, DEBUG_putFloat(file.c_str(), 0.1f));
    EXPECT_EQ(1, DEBUG_putc(file.c_str(), 'Z'));
    EXPECT_EQ("\x92\x6c=-12; 0xff\r\n2.5\r\n-3\r\n0.1\r\nZ", m_dir.Read(L"fmt.txt"));
}

TEST_F(DebugFileTest, BytesAreWrittenAsTheyAre) {
    const std::wstring file = Path(L"bytes.bin");
    const char bytes[] = {'A', '\0', '\x82', '\xa0', '\xff', '\x0a'};
    EXPECT_EQ(1, DEBUG_putBytes(file.c_str(), bytes, sizeof bytes));
    EXPECT_EQ(1, DEBUG_putc(file.c_str(), '\x93'));  // a lone lead byte
    EXPECT_EQ(1, DEBUG_putc(file.c_str(), '\0'));
    EXPECT_EQ(std::string(bytes, sizeof bytes) + std::string("\x93\0", 2), m_dir.Read(L"bytes.bin"));
}

TEST_F(DebugFileTest, NothingToWriteTouchesNoFile) {
    const std::wstring file = Path(L"none.txt");
    EXPECT_EQ(1, DEBUG_puts(file.c_str(), nullptr));
    EXPECT_EQ(1, DEBUG_putBytes(file.c_str(), "x", 0));
    EXPECT_FALSE(m_dir.IsFile(L"none.txt"));
}

TEST_F(DebugFileTest, FailuresGiveZero) {
    const std::wstring missing = Path(L"no\\such\\folder.txt");
    EXPECT_EQ(0, DEBUG_puts(missing.c_str(), L"x"));
    EXPECT_EQ(0, DEBUG_printf(missing.c_str(), L"%d", 1));
    EXPECT_EQ(0, DEBUG_putBytes(missing.c_str(), "x", 1));
    EXPECT_EQ(0, DEBUG_putHex(missing.c_str(), 1));
    EXPECT_EQ(0, DEBUG_puts(nullptr, L"x"));
    EXPECT_EQ(0, DEBUG_putBytes(Path(L"b.bin").c_str(), nullptr, 3));

    const std::wstring file = Path(L"long.txt");
    const std::wstring text(1100, L'x');
    EXPECT_EQ(0, DEBUG_printf(file.c_str(), L"%s", text.c_str()));
    EXPECT_FALSE(m_dir.IsFile(L"long.txt"));
    const std::wstring longName(300, L'n');
    EXPECT_EQ(0, DEBUG_puts(longName.c_str(), L"x")) << "a joined path beyond 260 units";
}

TEST(DebugPuts, AJoinedPathMustFitWithItsTerminator)
{
    // The program's folder with its '\\' and the name: 259 units fit, 260 do not.
    const int iFolder = static_cast<int>(ProgramFolder().size());
    ASSERT_LT(iFolder, 200);
    const std::wstring fits(259 - iFolder, L'f');
    ProgramFile fitsFile(fits);
    EXPECT_EQ(1, DEBUG_puts(fits.c_str(), L"x"));
    EXPECT_EQ("x", fitsFile.Read());

    const std::wstring full(260 - iFolder, L'g');
    ProgramFile fullFile(full);
    EXPECT_EQ(0, DEBUG_puts(full.c_str(), L"x"));
    EXPECT_FALSE(testdir::IsFile(fullFile.Path()));
    EXPECT_EQ(0, DEBUG_printf(full.c_str(), L"%d", 1));
    EXPECT_EQ(0, DEBUG_putc(full.c_str(), 'x'));
    EXPECT_FALSE(testdir::IsFile(fullFile.Path()));
}

}  // namespace
