// The adapter page's display: texts, status, byte amounts, the traffic alert and the tray
// summary of one InterfaceMonitor.
#include "InterfaceMonitor.h"

#include <stdio.h>
#include <string.h>

#include "BoundedText.h"
#include "LogChannel.h"
#include "Settings.h"
#include "resource.h"

HBRUSH AlertBrush = NULL;

int FormatByteAmount(unsigned __int64 amount, const char* unit, char* buffer, size_t size)
{
    // Cut to whole thousands or millions first, then print the decimals of the cut value.
    if (amount > 1000000000ULL)
        return BoundedPrint(buffer, size, "%.2f G%s", (double)(amount / 1000000ULL) * 0.001, unit);
    if (amount > 20000000ULL)
        return BoundedPrint(buffer, size, "%u M%s", (unsigned)(amount / 1000000ULL), unit);
    if (amount > 2000000ULL)
        return BoundedPrint(buffer, size, "%.2f M%s", (double)(amount / 1000ULL) * 0.001, unit);
    if (amount > 1000000ULL)
        return BoundedPrint(buffer, size, "%.3f M%s", (double)(amount / 1000ULL) * 0.001, unit);
    if (amount > 1000ULL)
        return BoundedPrint(buffer, size, "%u K%s", (unsigned)(amount / 1000ULL), unit);
    return BoundedPrint(buffer, size, "%u %s", (unsigned)amount, unit);
}

void FormatSpeedText(DWORD bitsPerSecond, char* buffer, size_t size)
{
    if (bitsPerSecond > 10000000)
        BoundedPrint(buffer, size, "%lu Mbps", bitsPerSecond / 1000000);
    else if (bitsPerSecond > 10000)
        BoundedPrint(buffer, size, "%lu Kbps", bitsPerSecond / 1000);
    else
        BoundedPrint(buffer, size, "%lu bps", bitsPerSecond);
}

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

// The slot of a control in the monitor's shown-text cache, or -1 for controls not cached.
static int ShownSlot(int id)
{
    if (id >= IDC_PAGE_CURRENT_IN && id <= IDC_PAGE_DURATION)
        return id - 1000;
    if (id == IDC_PAGE_ALERT)
        return 19;
    return -1;
}

// Writes a control only when its text changes: a text write costs far more than a compare,
// and most figures stand still from one second to the next.
static void SetPageText(InterfaceMonitor* monitor, int id, const char* text)
{
    int slot = ShownSlot(id);
    if (slot >= 0) {
        char* shown = monitor->ShownText[slot];
        if (strcmp(shown, text) == 0)
            return;
        CopyText(shown, SHORT_TEXT, text);
    }
    SetDlgItemTextA(monitor->Window, id, text);
}

void InterfaceMonitor::SetAmountText(int id, unsigned __int64 amount, const char* unit)
{
    char text[SHORT_TEXT];
    FormatByteAmount(amount, unit, text, sizeof(text));
    SetPageText(this, id, text);
}

static void SetAlertText(InterfaceMonitor* monitor, const char* text)
{
    CopyText(monitor->AlertText, SHORT_TEXT, text);
}

// Sets AlertOn and the alert text from the totals and the limits. AlertOn is set before the
// text reaches the control, so the repaint the new text causes already sees it.
static void EvaluateAlert(InterfaceMonitor* monitor)
{
    unsigned __int64 percent = Settings.AlertPercent;
    unsigned __int64 inThreshold = percent * Settings.LimitIN / 100;
    unsigned __int64 outThreshold = percent * Settings.LimitOUT / 100;

    if (Settings.AlertType == AlertDistinct) {
        int inPassed = inThreshold != 0 && monitor->Total_in > inThreshold;
        int outPassed = !inPassed && outThreshold != 0 && monitor->Total_out > outThreshold;
        if (inPassed || outPassed) {
            monitor->AlertOn = 1;
            EventLog.WriteLine("Monitor port '%s' - reached the alert limit\r\n", monitor->IPv4Text);
            SetAlertText(monitor, inPassed ? "IN passed the limit" : "OUT passed the limit");
            return;
        }
        // Neither distinct limit passed: the sum is still held against both together.
    } else if (Settings.AlertType != AlertTotal && Settings.AlertType != AlertNone) {
        return;  // an unknown rule leaves the alert as it stands
    }

    unsigned __int64 totalThreshold = inThreshold + outThreshold;
    if (Settings.AlertType != AlertNone && totalThreshold != 0 &&
        monitor->Total_in + monitor->Total_out > totalThreshold) {
        monitor->AlertOn = 1;
        SetAlertText(monitor, "IN+OUT passed the limit");
    } else {
        monitor->AlertOn = 0;
        SetAlertText(monitor, "");
    }
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
        SetDlgItemTextA(Window, IDC_PAGE_DESCR, description);
        DescrChanged = 0;
    }
    if (MacChanged) {
        FormatMacText(IfRow.bPhysAddr, PhysAddrLength(&IfRow), text, sizeof(text));
        SetDlgItemTextA(Window, IDC_PAGE_MAC, text);
        MacChanged = 0;
    }
    if (SpeedChanged) {
        FormatSpeedText(IfRow.dwSpeed, text, sizeof(text));
        SetDlgItemTextA(Window, IDC_PAGE_SPEED, text);
        SpeedChanged = 0;
    }
    SetPageText(this, IDC_PAGE_STATUS, StatusText(Present, IfRow.dwOperStatus));
    BoundedPrint(text, sizeof(text), "%lu", SampleCount);
    SetPageText(this, IDC_PAGE_DURATION, text);

    SetAmountText(IDC_PAGE_CURRENT_IN, CurrentIn, "B");
    SetAmountText(IDC_PAGE_PEAK_IN, PeakIn, "B");
    SetAmountText(IDC_PAGE_AVERAGE_IN, AverageIn, "B");
    SetAmountText(IDC_PAGE_TOTAL_IN, Total_in, "B");
    SetAmountText(IDC_PAGE_CURRENT_OUT, CurrentOut, "B");
    SetAmountText(IDC_PAGE_PEAK_OUT, PeakOut, "B");
    SetAmountText(IDC_PAGE_AVERAGE_OUT, AverageOut, "B");
    SetAmountText(IDC_PAGE_TOTAL_OUT, Total_out, "B");
    SetAmountText(IDC_PAGE_TOTAL_ALL, Total_in + Total_out, "B");

    SetPageText(this, IDC_PAGE_ALERT, AlertText);
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
