// What the log edit must hold: its text after each line went to it on its own, trimmed as the
// line comes. When the text leaves less room than twice the line (at least 256 characters),
// it is read into a work buffer of 30,000 characters (29,999 and a terminator) and loses its
// head up to and including the first CR LF at or after the room (all of it when there is none).
#pragma once

#include <string>
#include <vector>

inline std::wstring TrimmedEdit(std::wstring _strEdit, const std::vector<std::wstring>& _vLines)
{
    for (const std::wstring& strLine : _vLines) {
        const size_t uRoom = strLine.size() * 2 < 256 ? 256 : strLine.size() * 2;
        if (_strEdit.size() + uRoom > 30000) {
            const std::wstring strRead = _strEdit.substr(0, 29999);
            const size_t uEnd = uRoom < strRead.size() ? strRead.find(L"\r\n", uRoom) : std::wstring::npos;
            _strEdit = uEnd == std::wstring::npos ? std::wstring() : strRead.substr(uEnd + 2);
        }
        _strEdit += strLine + L"\r\n";
    }
    return _strEdit;
}

// The lines of a log text that holds no CR LF inside a line.
inline std::vector<std::wstring> LogLines(const std::wstring& _strLog)
{
    std::vector<std::wstring> v;
    size_t uFrom = 0;
    for (size_t u = _strLog.find(L"\r\n"); u != std::wstring::npos; u = _strLog.find(L"\r\n", uFrom)) {
        v.push_back(_strLog.substr(uFrom, u - uFrom));
        uFrom = u + 2;
    }
    return v;
}
