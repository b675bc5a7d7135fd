#include "krelwin/main/prompt.h"

#include <windows.h>

#include "kelto/system/win32/window.h"
#include "krelwin/main/global.h"
#include "krelwin/main/output.h"

int PROMPT_overwrite(const wchar_t* _pText)
{
    switch (MessageBoxW(s_stMainWnd.m_hWnd, _pText, L"問い合わせ", MB_YESNOCANCEL)) {
    case IDYES: return OUTPUT_ANSWER_YES;
    case IDNO: return OUTPUT_ANSWER_NO;
    default: return OUTPUT_ANSWER_CANCEL;
    }
}
