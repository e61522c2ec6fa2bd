#pragma once
// Command, string and window ids the framework itself knows. Plain #defines, so that the
// resource script can use them too.

// Standard commands
#define ID_FILE_NEW             0xE100
#define ID_FILE_OPEN            0xE101
#define ID_FILE_CLOSE           0xE102
#define ID_FILE_SAVE            0xE103
#define ID_FILE_SAVE_AS         0xE104
#define ID_FILE_MRU_FILE1       0xE110
#define ID_FILE_MRU_FILE4       0xE113
#define ID_APP_ABOUT            0xE140
#define ID_APP_EXIT             0xE141
#define ID_VIEW_TOOLBAR         0xE800
#define ID_VIEW_STATUS_BAR      0xE801

// Framework strings
#define AFX_IDS_APP_TITLE       0xE000
#define AFX_IDS_IDLEMESSAGE     0xE001
#define AFX_IDS_UNTITLED        0xF000
#define AFX_IDS_ALLFILTER       0xF001
#define AFX_IDP_ASK_TO_SAVE     0xF002
#define AFX_IDP_PARSE_STRING_SIZE 0xF003
#define AFX_IDP_FAILED_TO_OPEN_DOC 0xF004
#define AFX_IDS_SAVEFILE        0xF005
#define AFX_IDS_OPENFILE        0xF006

// Window ids
#define AFX_IDW_PANE_FIRST      0xE900
#define AFX_IDW_TOOLBAR         0xE800
#define AFX_IDW_STATUS_BAR      0xE801

// Status bar indicators (their strings are the texts shown)
#define ID_SEPARATOR            0
#define ID_INDICATOR_CAPS       0xE701
#define ID_INDICATOR_NUM        0xE702
#define ID_INDICATOR_SCRL       0xE703

// Sent to the main window at idle time to update menus and toolbars
#define WM_IDLEUPDATECMDUI      0x0363

// Internal command-routing codes
#define CN_COMMAND              0
#define CN_UPDATE_COMMAND_UI    ((UINT)(-1))
