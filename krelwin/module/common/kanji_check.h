// KANJI_CHECK: sorts the double-byte characters of the target texts by their Shift-JIS
// code into JIS level 1 (with the non-kanji rows before it), JIS level 2, the NEC-selected
// IBM extension, the IBM extension and the user-defined area; counts them per file and per
// script line and lists the distinct characters of each kind.
#pragma once

#include <cstdint>

#include "krelwin/module/module.h"

class KANJI_CHECK : public CModule
{
public:
    // Kinds of characters, in report order.
    enum
    {
        KIND_LEVEL1,
        KIND_LEVEL2,
        KIND_NEC,
        KIND_IBM,
        KIND_EXT,
        KIND_COUNT,
        KIND_NONE = KIND_COUNT
    };
    // Room of the collections in characters (the terminator comes on top).
    enum
    {
        ROOM_ALL1 = 8000,
        ROOM_ALL = 1000,
        ROOM_SUB = 256
    };

    KANJI_CHECK();
    ~KANJI_CHECK() override;

    // Token 1 of the line is the detail level: 1 and above report every file, 2 and above
    // also collect the level-1 characters of the run.
    int Func(const wchar_t* _pParam) override;
    // Prints the totals of the script line and releases the collections.
    void Quit(int _iFinal) override;

    int Initialize();
    // Classifies, counts and collects the character at _pChar; the characters used (1).
    int checkMoji(const wchar_t* _pChar);
    // 1 when the one-character string _pOne does not occur in the collection.
    static int isNew(const wchar_t* _pCollection, const wchar_t* _pOne);
    void printFile(const wchar_t* _pTarget);

    // The kind of a two-byte Shift-JIS code (first byte x 256 + second byte), or KIND_NONE.
    static int Category(unsigned int _uCode);
    // The kind of a UTF-16 unit through the system code page, or KIND_NONE.
    int Classify(wchar_t _cUnit);

    int FileCount(int _iKind) const { return m_aFile[_iKind]; }
    int TotalCount(int _iKind) const { return m_aTotal[_iKind]; }

    KANJI_CHECK(const KANJI_CHECK&) = delete;
    KANJI_CHECK& operator=(const KANJI_CHECK&) = delete;

private:
    // The collections, in the order of the slots below.
    enum
    {
        SET_ALL1,
        SET_ALL2,
        SET_ALLNEC,
        SET_ALLIBM,
        SET_ALLEXT,
        SET_SUB2,
        SET_SUBNEC,
        SET_SUBIBM,
        SET_SUBEXT,
        SET_COUNT
    };

    wchar_t** setText(int _iSet);
    void release();
    void emptySet(int _iSet);
    // Appends the character when it is new; "領域オーバー" when the collection is full.
    void collect(int _iSet, wchar_t _cUnit);
    // A run stopped by the user never tells its modules: what it gathered is dropped when a
    // target comes from another run, another line or again from the same line.
    void checkNewRun();

    int m_iInit;
    int m_iActive;
    wchar_t* pKnjall1;
    wchar_t* pKnjall2;
    wchar_t* pKnjallNEC;
    wchar_t* pKnjallIBM;
    wchar_t* pKnjallEXT;
    wchar_t* pKnjsub2;
    wchar_t* pKnjsubNEC;
    wchar_t* pKnjsubIBM;
    wchar_t* pKnjsubEXT;
    int m_aFile[KIND_COUNT];
    int m_aTotal[KIND_COUNT];
    int m_iDetail;

    // Lengths of the collections and which units they hold, so that a text of many
    // megabytes costs a lookup per character, not a scan of the collection.
    int m_aLength[SET_COUNT];
    uint32_t m_aHeld[SET_COUNT][65536 / 32];
    // Kind of each UTF-16 unit once converted (0xFF: not converted yet); the system code
    // page does not change while the program runs.
    unsigned char m_aKind[65536];
    // Where the last target was checked: timer of the run, script line and file.
    unsigned int m_uRunTimer;
    int m_iRunLine;
    int m_iRunFile;
};
