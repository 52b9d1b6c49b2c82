// The picture test: rendered by the dialog manager at 96 DPI, and in a child run of this
// program at 144 DPI, every label of the adapter page, the settings dialog, the about box and
// the history window fits its control in the dialog's own font, so no text is cut; the main
// window fits its page there too.
#include "MainWindowTestSupport.h"

#include <stdlib.h>

#include <string>
#include <vector>

#include "AboutDialog.h"
#include "SettingsDialog.h"
#include "TrafficAlert.h"
#include "ModalDriver.h"
#include "resource.h"

namespace {

// Pixels at 96 DPI that the controls keep beside a text as they draw it.
const int CheckBoxWidth = 13;   // a check box's or radio button's box (half a digit follows)
const int GroupTextMargin = 7;  // a group box's text from each end of its frame
const int PushTextMargin = 3;   // a push button's text from each side of its face

// Measures the control's current text as the control draws it; appends a line to misfits when
// it needs more room than the control has. Controls without a label (edits, icons) pass.
void CheckLabel(HWND control, std::string& misfits)
{
    char className[32] = "";
    GetClassNameA(control, className, sizeof(className));
    LONG style = GetWindowLongA(control, GWL_STYLE);
    std::string text = WindowText(control);
    bool isStatic = _stricmp(className, "Static") == 0;
    DWORD type = isStatic ? (style & SS_TYPEMASK) : (style & BS_TYPEMASK);
    if (text.empty() || (!isStatic && _stricmp(className, "Button") != 0) ||
        (isStatic && type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT))
        return;

    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(control, WM_GETFONT, 0, 0));
    RECT client;
    GetClientRect(control, &client);
    SIZE room = {client.right, client.bottom};
    UINT format = DT_CALCRECT | DT_EXPANDTABS | (isStatic ? DT_WORDBREAK : DT_SINGLELINE);
    if (!isStatic) {
        SIZE digit;
        GetTextExtentPoint32A(dc, "0", 1, &digit);
        bool check = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                     type == BS_AUTORADIOBUTTON;
        room.cx -= check ? CheckBoxWidth + digit.cx / 2
                         : 2 * (type == BS_GROUPBOX ? GroupTextMargin : PushTextMargin);
    }
    RECT needed = {0, 0, room.cx, 0};
    DrawTextA(dc, text.c_str(), -1, &needed, format);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    if (needed.right > room.cx || needed.bottom > room.cy)
        misfits += "\n  \"" + text + "\" needs " + std::to_string(needed.right) + "x" +
                   std::to_string(needed.bottom) + ", has " + std::to_string(room.cx) + "x" +
                   std::to_string(room.cy);
}

void CheckLabels(HWND dialog, std::string& misfits)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child != NULL;
         child = GetWindow(child, GW_HWNDNEXT))
        CheckLabel(child, misfits);
}

int ScreenDpi()
{
    HDC screen = GetDC(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    return dpi;
}

// Set in the child run: the DPI its prefix was given.
const char ChildDpiVariable[] = "BRISVANE_TEST_DPI";
const int HigherDpi = 144;
const DWORD ChildRunMs = 240000;

int ExpectedDpi()
{
    const char* text = getenv(ChildDpiVariable);
    return text != NULL ? atoi(text) : 96;
}

// Wine's DPI is this value of the prefix, read as each process starts.
const wchar_t DesktopKey[] = L"Control Panel\\Desktop";
const wchar_t LogPixelsValue[] = L"LogPixels";

}  // namespace

