// Start-up of the real program as separate processes: "/s" and the single instance.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdlib.h>
#include <string>
#include <vector>

#include "MainWindow.h"
#include "Startup.h"
#include "TestSupport.h"

namespace {

// Ends a running program the way the tray menu does: hidden first, then closed.
void EndProgram(HWND window)
{
    if (IsWindowVisible(window))
        SendMessageA(window, WM_CLOSE, 0, 0);  // a visible window only hides
    PostMessageA(window, WM_CLOSE, 0, 0);
}

// The built program, copied into a private folder so that its INI file lands there.
class StartupTest : public testing::Test {
protected:
    void SetUp() override
    {
        const char* built = getenv("BRISVANE_EXE");
        ASSERT_NE((const char*)NULL, built) << "BRISVANE_EXE names the built program";
        source = built;
        CreateDirectoryA(folder.Path("with blank").c_str(), NULL);
        exe = folder.Path("with blank\\Brisvane.exe");
        ASSERT_TRUE(CopyFileA(source.c_str(), exe.c_str(), FALSE)) << source;
        ASSERT_EQ((HWND)NULL, FindWindowW(MainWindowClass, NULL)) << "an instance runs already";
    }
    void TearDown() override
    {
        for (PROCESS_INFORMATION& process : started) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
                HWND window = FindWindowW(MainWindowClass, NULL);
                if (window != NULL)
                    EndProgram(window);
                if (WaitForSingleObject(process.hProcess, 10000) == WAIT_TIMEOUT)
                    TerminateProcess(process.hProcess, 1);
            }
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
        // A stray window of a test that failed early must not leak into the next test.
        for (int i = 0; i < 100 && FindWindowW(MainWindowClass, NULL) != NULL; i++)
            Sleep(50);
    }
    HANDLE Start(const std::string& commandLine)
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        std::string line = commandLine;
        if (!CreateProcessA(exe.c_str(), &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                            &process)) {
            ADD_FAILURE() << "cannot start " << line << ": error " << GetLastError();
            return NULL;
        }
        started.push_back(process);
        return process.hProcess;
    }
    HWND WaitForWindow()
    {
        for (int i = 0; i < 400; i++) {
            HWND window = FindWindowW(MainWindowClass, NULL);
            if (window != NULL)
                return window;
            Sleep(50);
        }
        return NULL;
    }
    DWORD WaitForExit(HANDLE process)
    {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(process, 20000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process, &code);
        return code;
    }
    TempFolder folder;
    std::string source;
    std::string exe;
    std::vector<PROCESS_INFORMATION> started;
};

}  // namespace

TEST(StartupTail, SlashSAnywhereStartsHidden)
{
    EXPECT_TRUE(StartsHidden("/s"));
    EXPECT_TRUE(StartsHidden("-x /s"));
    EXPECT_TRUE(StartsHidden("/silent"));
    EXPECT_TRUE(StartsHidden("C:\\data/sub"));
    EXPECT_FALSE(StartsHidden("/S"));
    EXPECT_FALSE(StartsHidden(""));
}

TEST_F(StartupTest, SecondStartShowsTheHiddenFirstWindowAndExitsMinusOne)
{
    HANDLE first = Start("\"" + exe + "\" /s");
    ASSERT_NE((HANDLE)NULL, first);
    HWND window = WaitForWindow();
    ASSERT_NE((HWND)NULL, window);
    // Waiting for input in its message loop, the program has shown or hidden its window.
    ASSERT_EQ(0u, WaitForInputIdle(first, 10000));
    EXPECT_FALSE(IsWindowVisible(window));

    HANDLE second = Start("\"" + exe + "\"");
    ASSERT_NE((HANDLE)NULL, second);
    EXPECT_EQ((DWORD)-1, WaitForExit(second));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsIconic(window));

    // Closing while visible only hides; the next close ends the program with 0.
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(window));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, WaitForExit(first));
    std::string ini = ReadFileText(folder.Path("with blank\\Brisvane.INI"));
    EXPECT_NE(std::string::npos, ini.find("[Settings]"));
    EXPECT_NE(std::string::npos, ini.find("IgnoreLoopBack=1"));
}

TEST_F(StartupTest, StartsAtTheSameMomentLeaveOneInstance)
{
    std::vector<HANDLE> starts;
    for (int i = 0; i < 6; i++)
        starts.push_back(Start("\"" + exe + "\" /s"));
    HWND window = WaitForWindow();
    ASSERT_NE((HWND)NULL, window);
    // All but one end with -1, and stay ended.
    auto running = [&] {
        std::vector<HANDLE> left;
        for (HANDLE start : starts)
            if (start != NULL && WaitForSingleObject(start, 0) == WAIT_TIMEOUT)
                left.push_back(start);
        return left;
    };
    DWORD deadline = GetTickCount() + 20000;
    while (running().size() > 1 && GetTickCount() < deadline)
        Sleep(50);
    std::vector<HANDLE> left = running();
    ASSERT_EQ(1u, left.size());
    HANDLE survivor = left[0];
    for (HANDLE start : starts) {
        DWORD code = 0;
        if (start != survivor && GetExitCodeProcess(start, &code)) {
            EXPECT_EQ((DWORD)-1, code);
        }
    }
    EXPECT_EQ(window, FindWindowA("BrisvaneAtl_class", NULL));
    ASSERT_NE((HANDLE)NULL, survivor);
    ShowWindow(window, SW_HIDE);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, WaitForExit(survivor));
}
