// Every resource id of Brisvane: resources, commands and dialog controls.
#ifndef BRISVANE_RESOURCE_H
#define BRISVANE_RESOURCE_H

// Icons, cursor, bitmap, tool bar, menu
#define IDI_PROGRAM             101
#define IDI_ALERT               102
// The same two for a dark taskbar, edged light so that they stand out from it
#define IDI_PROGRAM_DARK        121
#define IDI_ALERT_DARK          122
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

// Texts of the string tables (res/lang/*.rc), one id each in every language. A template's
// numbered parts (%1..%9) are the same in every language.
// Main window, tray and the lead's files
#define IDS_TIMER_FAILED             6000
#define IDS_TRAY_NOTICE_TITLE        6001
#define IDS_TRAY_NOTICE_TEXT         6002
#define IDS_WARNING_TITLE            6003
#define IDS_ALERT_BALLOON_TITLE      6004
#define IDS_TRAY_TIP                 6005
#define IDS_SAVE_FAILED_TITLE        6006
#define IDS_LOG_FAILED_TITLE         6007
#define IDS_FILE_NOT_WRITTEN         6008
#define IDS_CLOSE_QUESTION           6009
#define IDS_SYSMENU_SETTINGS         6010
#define IDS_SYSMENU_ABOUT            6011
#define IDS_TIP_SETTINGS             6012
#define IDS_TIP_HISTORY              6013
#define IDS_TIP_ABOUT                6014
// Adapter page, alerts
#define IDS_STATUS_NOT_CONNECTED     6016
#define IDS_STATUS_DISABLED          6017
#define IDS_STATUS_WAN_UNREACHABLE   6018
#define IDS_STATUS_DISCONNECTED      6019
#define IDS_STATUS_CONNECTING        6020
#define IDS_STATUS_WAN_CONNECTED     6021
#define IDS_STATUS_CONNECTED         6022
#define IDS_TRAFFIC_SUMMARY          6023
#define IDS_ALERT_IN_PASSED          6024
#define IDS_ALERT_OUT_PASSED         6025
#define IDS_ALERT_SUM_PASSED         6026
#define IDS_ALERT_NOTICE_LIMIT       6027
#define IDS_NAME_IN                  6028
#define IDS_NAME_OUT                 6029
#define IDS_NAME_SUM                 6030
// Speed window
#define IDS_SPEED_DOWN_UP            6032
#define IDS_SPEED_DOWN               6033
#define IDS_SPEED_UP                 6034
// Settings dialog
#define IDS_SET_DAILY_NOTE           6048
#define IDS_SET_MONTHLY_NOTE         6049
#define IDS_SET_ONDATE_NOTE          6050
#define IDS_SET_RESET_REQUESTED      6051
#define IDS_SET_RESET                6052
#define IDS_SET_LOG_FILTER           6053
#define IDS_SET_CSV_FILTER           6054
// History window and chart
#define IDS_HIST_ALL_ADAPTERS        6064
#define IDS_HIST_COL_TOTAL           6065
#define IDS_HIST_WRITE_FAILED        6066
#define IDS_HIST_READ_FAILED         6067
#define IDS_HIST_UNREADABLE          6068
#define IDS_HIST_SKIPPED_ONE         6069
#define IDS_HIST_SKIPPED_MANY        6070
#define IDS_HIST_KEPT_AS             6071
#define IDS_HIST_EMPTY               6072
#define IDS_CHART_MAX                6073
#define IDS_PERIOD_RANGE             6074
#define IDS_PERIOD_BILLING           6075
#define IDS_PERIOD_MONTH             6076
#define IDS_PERIOD_YEAR              6077
#define IDS_PERIOD_DAY               6078
// Forecast
#define IDS_FORECAST_SO_FAR          6080
#define IDS_FORECAST_SO_FAR_NAMED    6081
#define IDS_FORECAST_LIMIT_REACHED   6082
#define IDS_FORECAST_LIMIT_LEFT      6083
#define IDS_FORECAST_TIP             6084
#define IDS_FORECAST_WARNING         6085
#define IDS_SHORT_DATE               6086
// Short month names, January first
#define IDS_MONTH_FIRST              6096
// About box
#define IDS_ABOUT_DATA               6112
#define IDS_LINK_FAILED              6113
// Report
#define IDS_REPORT_USAGE             6128
#define IDS_REPORT_DAYS_NEEDS        6129
#define IDS_REPORT_MONTHS_NEEDS      6130
#define IDS_REPORT_ADAPTER_NEEDS     6131
#define IDS_REPORT_UNKNOWN_ARGUMENT  6132
#define IDS_REPORT_NO_CLOCK          6133
#define IDS_REPORT_NO_MATCH          6134
#define IDS_REPORT_TITLE             6135
#define IDS_REPORT_NOTHING_COUNTED   6136
#define IDS_REPORT_NO_MEMORY         6137
#define IDS_REPORT_NOTHING_SAVED     6138
#define IDS_REPORT_CANNOT_READ       6139
#define IDS_REPORT_NO_MEMORY_FOR     6140
#define IDS_REPORT_BAD_COMMAND_LINE  6141
#define IDS_REPORT_PATH_TOO_LONG     6142
#define IDS_REPORT_TODAY             6144
#define IDS_REPORT_THIS_PERIOD       6145
#define IDS_REPORT_AT_THIS_PACE      6146
#define IDS_REPORT_LIMIT             6147
#define IDS_REPORT_THIS_MONTH        6148
#define IDS_REPORT_THIS_YEAR         6149
#define IDS_REPORT_SINCE_RESET       6150
#define IDS_REPORT_BY                6151
#define IDS_REPORT_SINCE             6152
#define IDS_REPORT_LIMIT_REACHED     6153
#define IDS_REPORT_LIMIT_LEFT        6154
#define IDS_REPORT_LIMIT_LEFT_PASSES 6155
#define IDS_REPORT_ALERT             6156
#define IDS_REPORT_LAST_DAYS         6157
#define IDS_REPORT_LAST_MONTHS       6158
#define IDS_REPORT_TOTAL             6159
#define IDS_REPORT_FOREIGN_HISTORY   6160
#define IDS_REPORT_UNREADABLE_LINE   6161
#define IDS_REPORT_UNREADABLE_LINES  6162
// The first and last string id, for the tests that walk them all.
#define IDS_FIRST                    6000
#define IDS_LAST                     6162

#endif
