// The main window from the keyboard: Ctrl+Tab and its kin in the running program's own loop,
// Settings and About in the system menu, the tool bar's tooltips, and the close question.
#include "MainWindowTestSupport.h"

#include <process.h>

#include <vector>

#include "config/DialogDriver.h"
#include "resource.h"

namespace {

// Holds or lets go of modifier keys for this thread, as the accelerators read them.
void HoldKeys(bool control, bool shift)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = control ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
}

// Presses one key with modifiers into the focused window of the running program; the program's
// loop sees it as it would see the user's key.
struct KeyPress {
    bool Control;
    bool Shift;
    WPARAM Key;
};

// The steps, run inside the program's own message loop by a thread timer: each step presses
// its key and the next one records where the selection went.
struct TabScript {
    std::vector<KeyPress> Keys;
    std::vector<int> Selected;  // the selected tab after each key
    std::vector<bool> FocusInPage;
    size_t Step;
    HWND Window;
};
TabScript Script;

HWND SelectedPage(HWND tabs)
{
    TCITEMA item = {};
    item.mask = TCIF_PARAM;
    int selected = (int)SendMessageA(tabs, TCM_GETCURSEL, 0, 0);
    if (!SendMessageA(tabs, TCM_GETITEMA, selected, (LPARAM)&item))
        return NULL;
    return ((InterfaceMonitor*)item.lParam)->Window;
}

void CALLBACK TabStep(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND window = FindWindowA(MAIN_WINDOW_CLASS, NULL);
    HWND tabs = GetDlgItem(window, IDC_TABCONTROL);
    if (Script.Step > 0) {
        Script.Selected.push_back((int)SendMessageA(tabs, TCM_GETCURSEL, 0, 0));
        HWND focus = GetFocus();
        HWND page = SelectedPage(tabs);
        Script.FocusInPage.push_back(focus == page || IsChild(page, focus));
    } else {
        Script.Window = window;
        SetFocus(GetDlgItem(SelectedPage(tabs), IDC_PAGE_DESCR));  // as after a click in the page
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

// Answers the close question with the Y key, from a second thread, once the question is in
// front with the keyboard focus on it.
struct QuestionAnswer {
    bool InFront;
    bool HasFocus;
};

unsigned __stdcall AnswerWithY(void* argument)
{
    QuestionAnswer* answer = (QuestionAnswer*)argument;
    HWND box = NULL;
    GUITHREADINFO input = {};
    DWORD start = GetTickCount();
    // Waits for the question to be in front with the focus, or for the deadline.
    while (GetTickCount() - start < 5000) {
        box = FindWindowA("#32770", "Brisvane");
        if (box != NULL && IsWindowVisible(box)) {
            input.cbSize = sizeof(input);
            GetGUIThreadInfo(GetWindowThreadProcessId(box, NULL), &input);
            answer->InFront = GetForegroundWindow() == box;
            answer->HasFocus = input.hwndFocus == box || IsChild(box, input.hwndFocus);
            if (answer->InFront && answer->HasFocus) {
                PostMessageA(input.hwndFocus, WM_CHAR, 'y', 0);
                return 0;
            }
        }
        Sleep(10);
    }
    if (box != NULL)
        PostMessageA(box, WM_COMMAND, IDNO, 0);  // let the test go on, and fail
    return 1;
}

// A window of another thread in front, as the shell's tray is when the menu's Close is picked.
struct Elsewhere {
    HANDLE Ready;
    HWND Window;
};

unsigned __stdcall RunElsewhere(void* argument)
{
    Elsewhere* elsewhere = (Elsewhere*)argument;
    elsewhere->Window = CreateWindowExA(0, "STATIC", "Elsewhere", WS_POPUP | WS_VISIBLE, 400, 400,
                                        50, 50, NULL, NULL, GetModuleHandleA(NULL), NULL);
    SetForegroundWindow(elsewhere->Window);
    SetEvent(elsewhere->Ready);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0)
        DispatchMessageA(&message);
    DestroyWindow(elsewhere->Window);
    return 0;
}

}  // namespace

