// The speed views together: the choices, the last minute of the figures they show, the tray
// icon drawn from them and the speed window. The main window feeds it once a cycle.
#ifndef BRISVANE_SPEEDVIEWS_H
#define BRISVANE_SPEEDVIEWS_H

#include <windows.h>

#include "IniDocument.h"
#include "OwnedHandle.h"
#include "SpeedGraph.h"
#include "SpeedIcon.h"
#include "SpeedViewChoices.h"
#include "SpeedWindow.h"

// Whether the speed window shows: wanted, and no program runs full screen (the shell's
// notification state: busy, full-screen Direct3D or presenting).
int SpeedWindowWanted(int chosen, int notificationState);

class SpeedViews {
public:
    SpeedViews();

    // Reads the choices from the INI file and opens the window when it is wanted.
    void Start(HWND mainWindow, const IniDocument& document);
    // Once a cycle, with the figures the choices ask for: the icon for the tray. In the
    // program icon's mode that is plain or alert as given.
    HICON Cycle(unsigned __int64 down, unsigned __int64 up, int alert, HICON plain, HICON alertIcon);
    // The window in the windows' palette, the icon in the taskbar's look; the window is painted
    // again at once, the icon made again at the next cycle.
    void SetLook(const Palette& window, Look taskbar, const SystemColours& system);
    // The tray has the new icon: the one it replaced goes.
    void DropReplacedIcon() { Replaced.Reset(); }
    // The tray's icon size is asked for again at the next cycle: the system's settings or DPI
    // may have changed it. Between such changes every cycle uses the size it has.
    void ForgetIconSize() { IconSize = 0; }
    // Puts the choices and the window's place into a document of the INI file.
    int Store(IniDocument& document);
    // Checks and greys the menu's items as the choices stand.
    void PrepareMenu(HMENU menu) const;
    // A menu command; 1 when it was one of ours.
    int Command(WORD id);
    void Stop();

    const SpeedViewChoices& Choices() const { return Chosen; }
    HWND WindowHandle() const { return View.Window; }

private:
    void ShowWindowAsWanted();

    HWND Main;
    SpeedViewChoices Chosen;
    SpeedHistory History;
    SpeedWindow View;
    int LastAlert;
    Palette WindowColours;
    TrayColourPair IconColours;
    SpeedIconContent ShownContent;
    SpeedIconCanvas IconCanvas;
    int IconSize = 0;  // 0: to be asked for
    OwnedIcon Shown;
    OwnedIcon Replaced;
};

#endif
