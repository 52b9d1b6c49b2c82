#include "ForecastWarning.h"

#include <string.h>

#include "BoundedText.h"
#include "HistoryCalendar.h"
#include "IniDocument.h"
#include "Units.h"

#define STATE_TEXT_CHARS 32
// "Warned " and the section's name.
#define MARK_KEY_CHARS (sizeof(FORECAST_WARNED_KEY) + MAC_TEXT_CHARS)

static const ForecastWarnedMark* MarkOf(const ForecastWarningState& state, const char* name)
{
    for (const ForecastWarnedMark& mark : state.Marks)
        if (strcmp(mark.Name, name) == 0)
            return &mark;
    return NULL;
}

int ForecastWarnedOf(const ForecastWarningState& state, const char* name, int first)
{
    if (state.OlderCopyPeriod == first)
        return 1;
    const ForecastWarnedMark* mark = MarkOf(state, name);
    return mark != NULL && mark->Period == first;
}

int MarkForecastWarned(ForecastWarningState* state, const char* name, int first)
{
    ForecastWarnedMark* mark = (ForecastWarnedMark*)MarkOf(*state, name);
    if (mark == NULL) {
        mark = state->Marks.AppendZeroed();
        if (mark == NULL)
            return 0;
        CopyText(mark->Name, sizeof(mark->Name), name);
    }
    mark->Period = first;
    return 1;
}

int DecideForecastWarning(const PeriodForecast& forecast, const PeriodLimits& limits,
                          int alertOn, const ForecastWarningState& state, const char* name,
                          LimitPick* pick)
{
    if (!state.Enabled || alertOn || ForecastWarnedOf(state, name, forecast.Span.First))
        return 0;
    // Through enough of the period: the time the pace is taken over against all of it.
    __int64 paced = forecast.PeriodSeconds - forecast.RemainingSeconds;
    if (forecast.PeriodSeconds <= 0 ||
        paced * PERCENT < forecast.PeriodSeconds * FORECAST_WARN_AFTER_PERCENT)
        return false;
    return PickLimit(forecast, limits, pick) && pick->Passes;
}

static int ReadDay(const char* text, size_t length, int* day)
{
    while (length > 0 && (text[0] == ' ' || text[0] == '\t')) {
        text++;
        length--;
    }
    while (length > 0 && (text[length - 1] == ' ' || text[length - 1] == '\t'))
        length--;
    return ParseIsoDate(text, length, day);
}

// "Warned 00-1A-2B-3C-4D-5E=2026-12-01", its key in any case as INI keys are: the first line
// of an adapter counts, as for any key.
static void ReadMarkLine(const char* line, void* context)
{
    ForecastWarningState* state = (ForecastWarningState*)context;
    const size_t prefix = sizeof(FORECAST_WARNED_KEY) - 1;
    const char* equals = strchr(line, '=');
    if (equals == NULL || _strnicmp(line, FORECAST_WARNED_KEY, prefix) != 0 ||
        (line[prefix] != ' ' && line[prefix] != '\t'))
        return;
    const char* name = line + prefix;
    while (*name == ' ' || *name == '\t')
        name++;
    size_t length = (size_t)(equals - name);
    while (length > 0 && (name[length - 1] == ' ' || name[length - 1] == '\t'))
        length--;
    char text[MAC_TEXT_CHARS];
    int day;
    if (length == 0 || length >= sizeof(text) || !ReadDay(equals + 1, strlen(equals + 1), &day))
        return;
    memcpy(text, name, length);
    text[length] = 0;
    if (MarkOf(*state, text) == NULL)
        MarkForecastWarned(state, text, day);
}

void ReadForecastState(IniDocument& document, ForecastWarningState* state)
{
    state->Enabled = 1;
    state->WarnedPeriod = state->OlderCopyPeriod = NO_DAY;
    state->Marks.Clear();
    char text[STATE_TEXT_CHARS] = "";
    if (document.Get(FORECAST_SECTION, FORECAST_WARN_KEY, text, sizeof(text)))
        state->Enabled = text[0] != '0';
    document.Get(FORECAST_SECTION, FORECAST_WARNED_KEY, text, sizeof(text));
    int day;
    if (ReadDay(text, strlen(text), &day))
        state->WarnedPeriod = day;
    document.ForEachLineOf(FORECAST_SECTION, ReadMarkLine, state);
    // This program writes the one mark beside an adapter's mark of the same day; a day that no
    // adapter's mark holds was written by an older copy, which meant it for every adapter.
    state->OlderCopyPeriod = state->WarnedPeriod;
    for (const ForecastWarnedMark& mark : state->Marks)
        if (mark.Period == state->WarnedPeriod)
            state->OlderCopyPeriod = NO_DAY;
}

bool StoreForecastState(IniDocument& document, const ForecastWarningState& state)
{
    bool ok = document.Set(FORECAST_SECTION, FORECAST_WARN_KEY, state.Enabled ? "1" : "0");
    char text[STATE_TEXT_CHARS] = "";
    if (state.WarnedPeriod != NO_DAY)
        FormatIsoDate(state.WarnedPeriod, text, sizeof(text));
    ok = document.Set(FORECAST_SECTION, FORECAST_WARNED_KEY, text) && ok;
    for (const ForecastWarnedMark& mark : state.Marks) {
        char key[MARK_KEY_CHARS];
        BoundedPrint(key, sizeof(key), "%s %s", FORECAST_WARNED_KEY, mark.Name);
        FormatIsoDate(mark.Period, text, sizeof(text));
        ok = document.Set(FORECAST_SECTION, key, text) && ok;
    }
    return ok;
}
