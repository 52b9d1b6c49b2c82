// The adapter page's texts, and the alert rule and lost-connection line it shows, with real
// pages.
#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>

#include "InterfacePage.h"
#include "LogChannel.h"
#include "Settings.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

// A page inside a hidden host window, with the event log in a private folder.
class PageTest : public testing::Test {
protected:
    void SetUp() override
    {
        saved = Settings;
        host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 400, NULL, NULL,
                               GetModuleHandleA(NULL), NULL);
        ASSERT_NE((HWND)NULL, host);
        monitor = new InterfaceMonitor("192.168.1.10");
        page = new InterfacePage(*monitor);
        ASSERT_NE((HWND)NULL, page->Create(host));
        // Pages in sight are written at every refresh; ones out of sight when they show.
        ShowWindow(host, SW_SHOWNOACTIVATE);
        ShowWindow(page->Window, SW_SHOWNOACTIVATE);
        strcpy(Settings.EventLogPath, folder.Path("events.log").c_str());
        Settings.EnableLog = 1;
        AlertBrush = CreateSolidBrush(RGB(255, 0, 0));
    }
    void TearDown() override
    {
        DestroyWindow(host);
        delete page;
        delete monitor;
        DeleteObject(AlertBrush);
        AlertBrush = NULL;
        Settings = saved;
    }
    std::string Text(int id) { return WindowText(GetDlgItem(page->Window, id)); }
    // What a cycle does for the adapter: its alert and lost line, then its page.
    void Refresh()
    {
        monitor->EvaluateAlert(Settings);
        monitor->NoteLostConnection();
        page->Refresh();
    }
    std::string Log() { return ReadFileText(folder.Path("events.log")); }
    int LogLines(const char* text) { return CountOf(Log(), text); }
    void SetRow(const char* description, DWORD speed, DWORD status)
    {
        MIB_IFROW& row = monitor->IfRow;
        row.dwDescrLen = (DWORD)strlen(description) + 1;
        memcpy(row.bDescr, description, row.dwDescrLen);
        row.dwPhysAddrLen = 6;
        const BYTE mac[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
        memcpy(row.bPhysAddr, mac, 6);
        row.dwSpeed = speed;
        monitor->LinkSpeed = speed;
        row.dwOperStatus = status;
    }
    void Limits(int type, unsigned __int64 in, unsigned __int64 out, int percent)
    {
        Settings.AlertType = type;
        Settings.LimitIN = in;
        Settings.LimitOUT = out;
        Settings.AlertPercent = (BYTE)percent;
    }

    SettingsRecord saved;
    TempFolder folder;
    HWND host = NULL;
    InterfaceMonitor* monitor = NULL;
    InterfacePage* page = NULL;
};

}  // namespace

TEST_F(PageTest, ShowsEveryFigureInItsControl)
{
    SetRow("Intel(R) Ethernet", 100000000, 5);
    monitor->Present = 1;
    monitor->SampleCount = 3600;
    monitor->CurrentIn = 1500;
    monitor->PeakIn = 2500000;
    monitor->AverageIn = 999;
    monitor->Total_in = 4294967296ULL;
    monitor->CurrentOut = 20000001;
    monitor->PeakOut = 1000001;
    monitor->AverageOut = 1001;
    monitor->Total_out = 1000000000ULL;
    Refresh();

    EXPECT_EQ("Intel(R) Ethernet", Text(IDC_PAGE_DESCR));
    EXPECT_EQ("00-1A-2B-3C-4D-5E", Text(IDC_PAGE_MAC));
    EXPECT_EQ("100 Mbps", Text(IDC_PAGE_SPEED));
    EXPECT_EQ("Connected", Text(IDC_PAGE_STATUS));
    EXPECT_EQ("3600", Text(IDC_PAGE_DURATION));
    EXPECT_EQ("1 KB", Text(IDC_PAGE_CURRENT_IN));
    EXPECT_EQ("2.50 MB", Text(IDC_PAGE_PEAK_IN));
    EXPECT_EQ("999 B", Text(IDC_PAGE_AVERAGE_IN));
    EXPECT_EQ("4.29 GB", Text(IDC_PAGE_TOTAL_IN));
    EXPECT_EQ("20 MB", Text(IDC_PAGE_CURRENT_OUT));
    EXPECT_EQ("1.000 MB", Text(IDC_PAGE_PEAK_OUT));
    EXPECT_EQ("1 KB", Text(IDC_PAGE_AVERAGE_OUT));
    EXPECT_EQ("1000 MB", Text(IDC_PAGE_TOTAL_OUT));
    EXPECT_EQ("5.29 GB", Text(IDC_PAGE_TOTAL_ALL));
    EXPECT_FALSE(monitor->DescrChanged || monitor->MacChanged || monitor->SpeedChanged);

    // Description, MAC and speed are written again only after a change was seen.
    SetDlgItemTextA(page->Window, IDC_PAGE_DESCR, "untouched");
    SetRow("Another adapter", 10000, 5);
    Refresh();
    EXPECT_EQ("untouched", Text(IDC_PAGE_DESCR));
    EXPECT_EQ("100 Mbps", Text(IDC_PAGE_SPEED));
    monitor->DescrChanged = monitor->SpeedChanged = true;
    Refresh();
    EXPECT_EQ("Another adapter", Text(IDC_PAGE_DESCR));
    EXPECT_EQ("10000 bps", Text(IDC_PAGE_SPEED));

    // A description that fills its whole field has no terminator of its own.
    memset(monitor->IfRow.bDescr, 'x', sizeof(monitor->IfRow.bDescr));
    monitor->IfRow.dwDescrLen = 5000;
    monitor->DescrChanged = true;
    Refresh();
    EXPECT_EQ(std::string(256, 'x'), Text(IDC_PAGE_DESCR));
}

