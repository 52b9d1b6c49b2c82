// The real program as a separate process over scripted adapters: what only the whole program
// shows, its start-up, a restart, a killed process and the dialogs of its tool bar.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

#include "BrisvaneVersion.h"
#include "HistoryReport.h"
#include "HistoryTable.h"
#include "RunningFigures.h"
#include "TestSupport.h"
#include "UsageHistory.h"
#include "Utf8Text.h"
#include "resource.h"

namespace {

const char MainClass[] = "BrisvaneAtl_class";

// A control's text in another process: GetWindowText would give only its creation caption.
// A window's text in UTF-8, whatever code page it is beyond.
std::string RemoteWideText(HWND window)
{
    wchar_t text[512] = L"";
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, (LPARAM)text, SMTO_BLOCK, 5000, &length);
    char utf8[512 * 3];
    WideToUtf8(text, utf8, sizeof(utf8));
    return utf8;
}

std::string RemoteText(HWND window)
{
    char text[512] = "";
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), (LPARAM)text, SMTO_BLOCK, 5000, &length);
    return text;
}
const DWORD StillRunning = STILL_ACTIVE;

// Memory in the process of a window, for messages whose records hold pointers.
class RemoteMemory {
public:
    static constexpr size_t Size = 4096;
    explicit RemoteMemory(HWND window)
    {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        Process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                              id);
        if (Process != NULL)
            Base = (char*)VirtualAllocEx(Process, NULL, Size, MEM_COMMIT | MEM_RESERVE,
                                         PAGE_READWRITE);
    }
    ~RemoteMemory()
    {
        if (Base != NULL)
            VirtualFreeEx(Process, Base, 0, MEM_RELEASE);
        if (Process != NULL)
            CloseHandle(Process);
    }
    bool Good() const { return Base != NULL; }
    char* At(size_t offset) const { return Base + offset; }
    void Write(size_t offset, const void* data, size_t size)
    {
        WriteProcessMemory(Process, Base + offset, data, size, NULL);
    }
    void Read(size_t offset, void* data, size_t size)
    {
        ReadProcessMemory(Process, Base + offset, data, size, NULL);
    }

private:
    HANDLE Process = NULL;
    char* Base = NULL;
};

// A list view item's text in another process.
std::string RemoteListText(HWND list, int item, int column)
{
    RemoteMemory memory(list);
    if (!memory.Good())
        return "?";
    LVITEMW request = {};
    request.iSubItem = column;
    request.pszText = (LPWSTR)memory.At(512);
    request.cchTextMax = 128;
    memory.Write(0, &request, sizeof(request));
    wchar_t text[128] = L"";
    if (SendMessageW(list, LVM_GETITEMTEXTW, item, (LPARAM)memory.At(0)) > 0)
        memory.Read(512, text, sizeof(text) - sizeof(wchar_t));
    char utf8[128 * 3];
    WideToUtf8(text, utf8, sizeof(utf8));
    return utf8;
}

