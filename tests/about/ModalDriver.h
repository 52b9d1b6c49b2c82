// Drives modal dialogs from inside their own loops: a thread timer runs a test step once the
// dialog is up, another answers message boxes, and a watchdog ends whatever is still open so
// that a broken test fails instead of hanging.
#ifndef BRISVANE_MODALDRIVER_H
#define BRISVANE_MODALDRIVER_H

#include <windows.h>

#include <functional>
#include <string>

typedef std::function<void(HWND dialog)> DialogStep;

// Calls run, which opens a modal dialog titled title on this thread; step runs inside the
// dialog's loop with its window and is expected to end it. Gives up after watchdogMs.
void RunWithStep(const std::function<void()>& run, const char* title, const DialogStep& step,
                 DWORD watchdogMs = 10000);

// The top-level dialog of this thread with the given title, or null.
HWND FindThreadDialog(const char* title);

// What the last answered message box showed.
struct MessageBoxReading {
    bool Found;
    std::string Text;
    HWND Owner;
    HICON Icon;
    int Buttons;
};

// Arms a timer that finds the next message box with this caption, reads it and presses OK.
void AnswerMessageBox(const char* caption);
// Stops looking for a box (when none came); returns what was read.
MessageBoxReading StopAnsweringMessageBoxes();

// The dialog's answer to a colour request for one of its statics, and the state it left in
// the device context.
struct ColorAnswer {
    LRESULT Brush;
    COLORREF Text;
    int BackgroundMode;
    HFONT Font;
    LOGFONTA FontDescription;
};
ColorAnswer AskStaticColors(HWND dialog, HWND control);

#endif
