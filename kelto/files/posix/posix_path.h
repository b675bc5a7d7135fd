// Paths and texts of the POSIX counterparts of the platform wrappers: UTF-16 in the
// library, UTF-8 for the system; a path's '\' separators become '/'.
#ifndef KELTO_FILES_POSIX_POSIX_PATH_H
#define KELTO_FILES_POSIX_POSIX_PATH_H

#include <string>

std::string POSIX_toUtf8(const wchar_t* _pText);
// The system's form of a path; the empty path (which names nothing) for one outside the
// confining folder.
std::string POSIX_path(const wchar_t* _szPath);
std::wstring POSIX_fromUtf8(const char* _pText);

// Confines every path of the file functions to a folder and what lies below it, "." and
// ".." taken against the current folder (nothing here makes links to lead elsewhere).
// The fuzz targets that run commands set it: their inputs name any path, "..\" and
// absolute ones included. 1 when in force; null or empty lifts it.
int POSIX_confine(const char* _pFolder);

#endif