TEST_F(PageTest, StatusTexts)
{
    const char* expected[] = {"LAN adapter has been disabled", "WAN adapter is not connected",
                              "LAN network cable disconnected/WAN no carrier",
                              "WAN adapter that is in the process of connecting",
                              "WAN adapter that is connected to a remote peer", "Connected",
                              "Connected"};
    monitor->Present = 1;
    for (DWORD status = 0; status <= 6; status++) {
        monitor->IfRow.dwOperStatus = status;
        Refresh();
        EXPECT_EQ(expected[status], Text(IDC_PAGE_STATUS)) << status;
    }
    monitor->Present = 0;
    Refresh();
    EXPECT_EQ("NOT Connected", Text(IDC_PAGE_STATUS));
}

TEST_F(PageTest, ConnectionLostLineOnlyOnce)
{
    monitor->Present = 0;
    Refresh();
    monitor->Present = 1;
    Refresh();
    monitor->Present = 0;
    Refresh();
    EXPECT_EQ(1, LogLines("Monitor port '192.168.1.10' - connection was lost\r\n"));
    EXPECT_EQ(0, monitor->LostArmed);
}

TEST_F(PageTest, DistinctLimits)
{
    Limits(AlertDistinct, 10 * GIGABYTE, 10 * GIGABYTE, 90);
    monitor->Total_out = 5;
    monitor->Total_in = 9 * GIGABYTE;  // exactly at the IN threshold
    Refresh();
    EXPECT_EQ(0, monitor->AlertOn);
    EXPECT_EQ("", Text(IDC_PAGE_ALERT));

    monitor->Total_in = 9 * GIGABYTE + 1;
    Refresh();
    EXPECT_EQ(1, monitor->AlertOn);
    EXPECT_EQ("IN passed the limit", Text(IDC_PAGE_ALERT));
    Refresh();
    EXPECT_EQ(2, LogLines("Monitor port '192.168.1.10' - reached the alert limit\r\n"));

    // Only OUT passed while IN has no limit.
    Limits(AlertDistinct, 0, GIGABYTE, 100);
    monitor->Total_in = 1;
    monitor->Total_out = GIGABYTE + 1;
    Refresh();
    EXPECT_EQ("OUT passed the limit", Text(IDC_PAGE_ALERT));
    EXPECT_EQ(3, LogLines("reached the alert limit"));

    // Neither distinct limit passed: the sum is held against both, without an event line.
    Limits(AlertDistinct, 0, GIGABYTE, 100);
    monitor->Total_in = GIGABYTE / 2;
    monitor->Total_out = GIGABYTE * 6 / 10;
    Refresh();
    EXPECT_EQ(1, monitor->AlertOn);
    EXPECT_EQ("IN+OUT passed the limit", Text(IDC_PAGE_ALERT));
    EXPECT_EQ(3, LogLines("reached the alert limit"));
}

