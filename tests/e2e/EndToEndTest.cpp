// The real program as a separate process over scripted adapters: what its window shows, what
// it leaves in its INI file and event log, and how it ends.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

#include "HistoryTable.h"
#include "TestSupport.h"
#include "UsageHistory.h"
#include "resource.h"

namespace {

const char MainClass[] = "BrisvaneAtl_class";

// A control's text in another process: GetWindowText would give only its creation caption.
std::string RemoteText(HWND window)
{
    char text[512] = "";
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), (LPARAM)text, SMTO_BLOCK, 5000, &length);
    return text;
}
const DWORD StillRunning = STILL_ACTIVE;

class EndToEndTest : public testing::Test {
protected:
    void SetUp() override
    {
        const char* built = getenv("BRISVANE_SCRIPTED_EXE");
        ASSERT_NE((const char*)NULL, built) << "BRISVANE_SCRIPTED_EXE names the scripted build";
        exe = folder.Path("Brisvane.exe");
        ASSERT_TRUE(CopyFileA(built, exe.c_str(), FALSE)) << built;
        script = folder.Path("adapters.txt");
        SetEnvironmentVariableA("BRISVANE_SCRIPT", script.c_str());
        WritePrivateProfileStringA("Settings", "EnableLog", "1", Ini().c_str());
        ASSERT_EQ((HWND)NULL, FindWindowA(MainClass, NULL)) << "an instance runs already";
    }
    void TearDown() override
    {
        for (PROCESS_INFORMATION& process : started) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
                HWND window = FindWindowA(MainClass, NULL);
                if (window != NULL)
                    End(window);
                if (WaitForSingleObject(process.hProcess, 10000) == WAIT_TIMEOUT)
                    TerminateProcess(process.hProcess, 1);
            }
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
        SetEnvironmentVariableA("BRISVANE_SCRIPT", NULL);
    }

    std::string Ini() { return folder.Path("Brisvane.INI"); }
    std::string Log() { return ReadFileText(folder.Path("Brisvane.LOG")); }
    unsigned long long IniNumber(const char* section, const char* key)
    {
        char text[64] = "";
        GetPrivateProfileStringA(section, key, "", text, sizeof(text), Ini().c_str());
        return strtoull(text, NULL, 10);
    }
    static int Count(const std::string& text, const std::string& part)
    {
        int count = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            count++;
        return count;
    }

    // Replaces the script in one rename, so the program never reads half of it.
    void Script(const std::string& text)
    {
        std::string next = script + ".new";
        FILE* file = fopen(next.c_str(), "wb");
        ASSERT_NE((FILE*)NULL, file);
        fwrite(text.data(), 1, text.size(), file);
        fclose(file);
        ASSERT_TRUE(MoveFileExA(next.c_str(), script.c_str(), MOVEFILE_REPLACE_EXISTING));
    }
    unsigned long Reads() { return strtoul(ReadFileText(script + ".reads").c_str(), NULL, 10); }

    HANDLE Start(const char* tail = "")
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        std::string line = "\"" + exe + "\" " + tail;
        if (!CreateProcessA(exe.c_str(), &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                            &process))
            return NULL;
        started.push_back(process);
        return process.hProcess;
    }
    HWND Window()
    {
        for (int i = 0; i < 400; i++) {
            HWND window = FindWindowA(MainClass, NULL);
            if (window != NULL)
                return window;
            Sleep(25);
        }
        return NULL;
    }
    static void End(HWND window)
    {
        if (IsWindowVisible(window))
            SendMessageA(window, WM_CLOSE, 0, 0);  // a visible window only hides
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    static DWORD ExitCode(HANDLE process)
    {
        DWORD code = StillRunning;
        if (WaitForSingleObject(process, 20000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process, &code);
        return code;
    }

    static HWND Tabs(HWND window) { return GetDlgItem(window, IDC_TABCONTROL); }
    static int TabCount(HWND window)
    {
        return (int)SendMessageA(Tabs(window), TCM_GETITEMCOUNT, 0, 0);
    }
    // A tab's label, read inside the program's own memory.
    static std::string TabText(HWND window, int position)
    {
        HWND tabs = Tabs(window);
        DWORD id = 0;
        GetWindowThreadProcessId(tabs, &id);
        HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                     FALSE, id);
        if (process == NULL)
            return "?";
        char* remote =
            (char*)VirtualAllocEx(process, NULL, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = remote + 512;
        item.cchTextMax = 64;
        WriteProcessMemory(process, remote, &item, sizeof(item), NULL);
        char text[64] = "";
        if (SendMessageA(tabs, TCM_GETITEMA, position, (LPARAM)remote))
            ReadProcessMemory(process, remote + 512, text, sizeof(text) - 1, NULL);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
        CloseHandle(process);
        return text;
    }
    static std::vector<std::string> TabTexts(HWND window)
    {
        std::vector<std::string> texts;
        for (int i = 0; i < TabCount(window); i++)
            texts.push_back(TabText(window, i));
        return texts;
    }
    // The page on show: pages out of sight are brought up to date only when they show.
    static HWND ShownPage(HWND window)
    {
        for (HWND child = GetWindow(Tabs(window), GW_CHILD); child != NULL;
             child = GetWindow(child, GW_HWNDNEXT)) {
            char className[32] = "";
            GetClassNameA(child, className, sizeof(className));
            if (strcmp(className, "#32770") == 0 && IsWindowVisible(child))
                return child;
        }
        return NULL;
    }
    static int VisiblePages(HWND window)
    {
        int count = 0;
        for (HWND child = GetWindow(Tabs(window), GW_CHILD); child != NULL;
             child = GetWindow(child, GW_HWNDNEXT))
            count += IsWindowVisible(child) && GetDlgItem(child, IDC_PAGE_MAC) != NULL;
        return count;
    }
    // Clicks a tab as the user does and returns its page once it shows.
    static HWND ShowTab(HWND window, int position)
    {
        HWND tabs = Tabs(window);
        if ((int)SendMessageA(tabs, TCM_GETCURSEL, 0, 0) != position) {
            DWORD id = 0;
            GetWindowThreadProcessId(tabs, &id);
            HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ |
                                         PROCESS_VM_WRITE, FALSE, id);
            if (process == NULL)
                return NULL;
            void* remote = VirtualAllocEx(process, NULL, 4096, MEM_COMMIT | MEM_RESERVE,
                                          PAGE_READWRITE);
            RECT item = {};
            if (SendMessageA(tabs, TCM_GETITEMRECT, position, (LPARAM)remote))
                ReadProcessMemory(process, remote, &item, sizeof(item), NULL);
            VirtualFreeEx(process, remote, 0, MEM_RELEASE);
            CloseHandle(process);
            LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
            PostMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
            PostMessageA(tabs, WM_LBUTTONUP, 0, at);
            if (!WaitUntil([&] {
                    return (int)SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == position;
                }, 5000))
                return NULL;
        }
        HWND page = NULL;
        WaitUntil([&] { return (page = ShownPage(window)) != NULL; }, 5000);
        return page;
    }
    // Shows the page of the hardware address and returns it, or null.
    static HWND Page(HWND window, const char* mac)
    {
        for (int position = 0; position < TabCount(window); position++) {
            HWND page = ShowTab(window, position);
            if (page != NULL && RemoteText(GetDlgItem(page, IDC_PAGE_MAC)) == mac)
                return page;
        }
        return NULL;
    }
    static std::string Text(HWND page, int id) { return RemoteText(GetDlgItem(page, id)); }

    // Waits, up to a time limit, until the condition holds.
    template <class Condition>
    static bool WaitUntil(Condition condition, DWORD milliseconds = 15000)
    {
        DWORD start = GetTickCount();
        while (!condition()) {
            if (GetTickCount() - start > milliseconds)
                return false;
            Sleep(50);
        }
        return true;
    }

    TempFolder folder;
    std::string exe;
    std::string script;
    std::vector<PROCESS_INFORMATION> started;
};

