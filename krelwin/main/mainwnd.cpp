// The main window, its controls, menu commands, dropped files and dialogs.
#include "krelwin/main/mainwnd.h"

#include <shellapi.h>

#include <string>

#include "kelto/files/win32/file.h"
#include "kelto/string/string.h"
#include "kelto/system/win32/dialog.h"
#include "kelto/system/win32/window.h"
#include "krelwin/main/batch.h"
#include "krelwin/main/global.h"
#include "krelwin/main/message.h"
#include "krelwin/main/resource.h"
#include "krelwin/main/runloop.h"
#include "krelwin/main/setting.h"

namespace {

// One-touch commands of the menu: the whole script of a run on the listed files.
struct ONETOUCH_ITEM {
	int iID;
	const wchar_t *pCommand;
	const wchar_t *pParam;
};

const ONETOUCH_ITEM s_aOneTouch[] = {
	{ IDM_OT_DELREM,		L"DELREM",		L"" },
	{ IDM_OT_KANJICHECK,	L"KANJI_CHECK",	L"1" },
	{ IDM_OT_ZEN2HAN,		L"ZEN2HAN",		L"" },
	{ IDM_OT_LISTSORT,		L"LISTSORT",	L"-op" },
	{ IDM_OT_FILECHECK,		L"FILECHECK",	L"" },
	{ IDM_OT_DUMP,			L"DUMP",		L"" },
	{ IDM_OT_SAMESIZE,		L"SAMESIZE",	L"" },
};

HWND mainwnd_child(const wchar_t *_pClass, const wchar_t *_pText, DWORD _dwStyle, DWORD _dwExStyle,
				   int _iX, int _iY, int _iW, int _iH, int _iID)
{
	HWND hWnd = CreateWindowExW(_dwExStyle, _pClass, _pText, WS_CHILD | WS_VISIBLE | _dwStyle,
								_iX, _iY, _iW, _iH, s_stMainWnd.m_hWnd,
								(HMENU)(INT_PTR)_iID, s_stGl.m_hInst, 0);
	if (hWnd) SendMessageW(hWnd, WM_SETFONT, (WPARAM)s_stGl.m_hFont, 0);
	return hWnd;
}

void mainwnd_showCount()
{
	wchar_t szText[32];
	STRING_sprintf(szText, 32, L"Entry : %3d", s_stGl.m_cFileList.GetCount());
	if (s_stGl.m_hEntry) SetWindowTextW(s_stGl.m_hEntry, szText);
}

// The drive and folder of a path become the current folder.
void mainwnd_chdirTo(const wchar_t *_pPath)
{
	wchar_t szDrive[FILE_DRIVE_LENGTH], szDir[FILE_PART_LENGTH], szFolder[FILE_PATH_LENGTH];
	FILE_split(_pPath, szDrive, szDir, 0, 0);
	FILE_merge(szFolder, szDrive, szDir, 0, 0, FILE_PATH_LENGTH);
	if (szFolder[0]) FILE_SetCurrentDirectory(szFolder);
}

void mainwnd_oneTouch(HWND _hWnd, const ONETOUCH_ITEM &_cItem)
{
	if (s_stGl.m_iLock) {
		Message_flush();
		MessageBoxW(_hWnd, L"ワンタッチ機能は利用できません", L"情報", MB_OK);
		return;
	}
	STRING_cpy(s_stGl.m_szBatchPath, _cItem.pCommand);
	s_stGl.m_lstScript.clear();
	SCRIPT_STAT cLine;
	cLine.m_strCommand = _cItem.pCommand;
	cLine.m_strParam = _cItem.pParam;
	s_stGl.m_lstScript.push_back(cLine);
	s_stGl.m_itScript = s_stGl.m_lstScript.end();
	wchar_t szLine[260];
	STRING_sprintf(szLine, 260, L"%s %s", _cItem.pCommand, _cItem.pParam);
	if (s_stGl.m_hBatchEdit) SetWindowTextW(s_stGl.m_hBatchEdit, szLine);
	STRING_cpy(s_stGl.m_szBatchPath, szLine);
	if (s_stGl.m_cFileList.GetCount() > 0) Batch_start(1);
}

void mainwnd_layout(int _iW, int _iH)
{
	if (s_stGl.m_hMessage) MoveWindow(s_stGl.m_hMessage, 175, 46, _iW - 180, _iH - 56, TRUE);
	if (s_stGl.m_hList) MoveWindow(s_stGl.m_hList, 10, 46, 160, _iH - 63, TRUE);
	if (s_stGl.m_hEntry) MoveWindow(s_stGl.m_hEntry, 10, _iH - 17, 80, 12, TRUE);
	if (s_stGl.m_hStart) MoveWindow(s_stGl.m_hStart, _iW - 90, 5, 80, 20, TRUE);
	if (s_stGl.m_hBatchEdit) MoveWindow(s_stGl.m_hBatchEdit, 90, 5, _iW - 190, 18, TRUE);
}

}  // namespace

