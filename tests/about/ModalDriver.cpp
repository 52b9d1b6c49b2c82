#include "ModalDriver.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

struct FindRequest {
    const char* Title;
    HWND Found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter)
{
    FindRequest* request = (FindRequest*)parameter;
    char className[64] = "";
    char title[256] = "";
    GetClassNameA(window, className, sizeof(className));
    GetWindowTextA(window, title, sizeof(title));
    if (strcmp(className, "#32770") == 0 && strcmp(title, request->Title) == 0 &&
        IsWindowVisible(window)) {
        request->Found = window;
        return FALSE;
    }
    return TRUE;
}

DialogStep PendingStep;
const char* PendingTitle = "";
bool StepStarted = false;
bool WatchdogFired = false;

int StepTries = 0;

VOID CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    // A modal dialog shows itself when its loop first runs dry; wait until it has.
    HWND dialog = FindThreadDialog(PendingTitle);
    if (dialog == NULL && ++StepTries < 100)
        return;
    KillTimer(NULL, id);
    StepStarted = true;
    DialogStep step;
    step.swap(PendingStep);
    if (dialog == NULL) {
        ADD_FAILURE() << "no dialog titled " << PendingTitle;
        return;
    }
    step(dialog);
}

BOOL CALLBACK EndDialogOfThread(HWND window, LPARAM)
{
    char className[64] = "";
    GetClassNameA(window, className, sizeof(className));
    if (strcmp(className, "#32770") == 0)
        EndDialog(window, -2);
    return TRUE;
}

VOID CALLBACK WatchdogTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(NULL, id);
    WatchdogFired = true;
    EnumThreadWindows(GetCurrentThreadId(), EndDialogOfThread, 0);
}

const char* BoxCaption = "";
UINT_PTR BoxTimerId = 0;
int BoxTries = 0;
MessageBoxReading Reading;

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM)
{
    char className[64] = "";
    GetClassNameA(child, className, sizeof(className));
    if (_stricmp(className, "Static") != 0)
        return TRUE;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        Reading.Icon = (HICON)SendMessageA(child, STM_GETICON, 0, 0);
        return TRUE;
    }
    char text[512] = "";
    GetWindowTextA(child, text, sizeof(text));
    if (text[0] != 0)
        Reading.Text = text;
    return TRUE;
}

BOOL CALLBACK CountButton(HWND child, LPARAM parameter)
{
    char className[64] = "";
    GetClassNameA(child, className, sizeof(className));
    if (_stricmp(className, "Button") == 0)
        ++*(int*)parameter;
    return TRUE;
}

VOID CALLBACK BoxTimer(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = FindThreadDialog(BoxCaption);
    if (box == NULL) {
        if (++BoxTries > 200) {
            KillTimer(NULL, BoxTimerId);
            BoxTimerId = 0;
        }
        return;
    }
    KillTimer(NULL, BoxTimerId);
    BoxTimerId = 0;
    Reading.Found = true;
    Reading.Owner = GetWindow(box, GW_OWNER);
    EnumChildWindows(box, ReadBoxChild, 0);
    EnumChildWindows(box, CountButton, (LPARAM)&Reading.Buttons);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(box, IDOK));
}

}  // namespace

HWND FindThreadDialog(const char* title)
{
    FindRequest request = {title, NULL};
    EnumThreadWindows(GetCurrentThreadId(), MatchDialog, (LPARAM)&request);
    return request.Found;
}

void RunWithStep(const std::function<void()>& run, const char* title, const DialogStep& step,
                 DWORD watchdogMs)
{
    PendingStep = step;
    PendingTitle = title;
    StepStarted = false;
    StepTries = 0;
    WatchdogFired = false;
    UINT_PTR stepTimer = SetTimer(NULL, 0, 50, StepTimer);
    UINT_PTR watchdog = SetTimer(NULL, 0, watchdogMs, WatchdogTimer);
    run();
    KillTimer(NULL, stepTimer);
    KillTimer(NULL, watchdog);
    PendingStep = DialogStep();
    EXPECT_TRUE(StepStarted) << "the dialog's loop never ran the step";
    EXPECT_FALSE(WatchdogFired) << "the dialog had to be ended by the watchdog";
}

void AnswerMessageBox(const char* caption)
{
    BoxCaption = caption;
    BoxTries = 0;
    Reading = MessageBoxReading();
    Reading.Found = false;
    Reading.Owner = NULL;
    Reading.Icon = NULL;
    Reading.Buttons = 0;
    BoxTimerId = SetTimer(NULL, 0, 20, BoxTimer);
}

MessageBoxReading StopAnsweringMessageBoxes()
{
    if (BoxTimerId != 0) {
        KillTimer(NULL, BoxTimerId);
        BoxTimerId = 0;
    }
    return Reading;
}

ColorAnswer AskStaticColors(HWND dialog, HWND control)
{
    ColorAnswer answer;
    memset(&answer, 0, sizeof(answer));
    HDC dc = GetDC(control);
    HGDIOBJ originalFont = GetCurrentObject(dc, OBJ_FONT);
    // Something no handler would set, to see whether the request changed it.
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkMode(dc, OPAQUE);
    answer.Brush = SendMessageA(dialog, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)control);
    answer.Text = GetTextColor(dc);
    answer.BackgroundMode = GetBkMode(dc);
    answer.Font = (HFONT)GetCurrentObject(dc, OBJ_FONT);
    GetObjectA(answer.Font, sizeof(answer.FontDescription), &answer.FontDescription);
    SelectObject(dc, originalFont);
    ReleaseDC(control, dc);
    return answer;
}
