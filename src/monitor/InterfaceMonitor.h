// One network adapter: its traffic accounting, reset schedule and saved counters, and at the
// same time its tab page (dialog 134).
#ifndef BRISVANE_INTERFACEMONITOR_H
#define BRISVANE_INTERFACEMONITOR_H

#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>  // before iphlpapi.h, for the 64-bit interface rows
#include <iphlpapi.h>
#include <oleauto.h>

#include "IniDocument.h"
#include "InterfaceIdentity.h"
#include "InterfaceRow.h"
#include "TrafficAccount.h"
#include "WindowObject.h"

// The page's controls whose text changes from second to second, each with its shown-text slot.
enum PageFigure {
    FigureCurrentIn,
    FigurePeakIn,
    FigureAverageIn,
    FigureTotalIn,
    FigureCurrentOut,
    FigurePeakOut,
    FigureAverageOut,
    FigureTotalOut,
    FigureTotalAll,
    FigureStatus,
    FigureDuration,
    FigureAlert,
    PageFigureCount
};


// The figures (TrafficFigures) are counted by the plain accounting functions; the monitor adds
// the row it last applied, the reset schedule, the saved counters, the log lines and the page.
class InterfaceMonitor : public DialogObject, public TrafficFigures {
public:
    explicit InterfaceMonitor(const char* ipv4Text);
    ~InterfaceMonitor() override;

    BEGIN_MSG_MAP(InterfaceMonitor)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStaticMessage)
    END_MSG_MAP()

    void OnLastMessage(HWND window) override;

    // Accounting (InterfaceMonitor.cpp)
    // No row: marks the monitor absent. Returns IPv4Text when it changed in this call.
    const char* ApplySample(const InterfaceRow* row);
    // A row of the 32-bit table.
    const char* ApplySample(const MIB_IFROW* row);
    // The next row only primes: after a sleep the counters may have started again.
    void PrimeNextSample() { PrimeNext = 1; }
    // Whether the row is this monitor's adapter: by hardware address, or by the interface
    // itself for a monitor NamedByInterface.
    int IsInterfaceOf(const InterfaceRow* row) const;
    // The INI section of this adapter's counters: its MAC text, or the interface's own name.
    void SectionName(char* buffer, size_t size) const;
    void LoadCounters(const char* macText);
    // Puts the adapter's section into a document of the INI file.
    void StoreCounters(IniDocument& document) const;
    // Writes the "Since" text into page control 1006 while the page exists.
    void ShowSince(DATE date);
    // The stop line; the counters were saved with every other adapter's just before.
    void OnPageDestroy();

    // Display (InterfacePage.cpp)
    void RefreshPage();
    // Brings the page's controls up to date; a page out of sight is brought up to date only
    // when it shows, which costs nothing while the program sits in the tray.
    void ShowFigures();
    HBRUSH OnCtlColorStatic(HDC dc, HWND control, BOOL& handled);
    void SetAmountText(PageFigure figure, unsigned __int64 amount, const char* unit);
    int FormatTrafficSummary(char* buffer, size_t size);

    MIB_IFROW IfRow;
    int Present;
    VARIANT StartDay;  // VT_EMPTY or VT_DATE
    char IPv4Text[SHORT_TEXT];
    int LostArmed;
    int DescrChanged;
    int MacChanged;
    int SpeedChanged;
    int AlertOn;

    // Not part of the figures: bookkeeping of this program.
    int SaveWanted;           // a reset happened: the counters are to be saved at once
    DATE LastSampleTime;      // local time of the last applied row
    CounterReading LastReading;  // the counters of the last applied row, at their full width
    unsigned __int64 Luid;    // the interface's LUID, 0 when the table gives none
    // A further interface with the hardware address of another one: named and matched by
    // itself (FormatInterfaceSectionName), never by the address.
    int NamedByInterface;
    unsigned __int64 LinkSpeed;  // bits per second, beyond what the 32-bit row holds
    int MissedCycle;          // a cycle went by without a row for this adapter
    int PrimeNext;            // the next row only primes
    int DeleteOnLastMessage;  // the poll cycle's monitors are freed with their page
    // Text last written into each page control, so unchanged texts are not written again.
    char ShownText[PageFigureCount][SHORT_TEXT];
    // What the alert control should say; written when the page shows.
    char AlertText[SHORT_TEXT];
    // AlertOn as it was when the program last looked for an alert to tell the user of.
    int AlertNoticed = 0;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&)
    {
        OnPageDestroy();
        return 0;
    }
    LRESULT OnCtlColorStaticMessage(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
    {
        return (LRESULT)OnCtlColorStatic((HDC)wParam, (HWND)lParam, handled);
    }
};

// Monitor-iteration callback: resets the monitor at the user's request, with *(DATE*)date as
// its new StartDay. Returns null so that every monitor is visited.
void* ResetCounters(InterfaceMonitor* monitor, void* date);

// The "Since" text of a date: the user's short date, a line end and the time. 1 when the date
// could be formatted; the buffer is empty otherwise.
int FormatSinceText(DATE date, char* buffer, size_t size);

// Page display helpers (InterfacePage.cpp)
extern HBRUSH AlertBrush;
const char* StatusText(int present, DWORD operStatus);

#endif
