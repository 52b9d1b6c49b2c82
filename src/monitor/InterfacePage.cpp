// The adapter page's display: texts, status, byte amounts, the traffic alert and the tray
// summary of one InterfaceMonitor.
#include "InterfaceMonitor.h"
#include "Utf8Text.h"

#include <stdio.h>
#include <string.h>

#include "BoundedText.h"
#include "ByteAmountText.h"
#include "LogChannel.h"
#include "Settings.h"
#include "TrafficAlert.h"
#include "resource.h"

HBRUSH AlertBrush = NULL;

const char* StatusText(int present, DWORD operStatus)
{
    if (!present)
        return "NOT Connected";
    switch (operStatus) {
    case 0:
        return "LAN adapter has been disabled";
    case 1:
        return "WAN adapter is not connected";
    case 2:
        return "LAN network cable disconnected/WAN no carrier";
    case 3:
        return "WAN adapter that is in the process of connecting";
    case 4:
        return "WAN adapter that is connected to a remote peer";
    default:
        return "Connected";
    }
}

// The control of each figure.
static const int FigureControl[PageFigureCount] = {
    IDC_PAGE_CURRENT_IN, IDC_PAGE_PEAK_IN,    IDC_PAGE_AVERAGE_IN, IDC_PAGE_TOTAL_IN,
    IDC_PAGE_CURRENT_OUT, IDC_PAGE_PEAK_OUT,  IDC_PAGE_AVERAGE_OUT, IDC_PAGE_TOTAL_OUT,
    IDC_PAGE_TOTAL_ALL,  IDC_PAGE_STATUS,     IDC_PAGE_DURATION,   IDC_PAGE_ALERT,
};

// Writes a figure's control only when its text changes: a text write costs far more than a
// compare, and most figures stand still from one second to the next.
static void SetPageText(InterfaceMonitor* monitor, PageFigure figure, const char* text)
{
    char* shown = monitor->ShownText[figure];
    if (strcmp(shown, text) == 0)
        return;
    CopyText(shown, SHORT_TEXT, text);
    SetDlgItemTextW(monitor->Window, FigureControl[figure], WideText(text));
}

void InterfaceMonitor::SetAmountText(PageFigure figure, unsigned __int64 amount, const char* unit)
{
    char text[SHORT_TEXT];
    FormatByteAmount(amount, unit, text, sizeof(text));
    SetPageText(this, figure, text);
}

static void SetAlertText(InterfaceMonitor* monitor, const char* text)
{
    CopyText(monitor->AlertText, SHORT_TEXT, text);
}

// Sets AlertOn and the alert text from the totals and the limits. AlertOn is set before the
// text reaches the control, so the repaint the new text causes already sees it.
static void EvaluateAlert(InterfaceMonitor* monitor)
{
    AlertVerdict verdict = DecideAlert(monitor->Total_in, monitor->Total_out, Settings);
    if (verdict == AlertUnchanged)
        return;
    monitor->AlertOn = verdict != AlertClear;
    // Only a distinct limit is logged, and at every cycle it stays passed.
    if (verdict == AlertInPassed || verdict == AlertOutPassed)
        EventLog.WriteLine("Monitor port '%s' - reached the alert limit\r\n", monitor->IPv4Text);
    SetAlertText(monitor, AlertVerdictText(verdict));
}

void InterfaceMonitor::RefreshPage()
{
    EvaluateAlert(this);
    if (Window != NULL && IsWindowVisible(Window))
        ShowFigures();
    if (!Present && LostArmed) {
        LostArmed = 0;
        EventLog.WriteLine("Monitor port '%s' - connection was lost\r\n", IPv4Text);
    }
}

void InterfaceMonitor::ShowFigures()
{
    if (Window == NULL)
        return;
    char text[SHORT_TEXT];
    if (DescrChanged) {
        char description[MAX_DESCR + 1];
        DWORD length = DescrLength(&IfRow);
        memcpy(description, IfRow.bDescr, length);
        description[length] = 0;
        SetDlgItemTextW(Window, IDC_PAGE_DESCR, WideText(description));
        DescrChanged = 0;
    }
    if (MacChanged) {
        FormatMacText(IfRow.bPhysAddr, PhysAddrLength(&IfRow), text, sizeof(text));
        SetDlgItemTextW(Window, IDC_PAGE_MAC, WideText(text));
        MacChanged = 0;
    }
    if (SpeedChanged) {
        FormatSpeedText(LinkSpeed, text, sizeof(text));
        SetDlgItemTextW(Window, IDC_PAGE_SPEED, WideText(text));
        SpeedChanged = 0;
    }
    SetPageText(this, FigureStatus, StatusText(Present, IfRow.dwOperStatus));
    BoundedPrint(text, sizeof(text), "%lu", SampleCount);
    SetPageText(this, FigureDuration, text);

    SetAmountText(FigureCurrentIn, CurrentIn, "B");
    SetAmountText(FigurePeakIn, PeakIn, "B");
    SetAmountText(FigureAverageIn, AverageIn, "B");
    SetAmountText(FigureTotalIn, Total_in, "B");
    SetAmountText(FigureCurrentOut, CurrentOut, "B");
    SetAmountText(FigurePeakOut, PeakOut, "B");
    SetAmountText(FigureAverageOut, AverageOut, "B");
    SetAmountText(FigureTotalOut, Total_out, "B");
    SetAmountText(FigureTotalAll, Total_in + Total_out, "B");

    SetPageText(this, FigureAlert, AlertText);
}

HBRUSH InterfaceMonitor::OnCtlColorStatic(HDC dc, HWND control, BOOL& handled)
{
    if (AlertOn && control != NULL && control == GetDlgItem(Window, IDC_PAGE_ALERT)) {
        SetBkMode(dc, TRANSPARENT);
        return AlertBrush;
    }
    handled = FALSE;
    return NULL;
}

// Appends text within the room left; returns the characters appended.
static int AppendBounded(char* buffer, size_t size, const char* text)
{
    size_t used = strlen(buffer);
    if (used + 1 >= size)
        return 0;
    return BoundedPrint(buffer + used, size - used, "%s", text);
}

int InterfaceMonitor::FormatTrafficSummary(char* buffer, size_t size)
{
    if (size == 0)
        return 0;
    buffer[0] = 0;
    char amount[SHORT_TEXT];
    int written = AppendBounded(buffer, size, "In ");
    FormatByteAmount(Total_in, "B", amount, sizeof(amount));
    written += AppendBounded(buffer, size, amount);
    written += AppendBounded(buffer, size, ", Out ");
    FormatByteAmount(Total_out, "B", amount, sizeof(amount));
    written += AppendBounded(buffer, size, amount);
    written += AppendBounded(buffer, size, ", All ");
    FormatByteAmount(Total_in + Total_out, "B", amount, sizeof(amount));
    written += AppendBounded(buffer, size, amount);
    return written;
}
