#include "kelto/files/profile_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ProfileText, EditsOneKeyAndLeavesTheRestOfTheText) {
    struct Case {
        const char* name;
        const char* text;
        const char* sec;
        const char* key;    // null: the section goes
        const char* value;  // null: the key goes
        const char* after;
    };
    const Case cases[] = {
        {"value replaced, the key's own spelling kept", "[MAIN]\r\nbackup = 0\r\nX=1\r\n", "MAIN", "BACKUP", "1",
         "[MAIN]\r\nbackup=1\r\nX=1\r\n"},
        {"section names without case, blanks around", " [ main ] \r\nA=1\r\n", "MAIN", "A", "2", " [ main ] \r\nA=2\r\n"},
        {"a new key after the section's last, before blank lines and the next section",
         "[MAIN]\r\nA=1\r\n\r\n[EXTRA]\r\nLOCK=1\r\n", "MAIN", "B", "2",
         "[MAIN]\r\nA=1\r\nB=2\r\n\r\n[EXTRA]\r\nLOCK=1\r\n"},
        {"the key of another section is not this one", "[EXTRA]\r\nA=1\r\n[MAIN]\r\n", "MAIN", "A", "2",
         "[EXTRA]\r\nA=1\r\n[MAIN]\r\nA=2\r\n"},
        {"a new section at the end", "; settings\r\n[EXTRA]\r\nLOCK=0", "MAIN", "A", "1",
         "; settings\r\n[EXTRA]\r\nLOCK=0\r\n[MAIN]\r\nA=1\r\n"},
        {"an empty text", "", "MAIN", "A", "1", "[MAIN]\r\nA=1\r\n"},
        {"comments and lines without '=' are no keys", "[MAIN]\r\n;A=0\r\nA\r\n", "MAIN", "A", "1",
         "[MAIN]\r\n;A=0\r\nA\r\nA=1\r\n"},
        {"the first of two lines of a key", "[MAIN]\nA=1\nA=2\n", "MAIN", "A", "3", "[MAIN]\nA=3\nA=2\n"},
        {"a last line without its end", "[MAIN]\r\nA=1", "MAIN", "B", "2", "[MAIN]\r\nA=1\r\nB=2"},
        {"an empty value", "[MAIN]\r\nA=1\r\n", "MAIN", "A", "", "[MAIN]\r\nA=\r\n"},
        {"a key removed, every line of it", "[MAIN]\r\nA=1\r\nB=2\r\nA=3\r\n", "MAIN", "A", nullptr,
         "[MAIN]\r\nB=2\r\n"},
        {"a section removed", "[A]\r\nX=1\r\n[B]\r\nY=2\r\n", "A", nullptr, nullptr, "[B]\r\nY=2\r\n"},
        {"nothing to remove", "[A]\r\nX=1\r\n", "B", "X", nullptr, "[A]\r\nX=1\r\n"},
        // Shift-JIS bytes of a folder name (a trail byte 0x5C or 0x5D is no separator to the edit).
        {"bytes of the code page stay as they are", "[MAIN]\r\nBACKUPPATH=C:\\\x95\x5C\x8E\xA6\r\nNOTE=\x81\x5D\r\n",
         "MAIN", "BACKUPPATH", "D:\\\x83\x5C", "[MAIN]\r\nBACKUPPATH=D:\\\x83\x5C\r\nNOTE=\x81\x5D\r\n"},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        PROFILE_EditText(text, c.sec, c.key, c.value);
        EXPECT_EQ(text, c.after) << c.name;
    }
    std::wstring wide = L"[MAIN]\r\nA=1\r\n";
    PROFILE_EditText(wide, L"main", L"a", L"日本");
    EXPECT_EQ(wide, L"[MAIN]\r\nA=日本\r\n") << "UTF-16 text";
    PROFILE_EditText(wide, nullptr, L"A", L"1");
    EXPECT_EQ(wide, L"[MAIN]\r\nA=日本\r\n") << "no section: nothing";
}

} // namespace
