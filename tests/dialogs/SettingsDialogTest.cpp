// The settings dialog with its real template under the dialog manager: what each control shows
// for the stored settings, what OK stores, the reset request, browsing and the save after OK.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <oleauto.h>
#include <string.h>

#include <string>
#include <vector>

#include "InterfaceMonitor.h"
#include "LogChannel.h"
#include "MainWindow.h"
#include "TrafficMeter.h"
#include "ModalDriver.h"
#include "monitor/MonitorTestSupport.h"
#include "Settings.h"
#include "SettingsDialog.h"
#include "Utf8Text.h"
#include "WindowModule.h"
#include "resource.h"
#include "SettingsTestSupport.h"

namespace {

void RunSettingsCommand()
{
    SettingsRequest request;
    RunSettingsDialog(&request);
    EXPECT_EQ(0, request.ResetRequested);
}

// Saturday, 14 March 2026, 15:26:53.589
const SYSTEMTIME FakeNow = {2026, 3, 6, 14, 15, 26, 53, 589};

// Tuesday, 15 June 2027, 13:45:10.500: a full date with a time of day.
const SYSTEMTIME StoredDate = {2027, 6, 2, 15, 13, 45, 10, 500};

// What the browse seam saw and what it answers.
struct BrowseCall {
    OPENFILENAMEW Request;
    std::vector<char> Filter;  // the whole double-NUL-terminated list, in UTF-8
    std::string DefaultExtension;
    std::string File;  // the path the dialog starts from, in UTF-8
    DWORD FilterIndexSeen;
};

std::string Utf8Of(const wchar_t* text)
{
    char utf8[PATH_CHARS];
    WideToUtf8(text, utf8, sizeof(utf8));
    return utf8;
}
std::vector<BrowseCall> BrowseCalls;
const char* BrowseAnswer = NULL;  // null: the user cancels
DWORD BrowseFilterChoice = 0;

BOOL WINAPI FakeOpenFileDialog(LPOPENFILENAMEW request)
{
    BrowseCall call;
    call.Request = *request;
    call.FilterIndexSeen = request->nFilterIndex;
    if (request->lpstrFilter != NULL) {
        for (const wchar_t* part = request->lpstrFilter; *part != 0; part += wcslen(part) + 1) {
            std::string text = Utf8Of(part);
            call.Filter.insert(call.Filter.end(), text.begin(), text.end());
            call.Filter.push_back(0);
        }
        call.Filter.push_back(0);
    }
    if (request->lpstrDefExt != NULL)
        call.DefaultExtension = Utf8Of(request->lpstrDefExt);
    if (request->lpstrFile != NULL)
        call.File = Utf8Of(request->lpstrFile);
    BrowseCalls.push_back(call);
    if (BrowseAnswer == NULL)
        return FALSE;
    Utf8ToWide(BrowseAnswer, request->lpstrFile, request->nMaxFile);
    if (BrowseFilterChoice != 0)
        request->nFilterIndex = BrowseFilterChoice;
    return TRUE;
}

bool SameTime(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay &&
           a.wHour == b.wHour && a.wMinute == b.wMinute && a.wSecond == b.wSecond &&
           a.wMilliseconds == b.wMilliseconds;
}

// A modeless opening of dialog 105. It stays hidden: hiding a shown top-level window again
// costs Wine seconds without a window manager, so visibility is read from each control's own
// WS_VISIBLE, which is what the dialog switches.
struct OpenDialog {
    SettingsDialog object;
    HWND window;

