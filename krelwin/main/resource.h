// Resource identifiers of krelwin.exe, shared by krelwin.rc and the window code.
#ifndef KRELWIN_MAIN_RESOURCE_H
#define KRELWIN_MAIN_RESOURCE_H

#define IDI_KRELWIN             101
#define IDR_MAINMENU            103
#define IDD_PROPERTY            104
#define IDD_ABOUT               112

// Main window controls
#define IDC_START               100

// Menu commands
#define IDM_PROPERTY            40003
#define IDM_EXIT                40004
#define IDM_CLEARALL            40005
#define IDM_OUTMESSAGE          40006
#define IDM_ABOUT               40007
#define IDM_OT_DELREM           40008
#define IDM_OPENBATCH           40009
#define IDM_OT_KANJICHECK       40010
#define IDM_DELETE              40011
#define IDM_OT_ZEN2HAN          40014
#define IDM_OT_LISTSORT         40015
#define IDM_OT_FILECHECK        40016
#define IDM_OT_DUMP             40017
#define IDM_DELETEOTHEREXT      40018
#define IDM_DELETEEXT           40019
#define IDM_OT_SAMESIZE         40020

// Dialog controls
#define IDC_DLG_OK              1004
#define IDC_OUTINFONAME         1008
#define IDC_BACKUPPATH          1009
#define IDC_AUTOEXEC            1021
#define IDC_ATEXIT              1022
#define IDC_OUTINFO             1023
#define IDC_VERSION             1025
#define IDC_BACKUP              1026
#define IDC_BACKUPPATH_LABEL    1027
#define IDC_RETEXEC             1028
#define IDC_SEARCHSUB           1029
#define IDC_DEFAULTCURRENT      1030
#define IDC_RANGE               1031

#endif
