#include "krelwin/module/fitparts.h"

#include <cstring>
#include <vector>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/graphics/bmp.h"
#include "kelto/graphics/bmp_read.h"
#include "kelto/memory/mem.h"
#include "kelto/string/moji.h"
#include "kelto/string/string.h"
#include "kelto/tools/busy.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/module/fitparts_search.h"
#include "krelwin/params/kvlparam.h"

MODULE_DEFINE_CREATOR(FITPARTS)

namespace {

// True when an image file was read (a result of BMP_ReadFile); otherwise the reason is logged.
bool fit_readable(int _iRead, const wchar_t* _pName)
{
    if (_iRead == 1) return true;
    if (_iRead == -2) Message_err(L"ビットマップでないファイル %s", _pName);
    else Message_err(L"%s not read", _pName);
    return false;
}

// An image file read and checked; false, with the reason logged, when it cannot be read or
// is no bitmap. The block is released with MEM_free.
bool fit_read(const wchar_t* _pPath, const wchar_t* _pName, unsigned char** _ppData, int* _pSize, BMP_INFO* _pInfo)
{
    return fit_readable(BMP_ReadFile(_pPath, _ppData, _pSize, _pInfo), _pName);
}

// A 32-bit copy of an image file: its size, or 0 (nothing logged: the list reading did).
// The block is released with delete[].
int fit_read32(const wchar_t* _pPath, void** _ppOut)
{
    *_ppOut = 0;
    unsigned char* pData = 0;
    int iSize = 0;
    BMP_INFO stInfo;
    if (BMP_ReadFile(_pPath, &pData, &iSize, &stInfo) != 1) return 0;
    const int iNew = BMP_To32(pData, iSize, _ppOut);
    MEM_free(&pData);
    return iNew > 0 ? iNew : 0;
}

// The size of an image file; false, with the reason logged, as fit_read.
bool fit_size(const wchar_t* _pPath, const wchar_t* _pName, int* _pW, int* _pH)
{
    unsigned char* pData = 0;
    int iSize = 0;
    BMP_INFO stInfo;
    if (!fit_read(_pPath, _pName, &pData, &iSize, &stInfo)) return false;
    MEM_free(&pData);
    *_pW = stInfo.iWidth;
    *_pH = stInfo.iHeight;
    return true;
}

// The pixels of a 32-bit block, row-major from the top.
void fit_pixels(void* _pBlock, std::vector<uint32_t>* _pOut, FITPARTS_IMAGE* _pImage)
{
    const BMP_INFO stInfo = BMP_GetInfo(_pBlock);
    _pOut->resize(static_cast<size_t>(stInfo.iWidth) * stInfo.iHeight);
    size_t u = 0;
    for (int y = 0; y < stInfo.iHeight; ++y) {
        BUSY_poll();
        for (int x = 0; x < stInfo.iWidth; ++x) (*_pOut)[u++] = static_cast<uint32_t>(BMP_GetPixel(&stInfo, x, y));
    }
    _pImage->pPixel = _pOut->data();
    _pImage->iWidth = stInfo.iWidth;
    _pImage->iHeight = stInfo.iHeight;
}

void fit_resetRecord(FITPARTS_RECORD& _rRecord)
{
    _rRecord.szBase[0] = 0;
    _rRecord.szPart[0] = 0;
    _rRecord.szOutput[0] = 0;
    // A record whose images cannot be read gets no size: never the size of an earlier list.
    _rRecord.iWidth = 0;
    _rRecord.iHeight = 0;
    _rRecord.iX = -1;
    _rRecord.iY = -1;
}

} // namespace

FITPARTS::FITPARTS()
    : m_iInit(0), m_iActive(0), m_iCount(0), m_iLastWidth(0), m_iLastHeight(0), m_uTransparent(0),
      m_iListKept(1)
{
    m_szImageDir[0] = 0;
    m_szOutputDir[0] = 0;
    m_szPath[0] = 0;
    m_szCarried[0] = 0;
    std::memset(m_aRecord, 0, sizeof m_aRecord);
}

void FITPARTS::Quit(int)
{
    if (!m_iActive) return;
    m_iActive = 0;
    m_iInit = 0;
}