// Checks or clears a list view item's check box in another process.
void RemoteListCheck(HWND list, int item, bool checked)
{
    RemoteMemory memory(list);
    LVITEMW state = {};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    memory.Write(0, &state, sizeof(state));
    SendMessageW(list, LVM_SETITEMSTATE, item, (LPARAM)memory.At(0));
}

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
    std::string Log() { return ReadLogText(folder.Path("Brisvane.LOG")); }
    unsigned long long IniNumber(const char* section, const char* key)
    {
        char text[64] = "";
        GetPrivateProfileStringA(section, key, "", text, sizeof(text), Ini().c_str());
        return strtoull(text, NULL, 10);
    }

    // Replaces the script in one rename, so the program never reads half of it; while the
    // program has it open for a read, the rename waits for that read to end.
    void Script(const std::string& text)
    {
        std::string next = script + ".new";
        ASSERT_TRUE(WriteFileText(next, text));
        ASSERT_TRUE(WaitUntil([&] {
            return MoveFileExA(next.c_str(), script.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
        }));
    }
    unsigned long Reads() { return strtoul(ReadFileText(script + ".reads").c_str(), NULL, 10); }

    HANDLE Start(const char* tail = "")
    {
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        std::string line = "\"" + exe + "\" " + tail;
        WideText wideLine(line.c_str());
        if (!CreateProcessW(WideText(exe.c_str()), (LPWSTR)wideLine.Get(), NULL, NULL, FALSE, 0,
                            NULL, NULL, &startup, &process))
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

    // Runs the report program with the arguments tail; its exit code, and what it wrote.
    DWORD RunReport(const std::string& report, const std::string& tail, std::string* output)
    {
        SECURITY_ATTRIBUTES inherit = {sizeof(inherit), NULL, TRUE};
        std::string outPath = folder.Path(("report" + std::to_string(++reportRuns) + ".out").c_str());
        HANDLE out = CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out;
        startup.hStdError = out;
        PROCESS_INFORMATION child = {};
        std::string line = "\"" + report + "\" " + tail;
        DWORD code = StillRunning;
        if (CreateProcessA(report.c_str(), &line[0], NULL, NULL, TRUE, CREATE_NO_WINDOW, NULL,
                           NULL, &startup, &child)) {
            code = ExitCode(child.hProcess);
            CloseHandle(child.hProcess);
            CloseHandle(child.hThread);
        }
        CloseHandle(out);
        *output = ReadFileText(outPath);
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
    int reportRuns = 0;
};

const char AdapterA[] = "if index=2 mac=00-1A-2B-3C-4D-A1 descr=Adapter A";
const char AdapterB[] = "if index=3 mac=00-1A-2B-3C-4D-B2 descr=Adapter B";
const char MacA[] = "00-1A-2B-3C-4D-A1";

}  // namespace

TEST_F(EndToEndTest, StartsWithAPagePerAdapterAndEndsWithTheirStopLines)
{
    Script(std::string("if index=1 mac=00-00-00-00-00-00 descr=Loopback\n") + AdapterA + "\n" +
           AdapterB + "\nip index=1 addr=127.0.0.1\nip index=2 addr=192.168.1.10\n" +
           "ip index=3 addr=10.0.0.5\n");
    HANDLE process = Start();
    HWND window = Window();
    ASSERT_NE((HWND)NULL, window);
    // The first cycle runs while the window is made, before it shows; its page is written when
    // it shows.
    HWND page = NULL;
    ASSERT_TRUE(WaitUntil([&] {
        page = ShownPage(window);
        return page != NULL && Text(page, IDC_PAGE_MAC) == MacA;
    }));
    ASSERT_EQ(2, TabCount(window));
    EXPECT_EQ("192.168.1.10", TabText(window, 0));
    EXPECT_EQ("10.0.0.5", TabText(window, 1));
    EXPECT_EQ("Adapter A", Text(page, IDC_PAGE_DESCR));
    EXPECT_EQ("Connected", Text(page, IDC_PAGE_STATUS));

    End(window);
    EXPECT_EQ(0u, ExitCode(process));
    std::string log = Log();
    size_t startA = log.find("Monitor 00-1A-2B-3C-4D-A1 port '192.168.1.10'\tStart\r\n");
    size_t startB = log.find("Monitor 00-1A-2B-3C-4D-B2 port '10.0.0.5'\tStart\r\n");
    ASSERT_NE(std::string::npos, startA);
    ASSERT_NE(std::string::npos, startB);
    EXPECT_LT(startA, startB);
    EXPECT_EQ(std::string::npos, log.find("127.0.0.1"));
    EXPECT_EQ(2, CountOf(log, "\tStop IN "));
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
    // A second cycle comes from the timer, in the message loop: start-up is over.
    ASSERT_TRUE(WaitUntil([&] { return Reads() >= 2; }));
    EXPECT_FALSE(IsWindowVisible(window));
    ASSERT_EQ(1, TabCount(window));
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
    EXPECT_EQ("Brisvane " BRISVANE_VERSION_TEXT, RemoteText(GetDlgItem(about, IDC_ABOUT_VERSION)));
    PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));

    End(window);
    EXPECT_EQ(0u, ExitCode(process));
}

