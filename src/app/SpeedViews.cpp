#include "SpeedViews.h"

#include <shellapi.h>

#include "Dpi.h"
#include "LogChannel.h"
#include "StepTimer.h"
#include "resource.h"

namespace {

typedef HRESULT(WINAPI* NotificationStateFunction)(QUERY_USER_NOTIFICATION_STATE*);

// The shell's notification state (Vista and later); 0 when it cannot be asked.
int ReadNotificationState()
{
    static NotificationStateFunction query = NULL;
    static int lookedUp = 0;
    if (!lookedUp) {
        HMODULE shell = GetModuleHandleW(L"shell32.dll");
        if (shell != NULL)
            query = (NotificationStateFunction)(void*)GetProcAddress(shell,
                                                                    "SHQueryUserNotificationState");
        lookedUp = 1;
    }
    QUERY_USER_NOTIFICATION_STATE state;
    if (query == NULL || FAILED(query(&state)))
        return 0;
    return (int)state;
}

}  // namespace

int SpeedWindowWanted(int chosen, int notificationState)
{
    if (!chosen)
        return 0;
    switch (notificationState) {
    case QUNS_BUSY:
    case QUNS_RUNNING_D3D_FULL_SCREEN:
    case QUNS_PRESENTATION_MODE:
        return 0;
    default:
        return 1;
    }
}

SpeedViews::SpeedViews()
    : Main(NULL), Chosen(DefaultSpeedViewChoices()), LastAlert(0),
      WindowColours(MakePalette(LookLight, ReadSystemColours())),
      IconColours(MakeTrayColourPair(LookLight, ReadSystemColours()))
{
    memset(&ShownContent, 0, sizeof(ShownContent));
}

void SpeedViews::SetLook(const Palette& window, Look taskbar, const SystemColours& system)
{
    WindowColours = window;
    IconColours = MakeTrayColourPair(taskbar, system);
    View.SetPalette(window);
}

void SpeedViews::Start(HWND mainWindow, const IniDocument& document)
{
    Main = mainWindow;
    // An INI file that could not be read is an empty document: the views as they were before
    // they existed.
    Chosen = ReadSpeedViewChoices(document);
    ShowWindowAsWanted();
}

void SpeedViews::ShowWindowAsWanted()
{
    if (!Chosen.WindowShown) {
        if (View.Window != NULL) {
            View.ReadPlace(&Chosen.Place);
            Chosen.HasPlace = 1;
            View.Destroy();
        }
        return;
    }
    View.SetPalette(WindowColours);
    if (View.Window == NULL && !View.Create(Main, Chosen)) {
        EventLog.WriteLine("The speed window could not be made\r\n");
        Chosen.WindowShown = 0;
        return;
    }
    View.ApplyLook(Chosen.ClickThrough, Chosen.Opacity);
    View.Show(History, Chosen.Bits, LastAlert);
    int wanted = SpeedWindowWanted(1, ReadNotificationState());
    if (wanted != (IsWindowVisible(View.Window) != 0))
        ShowWindow(View.Window, wanted ? SW_SHOWNOACTIVATE : SW_HIDE);
}