void Init_MainWnd()
{
	WINDOW_Init(s_stMainWnd, L"PROC", L"Dravik VELD-Orx", 0, WndProc, s_stGl.m_hInst,
				s_iWindowW, s_iWindowH);
	WINDOW_SetMenu(s_stMainWnd, MAKEINTRESOURCEW(IDR_MAINMENU));
	WINDOW_Create(s_stMainWnd);
	WINDOW_Show(s_stMainWnd, SW_SHOW);
	HWND hWnd = s_stMainWnd.m_hWnd;
	if (hWnd) {
		DragAcceptFiles(hWnd, TRUE);
		HICON hIcon = LoadIconW(s_stGl.m_hInst, MAKEINTRESOURCEW(IDI_KRELWIN));
		if (hIcon) SetClassLongPtrW(hWnd, GCLP_HICON, (LONG_PTR)hIcon);
	}
	Init_ChildWnd();
	s_stGl.TimerID = 0;
}

void Init_ChildWnd()
{
	s_stGl.m_hFont = CreateFontW(12, 0, 0, 0, 200, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0,
								 L"ＭＳ ゴシック");
	mainwnd_child(L"STATIC", L"Message", 0, 0, 175, 32, 76, 12, 0);
	s_stGl.m_hMessage = mainwnd_child(L"EDIT", L"",
									  ES_MULTILINE | WS_VSCROLL | ES_AUTOVSCROLL | ES_READONLY,
									  WS_EX_CLIENTEDGE, 175, 46, s_iWindowW - 180, s_iWindowH - 56, 0);
	if (s_stGl.m_hMessage) SendMessageW(s_stGl.m_hMessage, EM_SETREADONLY, TRUE, 0);
	Message_alloc();
}

void Init_Controls()
{
	const int iW = s_iWindowW, iH = s_iWindowH;
	s_stGl.m_hStart = mainwnd_child(L"BUTTON", L"開始", BS_PUSHBUTTON, 0, iW - 90, 5, 80, 20, IDC_START);
	mainwnd_child(L"STATIC", L"KrelwinBatch", 0, 0, 10, 8, 75, 15, 0);
	s_stGl.m_hBatchEdit = mainwnd_child(L"EDIT", s_stGl.m_szBatchPath, ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
										90, 5, iW - 190, 18, 0);
	mainwnd_child(L"STATIC", L"File list", 0, 0, 10, 32, 60, 12, 0);
	s_stGl.m_hList = mainwnd_child(L"LISTBOX", L"",
								   WS_VSCROLL | LBS_DISABLENOSCROLL | LBS_NOTIFY | LBS_HASSTRINGS,
								   WS_EX_CLIENTEDGE, 10, 46, 160, iH - 63, 0);
	List_refresh();
	if (s_stGl.m_iLock && s_stGl.m_hBatchEdit) EnableWindow(s_stGl.m_hBatchEdit, FALSE);
	wchar_t szText[32];
	STRING_sprintf(szText, 32, L"Entry : %3d", s_stGl.m_cFileList.GetCount());
	s_stGl.m_hEntry = mainwnd_child(L"STATIC", szText, 0, 0, 10, iH - 17, 80, 12, 0);
}

