// The DDEXL_ family: a DDE client of the spreadsheet application (service "Excel"):
// connects to a workbook and a sheet topic, reads single cells as text, lists the sheet
// topics the server offers. Everything runs on the calling (user-interface) thread.
#ifndef KELTO_SYSTEM_WIN32_DDE_H
#define KELTO_SYSTEM_WIN32_DDE_H

#include <string>

struct HSZ__;
struct HCONV__;
struct HWND__;

// One DDE connection: instance, service, workbook topic and conversation, sheet topic and
// conversation, and the cell requests made on the instance. All zero when made; the
// instance stays once DDE is started, but for a fresh start (the conversations made
// again) every few thousand requests and after a conversation the spreadsheet ended.
struct DDEXL_STATE
{
    unsigned long m_dwInst;
    HSZ__* m_hszService;
    HSZ__* m_hszTopic;
    HCONV__* m_hConv;
    HSZ__* m_hszTopic2;
    HCONV__* m_hConv2;
    int m_iRequests;

    DDEXL_STATE()
        : m_dwInst(0), m_hszService(0), m_hszTopic(0), m_hConv(0), m_hszTopic2(0), m_hConv2(0), m_iRequests(0)
    {
    }
};

// Starts DDE (once per state, and anew when the state is due for it) and connects to
// "Excel" on _pTopic and, when given, on _pTopic2. 1 once DDE runs (a topic the server
// does not offer leaves its conversation 0), 0 when DDE cannot be started even after
// opening _pTopic in the shell.
int DDEXL_Connect(DDEXL_STATE* _pState, const wchar_t* _pTopic, const wchar_t* _pTopic2);
// Cell (row, column), both from 1, as text (line end included) into _pOut, at most
// _iOutChars - 1 units and terminated, from the sheet conversation when a sheet topic was
// given, otherwise from the workbook's. 0 done (no data empties _pOut), -1 bad argument or
// no conversation, -2 the request failed (_pOut empty). Any number of cells can be read:
// every few thousand requests the instance is started anew and the conversations made
// again.
int DDEXL_GetData(DDEXL_STATE* _pState, int _iRow, int _iCol, wchar_t* _pOut, int _iOutChars);
// The sheet topics of the workbook _pBook ("[BOOK.xls]Sheet"; a null or empty book takes
// every workbook's): their sheet names into *_pOut one after another, each followed by a
// NUL, every one of them however many and however long. The number of names (a null
// _pOut counts them alone), 0 when DDE cannot be started or no sheet is offered, -2 when
// memory runs out (*_pOut then empty).
int DDEXL_GetSheetList(const wchar_t* _pBook, std::wstring* _pOut);
// Drops the conversations and string handles (DDE stays started). 0, or -1 when there is
// no workbook conversation.
int DDEXL_Disconnect(DDEXL_STATE* _pState);
// The last DDE error of the state's instance in a message box: 0 when there is none,
// otherwise the box's result.
int DDEXL_ErrorBox(HWND__* _hOwner, DDEXL_STATE* _pState);
// Opens the file with the shell's "open" verb, minimised; 1 when the shell started it.
int DDEXL_ShellOpen(const wchar_t* _pFile);
// Waits, at most _iMs milliseconds, until the server answers on its "System" topic;
// 1 when it did.
int DDEXL_WaitServer(int _iMs);

// The application's service name.
#define DDEXL_SERVICE L"Excel"

#endif
