// Comparing paths by their keys.
#include "kelto/files/pathkey.h"

int FILE_IsSamePath(const wchar_t* _szA, const wchar_t* _szB)
{
    const std::wstring strA = FILE_PathKey(_szA);
    return !strA.empty() && strA == FILE_PathKey(_szB) ? 1 : 0;
}
