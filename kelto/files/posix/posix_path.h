// Paths and texts of the POSIX counterparts of the platform wrappers: UTF-16 in the
// library, UTF-8 for the system; a path's '\' separators become '/'.
#ifndef KELTO_FILES_POSIX_POSIX_PATH_H
#define KELTO_FILES_POSIX_POSIX_PATH_H

#include <string>

std::string POSIX_toUtf8(const wchar_t* _pText);
std::string POSIX_path(const wchar_t* _szPath);
std::wstring POSIX_fromUtf8(const char* _pText);

#endif
