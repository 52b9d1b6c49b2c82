// Turning the growth of an adapter's 32-bit octet counters into per-second figures and
// totals: priming, counting, counter wraps and resets, absence, change flags, the IPv4 text.
#include <gtest/gtest.h>
#include <string.h>

#include "InterfaceMonitor.h"
#include "MonitorTestSupport.h"

namespace {

const DWORD OneGigabit = 1000000000;

class AccountingTest : public CoreTest {
protected:
    AccountingTest() : monitor("192.168.1.10") {}

    void SetUp() override
    {
        CoreTest::SetUp();
        row = fake.AddAdapter(1, 0x5E, "192.168.1.10", OneGigabit);
    }

    // One poll cycle later (or more), the adapter's counters stand at in and out.
    void Sample(DWORD in, DWORD out, int seconds = 1)
    {
        fake.AdvanceSeconds(seconds);
        row.dwInOctets = in;
        row.dwOutOctets = out;
        Apply(monitor, &row);
    }

    // The bytes counted IN when the counter goes from one value to another, from a fresh start.
    unsigned __int64 CountedIn(DWORD from, DWORD to, int seconds = 1)
    {
        ClearCounters(&monitor);
        Sample(from, 0);
        Sample(to, 0, seconds);
        return monitor.Total_in;
    }

    void ClearFlags()
    {
        monitor.SpeedChanged = 0;
        monitor.MacChanged = 0;
        monitor.DescrChanged = 0;
    }

