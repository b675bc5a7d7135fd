// The write paths' test seams: a size limit on every file written and a move that fails.
#include "kelto/files/win32/file.h"
#include "kelto/files/win32/file_private.h"

namespace {

long long s_llWriteLimit = -1;
int s_iMoveFault = 0;

} // namespace

void FILE_SetWriteLimit(long long _llLimit)
{
    s_llWriteLimit = _llLimit < 0 ? -1 : _llLimit;
}

void FILE_SetMoveFault(int _iCount)
{
    s_iMoveFault = _iCount > 0 ? _iCount : 0;
}

bool file_faultLimited()
{
    return s_llWriteLimit >= 0;
}

uint32_t file_faultWriteRoom(int64_t _llPos, uint32_t _uCount)
{
    if (s_llWriteLimit < 0) return _uCount;
    const long long llRoom = s_llWriteLimit - _llPos;
    if (llRoom <= 0) return 0;
    return llRoom < static_cast<long long>(_uCount) ? static_cast<uint32_t>(llRoom) : _uCount;
}

bool file_faultMove()
{
    if (s_iMoveFault == 0) return false;
    return --s_iMoveFault == 0;
}
