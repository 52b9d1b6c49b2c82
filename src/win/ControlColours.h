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

    // Whether the program paints the controls that draw in their theme's colours whatever
    // they are told (the tab strip, a list's column titles, group boxes' titles): in its own
    // colours, and in high contrast in the system's face pair, which a theme would not take.
    bool Paints() const { return Custom || Current == LookHighContrast; }
    // What they are painted with: background, tabs not selected, lines and text.
    HBRUSH PaintBack() const { return Custom ? BackBrush.Get() : GetSysColorBrush(COLOR_BTNFACE); }
    HBRUSH PaintField() const
    {
        return Custom ? FieldBrush.Get() : GetSysColorBrush(COLOR_BTNFACE);
    }
    HBRUSH PaintLine() const { return Custom ? LineBrush.Get() : GetSysColorBrush(COLOR_BTNTEXT); }
    COLORREF PaintText() const { return Custom ? Colours.Text : GetSysColor(COLOR_BTNTEXT); }

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

// A push button's custom draw (NM_CUSTOMDRAW from a button of the common controls' version 6):
// in the custom look the whole button in the look's colours, face, frame, text and focus;
// anything else is left to the system (handled cleared).
LRESULT DrawPushButton(const ControlColours* colours, NMHDR* header, BOOL& handled);

// Brings a window and its controls in line with the colours: its title bar, the
// themes of the controls that would ignore the colour messages (check boxes, radio buttons,
// group boxes, combo boxes, tab strips and column titles turn classic in the custom look and in
// high contrast, as Windows draws them there), the list views' own colours, and a repaint of
// the whole.
void ShowColours(HWND window, const ControlColours& colours);

#endif
