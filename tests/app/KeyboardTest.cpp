// The main window from the keyboard: Ctrl+Tab and its kin in the program's own loop, Settings
// and About in the system menu, the tool bar's tooltips, and the close question's focus.
#include "MainWindowTestSupport.h"

#include <process.h>

#include <vector>

#include "ModalDriver.h"
#include "resource.h"

namespace {

// Holds modifier keys for this thread, as the accelerators read them.
void HoldKeys(bool control, bool shift)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = control ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
}

struct KeyPress {
    bool Control;
    bool Shift;
    WPARAM Key;
};

// Run inside the program's own loop by a thread timer: each step records where the previous
// key left the selection and the focus, then presses the next key into the focused window.
struct TabScript {
    std::vector<KeyPress> Keys;
    std::vector<int> Selected;
    std::vector<bool> FocusInPage;
    size_t Step;
};
TabScript Script;

void CALLBACK TabStep(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND window = FindWindowW(MainWindowClass, NULL);
    MainWindow* main = static_cast<MainWindow*>(WindowObject::FromHandle(window));
    TabStrip& tabs = MainWindowProbe::Tabs(*main);
    HWND page = tabs.SelectedPage()->Window;
    if (Script.Step == 0) {
        SetFocus(GetDlgItem(page, IDC_PAGE_DESCR));  // as after a click into the page
    } else {
        Script.Selected.push_back(tabs.Selected());
        Script.FocusInPage.push_back(IsChild(page, GetFocus()) || GetFocus() == page);
    }
    if (Script.Step < Script.Keys.size()) {
        const KeyPress& press = Script.Keys[Script.Step++];
        HoldKeys(press.Control, press.Shift);
        PostMessageA(GetFocus(), WM_KEYDOWN, press.Key, 0);
        PostMessageA(GetFocus(), WM_KEYUP, press.Key, 0);
        return;
    }
    HoldKeys(false, false);
    ShowWindow(window, SW_HIDE);
    PostMessageA(window, WM_CLOSE, 0, 0);
    KillTimer(NULL, timer);
}

// Answers the close question with Y once it is in front with the keyboard focus, or says No
// at the deadline.
struct QuestionAnswer {
    bool InFront;
    bool HasFocus;
};

unsigned __stdcall AnswerWithY(void* argument)
{
    QuestionAnswer* answer = (QuestionAnswer*)argument;
    HWND box = NULL;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(10)) {
        box = FindWindowA("#32770", "Brisvane");
        if (box == NULL || !IsWindowVisible(box))
            continue;
        GUITHREADINFO input = {};
        input.cbSize = sizeof(input);
        GetGUIThreadInfo(GetWindowThreadProcessId(box, NULL), &input);
        answer->InFront = GetForegroundWindow() == box;
        answer->HasFocus = IsChild(box, input.hwndFocus) != FALSE;
        if (answer->InFront && answer->HasFocus) {
            PostMessageA(input.hwndFocus, WM_CHAR, 'y', 0);
            return 0;
        }
    }
    if (box != NULL)
        PostMessageA(box, WM_COMMAND, IDNO, 0);
    return 1;
}

// A window of another thread in front, as the shell's tray is when the menu's Close is picked.
unsigned __stdcall HoldTheFront(void* ready)
{
    HWND window = CreateWindowExA(0, "STATIC", "Elsewhere", WS_POPUP | WS_VISIBLE, 400, 400, 50,
                                  50, NULL, NULL, GetModuleHandleA(NULL), NULL);
    SetForegroundWindow(window);
    SetEvent((HANDLE)ready);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0)
        DispatchMessageA(&message);
    DestroyWindow(window);
    return 0;
}

}  // namespace

