// Without a window nobody can be asked: the overwrite question is answered Cancel.
#include "krelwin/main/prompt.h"

#include "krelwin/main/output.h"

int PROMPT_overwrite(const wchar_t*)
{
    return OUTPUT_ANSWER_CANCEL;
}
