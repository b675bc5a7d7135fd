#include "krelwin/module/del.h"

#include "kelto/files/win32/file.h"

int Command_delete(const wchar_t* _pPath)
{
    if (!_pPath || !_pPath[0]) return 0;
    return FILE_Delete(_pPath);
}