// Counters that start again (a replug, a sleep) count nothing, from either table; the 64-bit
// table counts more than 4 GB a second to the byte.
TEST_F(EndToEndTest, CountersThatStartAgainAddNoPhantomTraffic)
{
    for (std::string table : {"wide\n", ""}) {
        std::string adapter = std::string("fast\n") + table + AdapterA + " luid=77";
        std::string address = "\nip index=2 addr=192.168.1.10\n";
        std::string absent = std::string("fast\n") + table + address;
        Script(adapter + " in=3000000000 out=3500000000" + address);
        HANDLE process = Start();
        HWND window = Window();
        ASSERT_NE((HWND)NULL, window) << table;
        HWND page = NULL;
        ASSERT_TRUE(WaitUntil([&] { return (page = ShownPage(window)) != NULL; }));
        // Each step waits until the page shows that a cycle has applied it.
        auto shows = [&](int id, const char* text) {
            return WaitUntil([&] { return Text(page, id) == text; });
        };
        ASSERT_TRUE(shows(IDC_PAGE_STATUS, "Connected"));
        // Unplugged for a while, then back with its counters started again near 0.
        Script(absent);
        ASSERT_TRUE(shows(IDC_PAGE_STATUS, "NOT Connected"));
        Script(adapter + " in=1000 out=2000" + address);
        ASSERT_TRUE(shows(IDC_PAGE_STATUS, "Connected"));
        Script(adapter + " in=1500 out=2250" + address);
        ASSERT_TRUE(shows(IDC_PAGE_TOTAL_IN, "500 B")) << Text(page, IDC_PAGE_TOTAL_IN);
        // Asleep (the adapter gone from the table), woken with counters started again and grown
        // past the old ones.
        SendMessageA(window, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
        Script(absent);
        ASSERT_TRUE(shows(IDC_PAGE_STATUS, "NOT Connected"));
        SendMessageA(window, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
        Script(adapter + " in=9000 out=9000" + address);
        ASSERT_TRUE(shows(IDC_PAGE_STATUS, "Connected"));
        Script(adapter + " in=9100 out=9010" + address);
        ASSERT_TRUE(shows(IDC_PAGE_TOTAL_IN, "600 B")) << Text(page, IDC_PAGE_TOTAL_IN);
        End(window);
        EXPECT_EQ(0u, ExitCode(process));
        EXPECT_EQ(600u, IniNumber(MacA, "Total_in")) << table;
        EXPECT_EQ(260u, IniNumber(MacA, "Total_out")) << table;
        DeleteFileA(Ini().c_str());
    }

    // 4.5 GB a second on a 40 Gbit/s adapter.
    Script(std::string("fast\nwide\n") + AdapterA + " luid=77 speed=40000000000 in=7 out=9" +
           " rin=4500000000 rout=5000000000\nip index=2 addr=192.168.1.10\n");
    HANDLE process = Start();
    HWND window = Window();
    ASSERT_NE((HWND)NULL, window);
    HWND page = NULL;
    ASSERT_TRUE(WaitUntil([&] { return (page = ShownPage(window)) != NULL && Reads() >= 5; }));
    EXPECT_EQ("40000 Mbps", Text(page, IDC_PAGE_SPEED));
    End(window);
    EXPECT_EQ(0u, ExitCode(process));
    unsigned long long counted = Reads() - 1;  // the first row only primes
    EXPECT_EQ(4500000000ULL * counted, IniNumber(MacA, "Total_in"));
    EXPECT_EQ(5000000000ULL * counted, IniNumber(MacA, "Total_out"));
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
    ASSERT_EQ(4, file.Records.Count());  // the finished days: 5 to 8 December
    unsigned long long days = 0;
    for (int i = 0; i < file.Records.Count(); i++) {
        EXPECT_STREQ(MacA, file.Names[file.Records[i].Name].Mac);
        // The script's description runs to the line's end.
        EXPECT_STREQ("Adapter A rin=100 rout=10", file.Names[file.Records[i].Name].Description);
        days += file.Records[i].In;
    }
    UsageHistory today;
    ASSERT_TRUE(ReadTodayFigures(today, Ini().c_str()));
    ASSERT_EQ(1, today.Running.Count());
    days += today.Running[0].In;
    EXPECT_EQ(IniNumber(MacA, "Total_in"), days);
    EXPECT_NE(0u, days);
}

// The console companion beside the running program: it reads what the program saved (the
// periodic save is waited for, not a time), gives the figures in JSON and leaves the program be.
TEST_F(EndToEndTest, ReportBesideTheRunningProgramGivesTheSavedFigures)
{
    const char* built = getenv("BRISVANE_REPORT_EXE");
    ASSERT_NE((const char*)NULL, built) << "BRISVANE_REPORT_EXE names the report program";
    std::string report = folder.Path("brisvane-report.exe");
    ASSERT_TRUE(CopyFileA(built, report.c_str(), FALSE)) << built;
    const std::string address = "\nip index=2 addr=192.168.1.10\nfast\n";
    Script(std::string(AdapterA) + " in=100 out=10" + address);
    HANDLE process = Start("/s");
    HWND window = Window();
    ASSERT_NE((HWND)NULL, window);
    ASSERT_TRUE(WaitUntil([&] { return Reads() >= 2; }));
    Script(std::string(AdapterA) + " in=1100 out=510" + address);
    ASSERT_TRUE(WaitUntil([&] { return IniNumber(MacA, "Total_in") == 1000; }, 60000));

    auto run = [&](const std::string& tail, std::string* output) {
        return RunReport(report, tail, output);
    };
    std::string json;
    EXPECT_EQ(0u, run("--json --adapter 00-1A-2B-3C-4D-A1", &json));
    size_t today = json.find("\"today\":");
    size_t period = json.find("\"period\":");
    size_t since = json.find("\"sinceReset\":");
    ASSERT_TRUE(today != std::string::npos && period != std::string::npos &&
                since != std::string::npos)
        << json;
    const std::string saved = "\"in\": 1000, \"out\": 500, \"total\": 1500";
    EXPECT_NE(std::string::npos, json.substr(today, period - today).find(saved)) << json;
    EXPECT_NE(std::string::npos, json.substr(since).find(saved)) << json;
    std::string text;
    EXPECT_EQ(2u, run("--days", &text));
    EXPECT_NE(std::string::npos, text.find("--days needs a number")) << text;

    // The program counts on, alone.
    EXPECT_EQ(window, FindWindowA(MainClass, NULL));
    End(window);
    EXPECT_EQ(0u, ExitCode(process));
}

TEST_F(EndToEndTest, TheSpeedWindowsTextFollowsTheTraffic)
{
    WritePrivateProfileStringA("SpeedView", "Window", "1", Ini().c_str());
    WritePrivateProfileStringA("SpeedView", "TrayIcon", "2", Ini().c_str());
    Script(std::string(AdapterA) + " rin=250000 rout=40000\nip index=2 addr=192.168.1.10\n");
    HANDLE process = Start("/s");
    ASSERT_NE((HWND)NULL, Window());
    HWND speed = NULL;
    auto speedText = [&] {
        wchar_t text[128] = L"";
        speed = FindWindowW(L"BrisvaneSpeedWindow", NULL);
        if (speed != NULL)
            GetWindowTextW(speed, text, 128);
        return std::wstring(text);
    };
    ASSERT_TRUE(WaitUntil([&] { return speedText() == L"Down 250 KB/s, Up 40.0 KB/s"; }))
        << speedText().size();
    EXPECT_TRUE(IsWindowVisible(speed));
    Script(std::string(AdapterA) + " rin=1250000 rout=0\nip index=2 addr=192.168.1.10\n");
    ASSERT_TRUE(WaitUntil([&] { return speedText() == L"Down 1.25 MB/s, Up 0 B/s"; }));
    End(Window());
    EXPECT_EQ(0u, ExitCode(process));
    EXPECT_EQ(1u, IniNumber("SpeedView", "Window"));
    EXPECT_EQ(2u, IniNumber("SpeedView", "TrayIcon"));
}

TEST_F(EndToEndTest, APortableCopyInAFolderBeyondTheCodePageKeepsItsDataBesideItself)
{
    ASSERT_EQ(1252u, GetACP());
    // "Łukasz-流量"; the adapter "Адаптер 流量".
    const std::string home = folder.Path("\xC5\x81ukasz-\xE6\xB5\x81\xE9\x87\x8F");
    const std::string description =
        "\xD0\x90\xD0\xB4\xD0\xB0\xD0\xBF\xD1\x82\xD0\xB5\xD1\x80 \xE6\xB5\x81\xE9\x87\x8F";
    ASSERT_TRUE(CreateDirectoryW(WideText(home.c_str()), NULL));
    const std::string copy = home + "\\Brisvane.exe";
    ASSERT_TRUE(CopyFileW(WideText(exe.c_str()), WideText(copy.c_str()), FALSE));
    exe = copy;
    const std::string ini = home + "\\Brisvane.INI";
    WritePrivateProfileStringW(L"Settings", L"EnableLog", L"1", WideText(ini.c_str()));
    WritePrivateProfileStringW(L"00-1A-2B-3C-4D-A1", L"Total_in", L"5000", WideText(ini.c_str()));
    Script("wide\nif index=2 mac=00-1A-2B-3C-4D-A1 luid=7 in=70 descr=" + description +
           "\nip index=2 addr=192.168.1.10\n");
    for (int run = 0; run < 2; run++) {
        HANDLE process = Start();
        HWND window = Window();
        ASSERT_NE((HWND)NULL, window);
        HWND page = NULL;
        ASSERT_TRUE(WaitUntil([&] {
            page = ShownPage(window);
            return page != NULL && Text(page, IDC_PAGE_MAC) == MacA;
        }));
        EXPECT_EQ(description, RemoteWideText(GetDlgItem(page, IDC_PAGE_DESCR)));
        End(window);
        ASSERT_EQ(0u, ExitCode(process));
        // Each run found the total beside itself (the second in the UTF-8 file the first one
        // wrote, since the log's path is beyond the code page) and kept it.
        std::string text = ReadFileText(ini);
        EXPECT_EQ(0u, text.compare(0, 3, "\xEF\xBB\xBF"));
        EXPECT_NE(std::string::npos, text.find("LogPathName=" + home + "\\Brisvane.LOG\r\n"));
        EXPECT_NE(std::string::npos, text.find("Total_in=5000\r\n")) << "run " << run;
    }
    EXPECT_EQ(2, CountOf(ReadLogText(home + "\\Brisvane.LOG"), "\tStart\r\n"));
}

// The windows speak German; what machines read stays as in every language: the INI file's
// sections and keys, the event log's and the traffic log's lines, the report's JSON.
TEST_F(EndToEndTest, InGermanTheWindowsChangeAndTheFilesDoNot)
{
    const char* built = getenv("BRISVANE_REPORT_EXE");
    ASSERT_NE((const char*)NULL, built) << "BRISVANE_REPORT_EXE names the report program";
    std::string report = folder.Path("brisvane-report.exe");
    ASSERT_TRUE(CopyFileA(built, report.c_str(), FALSE)) << built;
    WritePrivateProfileStringA("Appearance", "Language", "de", Ini().c_str());
    WritePrivateProfileStringA("Settings", "ResetType", "0", Ini().c_str());  // daily
    WritePrivateProfileStringA("Settings", "EnableTrafficLog", "1", Ini().c_str());
    // An hour a cycle from 20:00: midnight passes, and with it a daily reset.
    Script(std::string(AdapterA) + " rin=100 rout=10\nip index=2 addr=192.168.1.10\n"
           "clock start=2026-12-05T20:00:00 step=3600 until=12\nfast\n");
    HANDLE process = Start("/s");
    HWND window = Window();
    ASSERT_NE((HWND)NULL, window);
    ASSERT_TRUE(WaitUntil([&] { return Reads() >= 14; }, 60000)) << Reads();

    PostMessageA(window, WM_COMMAND, ID_APP_SETTINGS, 0);
    HWND settings = NULL;
    EXPECT_TRUE(WaitUntil([&] {
        return (settings = FindWindowA("#32770", "Einstellungen")) != NULL;
    }));
    if (settings != NULL)
        PostMessageA(settings, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return FindWindowA("#32770", "Einstellungen") == NULL; }));
    End(window);
    EXPECT_EQ(0u, ExitCode(process));

    std::string ini = ReadFileText(Ini());
    for (const char* kept : {"[Settings]", "ResetType=0", "EnableTrafficLog=1", "LogPathName=",
                             "[Appearance]", "Language=de"})
        EXPECT_NE(std::string::npos, ini.find(kept)) << kept << "\n" << ini;
    EXPECT_NE(0u, IniNumber(MacA, "Total_in")) << ini;
    std::string log = Log();
    EXPECT_EQ(1, CountOf(log, "\tStart\r\n")) << log;
    EXPECT_EQ(1, CountOf(log, "were reset because the reset date was reached")) << log;
    EXPECT_EQ(1, CountOf(log, "\tStop IN ")) << log;
    std::string csv = ReadFileText(folder.Path("Brisvane.CSV"));
    EXPECT_NE(std::string::npos, csv.find(std::string(MacA) + ",192.168.1.10,")) << csv;

    std::string json, text;
    EXPECT_EQ(0u, RunReport(report, "--json", &json));
    for (const char* key : {"\"generated\":", "\"today\":", "\"sinceReset\":", "\"in\": ",
                            "\"limitPassed\": false"})
        EXPECT_NE(std::string::npos, json.find(key)) << key << "\n" << json;
    // The report's text is the user's, in German.
    EXPECT_EQ(0u, RunReport(report, "", &text));
    EXPECT_NE(std::string::npos, text.find("Heute")) << text;
    EXPECT_NE(std::string::npos, text.find("Dieser Monat")) << text;
}

