// UTF-16 <-> UTF-8 for the POSIX counterparts; a lone surrogate becomes U+FFFD.
#include "kelto/files/posix/posix_path.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

// The confining folder, resolved; empty when paths are not confined.
std::string s_strConfine;

// The path made absolute against the current folder, its "." and ".." resolved by name;
// empty when there is no current folder to take it against.
std::string posix_absolute(const std::string& _strPath)
{
    std::string strFull;
    if (_strPath.empty() || _strPath[0] != '/') {
        char szCurrent[PATH_MAX];
        if (!getcwd(szCurrent, sizeof(szCurrent))) return std::string();
        strFull = szCurrent;
        strFull += '/';
    }
    strFull += _strPath;
    std::string strOut;
    size_t uPos = 0;
    while (uPos < strFull.size()) {
        size_t uEnd = strFull.find('/', uPos);
        if (uEnd == std::string::npos) uEnd = strFull.size();
        const std::string strPart = strFull.substr(uPos, uEnd - uPos);
        uPos = uEnd + 1;
        if (strPart.empty() || strPart == ".") continue;
        if (strPart == "..") {
            const size_t uCut = strOut.rfind('/');
            strOut.erase(uCut == std::string::npos ? 0 : uCut);
            continue;
        }
        strOut += '/';
        strOut += strPart;
    }
    return strOut.empty() ? std::string("/") : strOut;
}

bool posix_inside(const std::string& _strPath)
{
    const std::string strFull = posix_absolute(_strPath);
    if (strFull.compare(0, s_strConfine.size(), s_strConfine) != 0) return false;
    return strFull.size() == s_strConfine.size() || strFull[s_strConfine.size()] == '/';
}

} // namespace

std::string POSIX_toUtf8(const wchar_t* _pText)
{
    std::string strOut;
    if (!_pText) return strOut;
    for (const wchar_t* p = _pText; *p; ++p) {
        uint32_t c = static_cast<uint16_t>(*p);
        if (c >= 0xD800 && c < 0xDC00 && p[1] >= 0xDC00 && p[1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint16_t>(p[1]) - 0xDC00);
            ++p;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            strOut += static_cast<char>(c);
        } else if (c < 0x800) {
            strOut += static_cast<char>(0xC0 | (c >> 6));
            strOut += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            strOut += static_cast<char>(0xE0 | (c >> 12));
            strOut += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            strOut += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            strOut += static_cast<char>(0xF0 | (c >> 18));
            strOut += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            strOut += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            strOut += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return strOut;
}

std::string POSIX_path(const wchar_t* _szPath)
{
    std::string strPath = POSIX_toUtf8(_szPath);
    for (char& c : strPath)
        if (c == '\\') c = '/';
    if (!s_strConfine.empty() && !strPath.empty() && !posix_inside(strPath)) return std::string();
    return strPath;
}

std::wstring POSIX_fromUtf8(const char* _pText)
{
    std::wstring strOut;
    if (!_pText) return strOut;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(_pText);
    while (*p) {
        uint32_t c = *p;
        int iMore = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (iMore < 0) {
            strOut += static_cast<wchar_t>(0xFFFD);
            ++p;
            continue;
        }
        c &= iMore == 0 ? 0x7F : (0x3F >> iMore);
        int i = 1;
        for (; i <= iMore && (p[i] & 0xC0) == 0x80; ++i) c = (c << 6) | (p[i] & 0x3F);
        if (i <= iMore) {
            strOut += static_cast<wchar_t>(0xFFFD);
            p += i;
            continue;
        }
        p += iMore + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            strOut += static_cast<wchar_t>(0xD800 + (c >> 10));
            strOut += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
        } else {
            strOut += static_cast<wchar_t>(c);
        }
    }
    return strOut;
}

int POSIX_confine(const char* _pFolder)
{
    s_strConfine.clear();
    if (!_pFolder || !*_pFolder) return 0;
    char* pReal = realpath(_pFolder, nullptr);
    if (!pReal) return 0;
    s_strConfine = pReal;
    std::free(pReal);
    // The root itself would confine nothing.
    if (s_strConfine == "/") s_strConfine.clear();
    return s_strConfine.empty() ? 0 : 1;
}
