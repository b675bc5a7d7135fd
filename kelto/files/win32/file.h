// The FILE_ family: whole files, text files, handles, folders, attributes, times,
// folder searches and path parts over the platform's file functions.
// Paths are UTF-16 of at most 260 units. Every file is opened without sharing.
#ifndef KELTO_FILES_WIN32_FILE_H
#define KELTO_FILES_WIN32_FILE_H

#include <cstdint>

// Room of a path and of its parts, terminator included.
#define FILE_PATH_LENGTH 260
#define FILE_DRIVE_LENGTH 3
#define FILE_PART_LENGTH 256

// A local date and time (milliseconds are dropped).
struct TIME_INFO
{
    uint16_t wYear;      // four digits
    uint8_t byMonth;     // 1 to 12
    uint8_t byWeek;      // day of week, 0 Sunday to 6 Saturday
    uint8_t byDay;       // 1 to 31
    uint8_t byHour;      // 0 to 23
    uint8_t byMinute;    // 0 to 59
    uint8_t bySecond;    // 0 to 59
};
static_assert(sizeof(TIME_INFO) == 8, "TIME_INFO is 8 bytes");

// One entry of a folder search.
struct FIND_INFO
{
    uint32_t dwAttribute;              // the platform's attribute bits (0x10 folder, ...)
    uint32_t dwSize;                   // low 32 bits of the size
    wchar_t szName[FILE_PATH_LENGTH];  // name without folder
};

// Attribute bits as the platform gives them.
#define FILE_ATTR_READONLY 0x01u
#define FILE_ATTR_HIDDEN 0x02u
#define FILE_ATTR_SYSTEM 0x04u
#define FILE_ATTR_FOLDER 0x10u
#define FILE_ATTR_ARCHIVE 0x20u
#define FILE_ATTR_REPARSE 0x400u
#define FILE_ATTR_INVALID 0xFFFFFFFFu

// File and search handles are the platform's; this value (all bits set) means failure.
typedef void* FILE_HANDLE;
#define FILE_INVALID_HANDLE ((FILE_HANDLE)(intptr_t)-1)

// Whole files and text files.
// Size in bytes; 0 when the file cannot be opened for reading or is empty; -1 for a file
// of 2 GiB or more, whose size does not fit (it is never given as a wrapped small size).
int FILE_GetSize(const wchar_t* _szPath);
int FILE_IsExist(const wchar_t* _szPath);
// Reads the whole file into _pBuff, which holds FILE_GetSize bytes; the size, or 0.
int FILE_Read(const wchar_t* _szPath, void* _pBuff);
int FILE_Write(const wchar_t* _szPath, const void* _pData, int _iSize);
int FILE_WriteMerge(const wchar_t* _szPath, const void* _pData, int _iSize);
// _szOut has room for the converted text and a terminator; the unit count, or 0.
int FILE_TextRead(const wchar_t* _szPath, wchar_t* _szOut);
// With _iUnicode the units are written as they are (UTF-16LE, no mark); otherwise the
// text goes to the system code page. The byte count written, or 0 (empty text: 0, file untouched).
int FILE_TextWrite(const wchar_t* _szPath, const wchar_t* _szText, int _iUnicode);
int FILE_TextWriteMerge(const wchar_t* _szPath, const wchar_t* _szText, int _iUnicode);
// The text in the system code page as FILE_TextWrite writes it, in a new block (released
// with MEM_free); the byte count, or 0 with *_ppBytes null (empty text, no conversion).
int FILE_TextToBytes(const wchar_t* _szText, char** _ppBytes);
// Appends 8-bit text (formatted under 1,024 units); 1, or 0.
int FILE_printf(const wchar_t* _szPath, const wchar_t* _szFormat, ...);
int FILE_puts(const wchar_t* _szPath, const wchar_t* _szText);
// Reads the whole file into a new block (released with MEM_free or delete[]); the size,
// or 0 with *_ppBuff null.
int mem_TargetRead(unsigned char** _ppBuff, const wchar_t* _szPath);
// Copies through memory; a destination ending in '\' gets the source's name. The byte count, or 0.
int FILE_Copy(const wchar_t* _szSrc, const wchar_t* _szDst);
// FILE_Copy, then FILE_SetAttribute from the source to the written file.
int FILE_CopyEx(const wchar_t* _szSrc, const wchar_t* _szDst, int _iMask);

// Handles.
// _iWrite 0: read access, the file must exist; otherwise read and write, created when missing.
FILE_HANDLE FILE_Open(const wchar_t* _szPath, int _iWrite);
FILE_HANDLE FILE_OpenWrite(const wchar_t* _szPath);
// Read and write access; the file is created or emptied.
FILE_HANDLE FILE_Create(const wchar_t* _szPath);
// Read and write access to a file made new: fails when any entry of that name exists.
FILE_HANDLE FILE_CreateNew(const wchar_t* _szPath);
int FILE_HdRead(FILE_HANDLE _hFile, void* _pBuff, uint32_t _uCount, uint32_t* _pRead);
int FILE_HdWrite(FILE_HANDLE _hFile, const void* _pData, uint32_t _uCount, uint32_t* _pWritten);
// _iMethod 0 from the start, 1 from the current position, 2 from the end; the new position.
uint32_t FILE_HdSeek(FILE_HANDLE _hFile, int32_t _iDistance, int _iMethod);
int FILE_HdClose(FILE_HANDLE _hFile);
// Hands what the system still holds of the file to the disk; non-zero on success.
int FILE_HdFlush(FILE_HANDLE _hFile);