LRESULT CALLBACK WndProc(HWND _hWnd, UINT _uMsg, WPARAM _wParam, LPARAM _lParam)
{
	switch (_uMsg) {
	case WM_CREATE:
		return 0;
	case WM_DESTROY:
		Wnd_destroy(_hWnd);
		PostQuitMessage(0);
		return 0;
	case WM_QUERYENDSESSION:
		// The end may still be cancelled: save the settings, keep what later messages use.
		Write_Setting();
		return 1;
	case WM_SIZE:
		if (_wParam == SIZE_RESTORED) {
			const int iW = LOWORD(_lParam), iH = HIWORD(_lParam);
			mainwnd_layout(iW, iH);
			s_iWindowW = iW;
			s_iWindowH = iH;
		}
		return 0;
	case WM_PAINT:
		Wnd_paint(_hWnd);
		return 0;
	case WM_CLOSE:
		DestroyWindow(_hWnd);
		return 0;
	case WM_KEYDOWN:
		if (_wParam == VK_RETURN && s_stGl.m_pSetting->RETEXEC != 0) Batch_start(1);
		return 0;
	case WM_COMMAND:
		Wnd_command(_hWnd, _wParam, _lParam);
		return 0;
	case WM_DROPFILES:
		Wnd_dropfiles(_hWnd, (HDROP)_wParam);
		return 0;
	case WM_USER:
		Batch_tick(_hWnd);
		return 0;
	}
	return DefWindowProcW(_hWnd, _uMsg, _wParam, _lParam);
}

void Wnd_destroy(HWND _hWnd)
{
	(void)_hWnd;
	Message_free();
	if (s_stGl.m_hFont) {
		DeleteObject(s_stGl.m_hFont);
		s_stGl.m_hFont = 0;
	}
	Write_Setting();
}

void Wnd_paint(HWND _hWnd)
{
	// Disarmed before the start: a message box of the start repaints the window from its
	// own loop, which must not start again.
	if (s_stGl.m_iAutoExec == 1) {
		s_stGl.m_iAutoExec = 2;
		Batch_start(1);
	}
	PAINTSTRUCT stPaint;
	BeginPaint(_hWnd, &stPaint);
	EndPaint(_hWnd, &stPaint);
}

void Wnd_command(HWND _hWnd, WPARAM _wParam, LPARAM _lParam)
{
	(void)_lParam;
	const int iID = LOWORD(_wParam);
	if (iID == IDC_START) {
		// Also during a run, where it stops the run.
		if (s_stGl.m_hBatchEdit) GetWindowTextW(s_stGl.m_hBatchEdit, s_stGl.m_szBatchPath, 260);
		Batch_start(1);
		return;
	}
	if (s_stGl.m_iRunning) return;
	switch (iID) {
	case IDM_OPENBATCH:
		Open_Batch(_hWnd);
		List_refresh();
		return;
	case IDM_OUTMESSAGE:
		out_infomessage(s_stGl.m_stIniSetting.OUTINFONAME);
		return;
	case IDM_PROPERTY:
		Open_Property();
		return;
	case IDM_EXIT:
		PostMessageW(_hWnd, WM_CLOSE, 0, 0);
		return;
	case IDM_CLEARALL:
		List_clear();
		Message_clear();
		return;
	case IDM_DELETE:
		List_delete();
		return;
	case IDM_DELETEOTHEREXT:
		List_deleteOtherExt();
		return;
	case IDM_DELETEEXT:
		List_deleteExt();
		return;
	case IDM_ABOUT:
		Open_About();
		return;
	}
	for (const ONETOUCH_ITEM &cItem : s_aOneTouch) {
		if (cItem.iID == iID) {
			mainwnd_oneTouch(_hWnd, cItem);
			return;
		}
	}
}