    OpenDialog() : window(object.CreateModeless(NULL, IDD_SETTINGS)) {}
    ~OpenDialog()
    {
        if (window != NULL && IsWindow(window))
            DestroyWindow(window);
    }
    HWND Item(int id) const { return GetDlgItem(window, id); }
    void Click(int id) const { SendMessageA(Item(id), BM_CLICK, 0, 0); }
    void Type(int id, const char* text) const { SetWindowTextA(Item(id), text); }
    bool Checked(int id) const { return IsDlgButtonChecked(window, id) == BST_CHECKED; }
    bool Visible(int id) const
    {
        return (GetWindowLongA(Item(id), GWL_STYLE) & WS_VISIBLE) != 0;
    }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    std::string Text(int id) const { return WindowText(Item(id)); }
    int DaySelection() const { return (int)SendMessageA(Item(IDC_SET_DAY), CB_GETCURSEL, 0, 0); }
    void SelectDay(int day) const
    {
        SendMessageA(Item(IDC_SET_DAY), CB_SETCURSEL, (WPARAM)(day - 1), 0);
    }
    SYSTEMTIME PickerDate() const
    {
        SYSTEMTIME date = {};
        SendMessageA(Item(IDC_SET_DATE), DTM_GETSYSTEMTIME, 0, (LPARAM)&date);
        return date;
    }
    void SetPickerDate(WORD year, WORD month, WORD day) const
    {
        SYSTEMTIME date = {year, month, 0, day, 0, 0, 0, 0};
        SendMessageA(Item(IDC_SET_DATE), DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&date);
    }
};

const int ResetRadios[4] = {IDC_SET_DAILY, IDC_SET_MONTHLY, IDC_SET_NEVER, IDC_SET_ONDATE};
const int AlertRadios[3] = {IDC_SET_DISTINCT, IDC_SET_TOTAL, IDC_SET_NOALERT};
const int LimitControls[6] = {IDC_SET_LIMITIN_LABEL, IDC_SET_LIMITOUT_LABEL,
                              IDC_SET_PERCENT_LABEL, IDC_SET_LIMITIN,
                              IDC_SET_LIMITOUT,      IDC_SET_PERCENT};

void ExpectResetGroup(const OpenDialog& dialog, int type)
{
    static const char* const labels[4] = {"Reset will be done every day at midnight",
                                          "Set the DAY of reset:", "",
                                          "Set the DAY, MONTH and YEAR of reset:"};
    SCOPED_TRACE("reset type " + std::to_string(type));
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(i == type, dialog.Checked(ResetRadios[i])) << "radio " << ResetRadios[i];
    EXPECT_EQ(type == ResetOnDate, dialog.Visible(IDC_SET_DATE));
    EXPECT_EQ(type == ResetMonthly, dialog.Visible(IDC_SET_DAY));
    EXPECT_EQ(type != ResetNever, dialog.Enabled(IDC_SET_RESETLABEL));
    EXPECT_EQ(labels[type], dialog.Text(IDC_SET_RESETLABEL));
    EXPECT_EQ(type == ResetMonthly || type == ResetOnDate, dialog.Enabled(IDC_SET_NOW));
}

class SettingsDialogTest : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        fake.Now = FakeNow;
        fake.AddAdapter(77, 0x5E, "10.0.0.1");
        savedOpenFile = ShowOpenFileDialog;
        ShowOpenFileDialog = FakeOpenFileDialog;
        BrowseCalls.clear();
        BrowseAnswer = NULL;
        BrowseFilterChoice = 0;
    }
    void TearDown() override
    {
        ShowOpenFileDialog = savedOpenFile;
        CoreTest::TearDown();
    }

    OpenFileNameFunction savedOpenFile;
};

// A meter that has met count adapters (the fixture's and others), quietly: the event log
// stays empty.
struct MeterOfAdapters {
    MeterEvents quiet;
    TrafficMeter meter;
    std::vector<InterfaceMonitor*> monitors;

    MeterOfAdapters(FakePlatform& fake, int count) : meter(Settings, quiet)
    {
        for (int i = 1; i < count; i++)
            fake.AddAdapter(77 + i, (BYTE)(0x5E + i), "10.0.0.1");
        int enableLog = Settings.EnableLog;
        Settings.EnableLog = 0;
        if (count > 0)
            meter.PollCycle(fake.Now, fake.Tick);
        Settings.EnableLog = enableLog;
        for (int i = 0; i < meter.Count(); i++)
            monitors.push_back(meter.At(i));
    }
};

// Command 40002 as the tool bar runs it: the dialog, then a requested reset of every adapter.
void RunSettingsCommand(TrafficMeter& meter)
{
    SettingsRequest request;
    if (RunSettingsDialog(&request) && request.ResetRequested)
        meter.ResetAll(request.ResetDate);
}

MIB_IFROW Row(DWORD in, DWORD out)
{
    MIB_IFROW row = {};
    row.dwIndex = 77;
    row.dwPhysAddrLen = 6;
    const BYTE mac[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    memcpy(row.bPhysAddr, mac, sizeof(mac));
    row.dwInOctets = in;
    row.dwOutOctets = out;
    row.dwSpeed = 100000000;
    row.dwOperStatus = IF_OPER_STATUS_OPERATIONAL;
    return row;
}

}  // namespace

TEST_F(SettingsDialogTest, EachResetTypeShowsItsControlsWhenOpenedAndWhenClicked)
{
    for (int type = 0; type < 4; type++) {
        Settings.ResetType = type;
        Settings.ResetDate = StoredDate;
        OpenDialog dialog;
        ASSERT_NE((HWND)NULL, dialog.window);
        ExpectResetGroup(dialog, type);
        if (type == ResetMonthly) {
            EXPECT_EQ(14, dialog.DaySelection());
            EXPECT_EQ("15", dialog.Text(IDC_SET_DAY));
        }
        if (type == ResetOnDate) {
            SYSTEMTIME shown = dialog.PickerDate();
            EXPECT_EQ(2027, shown.wYear);
            EXPECT_EQ(6, shown.wMonth);
            EXPECT_EQ(15, shown.wDay);
        }
        EXPECT_FALSE(dialog.Visible(IDC_SET_RESETNOTE));
    }

    Settings.ResetType = ResetNever;
    Settings.ResetDate = StoredDate;
    OpenDialog dialog;
    ASSERT_NE((HWND)NULL, dialog.window);
    ExpectResetGroup(dialog, ResetNever);
    const int order[5] = {ResetDaily, ResetOnDate, ResetMonthly, ResetNever, ResetOnDate};
    for (int type : order) {
        dialog.Click(ResetRadios[type]);
        ExpectResetGroup(dialog, type);
    }
    // Radio clicks change nothing in Settings before OK.
    EXPECT_EQ(ResetNever, Settings.ResetType);
}

