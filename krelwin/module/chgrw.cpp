#include "krelwin/module/chgrw.h"

#include "kelto/files/win32/file.h"
#include "krelwin/main/message.h"
#include "krelwin/params/kvlparam.h"

MODULE_DEFINE_CREATOR(CHGRW)

namespace {

// FILE_SetAttribute fields: archive, system and hidden kept (2), read-only set or cleared.
const int CHGRW_SET_READONLY = 0x1222;
const int CHGRW_CLEAR_READONLY = 0x0222;

} // namespace

int CHGRW::Func(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pTarget = cParam.GetTarget();
    if (!pTarget) pTarget = L"";
    const int iMask = (cParam.GetArgInt(1, 0) == 1) ? CHGRW_SET_READONLY : CHGRW_CLEAR_READONLY;

    const int iDone = pTarget[0] && FILE_GetAttribute(pTarget) != FILE_ATTR_INVALID &&
                      FILE_SetAttribute(pTarget, pTarget, iMask);
    if (iDone) Message_info(L"%s ok.", pTarget);
    else Message_info(L"%s failed.", pTarget);
    return 1;
}

void CHGRW::Quit(int) {}
