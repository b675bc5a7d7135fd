// The run of the fuzz targets that drive commands on files as the program runs them: the
// run's own folder as current folder and batch folder, the file functions confined to it,
// the message log allocated, and the input split into the files it stands for.
#ifndef TESTS_FUZZ_SUPPORT_FUZZ_RUN_H
#define TESTS_FUZZ_SUPPORT_FUZZ_RUN_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CModule;

// One input of a command target, made first thing in the target's function. It begins the
// input: the first one makes the run's folder (fuzz_folder) the batch folder ("batch.kvl"
// in it), confines the file functions to it (and stops the run unless paths outside it are
// refused), reads the default settings, allocates the message log and answers the
// overwrite question Yes; every one empties the folder, the log, the script and the file
// list, renews the spreadsheet stand-in and makes the folder the current one. At its end
// the current folder is the one the input began in, where the fuzzer reads its files; with
// FUZZ_LOG set in the environment the message log of the input goes to standard error.
class FUZZ_RUN
{
public:
    FUZZ_RUN();
    ~FUZZ_RUN();
    FUZZ_RUN(const FUZZ_RUN&) = delete;
    FUZZ_RUN& operator=(const FUZZ_RUN&) = delete;

private:
    int m_iBack;  // the folder the input began in, open
};
// The full path of a name of the run folder ('/' separated, as the file functions take it).
std::wstring fuzz_runPath(const std::wstring& _strName);
// Writes a file of the run folder, making the folders of its name; its full path, empty
// when a name of the input cannot be had.
std::wstring fuzz_runFile(const std::wstring& _strName, const std::string& _strData);

// The files of the run folder and its subfolders, relative to it ('/' separated, UTF-8).
std::vector<std::string> fuzz_runFiles();

// The parameter line the dispatcher gives a command for a target and an argument text:
// the target in double quotes, a blank and the text. False when it would not fit in the
// dispatcher's 1,024 characters (the dispatcher refuses it). Resets the loop watch, as the
// dispatcher does before each call.
bool fuzz_command(const std::wstring& _strTarget, const std::wstring& _strArgs, std::wstring* _pLine);
// Writes the parts as the files STEM0EXT, STEM1EXT, ... of the run folder; the parameter
// lines (fuzz_command) of those whose line fits.
std::vector<std::wstring> fuzz_targets(const std::vector<std::string>& _vParts, size_t _uFirst,
                                       const std::wstring& _strStem, const std::wstring& _strExt,
                                       const std::wstring& _strArgs);
// Runs the command as the dispatcher runs a script line over the targets: Func on each
// parameter line, the line's end (Quit 0), then a second line on the first target and the
// run's end (Quit 1). The module is deleted afterwards.
void fuzz_runLines(CModule* _pModule, const std::vector<std::wstring>& _vLines);
// A file name of the input for the run folder: its '/' or '\\' separated parts, none empty,
// "." or ".."; empty when it is no such name.
std::wstring fuzz_name(const std::wstring& _strName);

// Bytes of the system code page as text (a NUL is kept as a unit).
std::wstring fuzz_text(const std::string& _strBytes);
// The bytes up to the first line feed (a CR before it dropped) as text, and the rest.
void fuzz_line(const uint8_t* _pData, size_t _uSize, std::wstring* _pLine, std::string* _pRest);
// The bytes split at every FUZZ_PART marker; always at least one part.
std::vector<std::string> fuzz_parts(const std::string& _strData);
// Four bytes that no text of the system code page holds (0xFE is neither a first nor a
// second byte of a double-byte character).
#define FUZZ_PART "\xFE\xFE\xFE\xFE"

#endif
