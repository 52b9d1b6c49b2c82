#include "SettingsDialog.h"

#include <commctrl.h>
#include <oleauto.h>
#include <stdio.h>
#include <string.h>

#include "DateValue.h"
#include "DecimalText.h"
#include "LanguageResources.h"
#include "Platform.h"
#include "Settings.h"
#include "Utf8Text.h"
#include "WindowModule.h"

// The file-open dialog's library is loaded at the first browse, not at start: it brings the
// printing libraries with it, a third of the program's memory, for a dialog seldom opened.
static BOOL WINAPI OpenFileDialogOnDemand(LPOPENFILENAMEW request)
{
    static OpenFileNameFunction getOpenFileName = NULL;
    if (getOpenFileName == NULL) {
        HMODULE library = LoadLibraryW(L"comdlg32.dll");
        if (library != NULL)
            getOpenFileName = (OpenFileNameFunction)(void*)GetProcAddress(library, "GetOpenFileNameW");
        if (getOpenFileName == NULL)
            return FALSE;
    }
    return getOpenFileName(request);
}

OpenFileNameFunction ShowOpenFileDialog = OpenFileDialogOnDemand;

OPENFILENAMEW EventLogBrowse;
OPENFILENAMEW TrafficLogBrowse;
// The paths the dialogs start from and answer in.
static wchar_t EventLogFile[MAX_PATH];
static wchar_t TrafficLogFile[MAX_PATH];

// OFN_EXPLORER | OFN_CREATEPROMPT | OFN_PATHMUSTEXIST | OFN_EXTENSIONDIFFERENT
static const DWORD BrowseFlags =
    OFN_EXPLORER | OFN_CREATEPROMPT | OFN_PATHMUSTEXIST | OFN_EXTENSIONDIFFERENT;
static_assert(BrowseFlags == 0x82c00, "browse flags");

// The file type lists' texts, with '|' where the dialog wants a zero.
static const int FilterChars = 256;

// The highest value of each up-down; the edits themselves take any number.
static const int LimitRangeGB = 1000;
static const int PercentRange = 100;
// The day list's entries; the one byte of the percentage.
#define DAYS_IN_LIST 31
#define MAX_PERCENT 255

SettingsDialog::SettingsDialog() : resetRequested(0) {}

LRESULT SettingsDialog::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    HWND dayList = GetDlgItem(Window, IDC_SET_DAY);
    for (int day = 1; day <= DAYS_IN_LIST; day++) {
        wchar_t text[16];
        _snwprintf(text, sizeof(text) / sizeof(text[0]), L"%d", day);
        text[sizeof(text) / sizeof(text[0]) - 1] = 0;
        SendMessageW(dayList, CB_ADDSTRING, 0, (LPARAM)text);
    }

    SendDlgItemMessageW(Window, IDC_SET_LIMITIN_SPIN, UDM_SETRANGE, 0,
                        MAKELPARAM(LimitRangeGB, 0));
    SendDlgItemMessageW(Window, IDC_SET_LIMITOUT_SPIN, UDM_SETRANGE, 0,
                        MAKELPARAM(LimitRangeGB, 0));
    SendDlgItemMessageW(Window, IDC_SET_PERCENT_SPIN, UDM_SETRANGE, 0,
                        MAKELPARAM(PercentRange, 0));

    // Whole gigabytes in 64 bits: a limit past 2^32 GB comes back as it was stored.
    ShowLimit(IDC_SET_LIMITIN, Settings.LimitIN);
    ShowLimit(IDC_SET_LIMITOUT, Settings.LimitOUT);
    SetDlgItemInt(Window, IDC_SET_PERCENT, Settings.AlertPercent, FALSE);
    CheckDlgButton(Window, IDC_SET_LOOPBACK,
                   Settings.IgnoreLoopBack != 0 ? BST_CHECKED : BST_UNCHECKED);

    UpdateControls(Settings.ResetType, Settings.AlertType);
    TakeGroupTitles(Window, Titles, 3, Colours);
    if (Colours != nullptr)
        ShowColours(Window, *Colours);
    return 1;  // the dialog manager sets the default focus
}

void SettingsDialog::UpdateControls(int resetType, int alertType)
{
    UpdateResetGroup(resetType);
    UpdateAlertGroup(alertType);
    UpdateLogGroup();
}