    MIB_IFROW row;
    InterfaceMonitor monitor;
};

TEST_F(AccountingTest, TheFirstRowOnlyPrimes)
{
    Sample(1000, 2000);
    EXPECT_EQ(1, monitor.Present);
    EXPECT_EQ(1u, monitor.SampleCount);
    EXPECT_EQ(0u, monitor.Total_in);
    EXPECT_EQ(0u, monitor.Total_out);
    EXPECT_EQ(0u, monitor.ActiveCountIn);
    EXPECT_EQ(VT_DATE, monitor.StartDay.vt);
    EXPECT_EQ(DateOf(2026, 12, 6, 12, 0, 1), monitor.StartDay.date);

    Sample(1500, 2700);
    EXPECT_EQ(2u, monitor.SampleCount);
    EXPECT_EQ(500u, monitor.CurrentIn);
    EXPECT_EQ(700u, monitor.CurrentOut);
    EXPECT_EQ(500u, monitor.Total_in);
    EXPECT_EQ(700u, monitor.Total_out);
    EXPECT_EQ(1u, monitor.ActiveCountIn);
    EXPECT_EQ(1u, monitor.ActiveCountOut);
    EXPECT_EQ(500u, monitor.PeakIn);
    EXPECT_EQ(700u, monitor.AverageOut);
}

TEST_F(AccountingTest, QuietDirectionIsNotActive)
{
    Sample(1000, 2000);
    Sample(1000, 2700);
    EXPECT_EQ(0u, monitor.CurrentIn);
    EXPECT_EQ(0u, monitor.ActiveCountIn);
    EXPECT_EQ(0u, monitor.AverageIn);
    EXPECT_EQ(700u, monitor.CurrentOut);
    EXPECT_EQ(1u, monitor.ActiveCountOut);
}

TEST_F(AccountingTest, AveragesPeaksAndLoadedTotals)
{
    monitor.Total_in = 900;  // as loaded, with no active second
    Sample(0, 0);
    Sample(50, 0);
    EXPECT_EQ(1u, monitor.ActiveCountIn);
    EXPECT_EQ(950u, monitor.AverageIn);

    monitor.Total_in = 6000;
    monitor.ActiveCountIn = 2;
    Sample(4050, 0);
    EXPECT_EQ(10000u, monitor.Total_in);
    EXPECT_EQ(3333u, monitor.AverageIn);
    Sample(4060, 0);
    EXPECT_EQ(4000u, monitor.PeakIn);
    EXPECT_EQ(10u, monitor.CurrentIn);
    Sample(4060 + 4001, 0);  // one byte above the peak is the new peak
    EXPECT_EQ(4001u, monitor.PeakIn);
}

// A counter below its last value wrapped once when the bytes fit what the adapter could carry
// since the last row: its speed, no less than a gigabit, for the seconds passed, plus 2%.
// Anything more is a counter the system reset, and nothing is counted.
TEST_F(AccountingTest, AFallingCounterIsAWrapOnlyWhenTheAdapterCouldCarryIt)
{
    const DWORD top = 0xFFFFFFFFu;
    const struct {
        DWORD Speed;
        DWORD From, To;
        int Seconds;
        unsigned __int64 Counted;
    } cases[] = {
        {OneGigabit, top - 99999999u, 25000000, 1, 125000000},   // a gigabit's second, exactly
        {10000000, top - 49999999u, 50000000, 1, 100000000},     // slower: the gigabit still holds
        {OneGigabit, top - 249999999u, 250000000, 1, 0},         // 500 MB in a second: a reset
        {4000000000u, top - 249999999u, 250000000, 1, 500000000},  // not for 4 Gbit/s
        {OneGigabit, top - 249999999u, 250000000, 5, 500000000},   // nor in five seconds
        {OneGigabit, top, 127499990 - 1, 1, 127499990},            // 2% over the speed
        {OneGigabit, top, 127500010 - 1, 1, 0},                    // a little more
    };
    for (const auto& c : cases) {
        row.dwSpeed = c.Speed;
        EXPECT_EQ(c.Counted, CountedIn(c.From, c.To, c.Seconds))
            << "speed " << c.Speed << ", " << c.From << " to " << c.To << " in " << c.Seconds;
    }
    // A wrap is an ordinary second of traffic: current, peak, and counting goes on.
    row.dwSpeed = OneGigabit;
    CountedIn(top - 99999999u, 25000000);
    EXPECT_EQ(125000000u, monitor.CurrentIn);
    EXPECT_EQ(125000000u, monitor.PeakIn);
    Sample(25000100, 0);
    EXPECT_EQ(125000100u, monitor.Total_in);
}

TEST_F(AccountingTest, ACounterResetToASmallValueCountsNothing)
{
    Sample(3000000000u, 2000000000u);
    Sample(3000000400u, 2000000300u);
    Sample(5, 7);
    EXPECT_EQ(3u, monitor.SampleCount);
    EXPECT_EQ(400u, monitor.Total_in);
    EXPECT_EQ(300u, monitor.Total_out);
    EXPECT_EQ(400u, monitor.CurrentIn);  // still the last counted second
    EXPECT_EQ(300u, monitor.CurrentOut);
    EXPECT_EQ(1u, monitor.ActiveCountIn);
    // Counting goes on from the new values.
    Sample(1005, 2007);
    EXPECT_EQ(1400u, monitor.Total_in);
    EXPECT_EQ(2300u, monitor.Total_out);
}

TEST_F(AccountingTest, InRisingWhileOutIsResetCountsNothing)
{
    Sample(1000, 2000000000u);
    Sample(6000, 10);
    EXPECT_EQ(0u, monitor.Total_in);
    EXPECT_EQ(0u, monitor.Total_out);
    EXPECT_EQ(0u, monitor.ActiveCountIn);
    EXPECT_EQ(2u, monitor.SampleCount);
}

TEST_F(AccountingTest, AnAbsentAdapterKeepsItsFiguresAndMakesUpLater)
{
    Sample(1000, 1000);
    Sample(2000, 1500);
    for (int cycle = 0; cycle < 5; cycle++) {
        fake.AdvanceSeconds(1);
        EXPECT_EQ(NULL, Apply(monitor, (const InterfaceRow*)NULL));
        EXPECT_EQ(0, monitor.Present);
    }
    EXPECT_EQ(2u, monitor.SampleCount);
    EXPECT_EQ(1000u, monitor.Total_in);
    EXPECT_EQ(1000u, monitor.CurrentIn);
    Sample(8000, 1500);
    EXPECT_EQ(1, monitor.Present);
    EXPECT_EQ(6000u, monitor.CurrentIn);
    EXPECT_EQ(6000u, monitor.PeakIn);
    EXPECT_EQ(7000u, monitor.Total_in);
}

TEST_F(AccountingTest, ChangesOfSpeedAddressAndDescriptionAreFlagged)
{
    Sample(0, 0);
    ClearFlags();
    Sample(0, 0);
    EXPECT_EQ(0, monitor.SpeedChanged + monitor.MacChanged + monitor.DescrChanged);

    row.dwSpeed = 100000000;
    Sample(0, 0);
    EXPECT_EQ(1, monitor.SpeedChanged);
    EXPECT_EQ(0, monitor.MacChanged + monitor.DescrChanged);

    ClearFlags();
    row.bPhysAddr[5] = 0x5F;
    Sample(0, 0);
    EXPECT_EQ(1, monitor.MacChanged);
    EXPECT_EQ(0, monitor.SpeedChanged + monitor.DescrChanged);

    // A description cut short is a change too, though the rest is the same.
    ClearFlags();
    strcpy((char*)row.bDescr, "Test adapter");
    row.dwDescrLen = 13;
    Sample(0, 0);
    EXPECT_EQ(1, monitor.DescrChanged);
    EXPECT_EQ(0, monitor.SpeedChanged + monitor.MacChanged);
}

TEST_F(AccountingTest, LengthsBeyondTheRowsArraysAreClamped)
{
    // Two rows in a row, as in the platform's table: what follows each array differs.
    MIB_IFROW rows[2][2];
    memset(rows, 0, sizeof(rows));
    for (int sample = 0; sample < 2; sample++) {
        MIB_IFROW& current = rows[sample][0];
        current = row;
        current.dwPhysAddrLen = 200;
        current.dwDescrLen = 5000;
        memset(current.bDescr, 'D', sizeof(current.bDescr));  // no terminator
        current.dwAdminStatus = 1 + sample;
        memset(&rows[sample][1], 'a' + sample, sizeof(MIB_IFROW));
    }
    Apply(monitor, &rows[0][0]);
    ClearFlags();
    fake.AdvanceSeconds(1);
    Apply(monitor, &rows[1][0]);
    EXPECT_EQ(0, monitor.MacChanged);
    EXPECT_EQ(0, monitor.DescrChanged);
    EXPECT_EQ(8u, PhysAddrLength(&monitor.IfRow));
}

TEST_F(AccountingTest, ReturnsTheIPv4TextWhenItChanged)
{
    Sample(0, 0);
    EXPECT_STREQ("192.168.1.10", monitor.IPv4Text);
    fake.AdvanceSeconds(1);
    EXPECT_EQ(NULL, Apply(monitor, &row));

    fake.SetAddress(1, "10.1.2.3");
    fake.AdvanceSeconds(1);
    EXPECT_EQ(monitor.IPv4Text, Apply(monitor, &row));
    EXPECT_STREQ("10.1.2.3", monitor.IPv4Text);

    fake.Addresses.clear();
    fake.AdvanceSeconds(1);
    EXPECT_EQ(monitor.IPv4Text, Apply(monitor, &row));
    EXPECT_STREQ("!not_found!", monitor.IPv4Text);
}

}  // namespace