TEST_F(SettingsDialogTest, StoredDayAndDateComeBackWhenTheirRadioIsClickedAgain)
{
    Settings.ResetType = ResetMonthly;
    Settings.ResetDate = {0, 0, 0, 20, 0, 0, 0, 0};
    OpenDialog dialog;
    ASSERT_NE((HWND)NULL, dialog.window);
    EXPECT_EQ(19, dialog.DaySelection());
    dialog.SelectDay(5);
    EXPECT_EQ(4, dialog.DaySelection());
    dialog.Click(IDC_SET_MONTHLY);
    EXPECT_EQ(19, dialog.DaySelection());
    EXPECT_EQ("20", dialog.Text(IDC_SET_DAY));

    // A stored day is no date: the picker keeps what it showed.
    dialog.SetPickerDate(2028, 1, 2);
    dialog.Click(IDC_SET_ONDATE);
    SYSTEMTIME kept = dialog.PickerDate();
    EXPECT_EQ(2028, kept.wYear);
    EXPECT_EQ(1, kept.wMonth);
    EXPECT_EQ(2, kept.wDay);

    // A stored date replaces a date picked in the same opening.
    Settings.ResetDate = StoredDate;
    dialog.SetPickerDate(2028, 1, 2);
    dialog.Click(IDC_SET_ONDATE);
    SYSTEMTIME stored = dialog.PickerDate();
    EXPECT_EQ(2027, stored.wYear);
    EXPECT_EQ(6, stored.wMonth);
    EXPECT_EQ(15, stored.wDay);

    // No stored day: today's is offered, so that OK cannot store a reset that never comes.
    Settings.ResetDate = {};
    dialog.Click(IDC_SET_MONTHLY);
    EXPECT_EQ(13, dialog.DaySelection());
    EXPECT_EQ("14", dialog.Text(IDC_SET_DAY));
    // Nor can a list with nothing selected: OK takes today's day.
    SendMessageA(dialog.Item(IDC_SET_DAY), CB_SETCURSEL, (WPARAM)-1, 0);
    dialog.Click(IDOK);
    EXPECT_EQ(ResetMonthly, Settings.ResetType);
    EXPECT_EQ(14, Settings.ResetDate.wDay);
}

TEST_F(SettingsDialogTest, NowFillsPickerAndDayListButKeepsTheCheckedType)
{
    Settings.ResetType = ResetOnDate;
    Settings.ResetDate = StoredDate;
    OpenDialog dialog;
    ASSERT_NE((HWND)NULL, dialog.window);
    ASSERT_TRUE(dialog.Enabled(IDC_SET_NOW));
    dialog.Click(IDC_SET_NOW);
    SYSTEMTIME today = dialog.PickerDate();
    EXPECT_EQ(2026, today.wYear);
    EXPECT_EQ(3, today.wMonth);
    EXPECT_EQ(14, today.wDay);
    EXPECT_EQ(0, today.wHour);
    EXPECT_EQ(0, today.wMinute);
    EXPECT_EQ(0, today.wSecond);
    EXPECT_EQ(13, dialog.DaySelection());
    EXPECT_EQ("14", dialog.Text(IDC_SET_DAY));
    ExpectResetGroup(dialog, ResetOnDate);
    EXPECT_EQ(ResetOnDate, Settings.ResetType);
    EXPECT_TRUE(SameTime(StoredDate, Settings.ResetDate));

    // OK then stores today, at midnight.
    dialog.Click(IDOK);
    EXPECT_EQ(ResetOnDate, Settings.ResetType);
    EXPECT_EQ(2026, Settings.ResetDate.wYear);
    EXPECT_EQ(3, Settings.ResetDate.wMonth);
    EXPECT_EQ(14, Settings.ResetDate.wDay);
    EXPECT_EQ(0, Settings.ResetDate.wHour);
    EXPECT_EQ(0, Settings.ResetDate.wMilliseconds);

    Settings.ResetType = ResetMonthly;
    Settings.ResetDate = {0, 0, 0, 3, 0, 0, 0, 0};
    OpenDialog monthly;
    ASSERT_NE((HWND)NULL, monthly.window);
    monthly.Click(IDC_SET_NOW);
    EXPECT_EQ(13, monthly.DaySelection());
    ExpectResetGroup(monthly, ResetMonthly);
    EXPECT_EQ(3, Settings.ResetDate.wDay);
}

