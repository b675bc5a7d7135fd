#include "krelwin/module/common/samesize.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <string>

#include "kelto/files/win32/file.h"
#include "kelto/files/win32/fileload.h"
#include "kelto/memory/mem.h"
#include "krelwin/main/global.h"
#include "krelwin/main/message.h"
#include "krelwin/params/kvlparam.h"

MODULE_DEFINE_CREATOR(SAMESIZE)

SAMESIZE::SAMESIZE() : m_iInit(0), m_iActive(0), m_iFirst(0), m_iMaxSize(0) {}

void SAMESIZE::Initialize()
{
    if (m_iInit == 1) return;
    m_iInit = 1;
    m_iFirst = 1;
    m_iMaxSize = 0;
}

int SAMESIZE::Func(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pTarget = cParam.GetTarget();
    Initialize();
    const int iSize = pTarget ? FILE_GetSize(pTarget) : 0;
    if (iSize > m_iMaxSize) m_iMaxSize = iSize;
    m_iActive = 1;
    return 1;
}

// A file is padded only when all of it fits the block and all of it was read: a larger
// file (one this line did not measure, or one that grew) or one that cannot be read is
// left as it is, since writing the block back would cut or blank it. A missing file is
// created full of zeros.
void SAMESIZE::Quit(int)
{
    if (!m_iActive) return;
    m_iActive = 0;
    m_iInit = 0;

    const int iMax = m_iMaxSize;
    unsigned char* pBlock = iMax > 0 ? new (std::nothrow) unsigned char[iMax] : 0;
    if (iMax > 0 && !pBlock) {
        Message_err(L"resize failed. %dKb", (iMax + 1023) / 1024);
        return;
    }
    Message_info(L"resize : %dKb", (iMax + 1023) / 1024);

    CFileList& cList = s_stGl.m_cFileList;
    for (int i = 0; i < cList.GetCount(); ++i) {
        const std::wstring strPath = cList.GetPath(i);
        const std::wstring strName = cList.GetName(i);
        Message_win(strName.c_str());
        if (iMax <= 0) continue;

        std::memset(pBlock, 0, iMax);
        const uint32_t uAttr = FILE_GetAttribute(strPath.c_str());
        if (uAttr != FILE_ATTR_INVALID) {
            const int iSize = FILE_GetSize(strPath.c_str());
            if ((uAttr & FILE_ATTR_FOLDER) || !FILE_IsExist(strPath.c_str()) || iSize < 0 ||
                iSize > iMax) {
                Message_info(L"resize skipped. %s", strName.c_str());
                continue;
            }
            // A file of the size already holds what it would be given.
            if (iSize == iMax) continue;
            if (iSize > 0) {
                uint32_t uCount = static_cast<uint32_t>(iSize);
                unsigned char* pData = 0;
                MEM_TargetRead(&pData, strPath.c_str(), &uCount);
                if (!pData || uCount != static_cast<uint32_t>(iSize)) {
                    MEM_free(&pData);
                    Message_info(L"resize skipped. %s", strName.c_str());
                    continue;
                }
                std::memcpy(pBlock, pData, uCount);
                MEM_free(&pData);
            }
        }
        // The file is replaced whole or not at all; a failure is counted.
        if (FILE_Write(strPath.c_str(), pBlock, iMax) != iMax) Message_err(L"Can't write file.%s", strName.c_str());
    }
    delete[] pBlock;
}
