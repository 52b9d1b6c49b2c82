// The usage history kept by the meter: the days add up to the totals across midnight, a
// scheduled reset, a restart and a clock set back, for adapters named by their address and by
// their interface.
#include <stdlib.h>

#include <string>

#include "HistoryCalendar.h"
#include "HistoryTable.h"
#include "MeterTestSupport.h"
#include "RunningFigures.h"
#include "UsageHistory.h"

namespace {

const char Mac[] = "00-1A-2B-3C-4D-01";

class MeterHistoryTest : public MeterTest {
protected:
    // The start as the program makes it: one read of the INI file for the settings, today's
    // figures and the adapters of the first cycle.
    void Start(TrafficMeter& started)
    {
        IniDocument document;
        document.Read(IniPath);
        ReadSettingsSection(Settings, document);
        started.Load(document);
        started.PollCycle(fake.Now, fake.Tick, &document);
    }
    // One second of traffic, then a cycle.
    void Second(TrafficMeter& running, DWORD in, DWORD out)
    {
        fake.AdvanceSeconds(1);
        MIB_IFROW* row = fake.Row(2);
        row->dwInOctets += in;
        row->dwOutOctets += out;
        running.PollCycle(fake.Now, fake.Tick);
    }
    std::string HistoryPath() { return folder.Path("Brisvane-history.csv"); }
    // The running figures of the day as the INI file holds them.
    std::string IniFigures(const char* date)
    {
        char text[512] = "";
        GetPrivateProfileStringA("History", (std::string(date) + " " + Mac).c_str(), "", text,
                                 sizeof(text), IniPath);
        return text;
    }
    unsigned long long IniTotal(const char* key)
    {
        char text[64] = "";
        GetPrivateProfileStringA(Mac, key, "", text, sizeof(text), IniPath);
        return strtoull(text, NULL, 10);
    }
};

}  // namespace

TEST_F(MeterHistoryTest, DaysAddUpToTheTotalsAcrossMidnightAResetAndARestart)
{
    // A monthly reset on the 8th; the program starts a minute before midnight on the 6th.
    WritePrivateProfileStringA("Settings", "ResetType", "1", IniPath);
    WritePrivateProfileStringA("Settings", "ResetDate", "8", IniPath);
    fake.AddAdapter(2, 0x01, "192.168.1.10");
    fake.SetTime(2026, 12, 6, 23, 59, 0);
    Start(meter);
    ASSERT_NE((InterfaceMonitor*)NULL, meter.At(0));
    EXPECT_FALSE(FileExists(HistoryPath()));  // nothing invented at the first start

    // Across midnight, on to a minute after it: the 6th goes into the history file.
    unsigned long long beforeMidnight = 0;
    for (int second = 1; second <= 130; second++) {
        Second(meter, 1000 + second, 10);
        if (second == 60)  // 00:00:00 still counts for the 6th
            beforeMidnight = meter.At(0)->Total_in;
    }
    HistoryTable file;
    int skipped = 0;
    ASSERT_TRUE(file.ReadFile(HistoryPath().c_str(), &skipped));
    ASSERT_EQ(1, file.Records.Count());
    EXPECT_EQ(DayNumber(2026, 12, 6), file.Records[0].Day);
    EXPECT_EQ(beforeMidnight, file.Records[0].In);
    EXPECT_EQ(600u, file.Records[0].Out);
    EXPECT_EQ(0, skipped);

    // A restart during the 7th: totals and today's figures both come back.
    meter.Stop();
    unsigned long long savedTotal = IniTotal("Total_in");
    RecordedEvents quiet;
    TrafficMeter second(Settings, quiet);
    fake.AdvanceSeconds(5);
    Start(second);
    ASSERT_NE((InterfaceMonitor*)NULL, second.At(0));
    EXPECT_EQ(savedTotal, second.At(0)->Total_in);
    fake.SetTime(2026, 12, 7, 23, 58, 0);
    unsigned long long beforeReset = 0;
    for (int step = 1; step <= 200; step++) {
        Second(second, 2000, 20);
        if (step == 120)  // 8 December, 00:00:00: the last second before the reset
            beforeReset = second.At(0)->Total_in;
    }
    EXPECT_NE(0u, beforeReset);
    unsigned long long afterReset = second.At(0)->Total_in;
    EXPECT_LT(afterReset, beforeReset);  // the reset came
    second.Stop();

    // The period before the reset: the 6th and the 7th, exactly.
    ASSERT_TRUE(file.ReadFile(HistoryPath().c_str(), &skipped));
    ASSERT_EQ(2, file.Records.Count());
    EXPECT_EQ(DayNumber(2026, 12, 7), file.Records[1].Day);
    EXPECT_EQ(beforeReset, file.Records[0].In + file.Records[1].In);
    // The period since the reset: the 8th, in the INI file beside the totals.
    EXPECT_EQ(afterReset, IniTotal("Total_in"));
    EXPECT_EQ(std::to_string(afterReset) + "," + std::to_string(IniTotal("Total_out")) +
                  ",Test adapter 2",
              IniFigures("2026-12-08"));
    EXPECT_EQ("", IniFigures("2026-12-07"));  // in the history file now
}

