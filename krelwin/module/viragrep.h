// VIRAGREP: searches every target text for the words of a word list, gathers the lines
// holding each word in a work file of its own during the run, and at the run's end prints
// them word by word into the message log and removes the work files.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "krelwin/module/module.h"

class VIRAGREP : public CModule
{
public:
    enum
    {
        WORD_COUNT = 1024,  // words of a list
        WORD_ROOM = 64,     // units of a word, terminator included
        // Units of hit lines a run gathers at most: every hit repeats its whole line, so a
        // long line full of a word would otherwise give the line's length squared.
        HIT_LIMIT = 1 << 24
    };

    VIRAGREP();
    ~VIRAGREP() override {}

    // Token 1 is the word list, token 2 a number: other than 0 asks for whole words only.
    int Func(const wchar_t* _pParam) override;
    // At the end of the run (final 1) prints the gathered lines and removes the work files;
    // the end of a script line leaves them gathering.
    void Quit(int _iFinal) override;
    // Loads the word list, once in the program's life (the first VIRAGREP line's list).
    void Initialize(const wchar_t* _pListFile);

    // Splits a list text into words at every unit below 0x20; words over the limits are
    // refused with an error. The number of words.
    int LoadWords(const wchar_t* _pText, int _iLength);
    int GetWordCount() const { return m_iWordCount; }
    const wchar_t* GetWord(int _iIndex) const;

    // The work file name of a word: its index, the word and ".viraGrep". Units that a file
    // name cannot hold (\ / : * ? " < > |), '%' and a digit right after the index become
    // "%" and two hex digits, so every name stays inside the work folder and no two words
    // share one. 1, or 0 when it does not fit in _iSize units.
    static int HitFileName(wchar_t* _pOut, int _iSize, int _iIndex, const wchar_t* _pWord);

    VIRAGREP(const VIRAGREP&) = delete;
    VIRAGREP& operator=(const VIRAGREP&) = delete;

private:
    // The full path of a word's work file in the work folder, or empty.
    std::wstring hitPath(int _iIndex) const;
    void buildIndex();
    // A run that began while the hits of a stopped one were still gathering drops them.
    void checkNewRun();
    // Starts gathering: fixes the work folder and removes work files left behind.
    void beginHits();
    void removeHits();
    void flushHits();
    void scan(const wchar_t* _pTarget, const wchar_t* _pText, int _iLength, int _iWhole);
    void report();

    int m_iInit;
    int m_iActive;
    int m_iFirstUse;
    wchar_t m_aszWord[WORD_COUNT][WORD_ROOM];
    int m_iWordCount;

    // The words as a tree of their units, so that one walk from a position finds every word
    // there however many share its start: a node's child by node << 16 | unit (node 0 the
    // root), and the words ending at each node in list order. m_aFirst marks the units
    // that start a word.
    std::unordered_map<uint32_t, int> m_mapChild;
    std::vector<std::vector<int>> m_vEnds;
    uint32_t m_aFirst[65536 / 32];
    // Hit lines not yet appended to the work files, and words whose file failed this run.
    std::vector<std::wstring> m_vPending;
    size_t m_uPending;
    std::vector<char> m_vFailed;
    // Units of hit lines gathered this run, and whether HIT_LIMIT stopped the gathering.
    size_t m_uGathered;
    int m_iOverLimit;
    // The folder of the work files, fixed when a run's gathering starts.
    std::wstring m_strWorkDir;
    // Where in which run the last target was scanned: timer of the run, line and file.
    unsigned int m_uRunTimer;
    int m_iRunLine;
    int m_iRunFile;
};
