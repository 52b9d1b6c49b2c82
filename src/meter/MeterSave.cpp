// The one save of every adapter: the settings, each adapter's counters, the running history
// figures, the warning's state and the windows' sections go into one document of the INI file,
// written whole; and what is told when a save or a log cannot be written.
#include "TrafficMeter.h"

#include "BoundedText.h"
#include "ForecastWarning.h"
#include "HistoryCalendar.h"
#include "RunningFigures.h"
#include "LogChannel.h"
#include "Platform.h"

bool TrafficMeter::SaveAll()
{
    LastSaveCycle = Cycles;
    DWORD error = NO_ERROR;
    bool saved = SaveIniFile(
        [&](IniDocument& document) {
            StoreSettingsSection(Settings, document);
            for (InterfaceMonitor* monitor : Monitors) {
                monitor->StoreCounters(document);
                monitor->SaveWanted = false;
            }
            WriteHistoryInto(document);
            Events.FillSave(document);
            StoreForecastState(document, Forecasts.Warning);
        },
        &error);
    if (saved) {
        Usage.Unsaved = 0;
        return true;
    }
    TellSaveFailure(error, IniPath);
    return false;
}

void TrafficMeter::Stop()
{
    if (StopDone)
        return;
    StopDone = true;
    SaveAll();
    for (InterfaceMonitor* monitor : Monitors)
        monitor->LogStop();
}

void TrafficMeter::PrimeAll()
{
    for (InterfaceMonitor* monitor : Monitors)
        monitor->PrimeNextSample();
}

void TrafficMeter::ResetAll(DATE date)
{
    for (InterfaceMonitor* monitor : Monitors)
        monitor->Reset(date);
    EventLog.WriteLine("The counters were reset at user request\r\n");
}

void TrafficMeter::WriteHistoryInto(IniDocument& document)
{
    SYSTEMTIME now;
    Platform.ReadLocalTime(&now);
    int today;
    // Once a day: the days that have ended go into the history file. Should that fail they
    // stay among the running figures, in the INI file, and are tried again at the next save.
    if (SampleDay(&now, &today) && Usage.HasFinishedDays(today)) {
        char path[PATH_CHARS];
        if (HistoryPathFor(IniPath, path, sizeof(path)) && !Usage.FinishDays(today, path))
            TellSaveFailure(Usage.LastError, path);
    }
    WriteTodayFigures(Usage, document);
}

void TrafficMeter::TellSaveFailure(DWORD error, const char* path)
{
    // Once a run: the counts stay in memory and every later save tries again.
    if (SaveFailureReported)
        return;
    SaveFailureReported = true;
    char reason[SHORT_TEXT * 4];
    FormatSystemError(error, reason, sizeof(reason));
    EventLog.WriteLine("The counters could not be saved to %s: %s\r\n", path, reason);
    Events.SaveFailed(error, path);
}

void TrafficMeter::ReportLogFailures()
{
    // Lines that waited for a held log file go as soon as it is free again.
    EventLog.WriteWaiting();
    TrafficLog.WriteWaiting();
    LogChannel* channels[] = {&EventLog, &TrafficLog};
    for (LogChannel* channel : channels) {
        DWORD error;
        // Once a run, as a failed save: the lines wait in memory and are written later.
        if (!channel->TakeFailureToTell(&error) || LogFailureReported)
            continue;
        LogFailureReported = true;
        char reason[SHORT_TEXT * 4];
        FormatSystemError(error, reason, sizeof(reason));
        EventLog.WriteLine("The log %s could not be written: %s\r\n", channel->Path, reason);
        Events.LogFailed(error, channel->Path);
    }
}
