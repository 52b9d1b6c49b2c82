// The history window (dialog 140): bytes per day, month (or billing period) or year of one
// adapter or all, newest first, with a bar chart of the last periods under the list. Modeless
// and single: a second request brings the open one to the front.
#ifndef BRISVANE_HISTORYWINDOW_H
#define BRISVANE_HISTORYWINDOW_H

#include <windows.h>

#include <functional>
#include <commctrl.h>

#include "GrowArray.h"
#include "HistoryLinks.h"
#include "HistoryReport.h"
#include "HistoryTable.h"
#include "PathSplit.h"
#include "PeriodForecast.h"
#include "UsageChart.h"
#include "UsageHistory.h"
#include "ControlColours.h"
#include "DpiLayout.h"
#include "ListHeaderLook.h"
#include "OwnedHandle.h"
#include "WindowObject.h"
#include "WindowPlace.h"
#include "resource.h"

#define MAX_CHOOSER_ADAPTERS 256
#define STATUS_TEXT_CHARS (PATH_CHARS + 128)
#define TAB_NAME_CHARS 64
// The status line while neither the file nor today holds a figure.
#define NO_HISTORY_TEXT "No history yet: Brisvane writes each day here once it has ended."
// Posted to itself after the dialog manager has followed a DPI change.
#define HISTORY_DPI_FOLLOWED (WM_APP + 1)

enum HistoryColumn { ColumnPeriod, ColumnIn, ColumnOut, ColumnTotal, HistoryColumnCount };

// The "Physical adapters only" choice as the INI file keeps it (checked unless "0").
bool ReadPhysicalOnlyChoice(const HistoryLinks& links);

class HistoryWindow : public DialogObject {
public:
    HistoryWindow();

    BEGIN_MSG_MAP(HistoryWindow)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_RANGE_HANDLER(WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC, OnColourMessage)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
        MESSAGE_HANDLER(WM_CLOSE, OnClose)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_DPICHANGED, OnDpiChanged)
        MESSAGE_HANDLER(HISTORY_DPI_FOLLOWED, OnDpiFollowed)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        COMMAND_HANDLER(IDC_HIST_ADAPTER, CBN_SELCHANGE, OnAdapterChange)
        COMMAND_HANDLER(IDC_HIST_DAYS, BN_CLICKED, OnViewClick)
        COMMAND_HANDLER(IDC_HIST_MONTHS, BN_CLICKED, OnViewClick)
        COMMAND_HANDLER(IDC_HIST_YEARS, BN_CLICKED, OnViewClick)
        COMMAND_HANDLER(IDC_HIST_PHYSICAL, BN_CLICKED, OnPhysicalClick)
        NOTIFY_HANDLER(IDC_HIST_LIST, LVN_GETDISPINFOW, OnGetDispInfo)
        NOTIFY_HANDLER(IDC_HIST_LIST, LVN_KEYDOWN, OnListKeyDown)
    END_MSG_MAP()

    // Opens the window over the running figures of source, or brings the open one to the front.
    HWND Open(HWND owner, const UsageHistory* source, const HistoryLinks& links);
    // Brings lists and chart up to date; does nothing while the window is hidden or minimised.
    void Refresh();
    // The look's colours for the chart, now and whenever the window opens.
    void SetPalette(const Palette& palette) { Chart.SetPalette(palette); }
    // Shows the view: ViewDays, ViewMonths or ViewYears.
    void ShowView(int view);
    // The selected rows as tab-separated lines, terminated (not counted in the length); 0 when
    // none is selected or no memory is left.
    int SelectedRowsText(GrowArray<char>* text);
    // The adapters' standing changed (hidden, shown, counted or not): the sums again.
    void AdaptersChanged();
    int CopySelection();

    const UsageHistory* Source;
    HistoryLinks Links;
    HistoryTable Table;   // the history file as read at opening (and after each day's end)
    PeriodRows Base;      // the rows of the file's days
    PeriodRows Shown;     // the rows on show: the file's days with the running figures
    PeriodRows Fresh;     // the rows being worked out, compared with those on show
    UsageChart Chart;
    const ControlColours* Colours = nullptr;  // the main window's; none: the system's
    ListHeaderLook HeaderLook;                // the list's column titles in them
    int View;
    char Mac[MAC_TEXT_CHARS];  // the chosen adapter, empty for all of them
    bool PhysicalOnly;         // "All adapters" adds the physical adapters only
    int BillingDay;
    DWORD LoadedVersion;
    int SkippedLines;      // lines of the file that could not be read, kept at its end
    int ForeignFile;       // the file is in a form the reader cannot take
    char LoadedPath[PATH_CHARS];
    DWORD ReadError;
    char ChooserMacs[MAX_CHOOSER_ADAPTERS][MAC_TEXT_CHARS];
    int ChooserCount;
    char StatusText[STATUS_TEXT_CHARS];
    char ForecastText[FORECAST_LINE_CHARS];  // shown in the status line when all is well
    // The caption's and the task switcher's icons at the window's DPI.
    OwnedIcon SmallIcon;
    OwnedIcon BigIcon;

private:
    struct NameStanding {
        char Name[MAC_TEXT_CHARS];
        AdapterStanding Standing;
    };
    // Whether "All adapters" adds the adapter of that name (AddedToAllAdapters).
    bool AddsToAll(const char* name);
    const AdapterStanding& StandingOf(const char* name);
    // Asks for the adapters' standing afresh and whether any shown one counts.
    void RenewStandings();
    GrowArray<NameStanding> Standings;  // asked once per rebuild, not at every second
    bool AnyCounted;
    NameFilter AllFilter;                // AddsToAll, for the sums of every adapter
    void Update(int rebuild);
    void LoadTable();
    void FillChooser();
    void AddChooserItem(const char* mac, const char* description);
    void ShowRows(const PeriodRows& rows, int rebuild);
    void ShowChart(int today);
    void ShowStatus();
    // Worked out again at most once a minute, or when the rows were rebuilt or the day changed.
    void UpdateForecast(int today, int secondsToday, int rebuild);
    ULONGLONG ForecastTick;
    int ForecastDay;
    void SetColumnTitle();
    void Layout(int width, int height);
    void RestorePlacement();
    void SavePlacement();
    // Icons, list columns and the chooser's dropped width for the window's DPI.
    void FitToDpi();
    void FitChooserWidth();
    int DialogUnitsX(int units);
    int DialogUnitsY(int units);
    void FillItemText(int item, int column, char* buffer, size_t size);

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnColourMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled)
    {
        return AnswerColourMessage(Colours, message, wParam, lParam, handled);
    }
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDpiChanged(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDpiFollowed(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnAdapterChange(WORD, WORD, HWND, BOOL&);
    LRESULT OnViewClick(WORD, WORD, HWND, BOOL&);
    LRESULT OnPhysicalClick(WORD, WORD, HWND, BOOL&);
    LRESULT OnGetDispInfo(int, NMHDR*, BOOL&);
    LRESULT OnListKeyDown(int, NMHDR*, BOOL&);
};

#endif