// The 32-bit fallback takes a lower counter for one wrap only when nothing else can explain it.
TEST_F(AccountingTest, AWrapNeedsTheRowOfTheCycleBeforeAndTimeForOneWrapOnly)
{
    const DWORD nearTop = 0xFFFFFFFFu - 999u;
    // Absent in the cycle before (a replug): the drop is a counter that started again.
    Sample(nearTop, 0);
    Apply(monitor, (const InterfaceRow*)NULL);  // this cycle's start: was present
    Apply(monitor, (const InterfaceRow*)NULL);  // the next: no row came in between
    Sample(1000, 0);
    EXPECT_EQ(0u, monitor.Total_in);
    Sample(1500, 0);
    EXPECT_EQ(500u, monitor.Total_in);

    // 35 s at a gigabit could hold more than one wrap: the true amount is unknown.
    EXPECT_EQ(0u, CountedIn(nearTop, 1000, 35));
    EXPECT_EQ(2000u, CountedIn(nearTop, 1000, 33));

    // Less than a second since the last row still allows a second's worth.
    ClearCounters(&monitor);
    Sample(0xFFFFFFFFu - 99999999u, 0);
    fake.Tick += 200;
    row.dwInOctets = 4999999;
    Apply(monitor, &row);
    EXPECT_EQ(104999999u, monitor.Total_in);
}

