// Drives modal dialogs and message boxes from inside their own loops on this thread: a thread
// timer runs a test step once the dialog shows, another answers message boxes, and a watchdog
// ends whatever is still open, so that a broken test fails instead of hanging.
#ifndef BRISVANE_MODALDRIVER_H
#define BRISVANE_MODALDRIVER_H

#include <windows.h>

#include <functional>
#include <string>

typedef std::function<void(HWND dialog)> DialogStep;

// Runs step inside the modal loop of the next visible dialog with the given title on this
// thread, from a thread timer, while the object lives; one at a time. A dialog still open after
// watchdogMs is ended with -2, and LeftOpen() says so.
class ModalStep {
public:
    ModalStep(const char* title, const DialogStep& step, DWORD watchdogMs = 10000);
    ~ModalStep();
    bool Ran() const;
    bool LeftOpen() const;
};

// Calls run, which opens a modal dialog titled title on this thread; step runs inside the
// dialog's loop with its window and is expected to end it. Fails the test when the dialog never
// showed or had to be ended by the watchdog after watchdogMs.
void RunWithStep(const std::function<void()>& run, const char* title, const DialogStep& step,
                 DWORD watchdogMs = 10000);

// The visible top-level dialog of this thread with the given title, or null.
HWND FindThreadDialog(const char* title);

// What the last answered message box showed.
struct MessageBoxReading {
    bool Found = false;
    std::string Text;
    HWND Owner = NULL;
    HICON Icon = NULL;
    int Buttons = 0;
};

// Arms a timer that finds the next message box with this caption, reads it and presses button.
void AnswerMessageBox(const char* caption, int button = IDOK);
// Stops looking for a box (when none came); returns what was read.
MessageBoxReading StopAnsweringMessageBoxes();

#endif
