// The history window over a prepared history file: its lists and totals, the billing periods
// of a monthly reset, the growing figures of today, the keyboard, its place in the INI file and
// a picture of its chart.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Contrast.h"
#include "IconPixels.h"
#include "FakePlatform.h"
#include "HistoryCalendar.h"
#include "HistoryLink.h"
#include "HistoryWindow.h"
#include "Settings.h"
#include "TestSupport.h"
#include "UsageHistory.h"
#include "Utf8Text.h"

namespace {

const char MacA[] = "00-1A-2B-3C-4D-0A";
const char MacB[] = "00-1A-2B-3C-4D-0B";

int Day(int year, int month, int day)
{
    return DayNumber(year, month, day);
}

class HistoryWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        savedSettings = Settings;
        memcpy(savedIniPath, IniPath, sizeof(IniPath));
        Settings = SettingsRecord();
        CopyPath(IniPath, folder.Path("Brisvane.INI"));
        fake.SetTime(2026, 12, 7, 15, 30, 0);
        // Two adapters over two years; B is no longer present, A counts today too.
        Write(folder.Path("Brisvane-history.csv"),
              "Date,MAC,Description,Bytes in,Bytes out\r\n"
              "2025-03-02,00-1A-2B-3C-4D-0B,\"Old modem\",4000000,1500000\r\n"
              "2026-11-14,00-1A-2B-3C-4D-0A,\"LAN, port 1\",1500,500\r\n"
              "2026-11-15,00-1A-2B-3C-4D-0A,\"LAN, port 1\",2500,700\r\n"
              "2026-11-15,00-1A-2B-3C-4D-0B,\"Old modem\",30000,3000\r\n"
              "2026-12-06,00-1A-2B-3C-4D-0A,\"LAN, port 1\",9000000,100000\r\n");
        running.Add(Day(2026, 12, 7), MacA, "LAN, port 1", 2000, 1000);
    }
    void TearDown() override
    {
        if (view.Window != NULL)
            DestroyWindow(view.Window);
        PumpMessages();
        Settings = savedSettings;
        memcpy(IniPath, savedIniPath, sizeof(IniPath));
    }
    static void CopyPath(char* target, const std::string& text)
    {
        strncpy(target, text.c_str(), PATH_CHARS - 1);
        target[PATH_CHARS - 1] = 0;
    }
    static void Write(const std::string& path, const std::string& text)
    {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        WriteFile(file, text.data(), (DWORD)text.size(), &written, NULL);
        CloseHandle(file);
    }
    HWND Open()
    {
        HWND window = view.Open(NULL, &running, SettingsHistoryLinks());
        PumpMessages();
        return window;
    }
    HWND List() { return GetDlgItem(view.Window, IDC_HIST_LIST); }
    int RowCount() { return (int)SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0); }
    std::string Cell(int row, int column)
    {
        char text[128] = "";
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        SendMessageA(List(), LVM_GETITEMTEXTA, row, (LPARAM)&item);
        return text;
    }
    // Every row as "period|IN|OUT|total", newest first.
    std::vector<std::string> Rows()
    {
        std::vector<std::string> rows;
        for (int row = 0; row < RowCount(); row++)
            rows.push_back(Cell(row, 0) + "|" + Cell(row, 1) + "|" + Cell(row, 2) + "|" +
                           Cell(row, 3));
        return rows;
    }
    std::string ColumnTitle()
    {
        char text[128] = "";
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = sizeof(text);
        SendMessageA(List(), LVM_GETCOLUMNA, 0, (LPARAM)&column);
        return text;
    }
    // Clicks a view's radio button as the user does.
    void ClickView(int id) { SendDlgItemMessageA(view.Window, id, BM_CLICK, 0, 0); }
    // Picks a chooser item by its text, as the user does.
    bool PickAdapter(const std::string& text)
    {
        HWND chooser = GetDlgItem(view.Window, IDC_HIST_ADAPTER);
        LRESULT item = SendMessageA(chooser, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text.c_str());
        if (item < 0)
            return false;
        SendMessageA(chooser, CB_SETCURSEL, item, 0);
        SendMessageA(view.Window, WM_COMMAND, MAKEWPARAM(IDC_HIST_ADAPTER, CBN_SELCHANGE),
                     (LPARAM)chooser);
        return true;
    }
    std::vector<std::string> ChooserItems()
    {
        std::vector<std::string> items;
        HWND chooser = GetDlgItem(view.Window, IDC_HIST_ADAPTER);
        for (int i = 0; i < (int)SendMessageA(chooser, CB_GETCOUNT, 0, 0); i++) {
            char text[512] = "";
            SendMessageA(chooser, CB_GETLBTEXT, i, (LPARAM)text);
            items.push_back(text);
        }
        return items;
    }

    TempFolder folder;
    FakePlatform fake;
    UsageHistory running;
    HistoryWindow view;
    SettingsRecord savedSettings;
    char savedIniPath[PATH_CHARS];
};