TEST_F(SettingsDialogTest, OkStoresEachResetType)
{
    const SYSTEMTIME none = {};
    const struct {
        const char* What;
        int Type;
        SYSTEMTIME Stored;
        int Click;  // the radio button clicked before OK, or 0
        int Day;    // the day picked from the list, or 0
        int WantType;
        SYSTEMTIME Want;
    } cases[] = {
        {"on a date: the time of day is dropped", ResetOnDate, StoredDate, 0, 0, ResetOnDate,
         {2027, 6, 2, 15, 0, 0, 0, 0}},
        {"monthly: year and time cleared, month left", ResetMonthly, StoredDate, 0, 0,
         ResetMonthly, {0, 6, 2, 15, 0, 0, 0, 0}},
        {"monthly picked in the dialog", ResetNever, none, IDC_SET_MONTHLY, 7, ResetMonthly,
         {0, 0, 0, 7, 0, 0, 0, 0}},
        {"monthly without a day: today's", ResetNever, none, IDC_SET_MONTHLY, 0, ResetMonthly,
         {0, 0, 0, 14, 0, 0, 0, 0}},
        {"never: everything cleared", ResetDaily, StoredDate, IDC_SET_NEVER, 0, ResetNever, none},
        {"daily: the stored date is kept", ResetNever, StoredDate, IDC_SET_DAILY, 0, ResetDaily,
         StoredDate},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        Settings.ResetType = c.Type;
        Settings.ResetDate = c.Stored;
        OpenDialog dialog;
        ASSERT_NE((HWND)NULL, dialog.window);
        if (c.Click != 0)
            dialog.Click(c.Click);
        if (c.Day != 0)
            dialog.SelectDay(c.Day);
        dialog.Click(IDOK);
        EXPECT_EQ(c.WantType, Settings.ResetType);
        EXPECT_TRUE(SameTime(c.Want, Settings.ResetDate));
    }
}

TEST_F(SettingsDialogTest, OutOfRangeTypesLeaveTheirGroupsAsTheTemplateHasThem)
{
    Settings.ResetType = 7;
    Settings.AlertType = 9;
    Settings.ResetDate = StoredDate;
    Settings.AlertPercent = 90;
    OpenDialog dialog;
    ASSERT_NE((HWND)NULL, dialog.window);
    for (int id : ResetRadios)
        EXPECT_FALSE(dialog.Checked(id)) << id;
    EXPECT_TRUE(dialog.Visible(IDC_SET_DATE));
    EXPECT_TRUE(dialog.Visible(IDC_SET_DAY));
    EXPECT_TRUE(dialog.Enabled(IDC_SET_RESETLABEL));
    EXPECT_EQ("The reset point is:", dialog.Text(IDC_SET_RESETLABEL));
    EXPECT_TRUE(dialog.Enabled(IDC_SET_NOW));
    for (int id : AlertRadios)
        EXPECT_FALSE(dialog.Checked(id)) << id;
    for (int id : LimitControls)
        EXPECT_TRUE(dialog.Enabled(id)) << id;
    // The rest of the dialog is filled in as usual.
    EXPECT_EQ("90", dialog.Text(IDC_SET_PERCENT));

    dialog.Click(IDOK);
    EXPECT_EQ(7, Settings.ResetType);
    EXPECT_EQ(9, Settings.AlertType);
    EXPECT_EQ(0, memcmp(&StoredDate, &Settings.ResetDate, sizeof(StoredDate)));

    // A click on a radio button gives its group a type again.
    Settings.ResetType = -1;
    Settings.AlertType = 3;
    OpenDialog clicked;
    ASSERT_NE((HWND)NULL, clicked.window);
    clicked.Click(IDC_SET_DAILY);
    clicked.Click(IDC_SET_TOTAL);
    ExpectResetGroup(clicked, ResetDaily);
    clicked.Click(IDOK);
    EXPECT_EQ(ResetDaily, Settings.ResetType);
    EXPECT_EQ(AlertTotal, Settings.AlertType);
}

