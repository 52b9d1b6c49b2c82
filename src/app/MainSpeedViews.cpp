// The main window's part in the speed views: this cycle's figures of the adapter on show or of
// all of them, the choices from the tray menu, and the speed window's clicks.
#include "InterfaceMonitor.h"
#include "MainWindow.h"
#include "StepTimer.h"

namespace {

struct SpeedSum {
    unsigned __int64 Down;
    unsigned __int64 Up;
    int Alert;
};

void* AddSpeed(InterfaceMonitor* monitor, void* sum)
{
    SpeedSum* total = (SpeedSum*)sum;
    total->Down += monitor->CurrentIn;
    total->Up += monitor->CurrentOut;
    total->Alert |= monitor->AlertOn != 0;
    return NULL;
}

}  // namespace

HICON MainWindow::FeedSpeedViews(InterfaceMonitor* selected)
{
    SpeedSum figures = {0, 0, 0};
    if (Speed.Choices().AllAdapters)
        ForEachMonitor(AddSpeed, &figures);
    else if (selected != NULL)
        AddSpeed(selected, &figures);
    // The program's icon keeps telling of the adapter on show, as it always has.
    int shownAlert = selected != NULL && selected->AlertOn;
    int alert = Speed.Choices().TrayMode == SpeedTrayProgramIcon ? shownAlert : figures.Alert;
    StepLap(StepSpeedFigures);
    return Speed.Cycle(figures.Down, figures.Up, alert, Tray.NormalIcon(), Tray.AlertIcon());
}

LRESULT MainWindow::OnSpeedCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    if (ShutdownDone || !Speed.Command(LOWORD(wParam)))
        handled = FALSE;
    return 0;
}

LRESULT MainWindow::OnSpeedWindowRequest(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    if (ShutdownDone)
        return 0;
    if (wParam == SpeedRequestShowMain) {
        ShowMainWindow();
    } else if (wParam == SpeedRequestMenu) {
        POINT at = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        OpenTrayMenu(at);
    }
    return 0;
}
