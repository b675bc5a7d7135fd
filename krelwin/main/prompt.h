// The overwrite question as a modal message box.
#pragma once

// Yes, No and Cancel buttons, owned by the main window; OUTPUT_ANSWER_YES, _NO or _CANCEL.
int PROMPT_overwrite(const wchar_t* _pText);
