// Fixture folders for tests: a fresh folder under the Windows temp folder that
// is removed with everything in it when the object goes, and plain byte I/O
// that does not go through the library under test.
#pragma once

#include <windows.h>

#include <set>
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

// A file of `size` bytes that begins with `head`; the rest is never written, so the host
// keeps it as a hole and a file past 2 GiB costs no disk. True on success.
inline bool WriteSparse(const std::wstring& path, const std::string& head, long long size) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    DeviceIoControl(h, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &done, nullptr);
    LARGE_INTEGER li;
    li.QuadPart = size;
    bool ok = (head.empty() || (WriteFile(h, head.data(), static_cast<DWORD>(head.size()), &done, nullptr) &&
                                done == head.size())) &&
              SetFilePointerEx(h, li, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    CloseHandle(h);
    return ok;
}

// Copies the file over dest. A copy the host refuses for a moment (a run of the suite
// copies one program into many folders side by side) is tried again for about five
// seconds; *error gets the platform's error of the last try.
inline bool CopyOver(const std::wstring& source, const std::wstring& dest, DWORD* error = nullptr) {
    DWORD last = 0;
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (CopyFileW(source.c_str(), dest.c_str(), FALSE)) {
            if (error) *error = 0;
            return true;
        }
        last = GetLastError();
        if (last == ERROR_FILE_NOT_FOUND || last == ERROR_PATH_NOT_FOUND) break;
        Sleep(100);
    }
    if (error) *error = last;
    return false;
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

// The names of a folder's entries but "." and "..", sorted (never in the host's order).
inline std::set<std::wstring> Names(const std::wstring& dir) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = fd.cFileName;
        if (name != L"." && name != L"..") names.insert(name);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return names;
}

// A folder of exactly `length` characters below `base` (which must be shorter), made level
// by level; empty when it cannot be made.
inline std::wstring MakeLongFolder(const std::wstring& base, size_t length) {
    std::wstring path = base;
    while (path.size() < length) {
        const size_t room = length - path.size() - 1;  // one for the separator
        if (room == 0) return std::wstring();
        // Levels of up to 60 characters; never one short of a last level of one.
        const size_t take = room <= 60 ? room : (room - 60 < 2 ? 50 : 60);
        path += L"\\" + std::wstring(take, L'd');
        if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return std::wstring();
    }
    return path;
}

inline bool IsFile(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

inline bool IsDir(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Under Wine, the host path of a Windows path (empty elsewhere or when it has none).
inline std::string UnixPath(const std::wstring& path) {
    typedef char*(CDECL * ToUnix)(LPCWSTR);
    HMODULE k32 = GetModuleHandleW(L"kernel32");
    ToUnix toUnix = k32 ? reinterpret_cast<ToUnix>(
                              reinterpret_cast<void*>(GetProcAddress(k32, "wine_get_unix_file_name")))
                        : nullptr;
    if (!toUnix) return std::string();
    char* unix = toUnix(path.c_str());
    if (!unix) return std::string();
    std::string s = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return s;
}

// Runs a host program under Wine (its exit is not waited for: Wine gives no handle to
// wait on); true when it started.
inline bool RunHost(const std::wstring& program, const std::string& args) {
    std::wstring cmd = program + L" ";
    for (char c : args) cmd += static_cast<wchar_t>(static_cast<unsigned char>(c));
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(program.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

inline bool IsLink(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Makes a folder link (a reparse point) at link that leads to the folder target: a
// symbolic link where the system allows one, a host symbolic link under Wine. False
// when neither can be made; tests that need one skip then. Paths hold no blanks.
inline bool MakeFolderLink(const std::wstring& link, const std::wstring& target) {
    typedef BOOLEAN(WINAPI * MakeLink)(LPCWSTR, LPCWSTR, DWORD);
    HMODULE k32 = GetModuleHandleW(L"kernel32");
    MakeLink makeLink = k32 ? reinterpret_cast<MakeLink>(
                                  reinterpret_cast<void*>(GetProcAddress(k32, "CreateSymbolicLinkW")))
                            : nullptr;
    if (makeLink && makeLink(link.c_str(), target.c_str(), 1 /* folder */) && IsLink(link)) return true;
    std::string unixLink = UnixPath(link), unixTarget = UnixPath(target);
    if (unixLink.empty() || unixTarget.empty()) return false;
    if (!RunHost(L"Z:\\bin\\ln", "-s " + unixTarget + " " + unixLink)) return false;
    for (int i = 0; i < 100 && !IsLink(link); ++i) Sleep(20);
    return IsLink(link);
}

// Removes a link itself, never what it leads to.
inline bool RemoveLink(const std::wstring& link) {
    if (RemoveDirectoryW(link.c_str()) || DeleteFileW(link.c_str())) return true;
    std::string unixLink = UnixPath(link);  // Wine cannot remove host links itself
    if (unixLink.empty() || !RunHost(L"Z:\\bin\\rm", "-f " + unixLink)) return false;
    for (int i = 0; i < 100 && GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES; ++i) Sleep(20);
    return GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES;
}

// Removes a folder and everything below it. Read-only files are made writable
// first; links (reparse points) are removed themselves, never entered.
inline bool RemoveTree(const std::wstring& dir) {
    DWORD top = GetFileAttributesW(dir.c_str());
    if (top == INVALID_FILE_ATTRIBUTES) return true;
    if (top & FILE_ATTRIBUTE_REPARSE_POINT) return RemoveLink(dir);
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
                RemoveLink(path);
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

// A fresh, empty folder under the temp folder (or the given one), removed with its
// contents by the destructor. Paths given to the members are relative to it, with '\'.
class TestDir {
public:
    TestDir() : TestDir(L"") {}
    explicit TestDir(const std::wstring& parent) {
        wchar_t tmp[MAX_PATH + 1] = {0};
        std::wstring base = parent;
        if (base.empty()) base.assign(tmp, GetTempPathW(MAX_PATH, tmp));
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
        if (m_dir.empty() || RemoveTree(m_dir)) return;
        // Under Wine a host link (or one left dangling) can stay behind; the host
        // removes the rest without following links.
        std::string unixDir = UnixPath(m_dir);
        if (unixDir.empty() || !RunHost(L"Z:\\bin\\rm", "-rf " + unixDir)) return;
        for (int i = 0; i < 100 && GetFileAttributesW(m_dir.c_str()) != INVALID_FILE_ATTRIBUTES; ++i) Sleep(20);
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