void FITPARTS::SetFolders(const wchar_t* _pImage, const wchar_t* _pOutput)
{
    m_szImageDir[0] = 0;
    m_szOutputDir[0] = 0;
    if (_pImage && STRING_len(_pImage) < FILE_PATH_LENGTH) STRING_cpy(m_szImageDir, _pImage);
    if (_pOutput && STRING_len(_pOutput) < FILE_PATH_LENGTH) STRING_cpy(m_szOutputDir, _pOutput);
}

const wchar_t* FITPARTS::joinPath(const wchar_t* _pFolder, const wchar_t* _pName)
{
    m_szPath[0] = 0;
    const int iFolder = STRING_len(_pFolder);
    const int iSep = (iFolder > 0 && _pFolder[iFolder - 1] != L'\\') ? 1 : 0;
    if (iFolder + iSep + STRING_len(_pName) >= FILE_PATH_LENGTH) return m_szPath;
    STRING_cpy(m_szPath, _pFolder);
    FILE_AddSeparator(m_szPath);
    STRING_cat(m_szPath, _pName);
    return m_szPath;
}

const wchar_t* FITPARTS::path1(const wchar_t* _pName)
{
    return joinPath(m_szImageDir, _pName);
}

const wchar_t* FITPARTS::path2(const wchar_t* _pName)
{
    return joinPath(m_szOutputDir, _pName);
}

int FITPARTS::findBase(int _iIndex) const
{
    for (int i = _iIndex; i >= 0; --i) {
        if (i < m_iCount && !m_aRecord[i].szPart[0]) return i;
    }
    return 0;
}

void FITPARTS::applyField(FITPARTS_RECORD& _rRecord, int _iColumn, const char* _pField, int _iLength,
                          int _iReverse, int _iLine)
{
    // Names are in the system's 8-bit code page, as writeList writes them back.
    wchar_t szField[FILE_PATH_LENGTH];
    CMOJIUTIL cMoji;
    const int iUnits = cMoji.MbToWcSize(_pField, _iLength);
    if (iUnits <= 0 || iUnits > NAME_MAX) {
        // A name cut short would be written back as another name: the list is kept as it is.
        Message_err(L"%d: name too long", _iLine);
        m_iListKept = 0;
        // The parts below belong to this base, not to the one above it.
        if (_iColumn == 0) m_szCarried[0] = 0;
        return;
    }
    cMoji.MbToWc(_pField, _iLength, szField);
    szField[iUnits] = 0;

    switch (_iColumn) {
    case 0:
        STRING_cpy(_rRecord.szBase, szField);
        STRING_cpy(m_szCarried, szField);
        if (!_iReverse) fit_size(path1(szField), szField, &_rRecord.iWidth, &_rRecord.iHeight);
        break;
    case 1:
        STRING_cpy(_rRecord.szPart, szField);
        if (!_iReverse) {
            if (fit_size(path1(szField), szField, &_rRecord.iWidth, &_rRecord.iHeight))
                STRING_cpy(_rRecord.szBase, m_szCarried);
        } else {
            STRING_cpy(_rRecord.szBase, m_szCarried);
        }
        break;
    case 2:
        STRING_cpy(_rRecord.szOutput, szField);
        break;
    case 3:
        if (_iReverse) _rRecord.iWidth = STRING_toInt(szField);
        break;
    case 4:
        if (_iReverse) _rRecord.iHeight = STRING_toInt(szField);
        break;
    case 5:
        _rRecord.iX = STRING_toInt(szField);
        break;
    case 6:
        _rRecord.iY = STRING_toInt(szField);
        break;
    default:
        break;  // 7 and 8 are numbers nobody uses, later columns nothing
    }
}

bool FITPARTS::endLine(FITPARTS_RECORD& _rRecord, int _iReverse)
{
    if (!_iReverse && !_rRecord.szOutput[0])
        STRING_cpy(_rRecord.szOutput, _rRecord.szPart[0] ? _rRecord.szPart : _rRecord.szBase);
    ++m_iCount;
    if (m_iCount >= RECORD_MAX) {
        Message_err(L"ファイルが多すぎます");
        return false;
    }
    fit_resetRecord(m_aRecord[m_iCount]);
    return true;
}