TEST_F(MainWindowTest, NoLabelOfThePageOrTheSettingsDialogIsCut)
{
    ASSERT_EQ(ExpectedDpi(), ScreenDpi());
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    HWND page = PageWindow(TabMonitor(0));
    std::string misfits;
    CheckLabels(page, misfits);
    // The texts the program writes into the status and alert labels as well.
    HWND status = GetDlgItem(page, IDC_PAGE_STATUS);
    SetWindowTextA(status, StatusText(0, 0));
    CheckLabel(status, misfits);
    for (DWORD operStatus = 0; operStatus <= 5; operStatus++) {
        SetWindowTextA(status, StatusText(1, operStatus));
        CheckLabel(status, misfits);
    }
    const AlertVerdict verdicts[] = {AlertInPassed, AlertOutPassed, AlertSumPassed};
    for (AlertVerdict verdict : verdicts) {
        SetWindowTextA(GetDlgItem(page, IDC_PAGE_ALERT), AlertVerdictText(verdict));
        CheckLabel(GetDlgItem(page, IDC_PAGE_ALERT), misfits);
    }

    {
        ModalStep step("Settings", [&](HWND dialog) {
            CheckLabels(dialog, misfits);
            // Each reset type writes its own text into the reset label.
            const int radios[] = {IDC_SET_NEVER, IDC_SET_DAILY, IDC_SET_MONTHLY, IDC_SET_ONDATE};
            for (int radio : radios) {
                SendDlgItemMessageA(dialog, radio, BM_CLICK, 0, 0);
                CheckLabel(GetDlgItem(dialog, IDC_SET_RESETLABEL), misfits);
            }
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        SendMessageA(main.Window, WM_COMMAND, ID_APP_SETTINGS, 0);
        EXPECT_TRUE(step.Ran());
    }
    EXPECT_EQ("", misfits);
}

TEST_F(MainWindowTest, NoLabelOfTheAboutBoxOrTheHistoryWindowIsCut)
{
    ASSERT_EQ(ExpectedDpi(), ScreenDpi());
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    std::string misfits;
    {
        ModalStep step("About", [&](HWND dialog) {
            CheckLabels(dialog, misfits);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
        SendMessageA(main.Window, WM_COMMAND, ID_APP_ABOUT, 0);
        EXPECT_TRUE(step.Ran());
    }
    SendMessageA(main.Window, WM_COMMAND, ID_APP_HISTORY, 0);
    HWND history = HistoryView().Window;
    ASSERT_NE((HWND)NULL, history);
    CheckLabels(history, misfits);
    // The line of an empty history, in the status line's width.
    EXPECT_EQ(NO_HISTORY_TEXT, WindowText(GetDlgItem(history, IDC_HIST_STATUS)));
    CheckLabel(GetDlgItem(history, IDC_HIST_STATUS), misfits);
    DestroyWindow(history);
    EXPECT_EQ("", misfits);
}

// The same pictures at 144 DPI: this program again, in a child process that starts with the
// prefix's DPI set to 144; the DPI goes back as it was afterwards.
TEST(DpiPictureTest, At144DpiNoLabelIsCutAndTheWindowFitsItsPage)
{
    if (getenv(ChildDpiVariable) != NULL)
        GTEST_SKIP() << "the child run itself";
    HKEY key = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, DesktopKey, 0, NULL, 0,
                                             KEY_QUERY_VALUE | KEY_SET_VALUE, NULL, &key, NULL));
    DWORD before = 0, type = 0, size = sizeof(before);
    bool had = RegQueryValueExW(key, LogPixelsValue, NULL, &type, (BYTE*)&before, &size) ==
                   ERROR_SUCCESS && type == REG_DWORD;
    DWORD dpi = HigherDpi;
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExW(key, LogPixelsValue, 0, REG_DWORD, (const BYTE*)&dpi, sizeof(dpi)));

    wchar_t program[MAX_PATH];
    GetModuleFileNameW(NULL, program, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(program) +
                           L"\" --gtest_brief=1 --gtest_filter=MainWindowTest.NoLabel*:"
                           L"MainWindowPlaceTest.IsAsBigAsItsPage*";
    SetEnvironmentVariableW(L"BRISVANE_TEST_DPI", std::to_wstring(HigherDpi).c_str());
    STARTUPINFOW start = {};
    start.cb = sizeof(start);
    PROCESS_INFORMATION child = {};
    BOOL started = CreateProcessW(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &start,
                                  &child);
    SetEnvironmentVariableW(L"BRISVANE_TEST_DPI", NULL);
    DWORD waited = started ? WaitForSingleObject(child.hProcess, ChildRunMs) : WAIT_FAILED;
    DWORD code = 1;
    if (started) {
        if (waited != WAIT_OBJECT_0)
            TerminateProcess(child.hProcess, 1);
        GetExitCodeProcess(child.hProcess, &code);
        CloseHandle(child.hProcess);
        CloseHandle(child.hThread);
    }
    if (had)
        RegSetValueExW(key, LogPixelsValue, 0, REG_DWORD, (const BYTE*)&before, sizeof(before));
    else
        RegDeleteValueW(key, LogPixelsValue);
    RegCloseKey(key);
    ASSERT_TRUE(started);
    EXPECT_EQ((DWORD)WAIT_OBJECT_0, waited);
    EXPECT_EQ(0u, code) << "the child run at 144 DPI failed: its output is above";
}