typedef std::vector<std::string> Lines;

TEST_F(HistoryWindowTest, DaysMonthsAndYearsOfOneAdapterOrAllFromThePreparedFile)
{
    ASSERT_NE((HWND)NULL, Open());
    EXPECT_EQ("History", WindowText(view.Window));
    EXPECT_EQ((Lines{"All adapters", "LAN, port 1 (00-1A-2B-3C-4D-0A)",
                     "Old modem (00-1A-2B-3C-4D-0B)"}),
              ChooserItems());
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(view.Window, IDC_HIST_DAYS, BM_GETCHECK, 0, 0));
    EXPECT_EQ("Day", ColumnTitle());
    // Today, from the running figures, on top; amounts as the pages write them.
    EXPECT_EQ((Lines{"2026-12-07|2 KB|1000 B|3 KB", "2026-12-06|9.00 MB|100 KB|9.10 MB",
                     "2026-11-15|32 KB|3 KB|36 KB", "2026-11-14|1 KB|500 B|2 KB",
                     "2025-03-02|4.00 MB|1.500 MB|5.50 MB"}),
              Rows());

    ClickView(IDC_HIST_MONTHS);
    EXPECT_EQ("Month", ColumnTitle());
    EXPECT_EQ((Lines{"2026-12|9.00 MB|101 KB|9.10 MB", "2026-11|34 KB|4 KB|38 KB",
                     "2025-03|4.00 MB|1.500 MB|5.50 MB"}),
              Rows());

    ClickView(IDC_HIST_YEARS);
    EXPECT_EQ("Year", ColumnTitle());
    EXPECT_EQ((Lines{"2026|9.04 MB|105 KB|9.14 MB", "2025|4.00 MB|1.500 MB|5.50 MB"}), Rows());

    ASSERT_TRUE(PickAdapter("Old modem (00-1A-2B-3C-4D-0B)"));
    EXPECT_EQ((Lines{"2026|30 KB|3 KB|33 KB", "2025|4.00 MB|1.500 MB|5.50 MB"}), Rows());
    ClickView(IDC_HIST_DAYS);
    EXPECT_EQ((Lines{"2026-11-15|30 KB|3 KB|33 KB", "2025-03-02|4.00 MB|1.500 MB|5.50 MB"}),
              Rows());
    ASSERT_TRUE(PickAdapter("LAN, port 1 (00-1A-2B-3C-4D-0A)"));
    EXPECT_EQ(4, RowCount());
    EXPECT_EQ("2026-12-07|2 KB|1000 B|3 KB", Rows()[0]);
    ASSERT_TRUE(PickAdapter("All adapters"));
    EXPECT_EQ(5, RowCount());
}

