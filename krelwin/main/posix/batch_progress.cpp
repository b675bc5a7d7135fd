// Progress of the file list while a batch's folders are scanned: no window to show it in.
#include "krelwin/main/batch.h"

int Entry_progress(void*)
{
	return 0;
}
