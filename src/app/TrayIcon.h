// The main window's icon in the notification area: the record as last sent, adding it (again
// after a failure or an Explorer restart), the tip sent only while it can be seen, balloons, the
// tray menu and the wait that tells a click from a double click.
#ifndef BRISVANE_TRAYICON_H
#define BRISVANE_TRAYICON_H

#include <windows.h>
#include <shellapi.h>

#include "OwnedHandle.h"
#include "Palette.h"

#define TRAY_CALLBACK_MESSAGE (WM_USER + 1)
#define TRAY_ICON_ID 1
// A left click on the tray icon opens the menu only once it cannot become a double click.
#define TRAY_CLICK_TIMER_ID 2
// After the mouse rests on the tray icon, its tip is kept current for this many cycles.
#define TRAY_TIP_SEEN_CYCLES 6
// The tray tip's room: what the tray showed before Windows 2000; the summary fits.
#define TRAY_TIP_CHARS 64
// Cycles without an icon in the tray before a hidden window shows, so the program stays reachable.
#define TRAY_MISSING_SHOW_CYCLES 60

// The size the tray expects of its record.
DWORD TrayRecordSize();

// What an event on the icon asks of the main window.
enum TrayRequest {
    TrayNone,
    TrayClick,        // a click that may still become a double click
    TrayDoubleClick,  // show the window
    TrayMenu,         // the tray menu, at the point given
    TrayTipSeen,      // the mouse rests on the icon
    TrayBalloonClick
};

// Reads an event of the tray callback. Version 4 carries the event in the low word of lParam,
// the icon in the high word and the anchor in wParam; the old form carries the icon in wParam
// and the menu goes where the cursor is. Under version 4 a right click arrives as
// WM_CONTEXTMENU after the button's own messages, and a left click as NIN_SELECT too.
TrayRequest ReadTrayEvent(WPARAM wParam, LPARAM lParam, int version4, POINT* at);

// The plain or alert icon for a taskbar look at size pixels (0: the tray's size): light and
// dark from the resources, high contrast drawn in the scheme's colours. The caller owns it.
HICON LoadTrayIcon(HINSTANCE instance, Look look, const SystemColours& system, bool alert,
                   int size);

// The tray menu's "Start with Windows": the Run value for this program, on or off.
void ToggleStartWithWindows();

// The tray's tip holds 128 UTF-16 units, its terminator included; in UTF-8 a unit takes up to
// three bytes.
#define TRAY_TIP_BYTES (128 * 3)
// A balloon's text: 256 units.
#define TRAY_INFO_BYTES (256 * 3)

class TrayIcon {
public:
    TrayIcon();

    // Loads the icons at the tray's size and the menu, then adds the icon with the tip given.
    void Create(HWND window, HINSTANCE instance, const char* tip);
    // Takes the icon out of the tray; nothing is sent to it afterwards.
    void Remove();

    // Whether this cycle's tip is wanted: it is seen, it goes with a new icon, or the icon is
    // missing.
    int WantsTip(HICON icon) const;
    // Once a cycle: the icon (and tip) when they changed; a missing icon is added again.
    // 1 when the icon has been missing for TRAY_MISSING_SHOW_CYCLES cycles.
    int Cycle(HICON icon, const char* tip);
    // Explorer restarted and forgot the icon: added again with the tip of the moment.
    void AddAgain(const char* tip);
    // The tip when it changed, while the mouse is on the icon.
    void ShowTip(const char* tip);
    void ShowBalloon(DWORD icon, const char* title, const char* text);
    // The icons loaded again at the tray's size, after a DPI change; the one shown is replaced.
    void ReloadIcons();
    // The plain and alert icons for the taskbar's look: light and dark from the resources,
    // high contrast drawn in the scheme's colours. Loaded again when the tray has them.
    void SetLook(Look look, const SystemColours& system);

    // Decodes the callback; the click timer starts and stops here.
    TrayRequest OnEvent(WPARAM wParam, LPARAM lParam, POINT* at);
    // The tray menu at a point, with its items as they stand.
    void OpenMenu(POINT at, int dialogOpen);

    HICON NormalIcon() const { return Normal.Get(); }
    HICON AlertIcon() const { return Alert.Get(); }
    HMENU Menu() const { return MenuBar.Get(); }
    // The icon and tip (UTF-8) as last sent.
    HICON Icon() const { return ShownIcon; }
    const char* Tip() const { return ShownTip; }
    int IsAdded() const { return Added; }
    int UsesVersion4() const { return Version4; }

private:
    int Add();
    void Send(DWORD action, bool withTip = true);
    bool TipGoesWith(HICON icon) const;
    HICON LoadLookIcon(bool alert) const;

    HWND Window;
    HINSTANCE Instance;
    Look IconLook;
    SystemColours IconSystem;
    OwnedIcon Normal;
    OwnedIcon Alert;
    OwnedMenu MenuBar;
    // The icon and tip as last sent: added again when Explorer restarts.
    HICON ShownIcon;
    char ShownTip[TRAY_TIP_BYTES];
    int Added;
    int Removed;
    int Version4;
    int MissingCycles;
    int FailureTold;
    // Cycles left in which the tip goes to the tray: it is sent only while it can be seen.
    int TipCyclesLeft;
    // When the last double click came (tick count): the select that follows it is its own.
    ULONGLONG DoubleClickTick;
};

#endif