// Folders, attributes, times, search.
// Drive and folder of the program file, ending in '\'; its length, or 0 when it does not
// fit in _iSize units (_iSize 0: 260).
int FILE_GetModuleDirectory(wchar_t* _szOut, int _iSize);
int FILE_GetCurrentDirectory(wchar_t* _szOut, int _iSize);
int FILE_SetCurrentDirectory(const wchar_t* _szPath);
int FILE_CreateDirectory(const wchar_t* _szPath);
// Creates every missing folder of the path's folder part ('\' or '/'); 1.
int FILE_MakeDirectory(const wchar_t* _szPath);
int FILE_RemoveDirectory(const wchar_t* _szPath);
// Deletes the folder with everything in it (links are removed, never entered); 1 or 0.
int FILE_DeleteTree(const wchar_t* _szPath);
// Leaves the folder first (the current folder moves to its parent), then FILE_DeleteTree.
int FILE_DeleteDirectory(const wchar_t* _szPath);
int FILE_Delete(const wchar_t* _szPath);
int FILE_Move(const wchar_t* _szOld, const wchar_t* _szNew);
// Puts the file _szNew in the place of _szTarget, replacing a file there in one step: on
// failure both stay as they were. 1 or 0.
int FILE_Replace(const wchar_t* _szNew, const wchar_t* _szTarget);
// Creates an empty file of a name no entry of the folder has (empty folder: the current
// one), exclusively, so that no existing file is ever taken; its path into _szOut (260
// units). 1, or 0 (_szOut empty) when none can be made or no such name fits a path.
int FILE_MakeTemp(const wchar_t* _szFolder, wchar_t* _szOut);
uint32_t FILE_GetAttribute(const wchar_t* _szPath);
// Four 4-bit fields of _iMask, lowest first: archive, system, hidden, read-only;
// 0 clears the bit, 1 sets it, anything else keeps the source's.
int FILE_SetAttribute(const wchar_t* _szSrc, const wchar_t* _szDst, int _iMask);
int FILE_GetTime(const wchar_t* _szPath, TIME_INFO* _pFTime);
int FILE_SetTime(const wchar_t* _szPath, const TIME_INFO* _pFTime);
int FILE_IsNewer(const wchar_t* _szPathA, const wchar_t* _szPathB);
int FILE_GetDriveType(char _cDrive);
int FILE_FindFirst(const wchar_t* _szPattern, FILE_HANDLE* _phFind, FIND_INFO* _pInfo);
int FILE_FindNext(FILE_HANDLE _hFind, FIND_INFO* _pInfo);
int FILE_FindClose(FILE_HANDLE _hFind);

// A file written whole beside its target and put in the target's place only once it is
// complete and on the disk: until then, and whenever a step fails, the target stays exactly
// as it was. The new file lies in the target's folder under a name made for it
// (FILE_MakeTemp's), and is removed on every failure and when the stage goes uncommitted.
class CFileStage
{
public:
    CFileStage();
    ~CFileStage();

    // Creates the new file beside the target; 1, or 0 when none can be made (no such
    // folder, no access, no name fits a path) or the target is a read-only file or a folder.
    int Open(const wchar_t* _szTarget);
    // 1 while every byte given so far was written; 0 from the first failure on.
    int Write(const void* _pData, int _iSize);
    // Hands the new file to the disk and closes it, taking the target's hidden, system and
    // archive bits: 1 when it holds everything written.
    int Finish();
    // Finish, then the new file takes the target's place in one step (a file there is
    // replaced). 1, or 0 with the target as it was and the new file gone.
    int Commit();
    // Closes and removes the new file; the target stays as it was.
    void Abort();
    const wchar_t* GetTarget() const { return m_szTarget; }

    CFileStage(const CFileStage&) = delete;
    CFileStage& operator=(const CFileStage&) = delete;

private:
    FILE_HANDLE m_hFile;
    int m_iFailed;
    wchar_t m_szTarget[FILE_PATH_LENGTH];
    wchar_t m_szTemp[FILE_PATH_LENGTH];
};

// Test seams of the write paths, as a full disk, a quota or a dropped share makes them
// fail. A write that would take a file past _llLimit bytes writes up to the limit and
// fails (negative: no limit). The _iCount-th move or replace from now on fails (0: none).
void FILE_SetWriteLimit(long long _llLimit);
void FILE_SetMoveFault(int _iCount);

// Path parts. Rooms: drive 3 units, folder, name and extension 256 units each.
// A part that does not fit its room empties every given part.
void FILE_split(const wchar_t* _szPath, wchar_t* _szDrive, wchar_t* _szDir, wchar_t* _szName,
                wchar_t* _szExt);
// A path that does not fit in _iSize units leaves _szPath empty.
void FILE_merge(wchar_t* _szPath, const wchar_t* _szDrive, const wchar_t* _szDir,
                const wchar_t* _szName, const wchar_t* _szExt, int _iSize);
void FILE_AddSeparator(wchar_t* _szPath);

// 8-bit forms for programs built with 8-bit texts (the system code page), with the
// behaviour of the forms above; rooms and sizes are in bytes.
int FILE_GetSize(const char* _szPath);
FILE_HANDLE FILE_Open(const char* _szPath, int _iWrite);
FILE_HANDLE FILE_Create(const char* _szPath);
int FILE_MakeDirectory(const char* _szPath);
int FILE_Copy(const char* _szSrc, const char* _szDst);
int mem_TargetRead(unsigned char** _ppBuff, const char* _szPath);
void FILE_split(const char* _szPath, char* _szDrive, char* _szDir, char* _szName, char* _szExt);
void FILE_merge(char* _szPath, const char* _szDrive, const char* _szDir, const char* _szName,
                const char* _szExt, int _iSize);
// Adds '\\' unless the text is empty or already ends in one (a second byte 0x5C of a
// double-byte character is not one); the caller leaves room for it.
void FILE_AddSeparator(char* _szPath);
int FILE_Delete(const char* _szPath);

#endif