TEST_F(PageTest, TotalNoneAndUnknownRules)
{
    Limits(AlertTotal, 2 * GIGABYTE, 2 * GIGABYTE, 50);  // 2 GB together
    monitor->Total_in = GIGABYTE;
    monitor->Total_out = GIGABYTE;
    Refresh();
    EXPECT_EQ(0, monitor->AlertOn);
    monitor->Total_out = GIGABYTE + 1;
    Refresh();
    EXPECT_EQ(1, monitor->AlertOn);
    EXPECT_EQ("IN+OUT passed the limit", Text(IDC_PAGE_ALERT));
    EXPECT_EQ(0, LogLines("reached the alert limit"));

    // An unknown rule leaves the alert exactly as it stands.
    Settings.AlertType = 3;
    monitor->Total_in = monitor->Total_out = 0;
    Refresh();
    EXPECT_EQ(1, monitor->AlertOn);
    EXPECT_EQ("IN+OUT passed the limit", Text(IDC_PAGE_ALERT));

    // A percentage of 0 turns every rule off.
    monitor->Total_in = monitor->Total_out = 100 * GIGABYTE;
    for (int type = AlertDistinct; type <= AlertNone; type++) {
        Limits(AlertTotal, GIGABYTE, GIGABYTE, 100);
        Refresh();
        ASSERT_EQ(1, monitor->AlertOn);
        Limits(type, GIGABYTE, GIGABYTE, 0);
        Refresh();
        EXPECT_EQ(0, monitor->AlertOn) << type;
        EXPECT_EQ("", Text(IDC_PAGE_ALERT)) << type;
    }
    // No alert, whatever the totals.
    Limits(AlertNone, GIGABYTE, GIGABYTE, 100);
    Refresh();
    EXPECT_EQ(0, monitor->AlertOn);
    // Both limits 0 under the total rule.
    Limits(AlertTotal, 0, 0, 100);
    Refresh();
    EXPECT_EQ(0, monitor->AlertOn);
}

TEST_F(PageTest, AlertTextPaintedRedOnlyWhileAlertIsOn)
{
    HWND alert = GetDlgItem(page->Window, IDC_PAGE_ALERT);
    HWND status = GetDlgItem(page->Window, IDC_PAGE_STATUS);
    HDC dc = GetDC(alert);
    LRESULT plain = SendMessageA(page->Window, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)alert);
    EXPECT_NE((LRESULT)AlertBrush, plain);

    Limits(AlertTotal, GIGABYTE, GIGABYTE, 100);
    monitor->Total_in = 3 * GIGABYTE;
    Refresh();
    ASSERT_EQ(1, monitor->AlertOn);
    EXPECT_EQ((LRESULT)AlertBrush,
              SendMessageA(page->Window, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)alert));
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
    // Another static of the page keeps the dialog's colours.
    EXPECT_NE((LRESULT)AlertBrush,
              SendMessageA(page->Window, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)status));

    monitor->Total_in = 0;
    Refresh();
    EXPECT_NE((LRESULT)AlertBrush,
              SendMessageA(page->Window, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)alert));
    ReleaseDC(alert, dc);
}

TEST_F(PageTest, PageOutOfSightIsWrittenWhenItShows)
{
    monitor->Present = 1;
    monitor->IfRow.dwOperStatus = 5;
    Refresh();
    ASSERT_EQ("Connected", Text(IDC_PAGE_STATUS));

    ShowWindow(host, SW_HIDE);
    monitor->Present = 0;
    monitor->Total_in = 3 * GIGABYTE;
    monitor->SampleCount = 77;
    Limits(AlertDistinct, GIGABYTE, GIGABYTE, 100);
    Refresh();
    // The alert and the log lines do not wait for the page to show.
    EXPECT_EQ(1, monitor->AlertOn);
    EXPECT_EQ(1, LogLines("reached the alert limit"));
    EXPECT_EQ(1, LogLines("connection was lost"));
    EXPECT_EQ("Connected", Text(IDC_PAGE_STATUS));
    EXPECT_EQ("", Text(IDC_PAGE_ALERT));

    ShowWindow(host, SW_SHOWNOACTIVATE);
    page->ShowFigures();
    EXPECT_EQ("NOT Connected", Text(IDC_PAGE_STATUS));
    EXPECT_EQ("77", Text(IDC_PAGE_DURATION));
    EXPECT_EQ("3.00 GB", Text(IDC_PAGE_TOTAL_IN));
    EXPECT_EQ("IN passed the limit", Text(IDC_PAGE_ALERT));
}

TEST_F(PageTest, TrafficSummaryFitsItsRoom)
{
    monitor->Total_in = 1230000000ULL;
    monitor->Total_out = 456000000ULL;
    char tip[54];
    int written = FormatTrafficSummary(*monitor, tip, sizeof(tip));
    EXPECT_STREQ("In 1.23 GB, Out 456 MB, All 1.69 GB", tip);
    EXPECT_EQ((int)strlen(tip), written);

    monitor->Total_in = ~0ULL / 2;
    monitor->Total_out = ~0ULL / 2;
    char small[20];
    memset(small, '#', sizeof(small));
    FormatTrafficSummary(*monitor, small, sizeof(small));
    EXPECT_EQ(19u, strlen(small));
}