const char AdapterA[] = "if index=2 mac=00-1A-2B-3C-4D-A1 descr=Adapter A";
const char AdapterB[] = "if index=3 mac=00-1A-2B-3C-4D-B2 descr=Adapter B";
const char MacA[] = "00-1A-2B-3C-4D-A1";
const char MacB[] = "00-1A-2B-3C-4D-B2";

}  // namespace

TEST_F(EndToEndTest, TwoAdaptersLoopbackIgnoredStartAndStopLines)
{
    Script(std::string("if index=1 mac=00-00-00-00-00-00 descr=Loopback\n") + AdapterA + "\n" +
           AdapterB + "\nip index=1 addr=127.0.0.1\nip index=2 addr=192.168.1.10\n" +
           "ip index=3 addr=10.0.0.5\n");
    HANDLE process = Start();
    HWND window = Window();
    ASSERT_NE((HWND)NULL, window);
    ASSERT_TRUE(WaitUntil([&] { return TabCount(window) == 2; }));
    std::vector<std::string> labels = TabTexts(window);
    EXPECT_EQ("192.168.1.10", labels[0]);
    EXPECT_EQ("10.0.0.5", labels[1]);
    EXPECT_EQ(0, (int)SendMessageA(Tabs(window), TCM_GETCURSEL, 0, 0));
    HWND pageA = ShownPage(window);
    ASSERT_NE((HWND)NULL, pageA);
    EXPECT_EQ(1, VisiblePages(window));
    EXPECT_EQ(MacA, Text(pageA, IDC_PAGE_MAC));
    EXPECT_EQ("Adapter A", Text(pageA, IDC_PAGE_DESCR));
    EXPECT_EQ("100 Mbps", Text(pageA, IDC_PAGE_SPEED));
    EXPECT_EQ("Connected", Text(pageA, IDC_PAGE_STATUS));
    EXPECT_EQ("Brisvane", RemoteText(window));

    // The user picks the second tab: its page replaces the first.
    HWND pageB = ShowTab(window, 1);
    ASSERT_NE((HWND)NULL, pageB);
    EXPECT_EQ(MacB, Text(pageB, IDC_PAGE_MAC));
    EXPECT_EQ("Adapter B", Text(pageB, IDC_PAGE_DESCR));
    EXPECT_FALSE(IsWindowVisible(pageA));
    EXPECT_EQ(1, VisiblePages(window));

    // Minimised, the title reads like the tray tip.
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(WaitUntil(
        [&] { return RemoteText(window) == "Brisvane: In 0 B, Out 0 B, All 0 B"; }));
    ShowWindow(window, SW_RESTORE);

    End(window);
    EXPECT_EQ(0u, ExitCode(process));
    std::string log = Log();
    size_t startA = log.find("Monitor 00-1A-2B-3C-4D-A1 port '192.168.1.10'\tStart\r\n");
    size_t startB = log.find("Monitor 00-1A-2B-3C-4D-B2 port '10.0.0.5'\tStart\r\n");
    ASSERT_NE(std::string::npos, startA);
    ASSERT_NE(std::string::npos, startB);
    EXPECT_LT(startA, startB);
    EXPECT_EQ(std::string::npos, log.find("127.0.0.1"));
    EXPECT_EQ(2, Count(log, "\tStop IN "));
}

