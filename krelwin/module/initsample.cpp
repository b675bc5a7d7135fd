#include "krelwin/module/initsample.h"

#include "krelwin/main/message.h"
#include "krelwin/params/kvlparam.h"

MODULE_DEFINE_CREATOR(INITSAMPLE)

INITSAMPLE::INITSAMPLE() : m_iInitialized(0), m_iActive(0), m_iFirstUse(0) {}

INITSAMPLE::~INITSAMPLE() {}

void INITSAMPLE::Initialize()
{
    if (m_iInitialized == 1) return;
    m_iInitialized = 1;
    if (m_iFirstUse == 0) {
        m_iFirstUse = 1;
        Message_info(L"全体の初期化");
    }
    Message_info(L"初期化");
}

int INITSAMPLE::Func(const wchar_t* _pParam)
{
    CKvlParam cParam(_pParam);
    const wchar_t* pTarget = cParam.GetTarget();
    const wchar_t* pOutput = cParam.GetOutput();
    Initialize();
    Message_info(L"file:%s %s", pTarget ? pTarget : L"", pOutput ? pOutput : L"");
    m_iActive = 1;
    return 1;
}

void INITSAMPLE::Quit(int _iFinal)
{
    if (m_iActive != 1) return;
    m_iActive = 0;
    m_iInitialized = 0;
    Message_info(L"終了");
    if (_iFinal == 1) Message_info(L"全体の終了");
}
