// FITPARTS and FITPARTS_REV: a list of base images and the part images cut from them.
// FITPARTS finds where each part fits best in its base, writes each base with its part
// pasted in at that place into the output folder (32 bits) and writes the places back into
// the list. FITPARTS_REV cuts each part's rectangle out of the (possibly edited or rescaled)
// images of the output folder, scaled as its base was, back into the image folder.
// One object serves both commands; only the first readable list of a script line is handled.
#pragma once

#include <cstdint>
#include <string>

#include "krelwin/module/module.h"

struct FITPARTS_RECORD
{
    wchar_t szBase[260];    // base image name
    wchar_t szPart[260];    // part image name; empty: a base record
    wchar_t szOutput[260];  // output image name
    int iWidth;
    int iHeight;
    int iX;                 // -1 while unknown
    int iY;
};

class FITPARTS : public CModule
{
public:
    enum { RECORD_MAX = 10000, NAME_MAX = 259 };

    FITPARTS();
    ~FITPARTS() override {}

    int Func(const wchar_t* _pParam) override;
    int FuncRev(const wchar_t* _pParam) override;
    void Quit(int _iFinal) override;
    void Initialize() {}

    // Fills the records from the list's bytes (reverse 0: FITPARTS, which reads the images'
    // sizes; 1: FITPARTS_REV, which reads them from the list). The record count.
    int readList(const char* _pData, int _iSize, int _iReverse);
    // The best place of the part in the base (*_pX, *_pY tried first when the part has the
    // size of the part searched last); the percentage, 0 when the search failed.
    int locate(const wchar_t* _pBase, const wchar_t* _pPart, int* _pX, int* _pY, int _iPrune, int _iThreshold);
    // The base with the part pasted at (x, y) into the output folder; 1 written, 0 not.
    int paste(const wchar_t* _pOutput, const wchar_t* _pBase, const wchar_t* _pPart, int _iX, int _iY);
    // Record _iIndex's image from the output folder back into the image folder; 1 or 0.
    int scalePart(int _iIndex);
    // Rewrites the list from the records; 1 when written.
    int writeList(const wchar_t* _pListPath);
    // The nearest base record at or before _iIndex, 0 when there is none.
    int findBase(int _iIndex) const;
    // The image / output folder with the name appended, in the work buffer (empty when the
    // path would not fit).
    const wchar_t* path1(const wchar_t* _pName);
    const wchar_t* path2(const wchar_t* _pName);

    // For the tests: the folders, the records and the state kept between searches.
    void SetFolders(const wchar_t* _pImage, const wchar_t* _pOutput);
    int GetCount() const { return m_iCount; }
    const FITPARTS_RECORD& GetRecord(int _iIndex) const { return m_aRecord[_iIndex]; }
    uint32_t GetTransparent() const { return m_uTransparent; }
    // The text writeList writes.
    std::wstring MakeListText() const;

private:
    // Steps shared by both commands: reads the list (its path into _pListPath) with the
    // folders of the parameter line. 1 read, 0 unreadable, -1 a list was handled already.
    int startList(const wchar_t* _pParam, int _iReverse, wchar_t* _pListPath);
    const wchar_t* joinPath(const wchar_t* _pFolder, const wchar_t* _pName);
    void applyField(FITPARTS_RECORD& _rRecord, int _iColumn, const char* _pField, int _iLength, int _iReverse,
                    int _iLine);
    // The end of a line: the record counts. False when the table is full.
    bool endLine(FITPARTS_RECORD& _rRecord, int _iReverse);

    int m_iInit;
    int m_iActive;
    wchar_t m_szImageDir[260];
    wchar_t m_szOutputDir[260];
    FITPARTS_RECORD m_aRecord[RECORD_MAX];
    int m_iCount;
    wchar_t m_szPath[260];
    int m_iLastWidth;
    int m_iLastHeight;
    uint32_t m_uTransparent;   // the base's top-left pixel of the last search
    wchar_t m_szCarried[260];  // the base name a line without one takes
    int m_iListKept;           // 0 when the list read holds less than the file (not rewritten)
};