TEST_F(HistoryWindowTest, MonthsAreBillingPeriodsWithAMonthlyResetOnThe15th)
{
    Settings.ResetType = ResetMonthly;
    Settings.ResetDate.wDay = 15;
    ASSERT_NE((HWND)NULL, Open());
    ClickView(IDC_HIST_MONTHS);
    EXPECT_EQ("Billing period (from day 15)", ColumnTitle());
    EXPECT_EQ((Lines{"2026-11-15 to 2026-12-14|9.03 MB|104 KB|9.14 MB",
                     "2026-10-15 to 2026-11-14|1 KB|500 B|2 KB",
                     "2025-02-15 to 2025-03-14|4.00 MB|1.500 MB|5.50 MB"}),
              Rows());

    // The schedule changes while the window is open: calendar months at the next refresh.
    Settings.ResetType = ResetNever;
    view.Refresh();
    EXPECT_EQ("Month", ColumnTitle());
    EXPECT_EQ("2026-12|9.00 MB|101 KB|9.10 MB", Rows()[0]);
}

// The status line, while the history file gives no trouble, tells where the period ends.
TEST_F(HistoryWindowTest, StatusLineForecastsThePeriodAndTheLimitOfTheChosenAdapter)
{
    Settings.ResetType = ResetMonthly;
    Settings.ResetDate.wDay = 15;
    Settings.AlertType = AlertDistinct;
    Settings.LimitIN = 10000000;  // 10 MB
    ASSERT_NE((HWND)NULL, Open());
    auto status = [&]() {
        wchar_t wide[512] = L"";
        GetDlgItemTextW(view.Window, IDC_HIST_STATUS, wide, 512);
        char text[1024] = "";
        WideToUtf8(wide, text, sizeof(text));
        return std::string(text);
    };
    // All adapters: 15 November to today, no limit (the limits hold for one adapter).
    std::string all = status();
    EXPECT_EQ(0u, all.find("This period so far: 9.14 MB \xC2\xB7 at this pace: 12.")) << all;
    EXPECT_NE(std::string::npos, all.find(" by 14 Dec")) << all;
    EXPECT_EQ(std::string::npos, all.find("limit")) << all;
    ASSERT_TRUE(PickAdapter("LAN, port 1 (00-1A-2B-3C-4D-0A)"));
    std::string one = status();
    EXPECT_EQ(0u, one.find("This period so far: IN 9.00 MB \xC2\xB7 at this pace: 11.")) << one;
    EXPECT_NE(std::string::npos, one.find(" by 14 Dec \xC2\xB7 limit 10.00 MB \xC2\xB7 about "))
        << one;
    EXPECT_NE(std::string::npos, one.find(" KB a day left")) << one;
}

TEST_F(HistoryWindowTest, TodayGrowsWhileOpenAndOnlyWhileInSight)
{
    ASSERT_NE((HWND)NULL, Open());
    EXPECT_EQ("2026-12-07|2 KB|1000 B|3 KB", Rows()[0]);
    running.Add(Day(2026, 12, 7), MacA, "LAN, port 1", 3000, 0);
    view.Refresh();
    EXPECT_EQ("2026-12-07|5 KB|1000 B|6 KB", Rows()[0]);

    // A new adapter shows up in the chooser.
    running.Add(Day(2026, 12, 7), "00-1A-2B-3C-4D-0C", "Wireless", 1, 1);
    view.Refresh();
    EXPECT_EQ("Wireless (00-1A-2B-3C-4D-0C)", ChooserItems().back());
    EXPECT_EQ("2026-12-07|5 KB|1 KB|6 KB", Rows()[0]);

    ShowWindow(view.Window, SW_MINIMIZE);
    running.Add(Day(2026, 12, 7), MacA, "LAN, port 1", 10000, 0);
    view.Refresh();
    EXPECT_EQ("2026-12-07|5 KB|1 KB|6 KB", Rows()[0]);  // not worked out out of sight
    ShowWindow(view.Window, SW_RESTORE);
    view.Refresh();
    EXPECT_EQ("2026-12-07|15 KB|1 KB|16 KB", Rows()[0]);

    // A day ends and goes into the file: read again, nothing counted twice.
    fake.SetTime(2026, 12, 8, 0, 5, 0);
    char path[PATH_CHARS];
    ASSERT_TRUE(HistoryPathFor(IniPath, path, sizeof(path)));
    ASSERT_TRUE(running.FinishDays(Day(2026, 12, 8), path));
    view.Refresh();
    EXPECT_EQ("2026-12-07|15 KB|1 KB|16 KB", Rows()[0]);
    EXPECT_EQ(5, RowCount());
}