int FITPARTS::readList(const char* _pData, int _iSize, int _iReverse)
{
    m_iCount = 0;
    m_iListKept = 1;
    m_szCarried[0] = 0;
    fit_resetRecord(m_aRecord[0]);
    if (!_pData || _iSize <= 0) return 0;
    int iColumn = 0;
    bool bPending = false;  // the current line holds something
    int i = 0;
    while (i < _iSize) {
        // Each line may read its images for their sizes.
        BUSY_poll();
        const char c = _pData[i];
        if (c == '\t' || c == ',') {
            ++iColumn;
            bPending = true;
            ++i;
            continue;
        }
        if (c == '\r' || c == '\n') {
            ++i;
            if (i < _iSize && _pData[i] == '\n') ++i;
            if (!endLine(m_aRecord[m_iCount], _iReverse)) {
                // Lines beyond the table would be lost by rewriting the list.
                if (i < _iSize) m_iListKept = 0;
                return m_iCount;
            }
            iColumn = 0;
            bPending = false;
            continue;
        }
        int j = i;
        while (j < _iSize && _pData[j] != '\t' && _pData[j] != ',' && _pData[j] != '\r' && _pData[j] != '\n') ++j;
        applyField(m_aRecord[m_iCount], iColumn, _pData + i, j - i, _iReverse, m_iCount + 1);
        bPending = true;
        i = j;
    }
    // A last line without a line end is a line all the same.
    if (bPending) endLine(m_aRecord[m_iCount], _iReverse);
    return m_iCount;
}

int FITPARTS::locate(const wchar_t* _pBase, const wchar_t* _pPart, int* _pX, int* _pY, int _iPrune,
                     int _iThreshold)
{
    void* pBase = 0;
    void* pPart = 0;
    if (!fit_read32(path1(_pBase), &pBase)) return 0;
    if (!fit_read32(path1(_pPart), &pPart)) {
        delete[] static_cast<unsigned char*>(pBase);
        return 0;
    }
    std::vector<uint32_t> vBase, vPart;
    FITPARTS_IMAGE stBase, stPart;
    fit_pixels(pBase, &vBase, &stBase);
    fit_pixels(pPart, &vPart, &stPart);
    delete[] static_cast<unsigned char*>(pBase);
    delete[] static_cast<unsigned char*>(pPart);

    if (stBase.iWidth == stPart.iWidth && stBase.iHeight == stPart.iHeight) return 0;
    if (stBase.iWidth < stPart.iWidth || stBase.iHeight < stPart.iHeight) return 0;
    if (vBase.empty()) return 0;

    m_uTransparent = vBase[0];
    const float fTotal = FITPARTS_Total(stPart, m_uTransparent);
    if (fTotal <= 0) {
        // Nothing to compare: no place is better than another.
        Message_info(L"%s  no pixels to compare", _pPart);
        return 0;
    }

    // The quick check of the previous part's place, only where the part lies inside the base.
    const int iX = *_pX, iY = *_pY;
    if (stPart.iWidth == m_iLastWidth && stPart.iHeight == m_iLastHeight && iX >= 0 && iY >= 0 &&
        iX <= stBase.iWidth - stPart.iWidth && iY <= stBase.iHeight - stPart.iHeight) {
        const float fScore = FITPARTS_ScoreAt(stBase, stPart, iX, iY);
        const int iPercent = static_cast<int>(fScore * 100 / fTotal);
        if (iPercent > _iThreshold) {
            Message_info(L"%s  %d%", _pPart, iPercent);
            return iPercent;
        }
    }

    m_iLastWidth = stPart.iWidth;
    m_iLastHeight = stPart.iHeight;
    const FITPARTS_RESULT stResult = FITPARTS_Search(stBase, stPart, m_uTransparent, _iPrune, _iThreshold);
    *_pX = stResult.iX;
    *_pY = stResult.iY;
    const int iPercent = static_cast<int>(stResult.fBest * 100 / stResult.fTotal);
    Message_info(L"%s %d,%d  (%d:%d)%d%", _pPart, stResult.iX, stResult.iY, static_cast<int>(stResult.fBest),
                 static_cast<int>(stResult.fTotal), iPercent);
    return iPercent;
}