TEST_F(EndToEndTest, TrafficWithACounterWrapCountedToTheByte)
{
    const char* steps[][2] = {{"4294967000", "10"}, {"4294967100", "20"}, {"200", "30"},
                              {"300", "40"}};
    const char* totalsIn[] = {"0 B", "100 B", "496 B", "596 B"};
    HANDLE process = NULL;
    HWND window = NULL, page = NULL;
    for (int step = 0; step < 4; step++) {
        Script(std::string(AdapterA) + " in=" + steps[step][0] + " out=" + steps[step][1] +
               "\nip index=2 addr=192.168.1.10\n");
        if (step == 0) {
            process = Start();
            window = Window();
            ASSERT_NE((HWND)NULL, window);
            ASSERT_TRUE(WaitUntil([&] { return (page = Page(window, MacA)) != NULL; }));
        }
        std::string expected = totalsIn[step];
        EXPECT_TRUE(WaitUntil([&] { return Text(page, IDC_PAGE_TOTAL_IN) == expected; }))
            << "step " << step << " shows " << Text(page, IDC_PAGE_TOTAL_IN);
    }
    EXPECT_EQ("30 B", Text(page, IDC_PAGE_TOTAL_OUT));
    EXPECT_EQ("626 B", Text(page, IDC_PAGE_TOTAL_ALL));

    // A counter the system reset (far more than the link could carry) counts nothing.
    Script(std::string(AdapterA) + " in=5 out=45\nip index=2 addr=192.168.1.10\n");
    Sleep(2500);
    EXPECT_EQ("596 B", Text(page, IDC_PAGE_TOTAL_IN));
    EXPECT_EQ("30 B", Text(page, IDC_PAGE_TOTAL_OUT));

    End(window);
    EXPECT_EQ(0u, ExitCode(process));
    EXPECT_EQ(596u, IniNumber(MacA, "Total_in"));
    EXPECT_EQ(30u, IniNumber(MacA, "Total_out"));
}

