// A traffic meter in this test process, without a window, over scripted adapter tables and a
// private folder; what it tells goes into a record the tests read.
#ifndef BRISVANE_METERTESTSUPPORT_H
#define BRISVANE_METERTESTSUPPORT_H

#include <string>
#include <vector>

#include "TrafficMeter.h"
#include "monitor/MonitorTestSupport.h"

// Every event of the meter as a line, "added 0 192.168.1.10" and the like.
class RecordedEvents : public MeterEvents {
public:
    bool AdapterAdded(InterfaceMonitor& monitor, int position) override
    {
        Lines.push_back("added " + std::to_string(position) + " " + monitor.IPv4Text);
        if (WhileAdding)
            WhileAdding();
        return !Refuse;
    }
    void AdapterRelabelled(InterfaceMonitor& monitor) override
    {
        Lines.push_back(std::string("relabelled ") + monitor.IPv4Text);
    }
    void AdapterPresenceChanged(InterfaceMonitor& monitor) override
    {
        Lines.push_back(std::string(monitor.Present ? "back " : "gone ") + monitor.IPv4Text);
    }
    void AlertCrossed(InterfaceMonitor& monitor, const AlertNotice& notice) override
    {
        Lines.push_back(std::string("alert ") + monitor.IPv4Text + " " + notice.LimitName);
    }
    void WarningDue(InterfaceMonitor& monitor, const PeriodForecast&, const LimitPick&) override
    {
        Lines.push_back(std::string("warning ") + monitor.IPv4Text);
    }
    void SaveFailed(DWORD, const char* path) override
    {
        Lines.push_back(std::string("save failed ") + path);
    }
    void LogFailed(DWORD, const char* path) override
    {
        Lines.push_back(std::string("log failed ") + path);
    }
    // How many lines start with the text.
    int Count(const std::string& start) const
    {
        int count = 0;
        for (const std::string& line : Lines)
            count += line.compare(0, start.size(), start) == 0;
        return count;
    }

    std::vector<std::string> Lines;
    bool Refuse = false;  // adapters cannot be shown
    std::function<void()> WhileAdding;
};

class MeterTest : public CoreTest {
protected:
    MeterTest() : meter(Settings, events) {}
    void SetUp() override
    {
        CoreTest::SetUp();
        Settings.EnableLog = 1;
    }
    // One tick at the fake clock.
    void Tick() { meter.PollCycle(fake.Now, fake.Tick); }
    // A second of the clocks, then a tick.
    void Second()
    {
        fake.AdvanceSeconds(1);
        Tick();
    }
    InterfaceMonitor* At(int position) { return meter.At(position); }
    std::string Log() { return EventLogText(); }
    unsigned IniNumber(const char* section, const char* key)
    {
        return GetPrivateProfileIntA(section, key, 7, IniPath);
    }

    RecordedEvents events;
    TrafficMeter meter;
};

#endif
