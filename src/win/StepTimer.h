// Where the once-a-second cycle spends its time: each step's calls and microseconds, for the
// benchmark. Counted only when BRISVANE_STEPS names a file as the program starts, and written
// there at exit, a line a step: "name calls microseconds". Otherwise every probe is one test
// of a flag that never changes. The first cycle, which makes every adapter's page, and what
// comes before it are left out: the table is of the cycles that follow, one a second.
//
// A probe is one line. In the cycle's sequence, StepLap(step) at the end of each step gives the
// step the time since the previous boundary; StepCycleBegin and StepCycleEnd bound the cycle.
// Out of the sequence (a paint, a text conversion inside any step), a StepScope counts the time
// of its own scope, over and above the step it falls in.
#ifndef BRISVANE_STEPTIMER_H
#define BRISVANE_STEPTIMER_H

enum CycleStep {
    StepCycle,             // the whole cycle, from its start to its end
    StepInterfaceTable,    // the interface table read
    StepAddressTable,      // the address table read
    StepMatching,          // each row's address text and monitor found
    StepAccounting,        // each row applied to its monitor's counters
    StepHistorySample,     // each row's growth added to the day's usage
    StepSave,              // the test for a save, and the save when due
    StepPages,             // the alert rule and the page on show written
    StepForecast,          // the forecast round, when due
    StepLogCheck,          // the log channels' failures reported
    StepSpeedFigures,      // the figures the speed views show, summed
    StepSpeedWindowText,   // the speed window's text set and its picture painted
    StepIconDescribe,      // what the speed icon shows, and the test for a change
    StepIconDraw,          // a new speed icon drawn and made
    StepTipText,           // the tray tip's text and its forecast line
    StepTrayHandOver,      // the tray told of a new icon or tip, and the old icon destroyed
    StepTitle,             // the window title
    StepHistoryWindow,     // the history window's refresh
    StepSpeedWindowPaint,  // the speed window's picture drawn, at once or at WM_PAINT
    StepLayeredUpdate,     // the picture copied from off screen to the layered window
    StepTextConversion,    // UTF-8 to UTF-16 at the edge, wherever it falls
    StepCount
};

// Set once, before WinMain, from the environment.
extern const bool StepTimingOn;

void StepCycleBeginTimed();
void StepLapTimed(CycleStep step);
void StepCycleEndTimed();
long long StepNowTimed();
void StepAddTimed(CycleStep step, long long from);

inline void StepCycleBegin()
{
    if (StepTimingOn)
        StepCycleBeginTimed();
}

inline void StepLap(CycleStep step)
{
    if (StepTimingOn)
        StepLapTimed(step);
}

inline void StepCycleEnd()
{
    if (StepTimingOn)
        StepCycleEndTimed();
}

class StepScope {
public:
    explicit StepScope(CycleStep step) : Step(step), From(StepTimingOn ? StepNowTimed() : 0) {}
    ~StepScope()
    {
        if (StepTimingOn)
            StepAddTimed(Step, From);
    }
    StepScope(const StepScope&) = delete;
    StepScope& operator=(const StepScope&) = delete;

private:
    CycleStep Step;
    long long From;
};

#endif
