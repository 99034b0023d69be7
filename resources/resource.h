#pragma once
// Resource and control identifiers of Lumeo (dialog templates, bitmaps, controls).
// Shared by the resource script and the code; plain #defines so windres reads them.

// Dialog templates
#define IDD_BASIC    206
#define IDD_ADVANCED 207
#define IDD_FINISHING 208
#define IDD_MESSAGE  232
#define IDD_SIGNIN   233

// Bitmaps: frame, caption buttons, tabs, backgrounds, buttons, list header, summary panel
#define IDB_FRAME_ACTIVE     201
#define IDB_FRAME_INACTIVE   202
#define IDB_CAPTION_CLOSE    203
#define IDB_CAPTION_MINIMIZE 228
#define IDB_TAB_SELECTED     207
#define IDB_TAB_UNSELECTED   208
#define IDB_TAB_BKGND        209
#define IDB_PAGE_BKGND       210
#define IDB_SHEET_BKGND      240
#define IDB_BUTTON_FACE      212
#define IDB_LIST_HEADER      214
#define IDB_PREVIEW_BKGND    236
#define IDB_PAPER_PORTRAIT   231
#define IDB_PAPER_LANDSCAPE  238
// Pictures of the pages' layouts
#define IDB_ORIENTATION      217
#define IDB_COLOR_BW         219
#define IDB_COLOR_AUTO       220
#define IDB_DUPLEX_LONG      221
#define IDB_DUPLEX_NONE      222
#define IDB_LOGO             223
#define IDB_SPLASH           229
#define IDB_DUPLEX_SHORT     241

// Basic page controls
#define IDC_LIST_FILE                   1005
#define IDC_BUTTON_DEFAULT              1006
#define IDC_BUTTON_REMOVE               1007
#define IDC_EDIT_FROM                   1010
#define IDC_EDIT_TO                     1011
#define IDC_RADIO_ORIENTATION_PORTRAIT  1015
#define IDC_RADIO_ORIENTATION_LANDSCAPE 1016
#define IDC_BUTTON_BROWSE               1017
#define IDC_STATIC_SELECTPRINTER        1021
#define IDC_STATIC_SELECTFILES          1022
#define IDC_STATIC_PRINTRANGE           1023
#define IDC_STATIC_COPIES               1024
#define IDC_STATIC_ORIENTATION          1025
#define IDC_STATIC_COPIES_RANGE         1026
#define IDC_COMBO_PRINTERLIST           1034
#define IDC_RADIO_PRINTRANGE_ALL        1035
#define IDC_RADIO_PRINTRANGE_PAGES      1036
#define IDC_PICTURE_ORIENTATION         1037
#define IDC_EDIT_COPIES                 1041
#define IDC_SPIN_COPIES                 1042
#define IDC_STATIC_PRINTRANGE_FROM      1046
#define IDC_STATIC_PRINTRANGE_TO        1047
#define IDC_PICTURE_BASIC_LOGO          1048
#define IDC_INFO_PREVIEW_BASIC          1051

// Advanced page controls
#define IDC_RADIO_COLORMODE_AUTO        1009
#define IDC_RADIO_DUPLEX_LONG           1010
#define IDC_RADIO_COLORMODE_BW          1011
#define IDC_EDIT_ZOOM                   1012
#define IDC_SPIN_ZOOM                   1013
#define IDC_COMBO_PAPERSIZE             1014
#define IDC_COMBO_PAPERTYPE             1015
#define IDC_BUTTON_ADV_DEFAULT          1020
#define IDC_STATIC_PAPAEROPTION         1028
#define IDC_STATIC_DUPLEX               1029
#define IDC_STATIC_COLORMODE            1030
#define IDC_STATIC_REDUCEENLARGE        1031
#define IDC_STATIC_CUSTOM               1032
#define IDC_CHECK_ZOOM_FIT              1038
#define IDC_PICTURE_COLORMODE           1043
#define IDC_PICTURE_DUPLEX              1044
#define IDC_RADIO_DUPLEX_NONE           1045
#define IDC_INFO_PREVIEW_ADVANCED       1050
#define IDC_STATIC_PAPERSIZE            1052
#define IDC_STATIC_PAPERTYPE            1053
#define IDC_PICTURE_ADVANCED_LOGO       1055
#define IDC_RADIO_DUPLEX_SHORT          1056

// Finishing page controls
#define IDC_STATIC_PAPERSOURCE          1080
#define IDC_STATIC_TRAY                 1081
#define IDC_COMBO_TRAY                  1082
#define IDC_STATIC_OUTPUTBIN            1083
#define IDC_COMBO_OUTPUTBIN             1084
#define IDC_STATIC_FINISHING            1085
#define IDC_STATIC_STAPLE               1086
#define IDC_COMBO_STAPLE                1087
#define IDC_STATIC_PUNCH                1088
#define IDC_COMBO_PUNCH                 1089
#define IDC_STATIC_FOLD                 1090
#define IDC_COMBO_FOLD                  1091
#define IDC_STATIC_PINPRINT             1092
#define IDC_CHECK_PIN                   1093
#define IDC_STATIC_PIN                  1094
#define IDC_EDIT_PIN                    1095
#define IDC_STATIC_TICKET_NOTE          1096
#define IDC_BUTTON_FIN_DEFAULT          1097
#define IDC_TICKET_PREVIEW              1098

// Message dialog controls
#define IDC_MESSAGE_TEXT 1054
#define IDC_MESSAGE_ICON 232

// Sign-in dialog controls
#define IDC_SIGNIN_TEXT                 1100
#define IDC_SIGNIN_USER_LABEL           1101
#define IDC_SIGNIN_USER                 1102
#define IDC_SIGNIN_PASSWORD_LABEL       1103
#define IDC_SIGNIN_PASSWORD             1104
#define IDC_SIGNIN_REMEMBER             1105

// The sheet's status line and the print run's progress bar (created with the sheet)
#define IDC_SHEET_STATUS                1070
#define IDC_SHEET_PROGRESS              1071
#define IDC_SHEET_STATE                 1072