void Wnd_dropfiles(HWND _hWnd, HDROP _hDrop)
{
	POINT stPoint = { 0, 0 };
	RECT stClient;
	GetClientRect(_hWnd, &stClient);
	if (DragQueryPoint(_hDrop, &stPoint) && PtInRect(&stClient, stPoint)) {
		wchar_t szPath[FILE_PATH_LENGTH];
		if (stPoint.y >= MAINWND_DROP_LIST_TOP) {
			// The list and log area: the dropped files join the list, also during a run.
			s_stGl.m_cFileList.SetSearchSub(s_stGl.m_pSetting->SEARCHSUB);
			const UINT uCount = DragQueryFileW(_hDrop, 0xFFFFFFFF, 0, 0);
			for (UINT i = 0; i < uCount; ++i) {
				if (DragQueryFileW(_hDrop, i, szPath, FILE_PATH_LENGTH) == 0) continue;
				s_stGl.m_cFileList.Add(szPath);
			}
			List_refresh();
		} else if (!s_stGl.m_iRunning && DragQueryFileW(_hDrop, 0, szPath, FILE_PATH_LENGTH) != 0) {
			// The button band: the first file is a new batch.
			STRING_cpy(s_stGl.m_szBatchPath, szPath);
			mainwnd_chdirTo(szPath);
			if (!s_stGl.m_iLock && s_stGl.m_hBatchEdit) SetWindowTextW(s_stGl.m_hBatchEdit, szPath);
			Batch_reset();
			Read_KrelwinBatch(szPath);
			List_refresh();
		}
	}
	DragFinish(_hDrop);
}

int Open_Batch(HWND _hWnd)
{
	wchar_t szPath[FILE_PATH_LENGTH] = { 0 };
	FILE_SELECT stSelect = { _hWnd, L"参照", szPath, 0, L"Macro Files(*.*)\0*.kvl\0" };
	if (!FILE_SelectOpen(stSelect)) return 0;
	STRING_cpy(s_stGl.m_szBatchPath, szPath);
	mainwnd_chdirTo(szPath);
	if (s_stGl.m_hBatchEdit) SetWindowTextW(s_stGl.m_hBatchEdit, szPath);
	Read_KrelwinBatch(szPath);
	return 1;
}

void List_setEntry(int _iIndex)
{
	if (!s_stGl.m_hList) return;
	wchar_t szText[FILE_PATH_LENGTH + 16];
	STRING_sprintf(szText, FILE_PATH_LENGTH + 16, L"%-13s", s_stGl.m_cFileList.GetName(_iIndex).c_str());
	SendMessageW(s_stGl.m_hList, LB_DELETESTRING, _iIndex, 0);
	SendMessageW(s_stGl.m_hList, LB_INSERTSTRING, _iIndex, (LPARAM)szText);
	SendMessageW(s_stGl.m_hList, LB_SETCURSEL, _iIndex, 0);
}

void List_refresh()
{
	if (s_stGl.m_hList) {
		// Each entry as List_setEntry would set it, without drawing or selecting it: a redraw
		// and a selection per entry cost far more than the entry itself. One selection at the end.
		const HWND hList = s_stGl.m_hList;
		SendMessageW(hList, WM_SETREDRAW, FALSE, 0);
		SendMessageW(hList, LB_RESETCONTENT, 0, 0);
		const int iCount = s_stGl.m_cFileList.GetCount();
		SendMessageW(hList, LB_INITSTORAGE, iCount, (LPARAM)iCount * 16 * sizeof(wchar_t));
		wchar_t szText[FILE_PATH_LENGTH + 16];
		for (int i = 0; i < iCount; ++i) {
			STRING_sprintf(szText, FILE_PATH_LENGTH + 16, L"%-13s", s_stGl.m_cFileList.m_vFile[i].strName.c_str());
			SendMessageW(hList, LB_INSERTSTRING, i, (LPARAM)szText);
		}
		SendMessageW(hList, LB_SETCURSEL, 0, 0);
		SendMessageW(hList, WM_SETREDRAW, TRUE, 0);
		InvalidateRect(hList, 0, TRUE);
	}
	mainwnd_showCount();
}