// An Ethernet adapter and a VPN tunnel carrying the same traffic: "all adapters" counts it
// once, on the wire, in the speed window and in the history window; with every adapter chosen,
// the sum as before.
TEST_F(EndToEndTest, AVpnsTrafficCountsOnceInAllAdapters)
{
    WritePrivateProfileStringA("SpeedView", "Window", "1", Ini().c_str());
    WritePrivateProfileStringA("SpeedView", "Adapter", "1", Ini().c_str());
    const std::string addresses = "ip index=2 addr=192.168.1.10\nip index=3 addr=10.8.0.2\n";
    auto both = [&](const std::string& traffic) {
        return "wide\nif index=2 mac=00-1A-2B-3C-4D-A1 luid=1 hw=1 type=6 " + traffic +
               " descr=Ethernet\nif index=3 mac=- luid=9 hw=0 type=131 " + traffic +
               " descr=VPN\n" + addresses;
    };
    Script(both("rin=250000 rout=40000"));
    HANDLE process = Start("/s");
    HWND window = Window();
    ASSERT_NE((HWND)NULL, window);
    auto speedText = [&] {
        wchar_t text[128] = L"";
        HWND speed = FindWindowW(L"BrisvaneSpeedWindow", NULL);
        if (speed != NULL)
            GetWindowTextW(speed, text, 128);
        return std::wstring(text);
    };
    ASSERT_TRUE(WaitUntil([&] { return speedText() == L"Down 250 KB/s, Up 40.0 KB/s"; }));
    // Every adapter: the tunnel's bytes again.
    PostMessageA(window, WM_COMMAND, ID_SPEED_PHYSICAL_ONLY, 0);
    ASSERT_TRUE(WaitUntil([&] { return speedText() == L"Down 500 KB/s, Up 80.0 KB/s"; }));
    PostMessageA(window, WM_COMMAND, ID_SPEED_PHYSICAL_ONLY, 0);
    ASSERT_TRUE(WaitUntil([&] { return speedText() == L"Down 250 KB/s, Up 40.0 KB/s"; }));

    // The traffic stops at a count both share, so that the days stand still.
    Script(both("in=9000000000 out=700000000"));
    ASSERT_TRUE(WaitUntil([&] { return speedText() == L"Down 0 B/s, Up 0 B/s"; }));
    PostMessageA(window, WM_COMMAND, ID_APP_HISTORY, 0);
    HWND history = NULL;
    ASSERT_TRUE(WaitUntil([&] {
        return (history = FindWindowA("#32770", "History")) != NULL && IsWindowVisible(history);
    }));
    HWND list = GetDlgItem(history, IDC_HIST_LIST);
    HWND physical = GetDlgItem(history, IDC_HIST_PHYSICAL);
    EXPECT_EQ(BST_CHECKED, SendMessageA(physical, BM_GETCHECK, 0, 0));
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) >= 1; }));
    std::string physicalDay = RemoteListText(list, 0, 1);
    SendMessageA(physical, BM_CLICK, 0, 0);
    std::string everyDay = RemoteListText(list, 0, 1);
    End(window);
    EXPECT_EQ(0u, ExitCode(process));

    UsageHistory today;
    ASSERT_TRUE(ReadTodayFigures(today, Ini().c_str()));
    unsigned long long ethernet = 0, tunnel = 0;
    for (const RunningDay& entry : today.Running)
        (strcmp(entry.Mac, MacA) == 0 ? ethernet : tunnel) += entry.In;
    ASSERT_NE(0u, ethernet);
    EXPECT_EQ(ethernet, tunnel);
    char text[REPORT_AMOUNT_CHARS];
    FormatReportAmount(ethernet, text, sizeof(text));
    EXPECT_EQ(text, physicalDay);
    FormatReportAmount(ethernet + tunnel, text, sizeof(text));
    EXPECT_EQ(text, everyDay);
    // The choices and each adapter's mark are kept.
    EXPECT_EQ(1u, IniNumber("SpeedView", "PhysicalOnly"));
    EXPECT_EQ(0u, IniNumber("HistoryWindow", "PhysicalOnly"));
    EXPECT_EQ(1u, IniNumber(MacA, "CountInAll"));
    EXPECT_NE(std::string::npos, ReadFileText(Ini()).find("CountInAll=0\r\n"));
}

