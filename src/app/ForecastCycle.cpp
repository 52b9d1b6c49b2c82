// The main window's part of the period forecast: the round once a minute over every adapter,
// the tray tip's line, the early warning's balloon and its switch in the tray menu.
#include <string.h>

#include "BoundedText.h"
#include "HistoryCalendar.h"
#include "InterfaceMonitor.h"
#include "MainWindow.h"
#include "PeriodRules.h"
#include "Platform.h"
#include "SampleDay.h"
#include "Settings.h"

#define WARNING_TITLE "Brisvane: limit ahead"

void MainWindow::UpdateForecasts(const SYSTEMTIME& now, int today)
{
    ULONGLONG tick = Platform.ReadTickCount();
    if (!Forecasts.Due(tick, today, History.FinishedVersion))
        return;
    Forecasts.BeginRound(tick, today, History.FinishedVersion);
    char historyPath[PATH_CHARS] = "";
    HistoryPathFor(IniPath, historyPath, sizeof(historyPath));
    int seconds = SecondsIntoSampleDay(&now);
    PeriodLimits limits = LimitsOfSettings(Settings);
    TabStrip tabs = Tabs();
    for (int position = 0; position < tabs.Count(); position++) {
        InterfaceMonitor* monitor = tabs.MonitorAt(position);
        if (monitor == NULL)
            continue;
        int since = NO_DAY;
        if (monitor->StartDay.vt == VT_DATE && !DayOfDateValue(monitor->StartDay.date, &since))
            since = NO_DAY;
        PeriodSpan span;
        CurrentPeriodSpan(Settings, today, since, &span);
        char name[SHORT_TEXT];
        monitor->SectionName(name, sizeof(name));
        const PeriodForecast* forecast =
            Forecasts.Update(name, span, History, historyPath, seconds);
        LimitPick pick;
        if (forecast != NULL &&
            DecideForecastWarning(*forecast, limits, monitor->AlertOn, Forecasts.Warning, &pick))
            WarnOfForecast(monitor, *forecast, pick);
    }
    Forecasts.EndRound();
}

void MainWindow::WarnOfForecast(InterfaceMonitor* monitor, const PeriodForecast& forecast,
                                const LimitPick& pick)
{
    // Once a period, and kept at once so that a restart does not tell it again.
    Forecasts.Warning.WarnedPeriod = forecast.Span.First;
    char warning[FORECAST_LINE_CHARS];
    FormatForecastWarning(forecast, pick, warning, sizeof(warning));
    char description[MAX_DESCR + 1];
    DWORD length = DescrLength(&monitor->IfRow);
    memcpy(description, monitor->IfRow.bDescr, length);
    description[length] = 0;
    char text[sizeof(((NOTIFYICONDATAA*)NULL)->szInfo)];
    int room = (int)sizeof(text) - 1 - (int)strlen(monitor->IPv4Text) - 2 - (int)strlen(warning);
    if (room < 0)
        room = 0;
    BoundedPrint(text, sizeof(text), "%s %.*s\n%s", monitor->IPv4Text, room, description,
                 warning);
    SendBalloon(monitor, NIIF_WARNING, WARNING_TITLE, text);
    SaveAllCounters();
}

void MainWindow::AppendForecastTip(InterfaceMonitor* monitor, char* tip, size_t size)
{
    if (monitor == NULL || tip[0] == 0)
        return;
    char name[SHORT_TEXT];
    monitor->SectionName(name, sizeof(name));
    // Nothing counted in the period yet: nothing worth a line.
    const PeriodForecast* forecast = Forecasts.LatestOf(name);
    if (forecast == NULL || (forecast->SoFarIn == 0 && forecast->SoFarOut == 0))
        return;
    char line[FORECAST_TIP_LINE_CHARS];
    int length = FormatForecastTipLine(*forecast, line, sizeof(line));
    size_t used = strlen(tip);
    // The whole line or none: the tray cuts a longer tip anywhere.
    if (used + 1 + (size_t)length + 1 <= size)
        BoundedPrint(tip + used, size - used, "\n%s", line);
}

void MainWindow::CheckForecastMenuItem()
{
    HMENU menu = GetSubMenu(Tray.Menu(), 0);
    if (menu != NULL)
        CheckMenuItem(menu, ID_TRAY_FORECASTWARN,
                      Forecasts.Warning.Enabled ? MF_CHECKED : MF_UNCHECKED);
}

LRESULT MainWindow::OnForecastWarnCommand(WORD, WORD, HWND, BOOL&)
{
    Forecasts.Warning.Enabled = !Forecasts.Warning.Enabled;
    CheckForecastMenuItem();
    SaveAllCounters();
    return 0;
}
