#pragma once
// Resource ids of the program, by kind. The framework's own ids come first.
#include "framework/FrameworkIds.h"

// Menus, toolbars, accelerators, icons and the document string
#define IDR_MAINFRAME                   128

#define IDI_ACTION                      136
#define IDI_PRODUCT                     140
#define IDI_UPDATE_STATUS               162
#define IDI_UPDATE_LINKS                163

// Bitmaps
#define IDB_MOVE_UP                     137
#define IDB_MOVE_DOWN                   138
#define IDB_PLAY_GREETING               141
#define IDB_ACTION_MOVE                 142
#define IDB_ACTION_SAY                  143
#define IDB_ACTION_ANIMATE              144
#define IDB_ACTION_SHOW                 145
#define IDB_ACTION_HIDE                 146
#define IDB_ADD_ACTION                  148
#define IDB_SEND_NOW                    149
#define IDB_STRIP                       154
#define IDB_ADDRESS_BOOK                161

// Dialog templates
#define IDD_ABOUTBOX                    100
#define IDD_PARLO_VIEW                  101
#define IDD_NEWS                        111
#define IDD_WEB_UPDATE                  175
#define IDD_ACTION                      135
#define IDD_INTRO                       147
#define IDD_NEW_GREETING                150
#define IDD_SETUP                       152
#define IDD_OPTIONS                     158
#define IDD_SEND                        159
#define IDD_HELP                        295

// Dialog controls
#define IDC_INSTRUCTIONS                1002
#define IDC_ACTION_LIST                 1006
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
#define IDC_TYPE_LABEL                  1036
#define IDC_RECIPIENT_LABEL             1037
#define IDC_NAME_LABEL                  1038
#define IDC_GENDER_LABEL                1039
#define IDC_NEW_TITLE                   1040
#define IDC_RECIPIENT                   1042
#define IDC_EMAIL                       1043
#define IDC_NEW_INTRODUCTION            1045
#define IDC_GREETING_TYPES              1046
#define IDC_NAME                        1047
#define IDC_MOVE_UP                     1023
#define IDC_MOVE_DOWN                   1024
#define IDC_HELP_BUTTON                 1048
#define IDC_ADDRESSES                   1049
#define IDC_ADDRESS_BOOK                1050
#define IDC_AUTO_ADDRESS                1051
#define IDC_PICTURE                     1053
#define IDC_GENDER                      1059
#define IDC_HELP_TEXT                   296

// Controls of the introduction tour and the About box
#define IDC_OTHER_PRODUCTS              8
#define IDC_CONTINUE                    1027
#define IDC_INTRO_TEXT                  1029
#define IDC_STOP_TALKING                1033
#define IDC_INTRO_TITLE                 1038
#define IDC_INTRO_SLOGAN                1039
#define IDC_DONT_SHOW_AGAIN             1052
#define IDC_MAKER_LINK                  1055
#define IDC_SITE_LINK                   1056
#define IDC_POWERED_BY                  1057
#define IDC_ABOUT_TITLE                 1058

// Controls of the update and news dialogs
#define IDC_NEWS_TEXT                   1010
#define IDC_UPDATE_LINKS_GROUP          1011
#define IDC_UPDATE_LINKS_TEXT           1012
#define IDC_UPDATE_STATUS               1013
#define IDC_DOWNLOAD_LINK               1014
#define IDC_NEWS_LINK                   1015
#define IDC_UPDATE_LINKS_ICON           1016
#define IDC_DOWNLOAD_PROGRESS           1017
#define IDC_PROGRESS_LABEL              1019

// Strings
#define IDS_HELP_MAIN                   1200
#define IDS_HELP_ACTION                 1201
#define IDS_HELP_NEW_GREETING           1202
#define IDS_INTRODUCTION                61204
#define IDS_UPDATE_AVAILABLE            700
#define IDS_UPDATE_DOWNLOAD_LINK        701
#define IDS_UPDATE_NEWS_LINK            703
#define IDS_UPDATE_NONE                 704
#define IDS_UPDATE_CHECKING             707
#define IDS_UPDATE_CHECK_FAILED         709
#define IDS_UPDATE_WEB_ERROR            710
#define IDS_UPDATE_FILE_ERROR           711
#define IDS_UPDATE_PROGRESS             712
#define IDS_UPDATE_PROGRESS_LABEL       713
#define IDS_UPDATE_CANCELLING           717
#define IDS_UPDATE_NEWS_TIP             718
#define IDS_UPDATE_DOWNLOADED           719
#define IDS_UPDATE_DAMAGED              720
#define IDS_UPDATE_TIMED_OUT            721
#define IDS_UPDATE_NEWS_REFUSED         722

// Commands
#define ID_ACTION_ADD                   1007
#define ID_ACTION_REMOVE                1008
#define ID_ACTION_PLAYFROM              1022
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