TEST_F(MeterHistoryTest, IfLinesAndTheClockSetBackAcrossMidnightKeepEveryByte)
{
    // An adapter with a hardware address and one without (written as "IF-" lines).
    fake.AddAdapter(2, 0x01, "192.168.1.10");
    fake.AddAdapter(3, 0x00, "10.8.0.2").dwPhysAddrLen = 0;
    fake.SetTime(2026, 12, 6, 23, 59, 0);
    Start(meter);
    auto run = [&](int seconds) {
        for (int second = 0; second < seconds; second++) {
            fake.Row(3)->dwInOctets += 300;
            Second(meter, 1000, 10);
        }
    };
    run(130);  // into the 7th: the 6th is finished
    fake.SetTime(2026, 12, 7, 23, 59, 0);
    run(130);  // into the 8th: the 7th is finished, the 6th's lines stay
    fake.SetTime(2026, 12, 7, 23, 58, 0);  // set back across midnight
    run(200);  // the 7th found again, and the 8th once more
    meter.Stop();

    HistoryTable file;
    int skipped = -1;
    ASSERT_EQ(HistoryReadDone, file.ReadFile(HistoryPath().c_str(), &skipped));
    EXPECT_EQ(0, skipped);
    ASSERT_NE((const HistoryRecord*)NULL, file.Find(DayNumber(2026, 12, 6), "IF-INDEX-3"));
    ASSERT_NE((const HistoryRecord*)NULL, file.Find(DayNumber(2026, 12, 7), "IF-INDEX-3"));
    EXPECT_EQ(nullptr, file.Find(DayNumber(2026, 12, 8), Mac));  // not finished twice
    UsageHistory running;
    ASSERT_TRUE(ReadTodayFigures(running, IniPath));
    for (const char* name : {Mac, "IF-INDEX-3"}) {
        unsigned long long days = 0;
        for (const HistoryRecord& record : file.Records)
            if (strcmp(file.Names[record.Name].Mac, name) == 0)
                days += record.In;
        for (const RunningDay& day : running.Running)
            if (strcmp(day.Mac, name) == 0)
                days += day.In;
        char total[64] = "";
        GetPrivateProfileStringA(name, "Total_in", "", total, sizeof(total),
                                 IniPath);
        EXPECT_EQ(strtoull(total, NULL, 10), days) << name;
        EXPECT_NE(0u, days);
    }
    // The 7th holds all of its parts: 70 s after the first midnight, 60 s up to the next one
    // (its sample counts for the 7th) and 120 s once the clock went back.
    EXPECT_EQ(1000u * (70 + 60 + 120), file.Find(DayNumber(2026, 12, 7), Mac)->In);
}