TEST_F(SettingsDialogTest, LimitsAndPercentageAreShownAndReadEvenWhileDisabled)
{
    Settings.AlertType = AlertDistinct;
    Settings.LimitIN = 5 * GIGABYTE;
    Settings.LimitOUT = 7 * GIGABYTE + 999;  // whole gigabytes are shown
    Settings.AlertPercent = 100;
    Settings.IgnoreLoopBack = 1;
    OpenDialog dialog;
    ASSERT_NE((HWND)NULL, dialog.window);
    EXPECT_EQ("5", dialog.Text(IDC_SET_LIMITIN));
    EXPECT_EQ("7", dialog.Text(IDC_SET_LIMITOUT));
    EXPECT_EQ("100", dialog.Text(IDC_SET_PERCENT));
    EXPECT_TRUE(dialog.Checked(IDC_SET_LOOPBACK));
    EXPECT_TRUE(dialog.Checked(IDC_SET_DISTINCT));
    for (int id : LimitControls)
        EXPECT_TRUE(dialog.Enabled(id)) << id;

    // Each up-down took the edit before it as its buddy, with its own range.
    EXPECT_EQ((LRESULT)dialog.Item(IDC_SET_LIMITIN),
              SendMessageA(dialog.Item(IDC_SET_LIMITIN_SPIN), UDM_GETBUDDY, 0, 0));
    EXPECT_EQ((LRESULT)dialog.Item(IDC_SET_LIMITOUT),
              SendMessageA(dialog.Item(IDC_SET_LIMITOUT_SPIN), UDM_GETBUDDY, 0, 0));
    EXPECT_EQ((LRESULT)dialog.Item(IDC_SET_PERCENT),
              SendMessageA(dialog.Item(IDC_SET_PERCENT_SPIN), UDM_GETBUDDY, 0, 0));
    int low = -1, high = -1;
    SendMessageA(dialog.Item(IDC_SET_LIMITIN_SPIN), UDM_GETRANGE32, (WPARAM)&low, (LPARAM)&high);
    EXPECT_EQ(0, low);
    EXPECT_EQ(1000, high);
    SendMessageA(dialog.Item(IDC_SET_LIMITOUT_SPIN), UDM_GETRANGE32, (WPARAM)&low,
                 (LPARAM)&high);
    EXPECT_EQ(0, low);
    EXPECT_EQ(1000, high);
    SendMessageA(dialog.Item(IDC_SET_PERCENT_SPIN), UDM_GETRANGE32, (WPARAM)&low, (LPARAM)&high);
    EXPECT_EQ(0, low);
    EXPECT_EQ(100, high);

    dialog.Click(IDC_SET_NOALERT);
    for (int id : LimitControls)
        EXPECT_FALSE(dialog.Enabled(id)) << id;
    // The arrows are not part of the alert group's switch.
    EXPECT_TRUE(dialog.Enabled(IDC_SET_LIMITIN_SPIN));
    EXPECT_TRUE(dialog.Enabled(IDC_SET_PERCENT_SPIN));
    // Disabled controls keep their values.
    EXPECT_EQ("5", dialog.Text(IDC_SET_LIMITIN));
    dialog.Type(IDC_SET_LIMITIN, "12");
    dialog.Type(IDC_SET_LIMITOUT, "34");
    dialog.Type(IDC_SET_PERCENT, "80");
    dialog.Click(IDC_SET_LOOPBACK);
    dialog.Click(IDOK);
    EXPECT_EQ(AlertNone, Settings.AlertType);
    EXPECT_EQ(12 * GIGABYTE, Settings.LimitIN);
    EXPECT_EQ(34 * GIGABYTE, Settings.LimitOUT);
    EXPECT_EQ(80, Settings.AlertPercent);
    EXPECT_EQ(0, Settings.IgnoreLoopBack);

    OpenDialog odd;
    ASSERT_NE((HWND)NULL, odd.window);
    EXPECT_FALSE(odd.Checked(IDC_SET_LOOPBACK));
    odd.Click(IDC_SET_TOTAL);
    for (int id : LimitControls)
        EXPECT_TRUE(odd.Enabled(id)) << id;
    odd.Type(IDC_SET_LIMITIN, "");
    odd.Type(IDC_SET_LIMITOUT, "many");
    odd.Type(IDC_SET_PERCENT, "300");  // more than the byte holds: the largest it does
    odd.Click(IDC_SET_LOOPBACK);
    odd.Click(IDOK);
    EXPECT_EQ(AlertTotal, Settings.AlertType);
    EXPECT_EQ(0u, Settings.LimitIN);
    EXPECT_EQ(0u, Settings.LimitOUT);
    EXPECT_EQ(255, Settings.AlertPercent);
    EXPECT_EQ(1, Settings.IgnoreLoopBack);

    OpenDialog large;
    ASSERT_NE((HWND)NULL, large.window);
    large.Type(IDC_SET_LIMITIN, "4294967296");
    large.Type(IDC_SET_LIMITOUT, "99999999999");  // beyond 64 bits of bytes: the largest
    large.Click(IDOK);
    EXPECT_EQ(4294967296ULL * GIGABYTE, Settings.LimitIN);
    EXPECT_EQ(MAX_LIMIT_GB * GIGABYTE, Settings.LimitOUT);

    // Past 2^32 GB, through the dialog and the INI file and back, unchanged.
    Settings.LimitIN = 5000000000ULL * GIGABYTE;
    OpenDialog again;
    ASSERT_NE((HWND)NULL, again.window);
    EXPECT_EQ("5000000000", again.Text(IDC_SET_LIMITIN));
    EXPECT_EQ("18446744073", again.Text(IDC_SET_LIMITOUT));
    again.Click(IDOK);
    ASSERT_EQ(1, SaveSettingsNow());
    Settings.LimitIN = Settings.LimitOUT = 0;
    ReadSettingsNow();
    EXPECT_EQ(5000000000ULL * GIGABYTE, Settings.LimitIN);
    EXPECT_EQ(MAX_LIMIT_GB * GIGABYTE, Settings.LimitOUT);
}

TEST_F(SettingsDialogTest, ResetRequestTogglesNoteAndButtonText)
{
    OpenDialog dialog;
    ASSERT_NE((HWND)NULL, dialog.window);
    EXPECT_EQ(0, dialog.object.resetRequested);
    EXPECT_FALSE(dialog.Visible(IDC_SET_RESETNOTE));
    EXPECT_EQ("&Reset counters", dialog.Text(IDC_SET_RESETCOUNTERS));

    dialog.Click(IDC_SET_RESETCOUNTERS);
    EXPECT_EQ(1, dialog.object.resetRequested);
    EXPECT_TRUE(dialog.Visible(IDC_SET_RESETNOTE));
    EXPECT_EQ("The counters will be reset when OK button will be pressed",
              dialog.Text(IDC_SET_RESETNOTE));
    EXPECT_EQ("Do not &Reset Counters", dialog.Text(IDC_SET_RESETCOUNTERS));

    dialog.Click(IDC_SET_RESETCOUNTERS);
    EXPECT_EQ(0, dialog.object.resetRequested);
    EXPECT_FALSE(dialog.Visible(IDC_SET_RESETNOTE));
    EXPECT_EQ("&Reset counters", dialog.Text(IDC_SET_RESETCOUNTERS));
}

