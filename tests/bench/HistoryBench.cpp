// The history window's open time over ten years of ten adapters of generated history, and
// what the history costs the saves: the once-a-day rewrite of the history file and the
// once-a-minute write of today's figures into the INI file.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "HistoryCalendar.h"
#include "HistoryLink.h"
#include "HistoryTable.h"
#include "HistoryWindow.h"
#include "RunningFigures.h"
#include "Settings.h"
#include "BenchSupport.h"
#include "TestSupport.h"
#include "UsageHistory.h"

namespace {

const int Years = 10;
const int Adapters = 10;
const double TargetMs = 1000.0;  // "well under a second": the median must be far below it

void Mac(int adapter, char* text, size_t size)
{
    _snprintf(text, size, "00-1A-2B-3C-%02X-%02X", adapter / 256, adapter % 256);
    text[size - 1] = 0;
}

// Ten years up to yesterday, every adapter every day, with made-up but varied figures.
int Generate(const char* path, int today, int* lines)
{
    HistoryTable table;
    unsigned seed = 12345;
    *lines = 0;
    for (int day = today - Years * 365; day < today; day++) {
        for (int adapter = 0; adapter < Adapters; adapter++) {
            seed = seed * 1103515245u + 12345u;
            char mac[MAC_TEXT_CHARS];
            Mac(adapter, mac, sizeof(mac));
            char description[64];
            _snprintf(description, sizeof(description), "Network adapter %d, \"generated\"",
                      adapter + 1);
            description[sizeof(description) - 1] = 0;
            unsigned __int64 in = (unsigned __int64)(seed % 5000000u) * 1000u;
            if (!table.Append(day, mac, description, in, in / 7))
                return 0;
            (*lines)++;
        }
    }
    table.Normalize(MergeAdd);
    DWORD error = 0;
    return table.WriteFile(path, &error);
}

void Pump()
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? atoi(argv[1]) : 7;
    if (runs < 1)
        runs = 1;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    AtlModuleInit(GetModuleHandleA(NULL));

    TempFolder folder;
    FakePlatform fake;
    fake.SetTime(2026, 12, 7, 15, 0, 0);
    std::string ini = folder.Path("Brisvane.INI");
    strncpy(IniPath, ini.c_str(), PATH_CHARS - 1);
    int today = DayNumber(2026, 12, 7);
    char path[PATH_CHARS];
    HistoryPathFor(IniPath, path, sizeof(path));
    int lines = 0;
    if (!Generate(path, today, &lines)) {
        fprintf(stderr, "could not write %s\n", path);
        return 2;
    }
    UsageHistory running;
    for (int adapter = 0; adapter < Adapters; adapter++) {
        char mac[MAC_TEXT_CHARS];
        Mac(adapter, mac, sizeof(mac));
        running.Add(today, mac, "Network adapter", 123456789, 1234567);
    }
    printf("history file: %d lines, %lu KB\n", lines,
           (unsigned long)(ReadFileText(path).size() / 1024));

    // Open: from the request to the window drawn with its list and chart, file read included.
    std::vector<double> opens;
    for (int run = 0; run < runs; run++) {
        HistoryWindow window;
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        HWND opened = window.Open(NULL, &running, SettingsHistoryLinks());
        if (opened == NULL) {
            fprintf(stderr, "no history window\n");
            return 2;
        }
        UpdateWindow(opened);
        QueryPerformanceCounter(&end);
        opens.push_back(Milliseconds(start, end));
        DestroyWindow(opened);
        Pump();
    }
    // The refresh of an open window, once a second while it shows.
    std::vector<double> refreshes;
    {
        HistoryWindow window;
        window.Open(NULL, &running, SettingsHistoryLinks());
        for (int run = 0; run < 20; run++) {
            running.Add(today, "00-1A-2B-3C-00-00", "Network adapter", 1000, 10);
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            window.Refresh();
            UpdateWindow(window.Window);
            QueryPerformanceCounter(&end);
            refreshes.push_back(Milliseconds(start, end));
        }
        DestroyWindow(window.Window);
        Pump();
    }
    // Once a minute: today's figures into an INI file; once a day: the whole file again.
    std::vector<double> minutes, days;
    for (int run = 0; run < runs; run++) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        DWORD error;
        SaveIniFile([&](IniDocument& document) { WriteTodayFigures(running, document); }, &error);
        WritePrivateProfileStringA(NULL, NULL, NULL, IniPath);
        QueryPerformanceCounter(&end);
        minutes.push_back(Milliseconds(start, end));

        UsageHistory ended;
        ended.Add(today - 1, "00-1A-2B-3C-00-00", "Network adapter", 1, 1);
        QueryPerformanceCounter(&start);
        ended.FinishDays(today, path);
        QueryPerformanceCounter(&end);
        days.push_back(Milliseconds(start, end));
    }
    double open = Median(opens);
    printf("history window open, %d years x %d adapters: median %.1f ms, slowest %.1f ms "
           "(target: well under %.0f ms)\n",
           Years, Adapters, open, *std::max_element(opens.begin(), opens.end()), TargetMs);
    printf("refresh of the open window: median %.2f ms\n", Median(refreshes));
    printf("once a minute, today's figures into the INI file: median %.2f ms\n", Median(minutes));
    printf("once a day, the history file written again: median %.1f ms\n", Median(days));
    return open < TargetMs / 2 ? 0 : 1;
}
