// How a window's or dialog's controls are coloured in a look: the answers to their colour
// messages (WM_CTLCOLOR...), with brushes made once per change of look and shared by every
// window that asks, so that a paint allocates nothing. The program colours its controls itself
// in the dark look only; light and high contrast keep the system's colours, which a
// high-contrast scheme sets.
#ifndef BRISVANE_CONTROLCOLOURS_H
#define BRISVANE_CONTROLCOLOURS_H

#include <windows.h>

#include "OwnedHandle.h"
#include "Palette.h"

class ControlColours {
public:
    ControlColours() = default;
    ControlColours(const ControlColours&) = delete;
    ControlColours& operator=(const ControlColours&) = delete;

    void Apply(Look look, const Palette& palette);
    // The brush for a colour message, the DC's colours set; null where the system's colours
    // stay (then the control's default handling runs). Fields, lists and read-only edits take
    // the field colours, everything else the window's.
    HBRUSH Answer(UINT message, HDC dc, HWND control) const;
    // The window's background, null while the system's stays.
    HBRUSH Back() const { return Custom ? BackBrush.Get() : NULL; }
    HBRUSH Field() const { return Custom ? FieldBrush.Get() : NULL; }
    // The lines that frame tabs and part a list's column titles.
    HBRUSH Line() const { return Custom ? LineBrush.Get() : NULL; }

    Palette Colours = MakePalette(LookLight, SystemColours());
    Look Current = LookLight;
    bool Custom = false;  // the program's own colours rather than the system's

private:
    OwnedBrush BackBrush, FieldBrush, LineBrush;
};

// A message-map handler's answer to WM_CTLCOLORMSGBOX to WM_CTLCOLORSTATIC from colours (none:
// the system's); handled is cleared where the default handling is to run.
LRESULT AnswerColourMessage(const ControlColours* colours, UINT message, WPARAM wParam,
                            LPARAM lParam, BOOL& handled);

// Brings a top-level window and its controls in line with the colours: its title bar, the
// themes of the controls that would ignore the colour messages (check boxes, radio buttons,
// group boxes and combo boxes turn classic in the custom look), the list views' own colours,
// and a repaint of the whole.
void ShowColours(HWND window, const ControlColours& colours);

#endif