TEST_F(MainWindowTest, CtrlTabSwitchesTabsInTheRunningWindow)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.AddAdapter(3, 0xB2, "10.0.0.5");
    fake.AddAdapter(4, 0xC3, "10.0.0.9");
    Script = TabScript();
    Script.Keys = {
        {true, false, VK_TAB},    // to 1
        {true, false, VK_TAB},    // to 2
        {true, false, VK_TAB},    // round to 0
        {true, true, VK_TAB},     // back round to 2
        {true, false, VK_PRIOR},  // to 1
        {true, false, VK_NEXT},   // to 2
        {false, false, VK_TAB},   // plain Tab stays inside the page
    };
    UINT_PTR timer = SetTimer(NULL, 0, 100, TabStep);
    int exitCode = RunBrisvane(GetModuleHandleA(NULL), "", SW_SHOWNORMAL);
    KillTimer(NULL, timer);
    HoldKeys(false, false);
    EXPECT_EQ(0, exitCode);
    EXPECT_FALSE(IsWindow(Script.Window));
    const std::vector<int> expected = {1, 2, 0, 2, 1, 2, 2};
    EXPECT_EQ(expected, Script.Selected);
    EXPECT_EQ(std::vector<bool>(expected.size(), true), Script.FocusInPage);
}

TEST_F(MainWindowTest, SystemMenuCarriesSettingsAndAbout)
{
    ASSERT_NE((HWND)NULL, Create());
    HMENU system = GetSystemMenu(main.Window, FALSE);
    int count = GetMenuItemCount(system);
    ASSERT_GE(count, 3);
    char text[64] = "";
    GetMenuStringA(system, count - 2, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("Se&ttings...", text);
    GetMenuStringA(system, count - 1, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("&About...", text);
    EXPECT_TRUE(GetMenuState(system, count - 3, MF_BYPOSITION) & MF_SEPARATOR);

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
    // The system's own commands still work.
    SendMessageA(main.Window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(main.Window));
}

TEST_F(MainWindowTest, ToolBarButtonsNameThemselvesInTooltips)
{
    ASSERT_NE((HWND)NULL, Create());
    HWND tips = (HWND)SendMessageA(main.ToolBar, TB_GETTOOLTIPS, 0, 0);
    ASSERT_NE((HWND)NULL, tips);
    EXPECT_EQ(2, (int)SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0));

    // What the tool bar asks of its parent when a tooltip is about to show.
    const struct {
        UINT Command;
        const char* Text;
    } buttons[] = {{ID_APP_SETTINGS, "Settings"}, {ID_APP_ABOUT, "About"}};
    for (const auto& button : buttons) {
        NMTTDISPINFOA info = {};
        info.hdr.hwndFrom = tips;
        info.hdr.idFrom = button.Command;
        info.hdr.code = TTN_GETDISPINFOA;
        SendMessageA(main.Window, WM_NOTIFY, button.Command, (LPARAM)&info);
        ASSERT_NE((LPSTR)NULL, info.lpszText);
        EXPECT_STREQ(button.Text, info.lpszText);

        NMTTDISPINFOW wide = {};
        wide.hdr.hwndFrom = tips;
        wide.hdr.idFrom = button.Command;
        wide.hdr.code = TTN_GETDISPINFOW;
        SendMessageA(main.Window, WM_NOTIFY, button.Command, (LPARAM)&wide);
        ASSERT_NE((LPWSTR)NULL, wide.lpszText);
        char narrow[32] = "";
        WideCharToMultiByte(CP_ACP, 0, wide.lpszText, -1, narrow, sizeof(narrow), NULL, NULL);
        EXPECT_STREQ(button.Text, narrow);
    }
}

TEST_F(MainWindowTest, CloseQuestionTakesTheKeyboardFocusSoYAnswersIt)
{
    ASSERT_NE((HWND)NULL, Create());
    Elsewhere elsewhere = {CreateEventA(NULL, TRUE, FALSE, NULL), NULL};
    unsigned elsewhereThread = 0;
    HANDLE front = (HANDLE)_beginthreadex(NULL, 0, RunElsewhere, &elsewhere, 0, &elsewhereThread);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(elsewhere.Ready, 5000));
    EXPECT_EQ(elsewhere.Window, GetForegroundWindow());

    QuestionAnswer answer = {false, false};
    HANDLE thread = (HANDLE)_beginthreadex(NULL, 0, AnswerWithY, &answer, 0, NULL);
    HWND window = main.Window;
    SendMessageA(window, WM_COMMAND, ID_TRAY_CLOSE, 0);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    PumpMessages();
    PostThreadMessageA(elsewhereThread, WM_QUIT, 0, 0);
    WaitForSingleObject(front, 5000);
    CloseHandle(front);
    CloseHandle(elsewhere.Ready);
    EXPECT_TRUE(answer.InFront);
    EXPECT_TRUE(answer.HasFocus);
    EXPECT_FALSE(IsWindow(window));  // Y said yes
    EXPECT_EQ(1, main.ShutdownDone);
}
