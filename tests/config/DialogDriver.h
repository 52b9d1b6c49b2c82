// Helpers for the dialog tests: a step run inside a modal dialog's own loop, and a reader of
// dialog templates as the resource compiler wrote them.
#ifndef BRISVANE_DIALOGDRIVER_H
#define BRISVANE_DIALOGDRIVER_H

#include <windows.h>
#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "DialogTemplate.h"

// Runs one step inside the modal loop of the next visible dialog with the given title on this
// thread, from a thread timer. A step that leaves the dialog open gets it closed with Cancel,
// so a broken step cannot hang the test; LeftOpen() then says so. One at a time.
class ModalStep {
public:
    ModalStep(const char* title, std::function<void(HWND)> step)
    {
        State& state = Current();
        state.Title = title;
        state.Step = step;
        state.Ran = false;
        state.LeftOpen = false;
        timer = SetTimer(NULL, 0, 20, Tick);
    }
    ~ModalStep()
    {
        KillTimer(NULL, timer);
        Current().Step = nullptr;
    }
    bool Ran() const { return Current().Ran; }
    bool LeftOpen() const { return Current().LeftOpen; }

private:
    struct State {
        std::string Title;
        std::function<void(HWND)> Step;
        bool Ran;
        bool LeftOpen;
        HWND Found;
    };
    static State& Current()
    {
        static State state;
        return state;
    }
    static BOOL CALLBACK Match(HWND window, LPARAM)
    {
        char className[64], title[128];
        className[0] = title[0] = 0;
        GetClassNameA(window, className, sizeof(className));
        GetWindowTextA(window, title, sizeof(title));
        if (strcmp(className, "#32770") == 0 && Current().Title == title &&
            IsWindowVisible(window)) {
            Current().Found = window;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        State& state = Current();
        if (!state.Step)
            return;
        state.Found = NULL;
        EnumThreadWindows(GetCurrentThreadId(), Match, 0);
        if (state.Found == NULL)
            return;
        if (!state.Ran) {
            state.Ran = true;
            state.Step(state.Found);
            return;
        }
        state.LeftOpen = true;
        PostMessageA(state.Found, WM_COMMAND, IDCANCEL, 0);
    }

    UINT_PTR timer;
};

#endif
