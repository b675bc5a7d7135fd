// The last DDEML error of a DDEXL_ state, shown in a message box.
#include "kelto/system/win32/dde.h"

#include "kelto/system/win32/ddeplatform.h"

namespace {

struct DDEXL_ERROR_TEXT
{
    UINT m_uError;
    const wchar_t* m_pText;
};

const DDEXL_ERROR_TEXT s_astText[] = {
    {DMLERR_DLL_NOT_INITIALIZED, L"DDE 関数が初期化されずに、または無効なインスタンス識別子で呼び出されました"},
    {DMLERR_DLL_USAGE, L"モニタ専用またはクライアント専用のインスタンスが許されないトランザクションを試みました"},
    {DMLERR_EXECACKTIMEOUT, L"同期実行トランザクションの要求がタイムアウトになりました"},
    {DMLERR_INVALIDPARAMETER,
     L"パラメータを検証できませんでした\n"
     L"無効なインスタンス識別子が渡されました\n"
     L"無効なデータハンドルが渡されました\n"
     L"クライアント専用のインスタンスがサーバーの関数を呼び出しました\n"
     L"無効な対話ハンドルが渡されました\n"
     L"解放済みの文字列ハンドルが渡されました"},
    {DMLERR_LOW_MEMORY, L"サーバーがクライアントより先に進み、メモリが不足しています"},
    {DMLERR_MEMORY_ERROR, L"メモリ割り当てに失敗しました"},
    {DMLERR_NOTPROCESSED, L"トランザクションに失敗しました"},
    {DMLERR_NO_CONV_ESTABLISHED, L"クライアントが対話を確立しようとして失敗しました"},
    {DMLERR_POKEACKTIMEOUT, L"同期ポークトランザクションの要求がタイムアウトになりました"},
    {DMLERR_POSTMSG_FAILED, L"関数の内部呼び出しに失敗しました"},
    {DMLERR_REENTRANCY, L"同期トランザクションの実行中に別の同期トランザクションが開始されたか、コールバックの中からコールバックが再び有効にされました"},
    {DMLERR_SERVER_DIED, L"トランザクションが終わる前に相手が対話を終了しました"},
    {DMLERR_SYS_ERROR, L"DDEML で内部エラーが発生しました"},
    {DMLERR_UNADVACKTIMEOUT, L"アドバイズトランザクションの終了要求がタイムアウトになりました"},
    {DMLERR_UNFOUND_QUEUE_ID, L"渡されたトランザクション識別子が無効です"},
};

}  // namespace

int DDEXL_ErrorBox(HWND__* _hOwner, DDEXL_STATE* _pState)
{
    if (!_pState) return 0;
    const UINT uError = DdeGetLastError(_pState->m_dwInst);
    if (uError == 0) return 0;
    const wchar_t* pText = L"その他のエラー";
    for (const DDEXL_ERROR_TEXT& stText : s_astText) {
        if (stText.m_uError == uError) pText = stText.m_pText;
    }
    return MessageBoxW(_hOwner, pText, L"サーバーに接続失敗", MB_OK);
}
