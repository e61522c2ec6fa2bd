#pragma once
// Resource ids of the program, by kind. The framework's own ids come first.
#include "framework/FrameworkIds.h"

// Menus, toolbars, accelerators, icons and the document string
#define IDR_MAINFRAME                   128

#define IDI_ACTION                      136

// Dialog templates
#define IDD_ACTION                      135
#define IDD_SETUP                       152
#define IDD_OPTIONS                     158
#define IDD_HELP                        295

// Dialog controls
#define IDC_PREVIEW                     1009
#define IDC_SHOW                        1013
#define IDC_CHARACTER                   1014
#define IDC_HIDE                        1015
#define IDC_SAY                         1016
#define IDC_ANIMATE                     1017
#define IDC_MOVE                        1018
#define IDC_ARGUMENT_LABEL              1019
#define IDC_SPEECH                      1020
#define IDC_ARGUMENT                    1021
#define IDC_EMAIL                       1043
#define IDC_NAME                        1047
#define IDC_HELP_BUTTON                 1048
#define IDC_GENDER                      1059
#define IDC_HELP_TEXT                   296

// Strings
#define IDS_HELP_MAIN                   1200
#define IDS_HELP_ACTION                 1201
#define IDS_HELP_NEW_GREETING           1202

// Commands
#define ID_ACTION_ADD                   1007
#define ID_ACTION_REMOVE                1008
#define ID_ACTION_PLAYFROM              1009
#define ID_ACTION_EDIT                  1010
#define ID_TOOLS_SENDNOW                32771
#define ID_TOOLS_PLAYGREETING           32773
#define ID_TOOLS_OPTIONS                32775
#define ID_HELP_OTHERPRODUCTS           32776
#define ID_HELP_DOWNLOADUPDATE          32781
#define ID_HELP_ONLINEHELP              32782
#define ID_HELP_SENDFEEDBACK            32783
#define ID_EDIT_UNDO                    0xE12B
#define ID_EDIT_CUT                     0xE123
#define ID_EDIT_COPY                    0xE122
#define ID_EDIT_PASTE                   0xE125
#define ID_NEXT_PANE                    0xE150
#define ID_PREV_PANE                    0xE151

// Version
#define PARLACARD_VERSION_NUMBERS       1,0,4,0
#define PARLACARD_VERSION_TEXT          "1.04"
