// The file systems here compare names unit for unit: nothing is folded.
#include "kelto/files/pathkey.h"

void FILE_FoldCase(wchar_t*, int) {}