TEST_F(EndToEndTest, AdapterThatDisappearsAndComesBack)
{
    std::string addresses = "ip index=2 addr=192.168.1.10\nip index=3 addr=10.0.0.5\n";
    Script(std::string(AdapterA) + " in=1000\n" + AdapterB + "\n" + addresses);
    HANDLE process = Start();
    HWND window = Window();
    ASSERT_NE((HWND)NULL, window);
    HWND page = NULL;
    ASSERT_TRUE(WaitUntil([&] { return (page = Page(window, MacA)) != NULL; }));

    Script(std::string(AdapterB) + "\n" + addresses);
    EXPECT_TRUE(WaitUntil([&] { return Text(page, IDC_PAGE_STATUS) == "NOT Connected"; }));
    Sleep(2500);
    Script(std::string(AdapterA) + " in=1700\n" + AdapterB + "\n" + addresses);
    EXPECT_TRUE(WaitUntil([&] { return Text(page, IDC_PAGE_TOTAL_IN) == "700 B"; }));
    EXPECT_EQ("Connected", Text(page, IDC_PAGE_STATUS));
    Script(std::string(AdapterB) + "\n" + addresses);
    EXPECT_TRUE(WaitUntil([&] { return Text(page, IDC_PAGE_STATUS) == "NOT Connected"; }));

    End(window);
    EXPECT_EQ(0u, ExitCode(process));
    EXPECT_EQ(1, Count(Log(), "Monitor port '192.168.1.10' - connection was lost\r\n"));
    EXPECT_EQ(700u, IniNumber(MacA, "Total_in"));
}

TEST_F(EndToEndTest, AddressChangeRelabelsAndNewHardwareAddressAddsAPage)
{
    Script(std::string(AdapterA) + "\nip index=2 addr=192.168.1.10\n");
    HANDLE process = Start();
    HWND window = Window();
    ASSERT_NE((HWND)NULL, window);
    ASSERT_TRUE(WaitUntil([&] { return TabCount(window) == 1; }));

    Script(std::string(AdapterA) + "\nip index=2 addr=192.168.1.99\n");
    EXPECT_TRUE(WaitUntil([&] { return TabText(window, 0) == "192.168.1.99"; }));

    Script("if index=2 mac=00-1A-2B-3C-4D-C3 descr=Adapter A\nip index=2 addr=192.168.1.99\n");
    ASSERT_TRUE(WaitUntil([&] { return TabCount(window) == 2; }));
    // The new adapter's row is the table's first: its tab comes first and shows.
    HWND newPage = ShownPage(window);
    ASSERT_NE((HWND)NULL, newPage);
    EXPECT_EQ("00-1A-2B-3C-4D-C3", Text(newPage, IDC_PAGE_MAC));
    EXPECT_EQ("Connected", Text(newPage, IDC_PAGE_STATUS));
    HWND oldPage = ShowTab(window, 1);
    ASSERT_NE((HWND)NULL, oldPage);
    EXPECT_EQ(MacA, Text(oldPage, IDC_PAGE_MAC));
    EXPECT_TRUE(WaitUntil([&] { return Text(oldPage, IDC_PAGE_STATUS) == "NOT Connected"; }));

    End(window);
    EXPECT_EQ(0u, ExitCode(process));
}

