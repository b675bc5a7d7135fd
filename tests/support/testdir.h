// Fixture folders for tests: a fresh folder under the Windows temp folder that
// is removed with everything in it when the object goes, and plain byte I/O
// that does not go through the library under test.
#pragma once

#include <windows.h>

#include <string>

namespace testdir {

// Writes the bytes as the whole file (created or emptied). True on success.
inline bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    BOOL ok = bytes.empty() ||
              WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    CloseHandle(h);
    return ok && done == bytes.size();
}

// Reads the whole file. False when it cannot be opened or read.
inline bool ReadBytes(const std::wstring& path, std::string* out) {
    out->clear();
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    char buf[4096];
    bool ok = true;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(h, buf, sizeof buf, &got, nullptr)) { ok = false; break; }
        if (got == 0) break;
        out->append(buf, got);
    }
    CloseHandle(h);
    return ok;
}

inline bool IsFile(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

inline bool IsDir(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Removes a folder and everything below it. Read-only files are made writable
// first; links (reparse points) are removed themselves, never entered.
inline bool RemoveTree(const std::wstring& dir) {
    DWORD top = GetFileAttributesW(dir.c_str());
    if (top == INVALID_FILE_ATTRIBUTES) return true;
    if (top & FILE_ATTRIBUTE_REPARSE_POINT) return RemoveDirectoryW(dir.c_str()) != 0;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = dir + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                if (!RemoveDirectoryW(path.c_str())) DeleteFileW(path.c_str());
            } else if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    SetFileAttributesW(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    return RemoveDirectoryW(dir.c_str()) != 0;
}

// A fresh, empty folder under the temp folder, removed with its contents by
// the destructor. Paths given to the members are relative to it, with '\'.
class TestDir {
public:
    TestDir() {
        wchar_t tmp[MAX_PATH + 1] = {0};
        DWORD n = GetTempPathW(MAX_PATH, tmp);
        std::wstring base(tmp, n);
        if (!base.empty() && base.back() != L'\\') base += L'\\';
        static unsigned s_serial = 0;
        for (int attempt = 0; attempt < 1000 && m_dir.empty(); ++attempt) {
            std::wstring name = base + L"kt" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                                std::to_wstring(GetTickCount()) + L"_" +
                                std::to_wstring(++s_serial);
            if (CreateDirectoryW(name.c_str(), nullptr)) m_dir = name;
        }
    }
    ~TestDir() {
        if (!m_dir.empty()) RemoveTree(m_dir);
    }
    TestDir(const TestDir&) = delete;
    TestDir& operator=(const TestDir&) = delete;

    bool Ok() const { return !m_dir.empty(); }
    // The folder itself, without a trailing '\'.
    const std::wstring& Path() const { return m_dir; }
    // The full path of a name inside the folder.
    std::wstring Path(const std::wstring& rel) const { return m_dir + L"\\" + rel; }

    bool Write(const std::wstring& rel, const std::string& bytes) const {
        return WriteBytes(Path(rel), bytes);
    }
    // The file's bytes; an empty text when it cannot be read (see ReadBytes).
    std::string Read(const std::wstring& rel) const {
        std::string s;
        ReadBytes(Path(rel), &s);
        return s;
    }
    bool MakeDir(const std::wstring& rel) const {
        return CreateDirectoryW(Path(rel).c_str(), nullptr) != 0;
    }
    bool IsFile(const std::wstring& rel) const { return testdir::IsFile(Path(rel)); }
    bool IsDir(const std::wstring& rel) const { return testdir::IsDir(Path(rel)); }

private:
    std::wstring m_dir;
};

}  // namespace testdir
