// A new empty file of a name of its own in a folder, over mkstemp.
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "kelto/files/posix/posix_path.h"
#include "kelto/files/win32/file.h"

int FILE_MakeTemp(const wchar_t* _szFolder, wchar_t* _szOut)
{
    if (!_szOut) return 0;
    _szOut[0] = 0;
    if (!_szFolder) return 0;
    std::string strPath = _szFolder[0] ? POSIX_path(_szFolder) : std::string(".");
    if (strPath.empty()) return 0;  // a folder outside the confining one
    if (strPath.back() != '/') strPath += '/';
    strPath += "krlXXXXXX";
    const int iFile = mkstemp(&strPath[0]);
    if (iFile < 0) return 0;
    close(iFile);
    // The name as the library gives paths: the folder as asked, then the new name.
    std::wstring strOut = _szFolder;
    if (!strOut.empty() && strOut.back() != L'\\' && strOut.back() != L'/') strOut += L'\\';
    strOut += POSIX_fromUtf8(strPath.c_str() + strPath.size() - 9);
    if (strOut.size() >= FILE_PATH_LENGTH) {
        unlink(strPath.c_str());
        return 0;
    }
    for (size_t i = 0; i <= strOut.size(); ++i) _szOut[i] = strOut[i];
    return 1;
}
