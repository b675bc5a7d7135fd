// DEL: deletes the target file. No backup is made and nobody is asked; the dispatcher
// announces the command once per script line and reports a failure.
#pragma once

#include "krelwin/module/module.h"