TEST_F(SettingsDialogTest, OkWithAResetRequestResetsEveryMonitorWithOneDateAndOneLine)
{
    Settings.EnableLog = 1;
    MeterOfAdapters tabs(fake, 3);
    ASSERT_EQ(3u, tabs.monitors.size());
    for (InterfaceMonitor* monitor : tabs.monitors) {
        monitor->Total_in = 5000;
        monitor->Total_out = 700;
        monitor->SampleCount = 9;
        monitor->ActiveCountIn = 3;
        monitor->ActiveCountOut = 2;
        monitor->CurrentIn = 50;
        monitor->PeakIn = 900;
        monitor->PeakOut = 80;
        monitor->StartDay.vt = VT_DATE;
        monitor->StartDay.date = 40000.0;
    }
    // The request withdrawn with a second click resets nothing and writes nothing.
    {
        ModalStep step("Settings", [](HWND dialog) {
            SendDlgItemMessageA(dialog, IDC_SET_RESETCOUNTERS, BM_CLICK, 0, 0);
            SendDlgItemMessageA(dialog, IDC_SET_RESETCOUNTERS, BM_CLICK, 0, 0);
            SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
        });
        RunSettingsCommand(tabs.meter);
        EXPECT_TRUE(step.Ran());
        EXPECT_FALSE(step.LeftOpen());
    }
    for (InterfaceMonitor* monitor : tabs.monitors) {
        EXPECT_EQ(5000u, monitor->Total_in);
        EXPECT_EQ(40000.0, monitor->StartDay.date);
    }
    EXPECT_FALSE(FileExists(Settings.EventLogPath));

    {
        ModalStep step("Settings", [](HWND dialog) {
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_SET_RESETNOTE)));
            SendDlgItemMessageA(dialog, IDC_SET_RESETCOUNTERS, BM_CLICK, 0, 0);
            EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_SET_RESETNOTE)));
            SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
        });
        RunSettingsCommand(tabs.meter);
        EXPECT_TRUE(step.Ran());
        EXPECT_FALSE(step.LeftOpen());
    }
    DATE expected = 0;
    ASSERT_TRUE(SystemTimeToVariantTime(const_cast<SYSTEMTIME*>(&FakeNow), &expected));
    for (InterfaceMonitor* monitor : tabs.monitors) {
        EXPECT_EQ(VT_DATE, monitor->StartDay.vt);
        EXPECT_EQ(expected, monitor->StartDay.date);
        EXPECT_EQ(0u, monitor->Total_in);
        EXPECT_EQ(0u, monitor->Total_out);
        EXPECT_EQ(0u, monitor->SampleCount);
        EXPECT_EQ(0u, monitor->ActiveCountIn);
        EXPECT_EQ(0u, monitor->ActiveCountOut);
        EXPECT_EQ(0u, monitor->CurrentIn);
        EXPECT_EQ(0u, monitor->PeakIn);
        EXPECT_EQ(0u, monitor->PeakOut);
    }
    std::string log = ReadLogText(Settings.EventLogPath);
    EXPECT_EQ(1, CountOf(log, "The counters were reset at user request\r\n")) << log;
    EXPECT_EQ(1, CountOf(log, "\r\n")) << log;

    // Each monitor's next sample only primes; the one after it counts.
    for (InterfaceMonitor* monitor : tabs.monitors) {
        MIB_IFROW first = Row(1000000, 2000000);
        Apply(*monitor, &first);
        EXPECT_EQ(1u, monitor->SampleCount);
        EXPECT_EQ(0u, monitor->Total_in);
        EXPECT_EQ(0u, monitor->Total_out);
        MIB_IFROW second = Row(1005000, 2000700);
        Apply(*monitor, &second);
        EXPECT_EQ(5000u, monitor->Total_in);
        EXPECT_EQ(700u, monitor->Total_out);
    }

    // Without any adapter page the line is written all the same.
    MeterOfAdapters none(fake, 0);
    {
        ModalStep step("Settings", [](HWND dialog) {
            SendDlgItemMessageA(dialog, IDC_SET_RESETCOUNTERS, BM_CLICK, 0, 0);
            SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
        });
        RunSettingsCommand(none.meter);
        EXPECT_TRUE(step.Ran());
    }
    log = ReadLogText(Settings.EventLogPath);
    EXPECT_EQ(2, CountOf(log, "The counters were reset at user request\r\n")) << log;
    EXPECT_EQ(2, CountOf(log, "\r\n")) << log;
}

