// Every resource id of Brisvane: resources, commands and dialog controls.
#ifndef BRISVANE_RESOURCE_H
#define BRISVANE_RESOURCE_H

// Icons, cursor, bitmap, tool bar, menu
#define IDI_PROGRAM             101
#define IDI_ALERT               102
#define IDC_HANDCURSOR          102
#define IDB_TOOLBAR             103
// The tool bar's buttons in full colour, one strip of square images per size (16, 24, 32 px)
#define IDB_TOOLBAR16           111
#define IDB_TOOLBAR24           112
#define IDB_TOOLBAR32           113
#define IDR_TOOLBAR             103
#define IDR_TRAYMENU            106
#define IDR_ACCELERATORS        107
#define IDR_TABMENU             108

// Dialog templates
#define IDD_ABOUT               103
#define IDD_SETTINGS            105
#define IDD_PAGE                134
#define IDD_HISTORY             140
#define IDD_ADAPTERS            141

// Commands
#define ID_APP_ABOUT            40001
#define ID_APP_SETTINGS         40002
#define ID_TRAY_SHOWHIDE        40003
#define ID_TRAY_CLOSE           40004
#define ID_TRAY_STARTWITHWINDOWS 40005
#define ID_APP_HISTORY          40006
#define ID_TRAY_FORECASTWARN    40007
#define ID_TRAY_ADAPTERS        40012
// The tab's context menu.
#define ID_TAB_HIDE             40201
#define ID_TAB_COUNTINALL       40202
// The speed views' choices in the tray menu.
#define ID_SPEED_TRAY_PROGRAM   40101
#define ID_SPEED_TRAY_SPEED     40102
#define ID_SPEED_TRAY_GRAPH     40103
#define ID_SPEED_ADAPTER_SHOWN  40104
#define ID_SPEED_ADAPTER_ALL    40105
#define ID_SPEED_BYTES          40106
#define ID_SPEED_BITS           40107
#define ID_SPEED_WINDOW         40108
#define ID_SPEED_CLICKTHROUGH   40109
#define ID_SPEED_OPACITY_100    40110
#define ID_SPEED_OPACITY_80     40111
#define ID_SPEED_OPACITY_60     40112
#define ID_SPEED_PHYSICAL_ONLY  40113
#define ID_NEXT_TAB             40010
#define ID_PREVIOUS_TAB         40011

// Items the main window adds to its system menu: below 0xF000, the low four bits left to the
// system
#define IDM_SYS_SETTINGS        0x0010
#define IDM_SYS_ABOUT           0x0020

// Main window children
#define IDC_TABCONTROL          1
#define IDC_TOOLBAR             2

// Adapter page (dialog 134)
#define IDC_PAGE_DESCR          1000
#define IDC_PAGE_MAC            1001
#define IDC_PAGE_SPEED          1002
#define IDC_PAGE_SINCE          1006
#define IDC_PAGE_CURRENT_IN     1008
#define IDC_PAGE_PEAK_IN        1009
#define IDC_PAGE_AVERAGE_IN     1010
#define IDC_PAGE_TOTAL_IN       1011
#define IDC_PAGE_CURRENT_OUT    1012
#define IDC_PAGE_PEAK_OUT       1013
#define IDC_PAGE_AVERAGE_OUT    1014
#define IDC_PAGE_TOTAL_OUT      1015
#define IDC_PAGE_TOTAL_ALL      1016
#define IDC_PAGE_STATUS         1017
#define IDC_PAGE_DURATION       1018
#define IDC_PAGE_ALERT          1038

// Settings dialog (dialog 105)
#define IDC_SET_DAILY           1003
#define IDC_SET_MONTHLY         1004
#define IDC_SET_ONDATE          1005
#define IDC_SET_DATE            1006
#define IDC_SET_NEVER           1008
#define IDC_SET_NOW             1016
#define IDC_SET_RESETLABEL      1021
#define IDC_SET_LIMITIN         1022
#define IDC_SET_LIMITIN_SPIN    1023
#define IDC_SET_PERCENT         1024
#define IDC_SET_PERCENT_SPIN    1025
#define IDC_SET_LIMITOUT        1026
#define IDC_SET_LIMITOUT_SPIN   1027
#define IDC_SET_DISTINCT        1031
#define IDC_SET_TOTAL           1032
#define IDC_SET_NOALERT         1033
#define IDC_SET_LIMITIN_LABEL   1034
#define IDC_SET_LIMITOUT_LABEL  1035
#define IDC_SET_PERCENT_LABEL   1037
#define IDC_SET_RESETCOUNTERS   1039
#define IDC_SET_ENABLELOG       1040
#define IDC_SET_LOGPATH         1041
#define IDC_SET_LOGBROWSE       1042
#define IDC_SET_LOGPATH_LABEL   1043
#define IDC_SET_RESETNOTE       1044
#define IDC_SET_LOOPBACK        1045
#define IDC_SET_CSVPATH_LABEL   1046
#define IDC_SET_CSVPATH         1047
#define IDC_SET_CSVBROWSE       1048
#define IDC_SET_ENABLECSV       1049
#define IDC_SET_DAY             1050

// History window (dialog 140)
#define IDC_HIST_ADAPTER_LABEL  1100
#define IDC_HIST_ADAPTER        1101
#define IDC_HIST_DAYS           1102
#define IDC_HIST_MONTHS         1103
#define IDC_HIST_YEARS          1104
#define IDC_HIST_LIST           1105
#define IDC_HIST_CHART          1106
#define IDC_HIST_STATUS         1107
#define IDC_HIST_PHYSICAL       1108

// Adapters dialog (dialog 141)
#define IDC_ADAPTERS_LIST       1120

// About dialog (dialog 103)
#define IDC_ABOUT_ICON          2
#define IDC_ABOUT_VERSION       1047
#define IDC_ABOUT_MAIL          1015
#define IDC_ABOUT_WEB           214
#define IDC_ABOUT_DATA          1051

#endif