// Hidden through the INI file by hand, every adapter shows; one hidden from its tab goes on
// counting through a restart, exact to the byte, and comes back in its place.
TEST_F(EndToEndTest, AHiddenAdapterCountsOnAndComesBackInItsPlace)
{
    const char MacB[] = "00-1A-2B-3C-4D-B2";
    const char MacC[] = "00-1A-2B-3C-4D-C3";
    const char Ghost[] = "00-1A-2B-3C-4D-99";
    for (const char* section : {MacA, MacB, MacC, Ghost})
        WritePrivateProfileStringA(section, "Hidden", "1", Ini().c_str());
    Script(std::string("fast\n") + AdapterA + "\n" + AdapterB + " rin=100\n" +
           "if index=4 mac=00-1A-2B-3C-4D-C3 descr=Adapter C\n"
           "ip index=2 addr=192.168.1.10\nip index=3 addr=10.0.0.5\nip index=4 addr=10.0.0.6\n");
    auto tabs = [&](HWND window) {
        std::string labels;
        for (int i = 0; i < TabCount(window); i++)
            labels += TabText(window, i) + " ";
        return labels;
    };
    HANDLE process = Start();
    HWND window = Window();
    ASSERT_NE((HWND)NULL, window);
    ASSERT_TRUE(WaitUntil([&] { return TabCount(window) == 3; })) << tabs(window);
    EXPECT_EQ("192.168.1.10 10.0.0.5 10.0.0.6 ", tabs(window));
    // B, the second tab, from its context menu's command.
    PostMessageA(window, WM_COMMAND, ID_NEXT_TAB, 0);
    PostMessageA(window, WM_COMMAND, ID_TAB_HIDE, 0);
    ASSERT_TRUE(WaitUntil([&] { return TabCount(window) == 2; }));
    EXPECT_EQ("192.168.1.10 10.0.0.6 ", tabs(window));
    EXPECT_EQ(1u, IniNumber(MacB, "Hidden"));
    EXPECT_EQ(0u, IniNumber(MacA, "Hidden"));
    unsigned long long before = IniNumber(MacB, "Total_in");
    ASSERT_TRUE(WaitUntil([&] { return IniNumber(MacB, "Total_in") > before; }, 30000));
    End(window);
    ASSERT_EQ(0u, ExitCode(process));

    process = Start();
    window = Window();
    ASSERT_NE((HWND)NULL, window);
    ASSERT_TRUE(WaitUntil([&] { return TabCount(window) == 2 && Reads() > 10; }));
    EXPECT_EQ("192.168.1.10 10.0.0.6 ", tabs(window));
    before = IniNumber(MacB, "Total_in");
    ASSERT_TRUE(WaitUntil([&] { return IniNumber(MacB, "Total_in") > before; }, 30000));
    // Shown again from the adapters dialog: back in its place.
    PostMessageA(window, WM_COMMAND, ID_TRAY_ADAPTERS, 0);
    HWND dialog = NULL;
    ASSERT_TRUE(WaitUntil([&] {
        return (dialog = FindWindowA("#32770", "Adapters")) != NULL && IsWindowVisible(dialog);
    }));
    HWND list = GetDlgItem(dialog, IDC_ADAPTERS_LIST);
    ASSERT_EQ(3, (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(0u, RemoteListText(list, 1, 0).find("10.0.0.5 - Adapter B"));
    RemoteListCheck(list, 1, true);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return TabCount(window) == 3; }));
    EXPECT_EQ("192.168.1.10 10.0.0.5 10.0.0.6 ", tabs(window));
    End(window);
    ASSERT_EQ(0u, ExitCode(process));

    EXPECT_EQ(0u, IniNumber(MacB, "Hidden"));
    EXPECT_EQ(1u, IniNumber(Ghost, "Hidden"));  // naming no adapter: kept
    // Every applied row of B after the first of each run moved 100 bytes; its days hold them.
    unsigned long long total = IniNumber(MacB, "Total_in");
    EXPECT_EQ(100 * IniNumber(MacB, "ActiveCountIn"), total);
    unsigned long long days = 0;
    UsageHistory today;
    ASSERT_TRUE(ReadTodayFigures(today, Ini().c_str()));
    for (const RunningDay& entry : today.Running)
        if (strcmp(entry.Mac, MacB) == 0)
            days += entry.In;
    HistoryTable file;
    int skipped = 0;
    if (file.ReadFile(folder.Path("Brisvane-history.csv").c_str(), &skipped))
        for (int i = 0; i < file.Records.Count(); i++)
            if (strcmp(file.Names[file.Records[i].Name].Mac, MacB) == 0)
                days += file.Records[i].In;
    EXPECT_EQ(total, days);
    EXPECT_NE(0u, total);
}