TEST_F(AccountingTest, AWallClockSetBackOrForwardNeitherWidensNorNarrowsTheWrapBound)
{
    const DWORD drop = 0xFFFFFFFFu - 99999999u;
    for (int hours : {-1, 1}) {
        ClearCounters(&monitor);
        Sample(drop, 0);
        SYSTEMTIME moved = fake.Now;
        moved.wHour = (WORD)(moved.wHour + hours);
        fake.Now = moved;  // the monotonic clock moves one second only
        fake.Tick += 1000;
        row.dwInOctets = 4999999;
        Apply(monitor, &row);
        EXPECT_EQ(104999999u, monitor.Total_in) << hours;
        // A drop that a second cannot explain stays uncounted, whatever the wall clock says.
        fake.Tick += 1000;
        row.dwInOctets = 2000000000u;
        Apply(monitor, &row);
        fake.Tick += 1000;
        row.dwInOctets = 1000;
        Apply(monitor, &row);
        EXPECT_EQ(2100000000u, monitor.Total_in) << hours;
    }
}

TEST_F(AccountingTest, SixtyFourBitCountersCountWholeAndOnlyFallWhenReset)
{
    InterfaceRow wide;
    RowFromIfRow(&row, &wide);
    wide.Wide = 1;
    auto sample = [&](unsigned __int64 in, unsigned __int64 out) {
        fake.AdvanceSeconds(1);
        wide.InOctets = in;
        wide.OutOctets = out;
        Apply(monitor, &wide);
    };
    sample(3000000000ULL, 10);
    sample(3000000000ULL + 4500000000ULL, 20);
    EXPECT_EQ(4500000000ULL, monitor.Total_in);
    EXPECT_EQ(0xFFFFFFFFu, monitor.CurrentIn);  // the per-second figures stop at their largest
    EXPECT_EQ(0xFFFFFFFFu, monitor.PeakIn);
    EXPECT_EQ(0xFFFFFFFFu, monitor.AverageIn);
    EXPECT_EQ(10u, monitor.CurrentOut);
    // A lower value is a reset, however short the time: nothing in either direction.
    sample(100, 30);
    EXPECT_EQ(4500000000ULL, monitor.Total_in);
    EXPECT_EQ(10u, monitor.Total_out);
    sample(600, 40);
    EXPECT_EQ(4500000500ULL, monitor.Total_in);
    EXPECT_EQ(20u, monitor.Total_out);
    EXPECT_EQ(500u, monitor.CurrentIn);
    // OUT reset while IN goes on: a reset all the same, nothing in either direction.
    sample(700, 35);
    EXPECT_EQ(4500000500ULL, monitor.Total_in);
    EXPECT_EQ(20u, monitor.Total_out);
    // After a sleep the first row only primes, even when the counters grew past the old ones.
    monitor.PrimeNextSample();
    sample(900000, 50);
    EXPECT_EQ(4500000500ULL, monitor.Total_in);
    sample(900100, 60);
    EXPECT_EQ(4500000600ULL, monitor.Total_in);
}
