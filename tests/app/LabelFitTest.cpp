// The picture test: rendered by the dialog manager at 96 DPI, every label of the adapter page
// and of the settings dialog fits its control in the dialog's own font, so no text is cut.
#include "MainWindowTestSupport.h"

#include <string>
#include <vector>

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

}  // namespace

TEST_F(MainWindowTest, NoLabelOfThePageOrTheSettingsDialogIsCut)
{
    ASSERT_EQ(96, ScreenDpi());
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    HWND page = TabMonitor(0)->Window;
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
