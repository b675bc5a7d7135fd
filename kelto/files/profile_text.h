// Editing one key of a settings file's text in memory, as the platform's settings writer
// changes it: the rest of the text, comments and layout included, stays as it was. Units
// below 0x80 carry the structure ('[', ']', '=', line ends) in every encoding the settings
// files use (the system code page, UTF-8, UTF-16), so one edit serves bytes and units.
#ifndef KELTO_FILES_PROFILE_TEXT_H
#define KELTO_FILES_PROFILE_TEXT_H

#include <string>

// Sets the key of the section to the value: the first line of that key (names compare
// without case for ASCII letters, blanks around them ignored) gets the new value, else a
// line is added after the section's last key, else the section is added at the end. A null
// value removes the key's lines, a null key the whole section. Section, key and value are
// in the text's own encoding.
void PROFILE_EditText(std::string& _strText, const char* _pSec, const char* _pKey, const char* _pValue);
void PROFILE_EditText(std::wstring& _strText, const wchar_t* _pSec, const wchar_t* _pKey, const wchar_t* _pValue);

#endif