TEST_F(SettingsDialogTest, CancelKeepsFlippedLogSwitchesAndStoresNothingElse)
{
    Settings.LimitIN = 3 * GIGABYTE;
    Settings.ResetType = ResetDaily;
    ASSERT_EQ(0, Settings.EnableLog);
    ASSERT_EQ(0, Settings.EnableTrafficLog);
    const std::string eventPath = Settings.EventLogPath;
    SettingsDialog dialog;
    int seenWhileOpen = -1;
    INT_PTR result = 0;
    auto run = [&] { result = dialog.RunModal(NULL, IDD_SETTINGS); };
    RunWithStep(run, "Settings", [&](HWND window) {
        EXPECT_FALSE(IsDlgButtonChecked(window, IDC_SET_ENABLELOG));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_SET_LOGPATH)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_SET_LOGBROWSE)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_SET_LOGPATH_LABEL)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_SET_CSVPATH)));
        EXPECT_EQ(eventPath, WindowText(GetDlgItem(window, IDC_SET_LOGPATH)));
        SendDlgItemMessageA(window, IDC_SET_ENABLELOG, BM_CLICK, 0, 0);
        seenWhileOpen = Settings.EnableLog;  // at once, not at OK
        EXPECT_TRUE(IsDlgButtonChecked(window, IDC_SET_ENABLELOG));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_SET_LOGPATH)));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_SET_LOGBROWSE)));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_SET_LOGPATH_LABEL)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_SET_CSVPATH)));
        SendDlgItemMessageA(window, IDC_SET_ENABLECSV, BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_SET_CSVPATH)));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_SET_CSVBROWSE)));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_SET_CSVPATH_LABEL)));
        SetDlgItemTextA(window, IDC_SET_LIMITIN, "9");
        SendDlgItemMessageA(window, IDC_SET_NEVER, BM_CLICK, 0, 0);
        SendDlgItemMessageA(window, IDCANCEL, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(1, seenWhileOpen);
    EXPECT_EQ(1, Settings.EnableLog);
    EXPECT_EQ(1, Settings.EnableTrafficLog);
    EXPECT_EQ(3 * GIGABYTE, Settings.LimitIN);
    EXPECT_EQ(ResetDaily, Settings.ResetType);

    // Switched off again the same way; Cancel through the run of command 40002 saves nothing.
    RunWithStep([] { RunSettingsCommand(); }, "Settings", [](HWND window) {
        SendDlgItemMessageA(window, IDC_SET_ENABLELOG, BM_CLICK, 0, 0);
        SendDlgItemMessageA(window, IDC_SET_RESETCOUNTERS, BM_CLICK, 0, 0);
        SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(0, Settings.EnableLog);
    EXPECT_FALSE(FileExists(IniPath));
    EXPECT_FALSE(FileExists(Settings.EventLogPath));
}

TEST_F(SettingsDialogTest, BrowseWritesThePathIntoSettingsAndTheEdit)
{
    Settings.EnableLog = 1;
    Settings.EnableTrafficLog = 1;
    const std::string oldTrafficPath = Settings.TrafficLogPath;
    const std::string oldEventPath = Settings.EventLogPath;
    OpenDialog dialog;
    ASSERT_NE((HWND)NULL, dialog.window);

    BrowseAnswer = "C:\\logs\\events.log";
    BrowseFilterChoice = 2;
    dialog.Click(IDC_SET_LOGBROWSE);
    ASSERT_EQ(1u, BrowseCalls.size());
    const OPENFILENAMEW& request = BrowseCalls[0].Request;
    EXPECT_EQ((DWORD)OPENFILENAME_SIZE_VERSION_400W, request.lStructSize);
    EXPECT_EQ(dialog.window, request.hwndOwner);
    EXPECT_EQ(WindowModule.Instance, request.hInstance);
    EXPECT_EQ(oldEventPath, BrowseCalls[0].File);
    EXPECT_EQ(260u, request.nMaxFile);
    EXPECT_EQ(0x82c00u, request.Flags);
    EXPECT_EQ("LOG", BrowseCalls[0].DefaultExtension);
    const char eventFilter[] = "Log files (*.LOG)\0*.LOG\0All files (*.*)\0*.*\0";
    EXPECT_EQ(std::vector<char>(eventFilter, eventFilter + sizeof(eventFilter)),
              BrowseCalls[0].Filter);
    EXPECT_STREQ("C:\\logs\\events.log", Settings.EventLogPath);
    EXPECT_EQ("C:\\logs\\events.log", dialog.Text(IDC_SET_LOGPATH));

    // The next browse offers the filter chosen last; a cancel leaves path and edit alone.
    BrowseAnswer = NULL;
    dialog.Click(IDC_SET_LOGBROWSE);
    ASSERT_EQ(2u, BrowseCalls.size());
    EXPECT_EQ(2u, BrowseCalls[1].FilterIndexSeen);
    EXPECT_STREQ("C:\\logs\\events.log", Settings.EventLogPath);
    EXPECT_EQ("C:\\logs\\events.log", dialog.Text(IDC_SET_LOGPATH));

    BrowseAnswer = "D:\\traffic\\week.csv";
    BrowseFilterChoice = 0;
    dialog.Click(IDC_SET_CSVBROWSE);
    ASSERT_EQ(3u, BrowseCalls.size());
    EXPECT_EQ(oldTrafficPath, BrowseCalls[2].File);
    EXPECT_EQ("CSV", BrowseCalls[2].DefaultExtension);
    const char trafficFilter[] =
        "Comma separated values (*.CSV)\0*.CSV\0All files (*.*)\0*.*\0";
    EXPECT_EQ(std::vector<char>(trafficFilter, trafficFilter + sizeof(trafficFilter)),
              BrowseCalls[2].Filter);
    EXPECT_NE(oldTrafficPath, Settings.TrafficLogPath);
    EXPECT_STREQ("D:\\traffic\\week.csv", Settings.TrafficLogPath);
    EXPECT_EQ("D:\\traffic\\week.csv", dialog.Text(IDC_SET_CSVPATH));
    EXPECT_STREQ("C:\\logs\\events.log", Settings.EventLogPath);

    // Typing cannot change a path: the edits are read-only and every refresh rewrites them.
    EXPECT_TRUE(GetWindowLongA(dialog.Item(IDC_SET_LOGPATH), GWL_STYLE) & ES_READONLY);
    dialog.Type(IDC_SET_LOGPATH, "typed.log");
    dialog.Click(IDC_SET_DISTINCT);
    EXPECT_EQ("C:\\logs\\events.log", dialog.Text(IDC_SET_LOGPATH));

    // Browsed paths stay when the dialog ends with Cancel.
    SendMessageA(dialog.window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_STREQ("C:\\logs\\events.log", Settings.EventLogPath);
}

TEST_F(SettingsDialogTest, OkSavesTheSettingsToTheIniFileAtOnce)
{
    ASSERT_FALSE(FileExists(IniPath));
    RunWithStep([] { RunSettingsCommand(); }, "Settings", [](HWND dialog) {
        SendDlgItemMessageA(dialog, IDC_SET_MONTHLY, BM_CLICK, 0, 0);
        SendDlgItemMessageA(dialog, IDC_SET_DAY, CB_SETCURSEL, 8, 0);
        SendDlgItemMessageA(dialog, IDC_SET_DISTINCT, BM_CLICK, 0, 0);
        SetDlgItemTextA(dialog, IDC_SET_LIMITIN, "12");
        SetDlgItemTextA(dialog, IDC_SET_LIMITOUT, "4");
        SetDlgItemTextA(dialog, IDC_SET_PERCENT, "85");
        SendDlgItemMessageA(dialog, IDC_SET_LOOPBACK, BM_CLICK, 0, 0);
        SendDlgItemMessageA(dialog, IDC_SET_ENABLELOG, BM_CLICK, 0, 0);
        SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
    });
    ASSERT_TRUE(FileExists(IniPath));
    EXPECT_EQ(1, (int)GetPrivateProfileIntA("Settings", "ResetType", -1, IniPath));
    EXPECT_EQ(0, (int)GetPrivateProfileIntA("Settings", "AlertType", -1, IniPath));
    EXPECT_EQ(12, (int)GetPrivateProfileIntA("Settings", "LimitIN", -1, IniPath));
    EXPECT_EQ(4, (int)GetPrivateProfileIntA("Settings", "LimitOUT", -1, IniPath));
    EXPECT_EQ(85, (int)GetPrivateProfileIntA("Settings", "AlertPercent", -1, IniPath));
    EXPECT_EQ(1, (int)GetPrivateProfileIntA("Settings", "EnableLog", -1, IniPath));
    EXPECT_EQ(0, (int)GetPrivateProfileIntA("Settings", "IgnoreLoopBack", -1, IniPath));
    char text[PATH_CHARS] = "";
    GetPrivateProfileStringA("Settings", "ResetDate", "", text, sizeof(text), IniPath);
    EXPECT_STREQ("9", text);
    GetPrivateProfileStringA("Settings", "LogPathName", "", text, sizeof(text), IniPath);
    EXPECT_STREQ(Settings.EventLogPath, text);
}

TEST_F(SettingsDialogTest, ABrowsedPathBeyondTheCodePageReachesTheIniFileExactly)
{
    // U+0141 and U+6D41 U+91CF: neither is in the western code page the tests run under.
    static const char Path[] = "C:\\\xC5\x81ukasz-\xE6\xB5\x81\xE9\x87\x8F\\events.log";
    BrowseAnswer = Path;
    RunWithStep([] { RunSettingsCommand(); }, "Settings", [](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_SET_LOGBROWSE, BM_CLICK, 0, 0);
        wchar_t shown[PATH_CHARS] = L"";
        GetDlgItemTextW(dialog, IDC_SET_LOGPATH, shown, PATH_CHARS);
        EXPECT_STREQ(WideText(Path).Get(), shown);
        SendDlgItemMessageW(dialog, IDOK, BM_CLICK, 0, 0);
    });
    Settings = SettingsRecord();
    ReadSettingsNow();
    EXPECT_STREQ(Path, Settings.EventLogPath);
}