TEST_F(EndToEndTest, RestartLoadsTheTotalsAndGoesOn)
{
    WritePrivateProfileStringA(MacA, "Total_in", "5000", Ini().c_str());
    WritePrivateProfileStringA(MacA, "Total_out", "70", Ini().c_str());
    WritePrivateProfileStringA(MacA, "ActiveCountIn", "4", Ini().c_str());
    Script(std::string(AdapterA) + " in=100\nip index=2 addr=192.168.1.10\n");
    HANDLE process = Start("/s");
    HWND window = Window();
    ASSERT_NE((HWND)NULL, window);
    EXPECT_FALSE(IsWindowVisible(window));
    ASSERT_TRUE(WaitUntil([&] { return TabCount(window) == 1; }));
    // Shown from the tray menu, the page shows the loaded totals at once.
    PostMessageA(window, WM_COMMAND, ID_TRAY_SHOWHIDE, 0);
    HWND page = NULL;
    ASSERT_TRUE(WaitUntil([&] { return (page = ShownPage(window)) != NULL; }));
    EXPECT_EQ("5 KB", Text(page, IDC_PAGE_TOTAL_IN));
    EXPECT_EQ("70 B", Text(page, IDC_PAGE_TOTAL_OUT));

    Script(std::string(AdapterA) + " in=1100\nip index=2 addr=192.168.1.10\n");
    EXPECT_TRUE(WaitUntil([&] { return Text(page, IDC_PAGE_TOTAL_IN) == "6 KB"; }));
    End(window);
    EXPECT_EQ(0u, ExitCode(process));
    EXPECT_EQ(6000u, IniNumber(MacA, "Total_in"));
    EXPECT_EQ(5u, IniNumber(MacA, "ActiveCountIn"));
}

TEST_F(EndToEndTest, KilledProcessLosesAtMostTheLastMinute)
{
    Script(std::string(AdapterA) + " rin=10 rout=1\nip index=2 addr=192.168.1.10\nfast\n");
    HANDLE process = Start("/s");
    ASSERT_NE((HWND)NULL, Window());
    ASSERT_TRUE(WaitUntil([&] { return Reads() >= 150; }, 60000)) << Reads();
    TerminateProcess(process, 9);
    WaitForSingleObject(process, 10000);
    unsigned long reads = Reads();
    unsigned long long savedCount = IniNumber(MacA, "ActiveCountIn");
    // Every applied sample after the first moved 10 bytes: the saved figures agree, and at
    // most a minute of samples (60) is missing.
    EXPECT_EQ(savedCount * 10, IniNumber(MacA, "Total_in"));
    EXPECT_EQ(savedCount, IniNumber(MacA, "Total_out"));
    EXPECT_GE(savedCount, 60u);
    EXPECT_LE(reads - 1 - savedCount, 60u) << reads;
}

TEST_F(EndToEndTest, TrayCommandsEndSessionAndASecondStart)
{
    Script(std::string(AdapterA) + " in=100\nip index=2 addr=192.168.1.10\n");
    HANDLE first = Start("/s");
    HWND window = Window();
    ASSERT_NE((HWND)NULL, window);
    ASSERT_TRUE(WaitUntil([&] { return TabCount(window) == 1; }));
    EXPECT_FALSE(IsWindowVisible(window));

    HANDLE second = Start();
    EXPECT_EQ((DWORD)-1, ExitCode(second));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));

    // Show/Hide from the tray menu.
    PostMessageA(window, WM_COMMAND, ID_TRAY_SHOWHIDE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));

    // The session ends: counters and settings are saved, the window stays until closed.
    SendMessageA(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(1, Count(Log(), "\tStop IN "));
    std::string ini = ReadFileText(Ini());
    EXPECT_NE(std::string::npos, ini.find("[00-1A-2B-3C-4D-A1]\r\nTotal_in=0"));
    EXPECT_NE(std::string::npos, ini.find("IgnoreLoopBack=1"));
    EXPECT_EQ((DWORD)WAIT_TIMEOUT, WaitForSingleObject(first, 0));
    EXPECT_TRUE(IsWindow(window));

    // Close from the tray menu, confirmed in its question box.
    PostMessageA(window, WM_COMMAND, ID_TRAY_CLOSE, 0);
    HWND box = NULL;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindWindowA("#32770", "Brisvane")) != NULL; }));
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(0u, ExitCode(first));
    EXPECT_EQ(1, Count(Log(), "\tStop IN "));
}

