// The main window's look: light, dark or high contrast as the system and [Appearance] Theme ask,
// followed while running when the user changes it, by every window of the program that is open.
#include <string.h>
#include <wchar.h>

#include "MainWindow.h"

// Enumeration callback: a window of the program's own (the main window, the history window, an
// open dialog) takes up the colours.
static BOOL CALLBACK ShowColoursOn(HWND window, LPARAM colours)
{
    if (WindowObject::FromHandle(window) != nullptr)
        ShowColours(window, *(const ControlColours*)colours);
    return TRUE;
}

void MainWindow::ApplyLook()
{
    const Look look = WindowLook(ReadSystemLook(), Theme);
    const Palette palette = MakePalette(look, ReadSystemColours());
    PagesLook.Apply(look, palette);
    for (int position = 0; position < Tabs.Count(); position++)
        Tabs.PageAt(position)->FollowLook();
    HistoryView.SetPalette(palette);
    EnumThreadWindows(GetCurrentThreadId(), ShowColoursOn, (LPARAM)&PagesLook.Controls);
    // The speed window in the windows' look; the tray icons lie on the taskbar, in its look.
    const SystemColours systemColours = ReadSystemColours();
    const Look taskbar = TaskbarLook(ReadSystemLook());
    Speed.SetLook(palette, taskbar, systemColours);
    Tray.SetLook(taskbar, systemColours);
}

LRESULT MainWindow::OnLookChange(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    // Of the settings, only the light or dark choice and high contrast change the look.
    const bool look = message != WM_SETTINGCHANGE || wParam == SPI_SETHIGHCONTRAST ||
                      (lParam != 0 && wcscmp((const wchar_t*)lParam, L"ImmersiveColorSet") == 0);
    if (look)
        ApplyLook();
    if (message == WM_SETTINGCHANGE)
        Speed.ForgetIconSize();
    handled = FALSE;  // the controls hear of it too
    return 0;
}

LRESULT MainWindow::OnToolBarDraw(int, NMHDR* header, BOOL& handled)
{
    const ControlColours& colours = PagesLook.Controls;
    if (!colours.Custom) {
        handled = FALSE;
        return CDRF_DODEFAULT;
    }
    NMTBCUSTOMDRAW* draw = (NMTBCUSTOMDRAW*)header;
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREERASE: {
        RECT client;
        GetClientRect(draw->nmcd.hdr.hwndFrom, &client);
        FillRect(draw->nmcd.hdc, &client, colours.Back());
        return CDRF_SKIPDEFAULT;
    }
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        // The buttons' faces and edges in the look's colours; their images stay.
        draw->clrText = colours.Colours.Text;
        draw->clrBtnFace = colours.Colours.Back;
        draw->clrBtnHighlight = colours.Colours.FieldBack;
        draw->clrHighlightHotTrack = colours.Colours.FieldBack;
        draw->clrTextHighlight = colours.Colours.Text;
        return TBCDRF_USECDCOLORS | TBCDRF_HILITEHOTTRACK;
    default:
        return CDRF_DODEFAULT;
    }
}
