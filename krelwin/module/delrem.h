// DELREM: removes the comments of the target text (line comments "//", block comments
// "/*" to "*/" unless -L, -S, -E give other markers; double-quoted stretches are kept)
// and the blanks and TABs before every line end, and writes the text to the output.
#pragma once

#include "krelwin/module/module.h"
