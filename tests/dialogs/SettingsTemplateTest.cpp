// Dialog template 105, the settings, control by control. Template order is what forms the
// radio groups: the reset group runs from "Never" to the label 1021, the alert radio buttons
// share the group that the label 1037 starts.
#include "DialogTemplate.h"

#include <commctrl.h>

#include "resource.h"

TEST(SettingsTemplate, ControlsInTabOrder)
{
    const DWORD frame = WS_VISIBLE | BS_GROUPBOX;
    const DWORD radio = WS_VISIBLE | BS_AUTORADIOBUTTON;
    const DWORD check = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
    const DWORD push = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    const DWORD label = WS_VISIBLE | WS_GROUP | SS_LEFT;  // each label ends the group before it
    const DWORD number = WS_VISIBLE | WS_TABSTOP | ES_NUMBER;
    const DWORD path = WS_VISIBLE | WS_TABSTOP | ES_READONLY;  // changed through "..." only
    const DWORD spin = WS_VISIBLE | UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ARROWKEYS;
    const DWORD picker = WS_VISIBLE | WS_TABSTOP | DTS_SHORTDATEFORMAT | DTS_APPCANPARSE;
    const DWORD dialog = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    ExpectDialogTemplate(IDD_SETTINGS, dialog, "Settings", {
        {-1, "Button", frame, "The reset point is:"},
        {IDC_SET_NEVER, "Button", radio | WS_GROUP | WS_TABSTOP, "Ne&ver"},
        {IDC_SET_DAILY, "Button", radio, "&Daily"},
        {IDC_SET_MONTHLY, "Button", radio, "&Monthly"},
        {IDC_SET_ONDATE, "Button", radio, "&On ..."},
        {IDC_SET_RESETLABEL, "Static", label, "The reset point is:"},
        {IDC_SET_DATE, "SysDateTimePick32", picker, ""},
        {IDC_SET_DAY, "ComboBox", WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, ""},
        {IDC_SET_NOW, "Button", push, "&Now"},
        {IDC_SET_RESETNOTE, "Static", label & ~WS_VISIBLE,
         "The counters will be reset when OK button will be pressed"},
        {IDC_SET_RESETCOUNTERS, "Button", push, "&Reset counters"},
        {-1, "Button", frame, "Limit"},
        {IDC_SET_LIMITIN_LABEL, "Static", label, "IN (do&wnload) [GB]"},
        {IDC_SET_LIMITIN, "Edit", number, ""},
        {IDC_SET_LIMITIN_SPIN, "msctls_updown32", spin | UDS_NOTHOUSANDS, ""},
        {IDC_SET_LIMITOUT_LABEL, "Static", label, "OUT (&upload) [GB]"},
        {IDC_SET_LIMITOUT, "Edit", number, ""},
        {IDC_SET_LIMITOUT_SPIN, "msctls_updown32", spin | UDS_NOTHOUSANDS, ""},
        {IDC_SET_PERCENT_LABEL, "Static", label, "&Alert before [%]"},
        {IDC_SET_PERCENT, "Edit", number, ""},
        {IDC_SET_PERCENT_SPIN, "msctls_updown32", spin, ""},
        {IDC_SET_DISTINCT, "Button", radio | WS_TABSTOP, "Di&stinct limit IN, OUT"},
        {IDC_SET_TOTAL, "Button", radio, "&Total limit"},
        {IDC_SET_NOALERT, "Button", radio, "No a&lert"},
        {-1, "Button", frame, "Log files"},
        {IDC_SET_ENABLELOG, "Button", check, "Enable event logging"},
        {IDC_SET_LOGPATH_LABEL, "Static", label, "Event log Pathname:"},
        {IDC_SET_LOGPATH, "Edit", path, ""},
        {IDC_SET_LOGBROWSE, "Button", push, "..."},
        {IDC_SET_ENABLECSV, "Button", check, "Enable traffic logging"},
        {IDC_SET_CSVPATH_LABEL, "Static", label, "Tra&ffic log Pathname:"},
        {IDC_SET_CSVPATH, "Edit", path, ""},
        {IDC_SET_CSVBROWSE, "Button", push, "..."},
        {IDC_SET_LOOPBACK, "Button", check, "I&gnore TCP Loopback 127.0.0.1"},
        {IDOK, "Button", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, "OK"},
        {IDCANCEL, "Button", push, "Cancel"},
    });
}