int FITPARTS::paste(const wchar_t* _pOutput, const wchar_t* _pBase, const wchar_t* _pPart, int _iX, int _iY)
{
    void* pBase = 0;
    const int iBaseSize = fit_read32(path1(_pBase), &pBase);
    if (!iBaseSize) return 0;
    const BMP_INFO stBase = BMP_GetInfo(pBase);
    if (_pPart && _pPart[0]) {
        void* pPart = 0;
        // Without its part the base would be written as if pasted: nothing is written.
        if (!fit_read32(path1(_pPart), &pPart)) {
            delete[] static_cast<unsigned char*>(pBase);
            return 0;
        }
        const BMP_INFO stPart = BMP_GetInfo(pPart);
        for (int r = 0; r < stPart.iHeight; ++r) {
            BUSY_poll();
            for (int c = 0; c < stPart.iWidth; ++c) {
                const uint32_t u = static_cast<uint32_t>(BMP_GetPixel(&stPart, c, r));
                if (u == m_uTransparent) continue;
                // Compared unsigned: places left of or above the base are skipped too.
                const unsigned uX = static_cast<unsigned>(_iX) + static_cast<unsigned>(c);
                const unsigned uY = static_cast<unsigned>(_iY) + static_cast<unsigned>(r);
                if (uX < static_cast<unsigned>(stBase.iWidth) && uY < static_cast<unsigned>(stBase.iHeight))
                    BMP_SetPixel(&stBase, static_cast<int>(uX), static_cast<int>(uY), static_cast<int>(u));
            }
        }
        delete[] static_cast<unsigned char*>(pPart);
    }
    const int iWritten = Write_OutFile(path2(_pOutput), pBase, iBaseSize);
    delete[] static_cast<unsigned char*>(pBase);
    return iWritten > 0 ? 1 : 0;
}