void List_clear()
{
	if (s_stGl.m_hList) SendMessageW(s_stGl.m_hList, LB_RESETCONTENT, 0, 0);
	s_stGl.m_cFileList.Clear();
	mainwnd_showCount();
	s_stGl.m_szBatchPath[0] = 0;
	if (s_stGl.m_hBatchEdit) SetWindowTextW(s_stGl.m_hBatchEdit, L"");
}

// Index of the selected list entry, or -1 when the list is empty or nothing is selected.
static int list_selected()
{
	if (!s_stGl.m_hList || s_stGl.m_cFileList.GetCount() == 0) return -1;
	const LRESULT lSel = SendMessageW(s_stGl.m_hList, LB_GETCURSEL, 0, 0);
	if (lSel == LB_ERR || lSel >= s_stGl.m_cFileList.GetCount()) return -1;
	return (int)lSel;
}

void List_delete()
{
	const int iSel = list_selected();
	if (iSel < 0) return;
	SendMessageW(s_stGl.m_hList, LB_DELETESTRING, iSel, 0);
	const int iLeft = (int)SendMessageW(s_stGl.m_hList, LB_GETCOUNT, 0, 0);
	if (iLeft > 0) SendMessageW(s_stGl.m_hList, LB_SETCURSEL, iSel < iLeft ? iSel : iLeft - 1, 0);
	s_stGl.m_cFileList.Delete(iSel);
	mainwnd_showCount();
}

static void list_deleteByExt(int _iInvert)
{
	const int iSel = list_selected();
	if (iSel < 0) return;
	const std::wstring strExt = s_stGl.m_cFileList.GetExtStr(iSel);
	s_stGl.m_cFileList.DeleteExt(strExt.c_str(), _iInvert);
	SendMessageW(s_stGl.m_hList, LB_RESETCONTENT, 0, 0);
	List_refresh();
}

void List_deleteOtherExt()
{
	list_deleteByExt(1);
}

void List_deleteExt()
{
	list_deleteByExt(0);
}

static int mainwnd_dialog(int _iID, DLGPROC _pProc)
{
	Message_flush();
	const INT_PTR iResult = DialogBoxParamW(s_stGl.m_hInst, MAKEINTRESOURCEW(_iID), s_stMainWnd.m_hWnd,
											_pProc, 0);
	if (iResult == -1) {
		MessageBoxW(s_stMainWnd.m_hWnd, L"ダイアログが作成できません", L"プロパティ", MB_OK);
		return 0;
	}
	return 1;
}

int Open_Property()
{
	return mainwnd_dialog(IDD_PROPERTY, PropertyDlgProc);
}

int Open_About()
{
	return mainwnd_dialog(IDD_ABOUT, AboutDlgProc);
}

