// Whole-file replacement through a new file beside the target.
#include "kelto/files/win32/file.h"
#include "kelto/files/win32/file_private.h"
#include "kelto/string/string.h"

CFileStage::CFileStage() : m_hFile(FILE_INVALID_HANDLE), m_iFailed(1)
{
    m_szTarget[0] = 0;
    m_szTemp[0] = 0;
}

CFileStage::~CFileStage()
{
    Abort();
}

int CFileStage::Open(const wchar_t* _szTarget)
{
    Abort();
    m_iFailed = 1;
    const int iLen = STRING_len(_szTarget);
    if (iLen == 0 || iLen >= FILE_PATH_LENGTH) return 0;
    // Where the platform would refuse to write the file, nothing is staged for it either.
    const uint32_t uAttr = FILE_GetAttribute(_szTarget);
    if (uAttr != FILE_ATTR_INVALID && (uAttr & (FILE_ATTR_FOLDER | FILE_ATTR_READONLY))) return 0;

    // The new file lies in the target's own folder: a rename there replaces the target in one step.
    int iFolder = iLen;
    while (iFolder > 0 && _szTarget[iFolder - 1] != L'\\' && _szTarget[iFolder - 1] != L'/' &&
           !(iFolder == 2 && _szTarget[1] == L':'))
        --iFolder;
    wchar_t szFolder[FILE_PATH_LENGTH];
    STRING_cpy(szFolder, _szTarget, iFolder);
    szFolder[iFolder] = 0;
    m_hFile = file_createTemp(szFolder, m_szTemp);
    if (m_hFile == FILE_INVALID_HANDLE) return 0;
    STRING_cpy(m_szTarget, _szTarget);
    m_iFailed = 0;
    return 1;
}

int CFileStage::Write(const void* _pData, int _iSize)
{
    if (m_iFailed || m_hFile == FILE_INVALID_HANDLE) return 0;
    const unsigned char* pFrom = static_cast<const unsigned char*>(_pData);
    while (_iSize > 0) {
        uint32_t uWritten = 0;
        if (!pFrom || !FILE_HdWrite(m_hFile, pFrom, static_cast<uint32_t>(_iSize), &uWritten) || uWritten == 0) {
            m_iFailed = 1;
            return 0;
        }
        pFrom += uWritten;
        _iSize -= static_cast<int>(uWritten);
    }
    return 1;
}

int CFileStage::Finish()
{
    if (m_hFile != FILE_INVALID_HANDLE) {
        // A write the system only queued can still fail on its way to the disk.
        if (!FILE_HdFlush(m_hFile)) m_iFailed = 1;
        if (!FILE_HdClose(m_hFile)) m_iFailed = 1;
        m_hFile = FILE_INVALID_HANDLE;
        // The replaced file's hidden, system and archive bits go on with its content.
        if (!m_iFailed && FILE_GetAttribute(m_szTarget) != FILE_ATTR_INVALID)
            FILE_SetAttribute(m_szTarget, m_szTemp, 0x0222);
    }
    return m_szTemp[0] && !m_iFailed ? 1 : 0;
}

int CFileStage::Commit()
{
    if (!Finish() || !FILE_Replace(m_szTemp, m_szTarget)) {
        Abort();
        return 0;
    }
    m_szTemp[0] = 0;
    m_iFailed = 1;  // done: a later call has nothing to commit
    return 1;
}

void CFileStage::Abort()
{
    if (m_hFile != FILE_INVALID_HANDLE) {
        FILE_HdClose(m_hFile);
        m_hFile = FILE_INVALID_HANDLE;
    }
    if (m_szTemp[0]) {
        FILE_Delete(m_szTemp);
        m_szTemp[0] = 0;
    }
    m_iFailed = 1;
}