HICON SpeedViews::Cycle(unsigned __int64 down, unsigned __int64 up, int alert, HICON plain,
                        HICON alertIcon)
{
    History.Add(down, up);
    LastAlert = alert;
    if (View.Window != NULL) {
        View.Show(History, Chosen.Bits, alert);
        // Out of the way of a full-screen program, and back after it.
        int wanted = SpeedWindowWanted(1, ReadNotificationState());
        if (wanted != (IsWindowVisible(View.Window) != 0))
            ShowWindow(View.Window, wanted ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
    StepLap(StepSpeedWindowText);
    if (Chosen.TrayMode == SpeedTrayProgramIcon) {
        Shown.Reset();
        return alert ? alertIcon : plain;
    }
    // Asking the system costs a round trip to the Wine server or more every time.
    if (IconSize == 0)
        IconSize = TrayIconSize();
    SpeedIconContent content = DescribeSpeedIcon(Chosen.TrayMode, alert, IconSize,
                                                 Chosen.Bits, History, IconColours);
    bool same = Shown && SameSpeedIcon(content, ShownContent);
    StepLap(StepIconDescribe);
    if (same)
        return Shown.Get();
    HICON made = IconCanvas.Make(content);
    StepLap(StepIconDraw);
    if (made == NULL)
        return Shown ? Shown.Get() : (alert ? alertIcon : plain);
    // The tray still shows the old one until it is told of the new.
    Replaced = static_cast<OwnedIcon&&>(Shown);
    Shown.Reset(made);
    ShownContent = content;
    return made;
}

int SpeedViews::Store(IniDocument& document)
{
    if (View.Window != NULL && View.ReadPlace(&Chosen.Place))
        Chosen.HasPlace = 1;
    return StoreSpeedViewChoices(Chosen, document);
}

void SpeedViews::PrepareMenu(HMENU menu) const
{
    CheckMenuRadioItem(menu, ID_SPEED_TRAY_PROGRAM, ID_SPEED_TRAY_GRAPH,
                       ID_SPEED_TRAY_PROGRAM + Chosen.TrayMode, MF_BYCOMMAND);
    CheckMenuRadioItem(menu, ID_SPEED_ADAPTER_SHOWN, ID_SPEED_ADAPTER_ALL,
                       Chosen.AllAdapters ? ID_SPEED_ADAPTER_ALL : ID_SPEED_ADAPTER_SHOWN,
                       MF_BYCOMMAND);
    CheckMenuItem(menu, ID_SPEED_PHYSICAL_ONLY,
                  MF_BYCOMMAND | (Chosen.PhysicalOnly ? MF_CHECKED : 0));
    EnableMenuItem(menu, ID_SPEED_PHYSICAL_ONLY,
                   MF_BYCOMMAND | (Chosen.AllAdapters ? MF_ENABLED : MF_GRAYED));
    CheckMenuRadioItem(menu, ID_SPEED_BYTES, ID_SPEED_BITS,
                       Chosen.Bits ? ID_SPEED_BITS : ID_SPEED_BYTES, MF_BYCOMMAND);
    CheckMenuItem(menu, ID_SPEED_WINDOW, MF_BYCOMMAND | (Chosen.WindowShown ? MF_CHECKED : 0));
    CheckMenuItem(menu, ID_SPEED_CLICKTHROUGH,
                  MF_BYCOMMAND | (Chosen.ClickThrough ? MF_CHECKED : 0));
    UINT windowItems = MF_BYCOMMAND | (Chosen.WindowShown ? MF_ENABLED : MF_GRAYED);
    EnableMenuItem(menu, ID_SPEED_CLICKTHROUGH, windowItems);
    UINT opacity = ID_SPEED_OPACITY_100;
    for (int i = 0; i < SpeedOpacityCount; i++)
        if (SpeedOpacities[i] == Chosen.Opacity)
            opacity = ID_SPEED_OPACITY_100 + i;
    CheckMenuRadioItem(menu, ID_SPEED_OPACITY_100, ID_SPEED_OPACITY_60, opacity, MF_BYCOMMAND);
    for (int i = 0; i < SpeedOpacityCount; i++)
        EnableMenuItem(menu, ID_SPEED_OPACITY_100 + i, windowItems);
}

int SpeedViews::Command(WORD id)
{
    switch (id) {
    case ID_SPEED_TRAY_PROGRAM:
    case ID_SPEED_TRAY_SPEED:
    case ID_SPEED_TRAY_GRAPH:
        Chosen.TrayMode = id - ID_SPEED_TRAY_PROGRAM;
        return 1;
    case ID_SPEED_ADAPTER_SHOWN:
    case ID_SPEED_ADAPTER_ALL:
        // The minute behind belongs to the other figures.
        if (Chosen.AllAdapters != (id == ID_SPEED_ADAPTER_ALL))
            History.Clear();
        Chosen.AllAdapters = id == ID_SPEED_ADAPTER_ALL;
        return 1;
    case ID_SPEED_PHYSICAL_ONLY:
        if (Chosen.AllAdapters)
            History.Clear();
        Chosen.PhysicalOnly = !Chosen.PhysicalOnly;
        return 1;
    case ID_SPEED_BYTES:
    case ID_SPEED_BITS:
        Chosen.Bits = id == ID_SPEED_BITS;
        break;
    case ID_SPEED_WINDOW:
        Chosen.WindowShown = !Chosen.WindowShown;
        break;
    case ID_SPEED_CLICKTHROUGH:
        Chosen.ClickThrough = !Chosen.ClickThrough;
        break;
    case ID_SPEED_OPACITY_100:
    case ID_SPEED_OPACITY_80:
    case ID_SPEED_OPACITY_60:
        Chosen.Opacity = SpeedOpacities[id - ID_SPEED_OPACITY_100];
        break;
    default:
        return 0;
    }
    ShowWindowAsWanted();
    return 1;
}

void SpeedViews::Stop()
{
    if (View.Window != NULL) {
        View.ReadPlace(&Chosen.Place);
        Chosen.HasPlace = 1;
        View.Destroy();
    }
}
