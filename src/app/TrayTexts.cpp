#include "TrayTexts.h"

#include <string.h>

#include "BoundedText.h"
#include "LanguageResources.h"
#include "TrayIcon.h"
#include "resource.h"

namespace {

constexpr char ProgramName[] = "Brisvane";

// "Brisvane: " and the summary within the tray's first 64 characters.
void FormatSummaryTip(const InterfaceMonitor* monitor, char* tip, size_t size)
{
    if (size > TRAY_TIP_CHARS)
        size = TRAY_TIP_CHARS;
    if (monitor == nullptr) {
        CopyText(tip, size, ProgramName);
        return;
    }
    char summary[TRAY_TIP_CHARS];
    FormatTrafficSummary(*monitor, summary, sizeof(summary));
    const char* parts[] = {summary};
    FormatText(tip, size, IDS_TRAY_TIP, parts, 1);
}

}  // namespace

void FormatTrayTip(const InterfaceMonitor* monitor, const PeriodForecast* forecast, char* tip,
                   size_t size)
{
    if (size == 0)
        return;
    FormatSummaryTip(monitor, tip, size);
    // Nothing counted in the period yet: nothing worth a line.
    if (monitor == nullptr || forecast == nullptr ||
        (forecast->SoFarIn == 0 && forecast->SoFarOut == 0))
        return;
    char line[FORECAST_TIP_LINE_CHARS];
    int length = FormatForecastTipLine(*forecast, line, sizeof(line));
    size_t used = strlen(tip);
    // The whole line or none: the tray cuts a longer tip anywhere.
    if (used + 1 + (size_t)length + 1 <= size)
        BoundedPrint(tip + used, size - used, "\n%s", line);
}

void FormatTitle(const InterfaceMonitor* monitor, bool minimised, char* title, size_t size)
{
    if (minimised)
        FormatSummaryTip(monitor, title, size);
    else
        CopyText(title, size, ProgramName);
}

void FormatAlertBalloon(const InterfaceMonitor& monitor, const AlertNotice& notice, char* text,
                        size_t size)
{
    char description[MAX_DESCR + 1];
    monitor.Description(description, sizeof(description));
    FormatAlertNotice(notice, monitor.IPv4Text, description, text, size);
}

void FormatWarningBalloon(const InterfaceMonitor& monitor, const PeriodForecast& forecast,
                          const LimitPick& pick, char* text, size_t size)
{
    if (size == 0)
        return;
    char warning[FORECAST_LINE_CHARS];
    FormatForecastWarning(forecast, pick, warning, sizeof(warning));
    char description[MAX_DESCR + 1];
    monitor.Description(description, sizeof(description));
    int room = (int)size - 1 - (int)strlen(monitor.IPv4Text) - 2 - (int)strlen(warning);
    if (room < 0)
        room = 0;
    BoundedPrint(text, size, "%s %.*s\n%s", monitor.IPv4Text, room, description, warning);
}

void FormatWriteFailure(const char* path, DWORD error, char* text, size_t size)
{
    char reason[SHORT_TEXT * 4];
    FormatSystemError(error, reason, sizeof(reason));
    const char* parts[] = {path, reason};
    FormatText(text, size, IDS_FILE_NOT_WRITTEN, parts, 2);
}
