// The command line of krelwin: one batch path, or the options -s (script lines),
// -f (target files) and -o (setting lines) that become the temporary batch "temp.kvl".
#ifndef KRELWIN_MAIN_STARTUP_H
#define KRELWIN_MAIN_STARTUP_H

// Room of the command line, terminator included.
#define STARTUP_LINE_LENGTH		260
// Room of the temporary batch text, terminator included.
#define STARTUP_SCRIPT_LENGTH	2048

// A source that begins with a double quote gives the text up to the next quote (or the
// end); any other source is copied whole. 1; 0 for a null argument; -2 when the text does
// not fit in _iSize units (the destination is then left empty, never cut).
int Strip_Quote(const wchar_t *_pSrc, wchar_t *_pDst, int _iSize = STARTUP_LINE_LENGTH);

// When the line holds any of the options, writes the temporary batch in the current
// folder, makes it the batch path and arms AUTOEXEC and ATEXIT: 1. 0 when the line holds
// no option. -2 when the options do not fit in the batch text: nothing is written.
int MakeTempScript(const wchar_t *_pLine);

// Appends "[section]" and the option's value to the text (room _iLimit units): 1. 0 when
// the option is not in the line. -2 when the section would not fit: the text is left as
// it was.
int Get_OptionSection(const wchar_t *_pSection, wchar_t *_pText, int _iLimit, const wchar_t *_pLine,
					  const wchar_t *_pOption);

#endif