int FITPARTS::scalePart(int _iIndex)
{
    if (_iIndex < 0 || _iIndex >= m_iCount) return 0;
    FITPARTS_RECORD& rRecord = m_aRecord[_iIndex];
    unsigned char* pData = 0;
    int iSize = 0;
    if (!rRecord.szPart[0]) {
        // A base image goes back byte for byte, whatever form its header has.
        if (!fit_readable(BMP_ReadFileBytes(path2(rRecord.szOutput), &pData, &iSize), rRecord.szOutput)) return 0;
        const int iWritten = Write_OutFile(path1(rRecord.szBase), pData, iSize);
        MEM_free(&pData);
        return iWritten > 0 ? 1 : 0;
    }
    BMP_INFO stImage;
    if (!fit_read(path2(rRecord.szOutput), rRecord.szOutput, &pData, &iSize, &stImage)) return 0;

    const FITPARTS_RECORD& rBase = m_aRecord[findBase(_iIndex)];
    if (rBase.iWidth <= 0 || rBase.iHeight <= 0) {
        MEM_free(&pData);
        Message_err(L"%s: no size of its base", rRecord.szPart);
        return 0;
    }
    if (rRecord.iX < 0 || rRecord.iY < 0) {
        // Cutting at an unknown place would overwrite the part with another picture.
        MEM_free(&pData);
        Message_err(L"%s: no place", rRecord.szPart);
        return 0;
    }
    const float fSx = static_cast<float>(stImage.iWidth) / static_cast<float>(rBase.iWidth);
    const float fSy = static_cast<float>(stImage.iHeight) / static_cast<float>(rBase.iHeight);
    const float fW = static_cast<float>(rRecord.iWidth) * fSx;
    const float fH = static_cast<float>(rRecord.iHeight) * fSy;
    const float fX = static_cast<float>(rRecord.iX) * fSx;
    const float fY = static_cast<float>(rRecord.iY) * fSy;
    const float fLimit = 2147483520.0f;  // the largest float below 2^31
    if (!(fW < fLimit && fH < fLimit && fX < fLimit && fY < fLimit && fSx * 100 < fLimit && fSy * 100 < fLimit)) {
        MEM_free(&pData);
        Message_err(L"%s: size out of range", rRecord.szPart);
        return 0;
    }
    const int iNewW = static_cast<int>(fW), iNewH = static_cast<int>(fH);
    Message_info(L"%d%%,%d%%", static_cast<int>(fSx * 100), static_cast<int>(fSy * 100));
    if (iNewW <= 0 || iNewH <= 0) {
        MEM_free(&pData);
        Message_err(L"%s: size out of range", rRecord.szPart);
        return 0;
    }
    // A part is a piece of its base: at the scale it is cut at, no larger than the image it
    // is cut from, the base as scaled. (A smaller part may reach past the image's edge; what
    // lies outside reads as 0.) This also bounds the block a list can have allocated.
    if (iNewW > stImage.iWidth || iNewH > stImage.iHeight) {
        MEM_free(&pData);
        Message_err(L"%s: larger than its base image", rRecord.szPart);
        return 0;
    }

    // Cut from a 32-bit copy, so that any depth gives the part its colours; places outside
    // the image read as 0.
    void* p32 = 0;
    const int i32 = BMP_To32(pData, iSize, &p32);
    MEM_free(&pData);
    void* pNew = 0;
    const int iNewSize = i32 > 0 ? BMP_Create(&pNew, iNewW, iNewH, 32, 72, 72) : 0;
    if (iNewSize <= 0) {
        delete[] static_cast<unsigned char*>(p32);
        Message_err(L"%s: size out of range", rRecord.szPart);
        return 0;
    }
    const BMP_INFO stSrc = BMP_GetInfo(p32);
    const BMP_INFO stDst = BMP_GetInfo(pNew);
    const int iX0 = static_cast<int>(fX), iY0 = static_cast<int>(fY);
    for (int y = 0; y < iNewH; ++y) {
        BUSY_poll();
        for (int x = 0; x < iNewW; ++x) {
            const long long llX = static_cast<long long>(iX0) + x, llY = static_cast<long long>(iY0) + y;
            const int iValue = (llX < stSrc.iWidth && llY < stSrc.iHeight)
                                   ? BMP_GetPixel(&stSrc, static_cast<int>(llX), static_cast<int>(llY))
                                   : 0;
            BMP_SetPixel(&stDst, x, y, iValue);
        }
    }
    delete[] static_cast<unsigned char*>(p32);
    const int iWritten = Write_OutFile(path1(rRecord.szPart), pNew, iNewSize);
    delete[] static_cast<unsigned char*>(pNew);
    rRecord.iX = iX0;
    rRecord.iY = iY0;
    return iWritten > 0 ? 1 : 0;
}

std::wstring FITPARTS::MakeListText() const
{
    std::wstring strText;
    wchar_t szLine[4 * FILE_PATH_LENGTH + 64];
    // The base name that a part line without one takes when the list is read again.
    const wchar_t* pCarried = L"";
    for (int i = 0; i < m_iCount; ++i) {
        const FITPARTS_RECORD& r = m_aRecord[i];
        if (r.szPart[0]) {
            // A part whose base is not the one carried from above (a line that gave both
            // names) keeps its base in column 0, or it would change base when read again.
            const wchar_t* pBase = (r.szBase[0] && STRING_cmp(r.szBase, pCarried) != 0) ? r.szBase : L"";
            if (pBase[0]) pCarried = pBase;
            STRING_sprintf(szLine, sizeof szLine / sizeof szLine[0], L"%s\t%s\t%s\t%d\t%d\t%d\t%d\r\n", pBase,
                           r.szPart, r.szOutput, r.iWidth, r.iHeight, r.iX, r.iY);
        } else if (r.szOutput[0]) {
            STRING_sprintf(szLine, sizeof szLine / sizeof szLine[0], L"%s\t\t%s\t%d\t%d\r\n", r.szBase, r.szOutput,
                           r.iWidth, r.iHeight);
        } else if (r.szBase[0]) {
            STRING_sprintf(szLine, sizeof szLine / sizeof szLine[0], L"%s\t\t\t%d\t%d\r\n", r.szBase, r.iWidth,
                           r.iHeight);
        } else {
            STRING_cpy(szLine, L"\r\n");
        }
        if (!r.szPart[0] && r.szBase[0]) pCarried = r.szBase;
        strText += szLine;
    }
    return strText;
}