void SettingsDialog::UpdateResetGroup(int resetType)
{
    static const int radios[4] = {IDC_SET_DAILY, IDC_SET_MONTHLY, IDC_SET_NEVER, IDC_SET_ONDATE};
    static const UINT labels[4] = {IDS_SET_DAILY_NOTE, IDS_SET_MONTHLY_NOTE, 0, IDS_SET_ONDATE_NOTE};
    // An unknown type (from a hand-edited INI file) leaves the group as the template has it.
    if (resetType < ResetDaily || resetType > ResetOnDate)
        return;

    // Checked one by one: CheckRadioButton's id range would also reach the picker (1006).
    for (int i = 0; i < 4; i++)
        CheckDlgButton(Window, radios[i], i == resetType ? BST_CHECKED : BST_UNCHECKED);

    ShowWindow(GetDlgItem(Window, IDC_SET_DATE), resetType == ResetOnDate ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(Window, IDC_SET_DAY), resetType == ResetMonthly ? SW_SHOW : SW_HIDE);
    EnableWindow(GetDlgItem(Window, IDC_SET_RESETLABEL), resetType != ResetNever);
    wchar_t label[FilterChars];
    LoadTextW(labels[resetType], label, FilterChars);
    SetDlgItemTextW(Window, IDC_SET_RESETLABEL, label);
    EnableWindow(GetDlgItem(Window, IDC_SET_NOW),
                 resetType == ResetMonthly || resetType == ResetOnDate);

    // The stored value is shown again, replacing what was picked earlier in this opening.
    if (resetType == ResetMonthly) {
        // No day stored yet: today's is offered, so OK can never store a reset that never comes.
        WORD day = Settings.ResetDate.wDay != 0 ? Settings.ResetDate.wDay : TodaysDay();
        SendDlgItemMessageW(Window, IDC_SET_DAY, CB_SETCURSEL, (WPARAM)((int)day - 1), 0);
        SetDlgItemInt(Window, IDC_SET_DAY, day, FALSE);
    } else if (resetType == ResetOnDate) {
        // A stored value that is no date (year 0) is refused; the picker keeps its date.
        SendDlgItemMessageW(Window, IDC_SET_DATE, DTM_SETSYSTEMTIME, GDT_VALID,
                            (LPARAM)&Settings.ResetDate);
    }
}

void SettingsDialog::UpdateAlertGroup(int alertType)
{
    static const int radios[3] = {IDC_SET_DISTINCT, IDC_SET_TOTAL, IDC_SET_NOALERT};
    static const int limitControls[6] = {IDC_SET_LIMITIN_LABEL, IDC_SET_LIMITOUT_LABEL,
                                         IDC_SET_PERCENT_LABEL, IDC_SET_LIMITIN,
                                         IDC_SET_LIMITOUT,      IDC_SET_PERCENT};
    if (alertType < AlertDistinct || alertType > AlertNone)
        return;
    for (int i = 0; i < 3; i++)
        CheckDlgButton(Window, radios[i], i == alertType ? BST_CHECKED : BST_UNCHECKED);
    // Disabled controls keep their values; OK reads them all the same.
    for (int i = 0; i < 6; i++)
        EnableWindow(GetDlgItem(Window, limitControls[i]), alertType != AlertNone);
}

void SettingsDialog::UpdateLogGroup()
{
    BOOL eventLog = Settings.EnableLog != 0;
    CheckDlgButton(Window, IDC_SET_ENABLELOG, eventLog ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(Window, IDC_SET_LOGPATH_LABEL), eventLog);
    EnableWindow(GetDlgItem(Window, IDC_SET_LOGPATH), eventLog);
    EnableWindow(GetDlgItem(Window, IDC_SET_LOGBROWSE), eventLog);
    SetDlgItemTextW(Window, IDC_SET_LOGPATH, WideText(Settings.EventLogPath));

    BOOL trafficLog = Settings.EnableTrafficLog != 0;
    CheckDlgButton(Window, IDC_SET_ENABLECSV, trafficLog ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(Window, IDC_SET_CSVPATH_LABEL), trafficLog);
    EnableWindow(GetDlgItem(Window, IDC_SET_CSVPATH), trafficLog);
    EnableWindow(GetDlgItem(Window, IDC_SET_CSVBROWSE), trafficLog);
    SetDlgItemTextW(Window, IDC_SET_CSVPATH, WideText(Settings.TrafficLogPath));
}

WORD SettingsDialog::TodaysDay()
{
    SYSTEMTIME today;
    Platform.ReadLocalTime(&today);
    return today.wDay;
}

