// The meter's period forecasts: a round once a minute over every adapter, and the early
// warning where one is due, marked per adapter at once so that a restart does not tell it again.
#include "TrafficMeter.h"

#include "ForecastWarning.h"
#include "PeriodRules.h"
#include "SampleDay.h"
#include "HistoryCalendar.h"

void TrafficMeter::UpdateForecasts(const SYSTEMTIME& now, int today, ULONGLONG tick)
{
    if (!Forecasts.Due(tick, today, Usage.FinishedVersion))
        return;
    Forecasts.BeginRound(tick, today, Usage.FinishedVersion);
    char historyPath[PATH_CHARS] = "";
    HistoryPathFor(IniPath, historyPath, sizeof(historyPath));
    int seconds = SecondsIntoSampleDay(&now);
    PeriodLimits limits = LimitsOfSettings(Settings);
    bool warned = false;
    for (InterfaceMonitor* monitor : Monitors) {
        int since = NO_DAY;
        if (monitor->StartDay.vt == VT_DATE && !DayOfDateValue(monitor->StartDay.date, &since))
            since = NO_DAY;
        PeriodSpan span;
        CurrentPeriodSpan(Settings, today, since, &span);
        char name[SHORT_TEXT];
        monitor->SectionName(name, sizeof(name));
        const PeriodForecast* forecast = Forecasts.Update(name, span, Usage, historyPath, seconds);
        if (forecast == nullptr)
            continue;
        ForecastWarningState& state = Forecasts.Warning;
        // An older copy's one mark becomes this adapter's own, which outlives the one mark
        // once a warning of another period replaces it.
        if (state.OlderCopyPeriod == forecast->Span.First)
            MarkForecastWarned(&state, name, forecast->Span.First);
        LimitPick pick;
        if (DecideForecastWarning(*forecast, limits, monitor->AlertOn, state, name, &pick)) {
            // Once per adapter and period; the one mark, for older copies, is the latest.
            MarkForecastWarned(&state, name, forecast->Span.First);
            state.WarnedPeriod = forecast->Span.First;
            Events.WarningDue(*monitor, *forecast, pick);
            warned = true;
        }
    }
    Forecasts.EndRound();
    // Kept at once, so that a restart does not tell it again.
    if (warned)
        SaveAll();
}

const PeriodForecast* TrafficMeter::LatestForecastOf(const InterfaceMonitor& monitor) const
{
    char name[SHORT_TEXT];
    monitor.SectionName(name, sizeof(name));
    return Forecasts.LatestOf(name);
}