TEST_F(EndToEndTest, ToolBarOpensSettingsAndAboutAndOkSavesAtOnce)
{
    Script(std::string(AdapterA) + "\nip index=2 addr=192.168.1.10\n");
    HANDLE process = Start();
    HWND window = Window();
    ASSERT_NE((HWND)NULL, window);
    ASSERT_TRUE(WaitUntil([&] { return TabCount(window) == 1; }));
    HWND toolBar = GetDlgItem(window, IDC_TOOLBAR);
    ASSERT_NE((HWND)NULL, toolBar);
    EXPECT_EQ(3, (int)SendMessageA(toolBar, TB_BUTTONCOUNT, 0, 0));

    // The settings button: the dialog shows the stored settings.
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(ID_APP_SETTINGS, BN_CLICKED), (LPARAM)toolBar);
    HWND dialog = NULL;
    // Found once shown, that is after its initialisation.
    ASSERT_TRUE(WaitUntil([&] {
        return (dialog = FindWindowA("#32770", "Settings")) != NULL && IsWindowVisible(dialog);
    }));
    EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(dialog, IDC_SET_ENABLELOG), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(dialog, IDC_SET_NEVER), BM_GETCHECK, 0, 0));
    EXPECT_EQ(folder.Path("Brisvane.LOG"), RemoteText(GetDlgItem(dialog, IDC_SET_LOGPATH)));
    // Poll cycles go on while it is open.
    unsigned long reads = Reads();
    EXPECT_TRUE(WaitUntil([&] { return Reads() > reads + 1; }));

    // Loopback off, then OK: in the INI file at once, and in effect at the next cycle.
    SendMessageA(GetDlgItem(dialog, IDC_SET_LOOPBACK), BM_CLICK, 0, 0);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_EQ(0u, IniNumber("Settings", "IgnoreLoopBack"));
    Script(std::string("if index=1 mac=00-00-00-00-00-01 descr=Loopback\n") + AdapterA +
           "\nip index=1 addr=127.0.0.1\nip index=2 addr=192.168.1.10\n");
    EXPECT_TRUE(WaitUntil([&] { return TabCount(window) == 2; }));
    EXPECT_EQ("127.0.0.1", TabText(window, 0));

    // The about button: name and version.
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(ID_APP_ABOUT, BN_CLICKED), (LPARAM)toolBar);
    HWND about = NULL;
    ASSERT_TRUE(WaitUntil([&] {
        return (about = FindWindowA("#32770", "About")) != NULL && IsWindowVisible(about);
    }));
    EXPECT_EQ("Brisvane 1.0.5.3", RemoteText(GetDlgItem(about, 1047)));
    PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));

    End(window);
    EXPECT_EQ(0u, ExitCode(process));
}

TEST_F(EndToEndTest, DaysOfAScriptedClockAddUpToTheTotalAndShowInTheHistoryWindow)
{
    // An hour passes at every poll cycle, for 80 cycles; then a second per cycle.
    const std::string adapter = std::string(AdapterA) + " rin=100 rout=10\n"
                                "ip index=2 addr=192.168.1.10\n"
                                "clock start=2026-12-05T20:00:00 step=3600 until=80\n";
    Script(adapter + "fast\n");
    HANDLE process = Start("/s");
    HWND window = Window();
    ASSERT_NE((HWND)NULL, window);
    ASSERT_TRUE(WaitUntil([&] { return Reads() >= 90; }, 60000)) << Reads();
    Script(adapter);  // 9 December from here on

    PostMessageA(window, WM_COMMAND, ID_APP_HISTORY, 0);
    HWND history = NULL;
    ASSERT_TRUE(WaitUntil([&] {
        return (history = FindWindowA("#32770", "History")) != NULL && IsWindowVisible(history);
    }));
    HWND list = GetDlgItem(history, IDC_HIST_LIST);
    // 5 to 9 December, one row a day.
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 5; }))
        << SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    End(window);
    EXPECT_EQ(0u, ExitCode(process));
    EXPECT_FALSE(IsWindow(history));

    HistoryTable file;
    int skipped = 0;
    ASSERT_TRUE(file.ReadFile(folder.Path("Brisvane-history.csv").c_str(), &skipped));
    EXPECT_EQ(0, skipped);
    ASSERT_EQ(4, file.RecordCount);  // the finished days: 5 to 8 December
    unsigned long long days = 0;
    for (int i = 0; i < file.RecordCount; i++) {
        EXPECT_STREQ(MacA, file.Names[file.Records[i].Name].Mac);
        // The script's description runs to the line's end.
        EXPECT_STREQ("Adapter A rin=100 rout=10", file.Names[file.Records[i].Name].Description);
        days += file.Records[i].In;
    }
    UsageHistory today;
    ASSERT_TRUE(today.ReadTodayFigures(Ini().c_str()));
    ASSERT_EQ(1, today.RunningCount);
    days += today.Running[0].In;
    EXPECT_EQ(IniNumber(MacA, "Total_in"), days);
    EXPECT_NE(0u, days);
}