void SettingsDialog::ShowLimit(int id, unsigned __int64 limit)
{
    char text[32];
    _snprintf(text, sizeof(text), "%I64u", limit / GIGABYTE);
    text[sizeof(text) - 1] = 0;
    SetDlgItemTextW(Window, id, WideText(text));
}

LRESULT SettingsDialog::OnResetRadio(WORD, WORD id, HWND, BOOL&)
{
    int type = ResetNever;
    switch (id) {
    case IDC_SET_DAILY:
        type = ResetDaily;
        break;
    case IDC_SET_MONTHLY:
        type = ResetMonthly;
        break;
    case IDC_SET_ONDATE:
        type = ResetOnDate;
        break;
    default:
        break;
    }
    UpdateControls(type, KeepAlertGroup);
    return 0;
}

LRESULT SettingsDialog::OnAlertRadio(WORD, WORD id, HWND, BOOL&)
{
    int type = id == IDC_SET_DISTINCT ? AlertDistinct
               : id == IDC_SET_TOTAL  ? AlertTotal
                                      : AlertNone;
    UpdateControls(KeepResetGroup, type);
    return 0;
}

LRESULT SettingsDialog::OnNow(WORD, WORD, HWND, BOOL&)
{
    SYSTEMTIME today;
    Platform.ReadLocalTime(&today);
    today.wHour = 0;
    today.wMinute = 0;
    today.wSecond = 0;
    today.wMilliseconds = 0;
    SendDlgItemMessageW(Window, IDC_SET_DATE, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&today);
    SendDlgItemMessageW(Window, IDC_SET_DAY, CB_SETCURSEL, (WPARAM)((int)today.wDay - 1), 0);
    SetDlgItemInt(Window, IDC_SET_DAY, today.wDay, FALSE);
    return 0;
}

LRESULT SettingsDialog::OnResetRequest(WORD, WORD, HWND, BOOL&)
{
    resetRequested = resetRequested == 0 ? 1 : 0;
    ShowWindow(GetDlgItem(Window, IDC_SET_RESETNOTE), resetRequested ? SW_SHOW : SW_HIDE);
    wchar_t text[FilterChars];
    LoadTextW(resetRequested ? IDS_SET_RESET_REQUESTED : IDS_SET_RESET, text, FilterChars);
    SetDlgItemTextW(Window, IDC_SET_RESETCOUNTERS, text);
    return 0;
}

LRESULT SettingsDialog::OnLogSwitch(WORD, WORD id, HWND, BOOL&)
{
    // The switches take effect at once, so the poll cycle logs (or stops) while we are open.
    int& enabled = id == IDC_SET_ENABLELOG ? Settings.EnableLog : Settings.EnableTrafficLog;
    enabled = enabled == 0 ? 1 : 0;
    UpdateControls(KeepResetGroup, KeepAlertGroup);
    return 0;
}

LRESULT SettingsDialog::OnBrowse(WORD, WORD id, HWND, BOOL&)
{
    bool eventLog = id == IDC_SET_LOGBROWSE;
    OPENFILENAMEW& request = eventLog ? EventLogBrowse : TrafficLogBrowse;
    // Only these members are set; the rest keep what the last browse left in them.
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    request.hwndOwner = Window;
    request.hInstance = WindowModule.Instance;
    wchar_t filter[FilterChars];
    LoadTextW(eventLog ? IDS_SET_LOG_FILTER : IDS_SET_CSV_FILTER, filter, FilterChars - 1);
    for (wchar_t* c = filter; *c != 0; c++)
        *c = *c == L'|' ? 0 : *c;
    request.lpstrFilter = filter;
    // The dialog starts from the path in Settings, and the chosen one goes straight there.
    char* path = eventLog ? Settings.EventLogPath : Settings.TrafficLogPath;
    request.lpstrFile = eventLog ? EventLogFile : TrafficLogFile;
    request.nMaxFile = MAX_PATH;
    Utf8ToWide(path, request.lpstrFile, MAX_PATH);
    request.Flags = BrowseFlags;
    request.lpstrDefExt = eventLog ? L"LOG" : L"CSV";
    if (ShowOpenFileDialog(&request)) {
        request.lpstrFile[MAX_PATH - 1] = 0;
        WideToUtf8(request.lpstrFile, path, PATH_CHARS);
        SetDlgItemTextW(Window, eventLog ? IDC_SET_LOGPATH : IDC_SET_CSVPATH, request.lpstrFile);
    }
    return 0;
}

