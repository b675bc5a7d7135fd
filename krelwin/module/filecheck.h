// FILECHECK: one information line per target: a WAVE file's size, sample rate, sample
// width and channels; a bitmap's size in pixels, bit depth and kilobytes; any other file's
// size. Writes no files and reports nothing at the end of a line or run.
#pragma once

#include "krelwin/module/module.h"
#include "krelwin/module/wavevol.h"

class FILECHECK : public CModule
{
public:
    FILECHECK();
    ~FILECHECK() override {}

    // Always 1; the outcome is one uncounted log line.
    int Func(const wchar_t* _pParam) override;
    void Quit(int _iFinal) override;
    void Initialize();

    void printWave(const wchar_t* _pPath);
    void printBmp(const wchar_t* _pPath);
    void printFile(const wchar_t* _pPath);

private:
    int m_iInit;
    [[maybe_unused]] int m_iActive;  // the module pattern's flag; nothing here sets it
    // The format of the last WAVE file read.
    WAVE_HEADER m_stFormat;
};
