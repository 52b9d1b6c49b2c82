// The main window's look: light, dark or high contrast as the system and [Appearance] Theme ask,
// followed while running when the user changes it.
#include <string.h>
#include <wchar.h>

#include "DarkTitleBar.h"
#include "MainWindow.h"

void MainWindow::ApplyLook()
{
    const Look look = WindowLook(ReadSystemLook(), Theme);
    const Palette palette = MakePalette(look, ReadSystemColours());
    PagesLook.Apply(look, palette);
    for (int position = 0; position < Tabs.Count(); position++)
        Tabs.PageAt(position)->FollowLook();
    UseDarkTitleBar(Window, palette.Dark);
    HistoryView.SetPalette(palette);
    if (HistoryView.Window != NULL)
        UseDarkTitleBar(HistoryView.Window, palette.Dark);
    RedrawWindow(Window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
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