TEST_F(HistoryWindowTest, TabOrderEscapeAndCopyOfTheSelectedRows)
{
    ASSERT_NE((HWND)NULL, Open());
    HWND chooser = GetDlgItem(view.Window, IDC_HIST_ADAPTER);
    HWND days = GetDlgItem(view.Window, IDC_HIST_DAYS);
    HWND physical = GetDlgItem(view.Window, IDC_HIST_PHYSICAL);
    EXPECT_EQ(physical, GetNextDlgTabItem(view.Window, chooser, FALSE));
    EXPECT_EQ(days, GetNextDlgTabItem(view.Window, physical, FALSE));
    EXPECT_EQ(List(), GetNextDlgTabItem(view.Window, days, FALSE));
    EXPECT_EQ(chooser, GetNextDlgTabItem(view.Window, List(), FALSE));

    // Rows 0 and 2 selected, then Ctrl+C in the list.
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageA(List(), LVM_SETITEMSTATE, 0, (LPARAM)&state);
    SendMessageA(List(), LVM_SETITEMSTATE, 2, (LPARAM)&state);
    ASSERT_TRUE(OpenClipboard(NULL));
    EmptyClipboard();
    CloseClipboard();
    BYTE keys[256];
    GetKeyboardState(keys);
    BYTE saved = keys[VK_CONTROL];
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SetFocus(List());
    SendMessageA(List(), WM_KEYDOWN, 'C', 0);
    keys[VK_CONTROL] = saved;
    SetKeyboardState(keys);
    std::string copied;
    ASSERT_TRUE(OpenClipboard(NULL));
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data != NULL) {
        const char* text = (const char*)GlobalLock(data);
        if (text != NULL)
            copied = text;
        GlobalUnlock(data);
    }
    CloseClipboard();
    EXPECT_EQ("2026-12-07\t2 KB\t1000 B\t3 KB\r\n2026-11-15\t32 KB\t3 KB\t36 KB\r\n", copied);

    // Esc, as the message loop hands it over, closes the window.
    MSG escape = {List(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_TRUE(IsDialogMessageA(view.Window, &escape));
    PumpMessages();
    EXPECT_EQ((HWND)NULL, view.Window);
}

TEST_F(HistoryWindowTest, OneInstanceThatKeepsItsPlaceInItsOwnSection)
{
    WritePrivateProfileStringA("Settings", "ResetType", "2", IniPath);
    std::string settingsBefore = ReadFileText(IniPath);
    HWND window = Open();
    ASSERT_NE((HWND)NULL, window);
    EXPECT_EQ(window, view.Open(NULL, &running, SettingsHistoryLinks()));  // a second request: the same window
    SetWindowPos(window, NULL, 40, 50, 620, 480, SWP_NOZORDER);
    PostMessageA(window, WM_CLOSE, 0, 0);
    PumpMessages();
    ASSERT_EQ((HWND)NULL, view.Window);
    EXPECT_FALSE(IsWindow(window));
    std::string ini = ReadFileText(IniPath);
    EXPECT_EQ(0u, ini.find("[Settings]\r\nResetType=2\r\n[HistoryWindow]\r\n"
                           "Left=40\r\nTop=50\r\nWidth=620\r\nHeight=480\r\n"))
        << ini << " after " << settingsBefore;

    ASSERT_NE((HWND)NULL, Open());
    RECT place;
    GetWindowRect(view.Window, &place);
    EXPECT_EQ(40, place.left);
    EXPECT_EQ(50, place.top);
    EXPECT_EQ(620, place.right - place.left);
    EXPECT_EQ(480, place.bottom - place.top);
}

// The chart drawn into a bitmap: its pixels, top row first.
struct Picture {
    int Width = 0;
    int Height = 0;
    std::vector<COLORREF> Pixels;
    COLORREF At(int x, int y) const { return Pixels[(size_t)y * Width + x]; }
    // Pixels of that colour in the columns left to right - 1 of the rows top to bottom - 1.
    int CountIn(int left, int right, int top, int bottom, COLORREF colour) const
    {
        int count = 0;
        for (int y = top; y < bottom; y++)
            for (int x = left; x < right; x++)
                count += At(x, y) == colour;
        return count;
    }
};

Picture Draw(HWND chart)
{
    Picture picture;
    picture.Pixels = PrintClientPixels(chart, &picture.Width, &picture.Height);
    return picture;
}

TEST_F(HistoryWindowTest, TheChartHasBarsWhereTheDataIsAndNoneElsewhere)
{
    ASSERT_NE((HWND)NULL, Open());
    HWND chart = GetDlgItem(view.Window, IDC_HIST_CHART);
    ASSERT_NE((HWND)NULL, chart);
    COLORREF in = view.Chart.Colours.GraphIn;
    COLORREF out = view.Chart.Colours.GraphOut;
    ASSERT_NE(in, out);
    ASSERT_NE(in, view.Chart.Colours.FieldBack);

    // Of the last 31 days (7 November to 7 December) data lies on the 14th, 15th, 6th and 7th.
    for (int pass = 0; pass < 2; pass++) {
        Picture picture = Draw(chart);
        ASSERT_GT(picture.Width, 100);
        HDC dc = GetDC(chart);
        SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        ReleaseDC(chart, dc);
        RECT client = {0, 0, picture.Width, picture.Height};
        RECT plot;
        ChartPlotArea(client, metrics.tmHeight, &plot);
        int width = plot.right - plot.left;
        for (int bar = 0; bar < 31; bar++) {
            int day = Day(2026, 11, 7) + bar;
            int left = plot.left + width * bar / 31;
            int right = plot.left + width * (bar + 1) / 31;
            bool data = day == Day(2026, 11, 14) || day == Day(2026, 11, 15) ||
                        day == Day(2026, 12, 6) || day == Day(2026, 12, 7);
            int inPixels = picture.CountIn(left, right, plot.top, plot.bottom, in);
            int outPixels = picture.CountIn(left, right, plot.top, plot.bottom, out);
            if (data) {
                EXPECT_GT(inPixels, 0) << "day " << bar << " pass " << pass;
                EXPECT_GT(outPixels, 0) << "day " << bar << " pass " << pass;
            } else {
                EXPECT_EQ(0, inPixels) << "day " << bar << " pass " << pass;
                EXPECT_EQ(0, outPixels) << "day " << bar << " pass " << pass;
            }
        }
        // The tallest bar (6 December, IN) takes the plot's height.
        int tallest = Day(2026, 12, 6) - Day(2026, 11, 7);
        int left = plot.left + width * tallest / 31;
        int right = plot.left + width * (tallest + 1) / 31;
        EXPECT_GE(picture.CountIn(left, right, plot.top, plot.bottom, in), plot.bottom - plot.top - 1);
        // Then again at another size.
        SetWindowPos(view.Window, NULL, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
        PumpMessages();
    }

    // Years: only 2025 and 2026 of the ten have bars.
    ClickView(IDC_HIST_YEARS);
    ASSERT_EQ(10, view.Chart.BarCount);
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(0u, view.Chart.Bars[i].In + view.Chart.Bars[i].Out) << i;
    EXPECT_EQ(4000000u, view.Chart.Bars[8].In);
    EXPECT_EQ(9036000u, view.Chart.Bars[9].In);
}

TEST_F(HistoryWindowTest, TheChartReadsInEveryLookMeasuredFromItsPixels)
{
    ASSERT_NE((HWND)NULL, Open());
    HWND chart = GetDlgItem(view.Window, IDC_HIST_CHART);
    // Windows' high-contrast black scheme, as SetSysColors would set it.
    SystemColours black = {RGB(0, 0, 0),     RGB(255, 255, 255), RGB(0, 0, 0),
                           RGB(255, 255, 255), RGB(63, 242, 63), RGB(26, 235, 255),
                           RGB(0, 0, 0),     RGB(255, 255, 0)};
    const struct {
        const char* Name;
        Look Look;
    } looks[] = {{"light", LookLight}, {"dark", LookDark}, {"high contrast", LookHighContrast}};
    for (const auto& look : looks) {
        const Palette palette = MakePalette(look.Look, black);
        view.SetPalette(palette);
        Picture picture = Draw(chart);
        ASSERT_GT(picture.Height, 40);
        const COLORREF back = picture.At(1, 1);
        // The bars are there, in marks that stand out from what is around them.
        int inPixels = picture.CountIn(0, picture.Width, 0, picture.Height, palette.GraphIn);
        int outPixels = picture.CountIn(0, picture.Width, 0, picture.Height, palette.GraphOut);
        EXPECT_GT(inPixels, 0) << look.Name;
        EXPECT_GT(outPixels, 0) << look.Name;
        EXPECT_GE(ContrastRatio(palette.GraphIn, back), LargeTextContrast) << look.Name;
        EXPECT_GE(ContrastRatio(palette.GraphOut, back), LargeTextContrast) << look.Name;
        // The period names under the base line: their strongest pixel against the background.
        HDC dc = GetDC(chart);
        SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        ReleaseDC(chart, dc);
        RECT client = {0, 0, picture.Width, picture.Height}, plot;
        ChartPlotArea(client, metrics.tmHeight, &plot);
        double strongest = 1;
        for (int y = plot.bottom + 2; y < picture.Height; y++)
            for (int x = plot.left; x < plot.left + (plot.right - plot.left) / 3; x++)
                strongest = std::max(strongest, ContrastRatio(picture.At(x, y), back));
        EXPECT_GE(strongest, ReadableContrast) << look.Name;
    }
}

TEST_F(HistoryWindowTest, TheChartsTextSaysItsPeriodsItsLargestAndItsTotal)
{
    ASSERT_NE((HWND)NULL, Open());
    HWND chart = GetDlgItem(view.Window, IDC_HIST_CHART);
    EXPECT_EQ("Days from 2026-11-07 to 2026-12-07: largest 2026-12-06 with 9.10 MB, "
              "total 9.14 MB",
              WindowText(chart));
    ASSERT_TRUE(PickAdapter("Old modem (00-1A-2B-3C-4D-0B)"));
    EXPECT_EQ("Days from 2026-11-07 to 2026-12-07: largest 2026-11-15 with 33 KB, total 33 KB",
              WindowText(chart));
    ClickView(IDC_HIST_YEARS);
    EXPECT_EQ("Years from 2017 to 2026: largest 2025 with 5.50 MB, total 5.53 MB",
              WindowText(chart));
}

TEST(UsageChartName, TheLargestBarIsTheFirstOfTheMostAndNoneWithoutTraffic)
{
    const ChartBar none[3] = {};
    EXPECT_EQ(-1, LargestBar(none, 3));
    EXPECT_EQ(-1, LargestBar(none, 0));
    const ChartBar bars[4] = {{5, 5}, {1, 12}, {12, 1}, {0, 3}};
    EXPECT_EQ(1, LargestBar(bars, 4));  // 13 twice: the earlier
    EXPECT_EQ(0, LargestBar(bars, 1));
    char text[ChartNameChars];
    FormatChartName(ViewMonths, "2025-12", "2026-11", NULL, 0, 0, text, sizeof(text));
    EXPECT_STREQ("Months from 2025-12 to 2026-11: no traffic", text);
}

// A screen whose work area does not start at (0,0): a taskbar on the left and at the top.
size_t ShiftedWorkArea(WorkArea* areas, size_t capacity)
{
    if (capacity == 0)
        return 0;
    WorkArea area = {{200, 100, 1280, 1024}, 96};
    areas[0] = area;
    return 1;
}

bool TabNameOfA(const char* mac, char* name, size_t size)
{
    if (strcmp(mac, MacA) != 0)
        return 0;
    strncpy(name, "192.168.1.10", size - 1);
    name[size - 1] = 0;
    return 1;
}

TEST_F(HistoryWindowTest, ItsPlaceComesBackWhereItWasOnAWorkAreaAwayFromTheCorner)
{
    HistoryLinks links = SettingsHistoryLinks();
    links.WorkAreas = ShiftedWorkArea;
    ASSERT_NE((HWND)NULL, view.Open(NULL, &running, links));
    SetWindowPos(view.Window, NULL, 300, 180, 600, 450, SWP_NOZORDER);
    DestroyWindow(view.Window);
    PumpMessages();
    ASSERT_NE((HWND)NULL, view.Open(NULL, &running, links));
    RECT place;
    GetWindowRect(view.Window, &place);
    EXPECT_EQ(300, place.left);
    EXPECT_EQ(180, place.top);
    EXPECT_EQ(600, place.right - place.left);
    EXPECT_EQ(450, place.bottom - place.top);
    DestroyWindow(view.Window);
    PumpMessages();

    // A place that leaves a corner in sight, or none of it, comes back with its title bar on
    // the work area.
    const int places[][4] = {{1270, 1014, 600, 450}, {-99990, -99990, 100000, 100000},
                             {50, 20, 600, 450}};
    for (const auto& saved : places) {
        SCOPED_TRACE(std::to_string(saved[0]) + "," + std::to_string(saved[1]));
        const char* keys[] = {"Left", "Top", "Width", "Height"};
        for (int i = 0; i < 4; i++)
            WritePrivateProfileStringA(HISTORY_WINDOW_SECTION, keys[i],
                                       std::to_string(saved[i]).c_str(), IniPath);
        ASSERT_NE((HWND)NULL, view.Open(NULL, &running, links));
        GetWindowRect(view.Window, &place);
        EXPECT_GE(place.left, 200);
        EXPECT_GE(place.top, 100);
        EXPECT_LE(place.right, 1280);
        EXPECT_LE(place.bottom, 1024);
        DestroyWindow(view.Window);
        PumpMessages();
    }
}

TEST_F(HistoryWindowTest, AdaptersGoByTheirTabsNamesUncutAndAnEmptyHistorySaysSo)
{
    HistoryLinks links = SettingsHistoryLinks();
    links.TabName = TabNameOfA;
    ASSERT_NE((HWND)NULL, view.Open(NULL, &running, links));
    std::vector<std::string> items = ChooserItems();
    ASSERT_EQ(3u, items.size());
    EXPECT_EQ("192.168.1.10 - LAN, port 1", items[1]);
    EXPECT_EQ("Old modem (00-1A-2B-3C-4D-0B)", items[2]);
    // The dropped list is as wide as its longest entry.
    HWND chooser = GetDlgItem(view.Window, IDC_HIST_ADAPTER);
    HDC dc = GetDC(chooser);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(chooser, WM_GETFONT, 0, 0));
    LONG widest = 0;
    for (const std::string& item : items) {
        SIZE extent;
        GetTextExtentPoint32A(dc, item.c_str(), (int)item.size(), &extent);
        widest = extent.cx > widest ? extent.cx : widest;
    }
    SelectObject(dc, old);
    ReleaseDC(chooser, dc);
    EXPECT_GE((LONG)SendMessageA(chooser, CB_GETDROPPEDWIDTH, 0, 0), widest);
    // Owned windows have no taskbar button; the caption has the program's icon.
    EXPECT_EQ(0, GetWindowLongA(view.Window, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_NE((HICON)NULL, (HICON)SendMessageA(view.Window, WM_GETICON, ICON_SMALL, 0));
    // No error to tell: the status line has the period's forecast.
    std::string status = WindowText(GetDlgItem(view.Window, IDC_HIST_STATUS));
    EXPECT_EQ(0u, status.find("This period so far: ")) << status;
    // A DPI change: Windows' rectangle, and the icons again.
    HICON small = (HICON)SendMessageA(view.Window, WM_GETICON, ICON_SMALL, 0);
    RECT suggested = {70, 60, 70 + 700, 60 + 520};
    SendMessageA(view.Window, WM_DPICHANGED, MAKEWPARAM(144, 144), (LPARAM)&suggested);
    PumpMessages();
    RECT place;
    GetWindowRect(view.Window, &place);
    EXPECT_EQ(70, place.left);
    EXPECT_EQ(520, place.bottom - place.top);
    EXPECT_NE(small, (HICON)SendMessageA(view.Window, WM_GETICON, ICON_SMALL, 0));
    DestroyWindow(view.Window);
    PumpMessages();

    // No file and nothing today.
    DeleteFileA(folder.Path("Brisvane-history.csv").c_str());
    UsageHistory none;
    ASSERT_NE((HWND)NULL, view.Open(NULL, &none, links));
    EXPECT_EQ(0, RowCount());
    EXPECT_EQ(NO_HISTORY_TEXT, WindowText(GetDlgItem(view.Window, IDC_HIST_STATUS)));
}

}  // namespace

// "All adapters" adds the adapters counted in all adapters, never a hidden one, and every shown
// one when the check box is cleared or none is counted; the choice is kept in the window's section.
TEST_F(HistoryWindowTest, AllAdaptersAddsThePhysicalOnesUnlessEveryAdapterIsChosen)
{
    struct Case {
        AdapterStanding A, B;
        bool Physical;
        int Rows;            // days of A: 4; of B: 2, one of them shared
        bool NovemberWithB;  // 2026-11-15 holds B's 30000 bytes
    } cases[] = {
        {{true, true}, {true, false}, true, 4, false},   // B a tunnel: left out
        {{true, true}, {true, false}, false, 5, true},   // every adapter: B again
        {{true, true}, {false, true}, false, 4, false},  // B hidden: never added
        {{true, false}, {true, false}, true, 5, true},   // none counted: every shown one
    };
    for (const Case& c : cases) {
        HistoryLinks links = SettingsHistoryLinks();
        links.StandingOf = [&](const char* name) { return strcmp(name, MacA) == 0 ? c.A : c.B; };
        WritePrivateProfileStringA(HISTORY_WINDOW_SECTION, "PhysicalOnly", c.Physical ? "1" : "0",
                                   IniPath);
        ASSERT_NE((HWND)NULL, view.Open(NULL, &running, links));
        PumpMessages();
        EXPECT_EQ(c.Physical ? BST_CHECKED : BST_UNCHECKED,
                  IsDlgButtonChecked(view.Window, IDC_HIST_PHYSICAL));
        EXPECT_EQ(c.Rows, RowCount()) << &c - cases;
        EXPECT_EQ(c.NovemberWithB, Cell(2, 1) == "32 KB") << Cell(2, 1);
        DestroyWindow(view.Window);
        PumpMessages();
    }
    // The box, cleared by a click, is kept.
    ASSERT_NE((HWND)NULL, Open());
    SendDlgItemMessageA(view.Window, IDC_HIST_PHYSICAL, BM_CLICK, 0, 0);
    EXPECT_EQ(0, GetPrivateProfileIntA(HISTORY_WINDOW_SECTION, "PhysicalOnly", 7, IniPath));
}