namespace {

struct PROPERTY_CHECK {
	int iID;
	int SETTING_INFO::*pField;
};

const PROPERTY_CHECK s_aPropertyCheck[] = {
	{ IDC_AUTOEXEC,			&SETTING_INFO::AUTOEXEC },
	{ IDC_ATEXIT,			&SETTING_INFO::ATEXIT },
	{ IDC_OUTINFO,			&SETTING_INFO::OUTINFO },
	{ IDC_RETEXEC,			&SETTING_INFO::RETEXEC },
	{ IDC_BACKUP,			&SETTING_INFO::BACKUP },
	{ IDC_SEARCHSUB,		&SETTING_INFO::SEARCHSUB },
	{ IDC_DEFAULTCURRENT,	&SETTING_INFO::DEFAULTCURRENT },
};

const wchar_t *const s_apRangeText[] = { L"範囲限定なし", L"範囲限定", L"記号含み限定" };

void property_follow(HWND _hDlg, int _iCheck, int _iDependent)
{
	EnableWindow(GetDlgItem(_hDlg, _iDependent), IsDlgButtonChecked(_hDlg, _iCheck) == BST_CHECKED);
}

void property_store(HWND _hDlg)
{
	SETTING_INFO &cSet = s_stGl.m_stIniSetting;
	for (const PROPERTY_CHECK &cCheck : s_aPropertyCheck)
		cSet.*cCheck.pField = IsDlgButtonChecked(_hDlg, cCheck.iID) == BST_CHECKED ? 1 : 0;
	// With no entry selected the range setting keeps its value.
	const LRESULT lRange = SendDlgItemMessageW(_hDlg, IDC_RANGE, CB_GETCURSEL, 0, 0);
	if (lRange != CB_ERR) cSet.RANGE = (int)lRange;
	GetDlgItemTextW(_hDlg, IDC_OUTINFONAME, cSet.OUTINFONAME, 260);
	GetDlgItemTextW(_hDlg, IDC_BACKUPPATH, cSet.BACKUPPATH, 260);
	s_stGl.m_pSetting = &s_stGl.m_stIniSetting;
}

}  // namespace

INT_PTR CALLBACK PropertyDlgProc(HWND _hDlg, UINT _uMsg, WPARAM _wParam, LPARAM _lParam)
{
	(void)_lParam;
	switch (_uMsg) {
	case WM_INITDIALOG: {
		const SETTING_INFO &cSet = s_stGl.m_stIniSetting;
		for (const PROPERTY_CHECK &cCheck : s_aPropertyCheck)
			CheckDlgButton(_hDlg, cCheck.iID, cSet.*cCheck.pField ? BST_CHECKED : BST_UNCHECKED);
		property_follow(_hDlg, IDC_AUTOEXEC, IDC_ATEXIT);
		SetDlgItemTextW(_hDlg, IDC_OUTINFONAME, cSet.OUTINFONAME);
		SetDlgItemTextW(_hDlg, IDC_BACKUPPATH, cSet.BACKUPPATH);
		property_follow(_hDlg, IDC_BACKUP, IDC_BACKUPPATH);
		for (const wchar_t *pText : s_apRangeText)
			SendDlgItemMessageW(_hDlg, IDC_RANGE, CB_ADDSTRING, 0, (LPARAM)pText);
		SendDlgItemMessageW(_hDlg, IDC_RANGE, CB_SETCURSEL, cSet.RANGE, 0);
		return 1;
	}
	case WM_CLOSE:
		EndDialog(_hDlg, 0);
		return 1;
	case WM_COMMAND:
		switch (LOWORD(_wParam)) {
		case IDC_AUTOEXEC:
			property_follow(_hDlg, IDC_AUTOEXEC, IDC_ATEXIT);
			break;
		case IDC_BACKUP:
			property_follow(_hDlg, IDC_BACKUP, IDC_BACKUPPATH);
			break;
		case IDC_DLG_OK:
			List_refresh();
			property_store(_hDlg);
			EndDialog(_hDlg, 1);
			break;
		}
		return 1;
	}
	return 0;
}

INT_PTR CALLBACK AboutDlgProc(HWND _hDlg, UINT _uMsg, WPARAM _wParam, LPARAM _lParam)
{
	(void)_lParam;
	switch (_uMsg) {
	case WM_INITDIALOG:
		return 1;
	case WM_CLOSE:
		EndDialog(_hDlg, 0);
		return 1;
	case WM_COMMAND:
		if (LOWORD(_wParam) == IDC_DLG_OK) EndDialog(_hDlg, 1);
		return 1;
	}
	return 0;
}