TEST_F(MainWindowTest, CtrlTabSwitchesTabsInTheRunningWindow)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.AddAdapter(3, 0xB2, "10.0.0.5");
    fake.AddAdapter(4, 0xC3, "10.0.0.9");
    Script = TabScript();
    Script.Keys = {{true, false, VK_TAB}, {true, false, VK_TAB}, {true, false, VK_TAB},
                   {true, true, VK_TAB},  {true, false, VK_PRIOR}, {true, false, VK_NEXT},
                   {false, false, VK_TAB}};  // a plain Tab stays inside the page
    UINT_PTR timer = SetTimer(NULL, 0, 100, TabStep);
    EXPECT_EQ(0, RunBrisvane(GetModuleHandleA(NULL), "", SW_SHOWNORMAL));
    KillTimer(NULL, timer);
    HoldKeys(false, false);
    const std::vector<int> expected = {1, 2, 0, 2, 1, 2, 2};
    EXPECT_EQ(expected, Script.Selected);
    EXPECT_EQ(std::vector<bool>(expected.size(), true), Script.FocusInPage);
}

TEST_F(MainWindowTest, SystemMenuRunsSettingsAndAboutAndToolBarButtonsNameThemselves)
{
    ASSERT_NE((HWND)NULL, Create());
    HMENU system = GetSystemMenu(main.Window, FALSE);
    int count = GetMenuItemCount(system);
    char text[64] = "";
    GetMenuStringA(system, count - 2, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("Se&ttings...", text);
    GetMenuStringA(system, count - 1, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("&About...", text);
    {
        ModalStep step("Settings", [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
        SendMessageA(main.Window, WM_SYSCOMMAND, GetMenuItemID(system, count - 2), 0);
        EXPECT_TRUE(step.Ran());
    }
    {
        ModalStep step("About", [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDOK, 0); });
        SendMessageA(main.Window, WM_SYSCOMMAND, GetMenuItemID(system, count - 1), 0);
        EXPECT_TRUE(step.Ran());
    }
    SendMessageA(main.Window, WM_SYSCOMMAND, SC_MINIMIZE, 0);  // the system's own still work
    EXPECT_TRUE(IsIconic(main.Window));

    // What the tool bar asks of its parent when a button's tooltip is about to show.
    HWND tips = (HWND)SendMessageA(ToolBar(), TB_GETTOOLTIPS, 0, 0);
    ASSERT_NE((HWND)NULL, tips);
    const std::pair<UINT, const wchar_t*> buttons[] = {{ID_APP_SETTINGS, L"Settings"},
                                                       {ID_APP_ABOUT, L"About"}};
    for (const auto& button : buttons) {
        NMTTDISPINFOW info = {};
        info.hdr = {tips, button.first, (UINT)TTN_GETDISPINFOW};
        SendMessageW(main.Window, WM_NOTIFY, button.first, (LPARAM)&info);
        ASSERT_NE((LPWSTR)NULL, info.lpszText);
        EXPECT_STREQ(button.second, info.lpszText);
    }
}

TEST_F(MainWindowTest, CloseQuestionComesToTheFrontSoYAnswersIt)
{
    ASSERT_NE((HWND)NULL, Create());
    HANDLE ready = CreateEventA(NULL, TRUE, FALSE, NULL);
    unsigned frontThread = 0;
    HANDLE front = (HANDLE)_beginthreadex(NULL, 0, HoldTheFront, ready, 0, &frontThread);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ready, 5000));

    QuestionAnswer answer = {false, false};
    HANDLE thread = (HANDLE)_beginthreadex(NULL, 0, AnswerWithY, &answer, 0, NULL);
    HWND window = main.Window;
    SendMessageA(window, WM_COMMAND, ID_TRAY_CLOSE, 0);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    PumpMessages();
    PostThreadMessageA(frontThread, WM_QUIT, 0, 0);
    WaitForSingleObject(front, 5000);
    CloseHandle(front);
    CloseHandle(ready);
    EXPECT_TRUE(answer.InFront);
    EXPECT_TRUE(answer.HasFocus);
    EXPECT_FALSE(IsWindow(window));  // Y said yes
}
