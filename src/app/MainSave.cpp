// The one save of every adapter: the settings, each adapter's counters, the running history
// figures and the windows' sections go into one document of the INI file, written whole; and
// what is told when a save or a log cannot be written.
#include "MainWindow.h"

#include "BoundedText.h"
#include "HistoryCalendar.h"
#include "InterfaceMonitor.h"
#include "LogChannel.h"
#include "Platform.h"
#include "RunningFigures.h"
#include "Settings.h"

static void* StoreMonitorCounters(InterfaceMonitor* monitor, void* document)
{
    monitor->StoreCounters(*(IniDocument*)document);
    monitor->SaveWanted = 0;
    return NULL;
}

static void FillEverything(IniDocument& document, void* mainWindow)
{
    Settings.StoreSection(document);
    ((MainWindow*)mainWindow)->ForEachMonitor(StoreMonitorCounters, &document);
    ((MainWindow*)mainWindow)->WriteHistoryInto(document);
    ((MainWindow*)mainWindow)->WritePlaceInto(document);
    ((MainWindow*)mainWindow)->WriteSpeedViewsInto(document);
    ((MainWindow*)mainWindow)->WriteForecastInto(document);
}

int MainWindow::SaveAllCounters()
{
    LastSaveCycle = CycleCount;
    if (Settings.SaveIni(FillEverything, this)) {
        History.Unsaved = 0;
        return 1;
    }
    ReportSaveFailure(Settings.LastSaveError, IniPath);
    return 0;
}

void MainWindow::ReportSaveFailure(DWORD error, const char* path)
{
    // Once a run: the counts stay in memory and every later save tries again.
    if (SaveFailureReported)
        return;
    SaveFailureReported = 1;
    char reason[SHORT_TEXT * 4];
    FormatSystemError(error, reason, sizeof(reason));
    EventLog.WriteLine("The counters could not be saved to %s: %s\r\n", path, reason);
    char text[TRAY_INFO_BYTES];
    BoundedPrint(text, sizeof(text), "%s could not be written: %s", path, reason);
    SendBalloon(NULL, NIIF_ERROR, "Brisvane cannot save its counts", text);
}

void MainWindow::ReportLogFailures()
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
        LogFailureReported = 1;
        char reason[SHORT_TEXT * 4];
        FormatSystemError(error, reason, sizeof(reason));
        EventLog.WriteLine("The log %s could not be written: %s\r\n", channel->Path, reason);
        char text[TRAY_INFO_BYTES];
        BoundedPrint(text, sizeof(text), "%s could not be written: %s", channel->Path, reason);
        SendBalloon(NULL, NIIF_ERROR, "Brisvane cannot write its log", text);
    }
}

void MainWindow::WriteHistoryInto(IniDocument& document)
{
    SYSTEMTIME now;
    Platform.ReadLocalTime(&now);
    int today;
    // Once a day: the days that have ended go into the history file. Should that fail they
    // stay among the running figures, in the INI file, and are tried again at the next save.
    if (SampleDay(&now, &today) && History.HasFinishedDays(today)) {
        char path[PATH_CHARS];
        if (HistoryPathFor(IniPath, path, sizeof(path)) && !History.FinishDays(today, path))
            ReportSaveFailure(History.LastError, path);
    }
    WriteTodayFigures(History, document);
}