unsigned __int64 SettingsDialog::ReadNumber(int id, unsigned __int64 largest)
{
    wchar_t wide[64];
    wide[0] = 0;
    GetDlgItemTextW(Window, id, wide, sizeof(wide) / sizeof(wide[0]));
    char text[64];
    WideToUtf8(wide, text, sizeof(text));
    unsigned __int64 value;
    size_t digits;
    ReadDecimal(text, sizeof(text), largest, &value, &digits);
    return value;
}

LRESULT SettingsDialog::OnOK(WORD, WORD, HWND, BOOL&)
{
    SYSTEMTIME& date = Settings.ResetDate;
    if (IsDlgButtonChecked(Window, IDC_SET_NEVER) == BST_CHECKED) {
        Settings.ResetType = ResetNever;
        memset(&date, 0, sizeof(date));
    } else if (IsDlgButtonChecked(Window, IDC_SET_ONDATE) == BST_CHECKED) {
        Settings.ResetType = ResetOnDate;
        SendDlgItemMessageW(Window, IDC_SET_DATE, DTM_GETSYSTEMTIME, 0, (LPARAM)&date);
        date.wHour = 0;
        date.wMinute = 0;
        date.wSecond = 0;
        date.wMilliseconds = 0;
    } else if (IsDlgButtonChecked(Window, IDC_SET_MONTHLY) == BST_CHECKED) {
        Settings.ResetType = ResetMonthly;
        // Only the day counts; a year of 0 also tells the INI file to store the bare day.
        date.wDay = (WORD)ReadNumber(IDC_SET_DAY, DAYS_IN_LIST);
        if (date.wDay == 0)
            date.wDay = TodaysDay();
        date.wHour = 0;
        date.wMinute = 0;
        date.wSecond = 0;
        date.wMilliseconds = 0;
        date.wYear = 0;
    } else if (IsDlgButtonChecked(Window, IDC_SET_DAILY) == BST_CHECKED) {
        Settings.ResetType = ResetDaily;
    }

    if (IsDlgButtonChecked(Window, IDC_SET_DISTINCT) == BST_CHECKED)
        Settings.AlertType = AlertDistinct;
    else if (IsDlgButtonChecked(Window, IDC_SET_TOTAL) == BST_CHECKED)
        Settings.AlertType = AlertTotal;
    else if (IsDlgButtonChecked(Window, IDC_SET_NOALERT) == BST_CHECKED)
        Settings.AlertType = AlertNone;

    // Read whatever the alert type: disabled limits keep their values.
    Settings.LimitIN = ReadNumber(IDC_SET_LIMITIN, MAX_LIMIT_GB) * GIGABYTE;
    Settings.LimitOUT = ReadNumber(IDC_SET_LIMITOUT, MAX_LIMIT_GB) * GIGABYTE;
    Settings.AlertPercent = (BYTE)ReadNumber(IDC_SET_PERCENT, MAX_PERCENT);
    Settings.IgnoreLoopBack = IsDlgButtonChecked(Window, IDC_SET_LOOPBACK) == BST_CHECKED ? 1 : 0;

    EndDialog(Window, IDOK);
    return 0;
}

LRESULT SettingsDialog::OnCancel(WORD, WORD, HWND, BOOL&)
{
    // Log switches and browsed paths changed during this opening stay changed.
    EndDialog(Window, IDCANCEL);
    return 0;
}

int RunSettingsDialog(SettingsRequest* request, const ControlColours* colours)
{
    request->ResetRequested = 0;
    request->ResetDate = 0;
    request->SaveFailed = 0;
    SettingsDialog dialog;
    dialog.Colours = colours;
    if (dialog.RunModal(GetActiveWindow(), IDD_SETTINGS) != IDOK)
        return 0;

    if (dialog.resetRequested) {
        // One moment for every adapter, taken after the dialog has closed.
        SYSTEMTIME now;
        Platform.ReadLocalTime(&now);
        TimeToDate(&now, &request->ResetDate);
        request->ResetRequested = 1;
    }

    // Saved now rather than only at shutdown, so a crash does not lose the new settings. A
    // failure is the caller's to report, as every failed save is; the settings stay in memory.
    request->SaveFailed = !SaveSettings(Settings, &request->SaveError);
    return 1;
}