int FITPARTS::writeList(const wchar_t* _pListPath)
{
    if (!m_iListKept) {
        Message_err(L"%s not rewritten", Get_FileName(_pListPath));
        return 0;
    }
    const std::wstring strText = MakeListText();
    if (strText.empty()) return 0;
    // One write of the whole text: a failure leaves the old list, never half of the new one.
    if (!FILE_TextWrite(_pListPath, strText.c_str(), 0)) {
        Message_err(L"Can't write file.%s", Get_FileName(_pListPath));
        return 0;
    }
    return 1;
}

int FITPARTS::startList(const wchar_t* _pParam, int _iReverse, wchar_t* _pListPath)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pList = cParam.GetTarget();
    if (m_iActive) return -1;
    if (!pList || STRING_len(pList) >= FILE_PATH_LENGTH) return 0;
    unsigned char* pData = 0;
    const int iSize = MEM_TargetRead(&pData, pList);
    if (!pData || iSize <= 0) {
        MEM_free(&pData);
        return 0;
    }
    m_iActive = 1;
    STRING_cpy(_pListPath, pList);
    const wchar_t* pOutput = cParam.GetParam(2);
    if (pOutput && pOutput[0] == L'"') ++pOutput;
    const wchar_t* pImage = cParam.GetOutput();
    // A folder cut away would leave the names to the current folder: images read and
    // written there. The list is handled without being touched.
    if (!pImage || STRING_len(pImage) >= FILE_PATH_LENGTH || (pOutput && STRING_len(pOutput) >= FILE_PATH_LENGTH)) {
        MEM_free(&pData);
        Message_err(L"フォルダ名が長すぎます %s", Get_FileName(pList));
        return -1;
    }
    SetFolders(pImage, pOutput);

    Message_win(L"searching...");
    readList(reinterpret_cast<const char*>(pData), iSize, _iReverse);
    MEM_free(&pData);
    return 1;
}

int FITPARTS::Func(const wchar_t* _pParam)
{
    wchar_t szList[FILE_PATH_LENGTH];
    const int iStart = startList(_pParam, 0, szList);
    if (iStart <= 0) return iStart < 0 ? 1 : 0;
    Message_win(L"fiting");

    m_iLastWidth = 0;
    m_iLastHeight = 0;
    int iX = 0, iY = 0;
    int iCurrent = 0;
    for (int i = 0; i < m_iCount; ++i) {
        FITPARTS_RECORD& r = m_aRecord[i];
        if (!r.szPart[0]) {
            iCurrent = i;
            iX = iY = 0;
        }
        if (!r.szBase[0] || !r.szPart[0]) continue;
        if (r.iX >= 0 && r.iY >= 0) {
            Message_info(L"%s  already printing.", r.szBase);
            continue;
        }
        const int iPercent = locate(r.szBase, r.szPart, &iX, &iY, 1, 80);
        // A part found exactly is written with its base: the base alone is not.
        if (iPercent == 100) m_aRecord[iCurrent].szOutput[0] = 0;
        if (r.iX < 0) r.iX = iX;
        if (r.iY < 0) r.iY = iY;
    }

    Message_win(L"outing");
    for (int i = 0; i < m_iCount; ++i) {
        BUSY_poll();
        const FITPARTS_RECORD& r = m_aRecord[i];
        if (r.szOutput[0]) paste(r.szOutput, r.szBase, r.szPart, r.iX, r.iY);
    }
    writeList(szList);
    return 1;
}

int FITPARTS::FuncRev(const wchar_t* _pParam)
{
    wchar_t szList[FILE_PATH_LENGTH];
    const int iStart = startList(_pParam, 1, szList);
    if (iStart <= 0) return iStart < 0 ? 1 : 0;
    Message_win(L"outing");
    for (int i = 0; i < m_iCount; ++i) {
        BUSY_poll();
        if (m_aRecord[i].szOutput[0]) scalePart(i);
    }
    writeList(szList);
    return 1;
}
