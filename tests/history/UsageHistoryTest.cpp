// The usage history in the running main window: a killed process keeps the last saved minute;
// the window opens from the tool bar and the tray menu, once.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "HistoryCalendar.h"
#include "HistoryTable.h"
#include "MainWindowTestSupport.h"
#include "RunningFigures.h"
#include "UsageHistory.h"

namespace {

const char Mac[] = "00-1A-2B-3C-4D-01";

class UsageHistoryTest : public MainWindowTest {
protected:
    // One second of traffic, then a poll cycle of the window.
    void Second(MainWindow& window, DWORD in, DWORD out)
    {
        fake.AdvanceSeconds(1);
        MIB_IFROW* row = fake.Row(2);
        row->dwInOctets += in;
        row->dwOutOctets += out;
        SendMessageA(window.Window, WM_TIMER, PollTimerId, 0);
    }
    static InterfaceMonitor* Monitor(MainWindow& window) { return MainWindowProbe::Tabs(window).MonitorAt(0); }
    static void Close(MainWindow& window)
    {
        ShowWindow(window.Window, SW_HIDE);
        SendMessageA(window.Window, WM_CLOSE, 0, 0);
        PumpMessages();
    }
    std::string HistoryPath() { return folder.Path("Brisvane-history.csv"); }
    // The running figures of the day as the INI file holds them.
    std::string IniFigures(const char* date)
    {
        char text[512] = "";
        GetPrivateProfileStringA("History", (std::string(date) + " " + Mac).c_str(), "", text,
                                 sizeof(text), folder.Path("Brisvane.INI").c_str());
        return text;
    }
    unsigned long long IniTotal(const char* key)
    {
        char text[64] = "";
        GetPrivateProfileStringA(Mac, key, "", text, sizeof(text),
                                 folder.Path("Brisvane.INI").c_str());
        return strtoull(text, NULL, 10);
    }
};

TEST_F(UsageHistoryTest, OpensFromToolBarAndTrayMenuAsOneWindowWithATip)
{
    fake.AddAdapter(2, 0x01, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    NMTTDISPINFOW tip = {};
    tip.hdr.hwndFrom = ToolBar();
    tip.hdr.idFrom = ID_APP_HISTORY;
    tip.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(main.Window, WM_NOTIFY, ID_APP_HISTORY, (LPARAM)&tip);
    ASSERT_NE((LPWSTR)NULL, tip.lpszText);
    EXPECT_STREQ(L"History", tip.lpszText);

    SendMessageA(main.Window, WM_COMMAND, MAKEWPARAM(ID_APP_HISTORY, BN_CLICKED),
                 (LPARAM)ToolBar());
    HWND window = HistoryView().Window;
    ASSERT_NE((HWND)NULL, window);
    EXPECT_TRUE(IsWindowVisible(window));
    ShowWindow(main.Window, SW_HIDE);  // the tray menu's item works with the window hidden
    SendMessageA(main.Window, WM_COMMAND, ID_APP_HISTORY, 0);
    EXPECT_EQ(window, HistoryView().Window);
    int count = 0;
    for (HWND other = FindWindowExA(NULL, NULL, "#32770", "History"); other != NULL;
         other = FindWindowExA(NULL, other, "#32770", "History"))
        count++;
    EXPECT_EQ(1, count);

    // The poll cycle brings it up to date: today's bytes show at once.
    MIB_IFROW* row = fake.Row(2);
    row->dwInOctets += 5000;
    fake.AdvanceSeconds(1);
    Tick();
    char text[64] = "";
    LVITEMA item = {};
    item.iSubItem = 1;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendDlgItemMessageA(window, IDC_HIST_LIST, LVM_GETITEMTEXTA, 0, (LPARAM)&item);
    EXPECT_STREQ("5 KB", text);

    // The program's end closes it, and it keeps its place.
    SendMessageA(main.Window, WM_CLOSE, 0, 0);
    PumpMessages();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_NE(std::string::npos, Ini().find("[HistoryWindow]"));
}

// Run only as the child process of the next test: a minute and ten seconds of traffic in a
// real main window, then it says so and waits to be killed.
TEST_F(UsageHistoryTest, DISABLED_ChildCountsUntilKilled)
{
    const char* folderPath = getenv("BRISVANE_CHILD_FOLDER");
    const char* ready = getenv("BRISVANE_CHILD_READY");
    if (folderPath == NULL || ready == NULL)
        GTEST_SKIP() << "started by AKilledProcessKeepsItsLastMinute only";
    fake.ModulePath = std::string(folderPath) + "\\Brisvane.exe";
    fake.AddAdapter(2, 0x01, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    for (int second = 1; second <= 69; second++)
        Second(main, 1000, 10);
    HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, ready);
    ASSERT_NE((HANDLE)NULL, event);
    SetEvent(event);
    Sleep(120000);
}

TEST_F(UsageHistoryTest, AKilledProcessKeepsItsLastMinute)
{
    ASSERT_TRUE(RunChildUntilReady("UsageHistoryTest.DISABLED_ChildCountsUntilKilled",
                                   folder.Root()))
        << "the child ended before it was ready";

    // The first cycle only primes; the save at the 60th cycle holds 59 seconds of traffic, the
    // same as the counters saved with it. The nine seconds after it are lost.
    EXPECT_EQ("59000,590,Test adapter 2", IniFigures("2026-12-06"));
    EXPECT_EQ(59000u, IniTotal("Total_in"));
    EXPECT_FALSE(FileExists(folder.Path("Brisvane.TMP")));
}

}  // namespace
