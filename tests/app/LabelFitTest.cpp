// The picture test: rendered under the dialog manager at 96 DPI, every label of the adapter page
// and of the settings dialog fits its control with the dialog's own font, so no text is cut.
#include "MainWindowTestSupport.h"

#include <string.h>

#include <string>
#include <vector>

#include "SettingsDialog.h"
#include "TrafficAlert.h"
#include "config/DialogDriver.h"
#include "resource.h"

namespace {

const int TestDpi = 96;
// Pixels at 96 DPI that the common controls keep beside a text (Wine's and Windows' drawing):
const int CheckBoxWidth = 13;   // the box of a check box or radio button
const int GroupTextMargin = 7;  // a group box's text from each end of its frame
const int PushTextMargin = 3;   // a push button's text from each side of its face

// A label that does not fit: its text, what it needs and what it has, in pixels.
struct Misfit {
    int Id;
    std::string Text;
    SIZE Needed;
    SIZE Room;
};

std::string Describe(const std::vector<Misfit>& misfits)
{
    std::string text;
    for (const Misfit& misfit : misfits)
        text += "\n  control " + std::to_string(misfit.Id) + " \"" + misfit.Text + "\" needs " +
                std::to_string(misfit.Needed.cx) + "x" + std::to_string(misfit.Needed.cy) +
                ", has " + std::to_string(misfit.Room.cx) + "x" + std::to_string(misfit.Room.cy);
    return text;
}

enum LabelKind { NoLabel, TextLabel, CheckLabelKind, GroupLabel, PushLabel };

LabelKind KindOf(const char* className, LONG style)
{
    if (_stricmp(className, "Static") == 0) {
        DWORD type = style & SS_TYPEMASK;
        bool text = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT ||
                    type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
        return text ? TextLabel : NoLabel;
    }
    if (_stricmp(className, "Button") != 0)
        return NoLabel;
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return CheckLabelKind;
    case BS_GROUPBOX:
        return GroupLabel;
    default:
        return PushLabel;
    }
}

// Measures the control's current text with its own font, as the control draws it. Appends a
// misfit when the text does not fit; controls without a label (edits, pictures) pass.
void CheckLabel(HWND control, std::vector<Misfit>& misfits)
{
    char className[32] = "";
    GetClassNameA(control, className, sizeof(className));
    LONG style = GetWindowLongA(control, GWL_STYLE);
    LabelKind kind = KindOf(className, style);
    std::string text = WindowText(control);
    if (kind == NoLabel || text.empty())
        return;

    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(control, WM_GETFONT, 0, 0));
    RECT client;
    GetClientRect(control, &client);
    SIZE room = {client.right, client.bottom};
    UINT format = DT_CALCRECT | DT_EXPANDTABS;
    if (kind == TextLabel) {
        DWORD type = style & SS_TYPEMASK;
        format |= type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP ? DT_SINGLELINE : DT_WORDBREAK;
        if (style & SS_NOPREFIX)
            format |= DT_NOPREFIX;
    } else {
        format |= style & BS_MULTILINE ? DT_WORDBREAK : DT_SINGLELINE;
        if (kind == CheckLabelKind) {
            // Between the box and the text lies half a digit.
            SIZE digit;
            GetTextExtentPoint32A(dc, "0", 1, &digit);
            room.cx -= CheckBoxWidth + digit.cx / 2;
        } else if (kind == GroupLabel) {
            room.cx -= 2 * GroupTextMargin;
        } else {
            room.cx -= 2 * PushTextMargin;
        }
    }
    RECT needed = {0, 0, room.cx, 0};
    DrawTextA(dc, text.c_str(), -1, &needed, format);
    SelectObject(dc, old);
    ReleaseDC(control, dc);

    SIZE need = {needed.right - needed.left, needed.bottom - needed.top};
    if (need.cx > room.cx || need.cy > room.cy)
        misfits.push_back({GetDlgCtrlID(control), text, need, room});
}

std::vector<Misfit> CheckLabels(HWND dialog)
{
    std::vector<Misfit> misfits;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != NULL;
         child = GetWindow(child, GW_HWNDNEXT))
        CheckLabel(child, misfits);
    return misfits;
}

int ScreenDpi()
{
    HDC screen = GetDC(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    return dpi;
}

}  // namespace

TEST_F(MainWindowTest, PageLabelsFitTheirControls)
{
    ASSERT_EQ(TestDpi, ScreenDpi());
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    InterfaceMonitor* monitor = TabMonitor(0);
    ASSERT_NE((InterfaceMonitor*)NULL, monitor);

    std::vector<Misfit> misfits = CheckLabels(monitor->Window);
    EXPECT_TRUE(misfits.empty()) << Describe(misfits);

    // The texts the program writes into the status and alert labels fit as well.
    HWND status = GetDlgItem(monitor->Window, IDC_PAGE_STATUS);
    const int statuses[] = {0, 1, 2, 3, 4, 5};
    std::vector<Misfit> shown;
    CheckLabel(status, shown);
    SetWindowTextA(status, StatusText(0, 5));
    CheckLabel(status, shown);
    for (int operStatus : statuses) {
        SetWindowTextA(status, StatusText(1, operStatus));
        CheckLabel(status, shown);
    }
    HWND alert = GetDlgItem(monitor->Window, IDC_PAGE_ALERT);
    const AlertVerdict verdicts[] = {AlertInPassed, AlertOutPassed, AlertSumPassed};
    for (AlertVerdict verdict : verdicts) {
        SetWindowTextA(alert, AlertVerdictText(verdict));
        CheckLabel(alert, shown);
    }
    EXPECT_TRUE(shown.empty()) << Describe(shown);
}

TEST(LabelFit, SettingsLabelsFitTheirControlsForEveryResetType)
{
    ASSERT_EQ(TestDpi, ScreenDpi());
    FakePlatform fake;
    SettingsRecord saved = Settings;
    std::vector<Misfit> misfits;
    {
        ModalStep step("Settings", [&](HWND dialog) {
            misfits = CheckLabels(dialog);
            // Each reset type writes its own text into the reset label.
            const int radios[] = {IDC_SET_NEVER, IDC_SET_DAILY, IDC_SET_MONTHLY, IDC_SET_ONDATE};
            for (int radio : radios) {
                SendDlgItemMessageA(dialog, radio, BM_CLICK, 0, 0);
                CheckLabel(GetDlgItem(dialog, IDC_SET_RESETLABEL), misfits);
            }
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        SettingsRequest request;
        RunSettingsDialog(&request);
        EXPECT_TRUE(step.Ran());
        EXPECT_FALSE(step.LeftOpen());
    }
    Settings = saved;
    EXPECT_TRUE(misfits.empty()) << Describe(misfits);
}

