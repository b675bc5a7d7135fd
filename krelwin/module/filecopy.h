// COPY: copies each target below a destination folder, keeping the target's folder
// structure (from the drive's root, or from after a chosen root text with -r) and its
// last-write time. Writes with the library's file functions: no backup, no question.
#pragma once

#include "krelwin/module/module.h"

class FILECOPY : public CModule
{
public:
    FILECOPY();
    ~FILECOPY() override {}

    int Func(const wchar_t* _pParam) override;
    void Quit(int _iFinal) override;
    void Initialize();

    // The destination path of a target: the root followed by the target's tail (see
    // the source); an empty text when the path would not fit in a path's room.
    static void MakeDestination(wchar_t* _pOut, const wchar_t* _pRoot, const wchar_t* _pTarget,
                                const wchar_t* _pRootText);

private:
    int m_iInit;
    int m_iActive;
    int m_iFirst;
};
