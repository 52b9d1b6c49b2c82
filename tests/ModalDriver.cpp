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
std::string PendingTitle;
bool StepRan = false;
bool WatchdogFired = false;
int StepTries = 0;
UINT_PTR StepTimerId = 0;
UINT_PTR WatchdogId = 0;

VOID CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    // A modal dialog shows itself when its loop first runs dry; wait until it has.
    HWND dialog = FindThreadDialog(PendingTitle.c_str());
    if (dialog == NULL && ++StepTries < 100)
        return;
    // Killed before the step: a step may run loops of its own (a message box) in which this
    // timer must not come again.
    KillTimer(NULL, id);
    StepTimerId = 0;
    DialogStep step;
    step.swap(PendingStep);
    if (dialog == NULL) {
        ADD_FAILURE() << "no dialog titled " << PendingTitle;
        return;
    }
    StepRan = true;
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
    WatchdogId = 0;
    WatchdogFired = true;
    EnumThreadWindows(GetCurrentThreadId(), EndDialogOfThread, 0);
}

const char* BoxCaption = "";
int BoxButton = IDOK;
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
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(BoxButton, BN_CLICKED),
                 (LPARAM)GetDlgItem(box, BoxButton));
}

}  // namespace

HWND FindThreadDialog(const char* title)
{
    FindRequest request = {title, NULL};
    EnumThreadWindows(GetCurrentThreadId(), MatchDialog, (LPARAM)&request);
    return request.Found;
}

ModalStep::ModalStep(const char* title, const DialogStep& step, DWORD watchdogMs)
{
    PendingStep = step;
    PendingTitle = title;
    StepRan = false;
    StepTries = 0;
    WatchdogFired = false;
    StepTimerId = SetTimer(NULL, 0, 50, StepTimer);
    WatchdogId = SetTimer(NULL, 0, watchdogMs, WatchdogTimer);
}

ModalStep::~ModalStep()
{
    if (StepTimerId != 0)
        KillTimer(NULL, StepTimerId);
    if (WatchdogId != 0)
        KillTimer(NULL, WatchdogId);
    StepTimerId = WatchdogId = 0;
    PendingStep = DialogStep();
}

bool ModalStep::Ran() const
{
    return StepRan;
}

bool ModalStep::LeftOpen() const
{
    return WatchdogFired;
}

void RunWithStep(const std::function<void()>& run, const char* title, const DialogStep& step,
                 DWORD watchdogMs)
{
    ModalStep driver(title, step, watchdogMs);
    run();
    EXPECT_TRUE(driver.Ran()) << "the dialog's loop never ran the step";
    EXPECT_FALSE(driver.LeftOpen()) << "the dialog had to be ended by the watchdog";
}

void AnswerMessageBox(const char* caption, int button)
{
    BoxCaption = caption;
    BoxButton = button;
    BoxTries = 0;
    Reading = MessageBoxReading();
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
