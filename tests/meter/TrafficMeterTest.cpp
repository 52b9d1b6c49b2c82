// The meter's cycle without a window, over scripted interface and address tables: which rows
// become adapters and in what order, what each counts, and what it tells.
#include <algorithm>

#include "MeterTestSupport.h"
#include "TrayTexts.h"

TEST_F(MeterTest, LoopbackIgnoredAdaptersInRowOrderStartLinesInOrder)
{
    fake.AddAdapter(1, 0x00, "127.0.0.1");
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.AddAdapter(3, 0xB2, "10.0.0.5");
    fake.AddAdapter(4, 0xC3, NULL);  // no IPv4 address: not monitored
    Tick();

    ASSERT_EQ(2, meter.Count());
    EXPECT_STREQ("192.168.1.10", At(0)->IPv4Text);
    EXPECT_STREQ("10.0.0.5", At(1)->IPv4Text);
    // The first lands at the front of an empty strip whatever its row; the second at its row.
    EXPECT_EQ((std::vector<std::string>{"added 0 192.168.1.10", "added 1 10.0.0.5"}),
              events.Lines);
    std::string log = Log();
    size_t a = log.find("Monitor 00-1A-2B-3C-4D-A1 port '192.168.1.10'\tStart\r\n");
    size_t b = log.find("Monitor 00-1A-2B-3C-4D-B2 port '10.0.0.5'\tStart\r\n");
    ASSERT_NE(std::string::npos, a);
    ASSERT_NE(std::string::npos, b);
    EXPECT_LT(a, b);
    EXPECT_EQ(std::string::npos, log.find("127.0.0.1"));

    // With the loopback switch off, 127.0.0.1 is an adapter too, in front as its row is.
    Settings.IgnoreLoopBack = 0;
    Tick();
    ASSERT_EQ(3, meter.Count());
    EXPECT_STREQ("127.0.0.1", At(0)->IPv4Text);
    EXPECT_EQ("added 0 127.0.0.1", events.Lines.back());
}

TEST_F(MeterTest, CountsTrafficAndReadsEachTableOncePerCycle)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.AddAdapter(3, 0xB2, "10.0.0.5");
    Tick();
    InterfaceMonitor* monitor = At(0);
    for (int second = 1; second <= 3; second++) {
        fake.AdvanceSeconds(1);
        fake.Row(2)->dwInOctets += 1500;
        fake.Row(2)->dwOutOctets += 700;
        int ifReads = fake.IfTableReads, addressReads = fake.AddressTableReads;
        Tick();
        EXPECT_EQ(1, fake.IfTableReads - ifReads);
        EXPECT_EQ(1, fake.AddressTableReads - addressReads);
    }
    EXPECT_EQ(4500u, monitor->Total_in);
    EXPECT_EQ(2100u, monitor->Total_out);
    EXPECT_EQ(1500u, monitor->CurrentIn);
    EXPECT_EQ(4u, monitor->SampleCount);
    char tip[FullTipChars];
    FormatTrayTip(monitor, meter.LatestForecastOf(*monitor), tip, sizeof(tip));
    EXPECT_STREQ("Brisvane: In 4 KB, Out 2 KB, All 6 KB", tip);
    FormatTrayTip(NULL, NULL, tip, sizeof(tip));
    EXPECT_STREQ("Brisvane", tip);
}

TEST_F(MeterTest, AFailedTableReadChangesNothingAndAnEmptyOneLeavesEveryAdapterAbsent)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    Tick();
    InterfaceMonitor* monitor = At(0);
    size_t told = events.Lines.size();
    DWORD cycles = meter.CycleCount();
    fake.IfTableError = ERROR_NOT_SUPPORTED;
    fake.Rows.clear();
    Tick();
    EXPECT_TRUE(monitor->Present);
    EXPECT_EQ(told, events.Lines.size());
    EXPECT_EQ(cycles, meter.CycleCount());

    // Read again, empty: the adapter is absent, said once in the log and once to the window.
    fake.IfTableError = 0;
    Tick();
    Tick();
    EXPECT_FALSE(monitor->Present);
    EXPECT_EQ(1, CountOf(Log(), "Monitor port '192.168.1.10' - connection was lost\r\n"));
    EXPECT_EQ(1, events.Count("gone 192.168.1.10"));
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    Tick();
    EXPECT_EQ("back 192.168.1.10", events.Lines.back());
    EXPECT_EQ(1, meter.Count());
}

TEST_F(MeterTest, AddressChangeRelabelsAndANewHardwareAddressIsANewAdapter)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    Tick();
    InterfaceMonitor* monitor = At(0);
    fake.SetAddress(2, "192.168.1.77");
    Tick();
    EXPECT_EQ(1, meter.Count());
    EXPECT_STREQ("192.168.1.77", monitor->IPv4Text);
    EXPECT_EQ("relabelled 192.168.1.77", events.Lines.back());

    fake.Row(2)->bPhysAddr[5] = 0xEE;
    Tick();
    ASSERT_EQ(2, meter.Count());
    EXPECT_EQ(monitor, At(1));
    EXPECT_FALSE(monitor->Present);
    EXPECT_TRUE(At(0)->Present);
    char mac[SHORT_TEXT];
    At(0)->MacText(mac, sizeof(mac));
    EXPECT_STREQ("00-1A-2B-3C-4D-EE", mac);
}

TEST_F(MeterTest, AdaptersWithoutHardwareAddressEachHaveAnAdapterAndASection)
{
    fake.AddAdapter(2, 0, "10.1.1.1").dwPhysAddrLen = 0;
    fake.AddAdapter(3, 0, "10.2.2.2").dwPhysAddrLen = 0;
    fake.Row(2)->dwInOctets = 1000;
    fake.Row(3)->dwInOctets = 90000000;
    Tick();
    ASSERT_EQ(2, meter.Count());
    char mac[SHORT_TEXT];
    At(0)->MacText(mac, sizeof(mac));
    EXPECT_STREQ("00-00-00-00-00-00", mac);
    for (int cycle = 0; cycle < 5; cycle++) {
        fake.Row(2)->dwInOctets += 100;
        Tick();
    }
    EXPECT_EQ(500u, At(0)->Total_in);
    EXPECT_EQ(0u, At(1)->Total_in);
    EXPECT_EQ(6u, At(1)->SampleCount);
    meter.Stop();
    EXPECT_EQ(500u, IniNumber("IF-INDEX-2", "Total_in"));
    EXPECT_EQ(0u, IniNumber("IF-INDEX-3", "Total_in"));
}

TEST_F(MeterTest, InterfacesSharingAHardwareAddressEachHaveAnAdapterAndASection)
{
    // Two VLANs of one card: one address, one busy interface, one nearly idle.
    fake.AddAdapter(2, 0xA1, "192.168.1.10").dwInOctets = 1000;
    fake.AddAdapter(3, 0xA1, "192.168.2.10").dwInOctets = 90000000;
    Tick();
    ASSERT_EQ(2, meter.Count());
    InterfaceMonitor* first = At(0);
    InterfaceMonitor* second = At(1);
    for (int cycle = 1; cycle <= 6; cycle++) {
        fake.AdvanceSeconds(1);
        fake.Row(2)->dwInOctets += 1000;
        fake.Row(2)->dwOutOctets += 100;
        fake.Row(3)->dwInOctets += 1;
        // The table lists them in the other order now and then: each keeps its own.
        if (cycle % 3 == 0)
            std::swap(fake.Rows[0], fake.Rows[1]);
        Tick();
    }
    EXPECT_EQ(2, meter.Count());
    EXPECT_EQ(6000u, first->Total_in);
    EXPECT_EQ(600u, first->Total_out);
    EXPECT_EQ(6u, second->Total_in);
    EXPECT_EQ(0u, second->Total_out);
    meter.Stop();
    // The first keeps the section of the address; the other is named as an interface, in the
    // history too.
    EXPECT_EQ(6000u, IniNumber("00-1A-2B-3C-4D-A1", "Total_in"));
    EXPECT_EQ(6u, IniNumber("IF-INDEX-3", "Total_in"));
    char figures[128] = "";
    GetPrivateProfileStringA("History", "2026-12-06 00-1A-2B-3C-4D-A1", "", figures,
                             sizeof(figures), IniPath);
    EXPECT_STREQ("6000,600,Test adapter 2", figures);
    GetPrivateProfileStringA("History", "2026-12-06 IF-INDEX-3", "", figures, sizeof(figures),
                             IniPath);
    EXPECT_STREQ("6,0,Test adapter 3", figures);

    // Started again with the second alone, it is the first of its address; the other, back
    // with counters far ahead, gets a section of its own: neither is counted against the other.
    DWORD firstCounter = fake.Row(2)->dwInOctets;
    fake.Rows.erase(fake.Rows.begin() + (fake.Rows[0].dwIndex == 2 ? 0 : 1));
    RecordedEvents quiet;
    TrafficMeter again(Settings, quiet);
    again.PollCycle(fake.Now, fake.Tick);
    InterfaceMonitor* only = again.At(0);
    ASSERT_NE((InterfaceMonitor*)NULL, only);
    EXPECT_EQ(6000u, only->Total_in);
    fake.Row(3)->dwInOctets += 5;
    fake.AdvanceSeconds(1);
    again.PollCycle(fake.Now, fake.Tick);
    EXPECT_EQ(6000u + 5, only->Total_in);
    fake.AddAdapter(2, 0xA1, "192.168.1.10").dwInOctets = firstCounter + 1000;
    for (int cycle = 0; cycle < 2; cycle++) {
        fake.AdvanceSeconds(1);
        fake.Row(3)->dwInOctets += 5;
        again.PollCycle(fake.Now, fake.Tick);
    }
    ASSERT_EQ(2, again.Count());
    EXPECT_EQ(6000u + 15, only->Total_in);
    again.Stop();
    EXPECT_EQ(0u, IniNumber("IF-INDEX-2", "Total_in"));
}

TEST_F(MeterTest, AnAdapterThatCannotBeShownIsTriedAgainOnlyAMinuteLater)
{
    const int retryAfter = 60;  // cycles
    Tick();
    events.Refuse = true;
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    Tick();
    EXPECT_EQ(1, events.Count("added"));
    for (int cycle = 1; cycle < retryAfter; cycle++)
        Tick();
    EXPECT_EQ(1, events.Count("added")) << "tried again before the " << retryAfter << "th cycle";
    EXPECT_EQ(0, meter.Count());
    EXPECT_EQ(std::string::npos, Log().find("Start"));
    meter.SaveAll();
    EXPECT_EQ(std::string::npos, IniText().find("[00-1A-2B-3C-4D-A1]"));

    // Shown again: the next cycle, the 60th after the failure, makes it.
    events.Refuse = false;
    Tick();
    EXPECT_EQ(1, meter.Count());
    EXPECT_EQ(1, CountOf(Log(), "Start"));
}

TEST_F(MeterTest, RowsBeyondTheAnsweredSizeAreNotReadAndACycleInsideACycleDoesNothing)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.AddAdapter(3, 0xB2, "10.0.0.5");
    // The table counts both rows, but the size it answers holds only the first.
    fake.RowsBeyondSize = 1;
    // Whatever the window does when an adapter comes may run a message loop, and so a tick.
    int readsInside = -1;
    events.WhileAdding = [&] {
        int reads = fake.IfTableReads;
        Tick();
        readsInside = fake.IfTableReads - reads;
    };
    Tick();
    ASSERT_EQ(1, meter.Count());
    EXPECT_STREQ("192.168.1.10", At(0)->IPv4Text);
    EXPECT_EQ(0, readsInside);
}

TEST_F(MeterTest, SavesEveryAdapterAboutOnceAMinuteAndSaysOnceWhenItCannot)
{
    fake.AddAdapter(2, 0x01, "192.168.1.10");
    fake.AddAdapter(3, 0x02, "10.0.0.5");
    Tick();
    meter.SaveAll();
    const std::string first = IniText();
    for (int cycle = 1; cycle < 59; cycle++) {
        fake.Rows[0].dwInOctets += 10;
        Tick();
    }
    EXPECT_EQ(first, IniText());  // no file access in an ordinary cycle
    Tick();
    Tick();
    EXPECT_EQ(580u, IniNumber("00-1A-2B-3C-4D-01", "Total_in"));
    EXPECT_NE(std::string::npos, IniText().find("[00-1A-2B-3C-4D-02]"));

    // Held open by another program: the counts stay in memory, the user is told once.
    HANDLE held = CreateFileA(IniPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    fake.Rows[0].dwInOctets += 1000;
    for (int cycle = 0; cycle < 130; cycle++)
        Tick();
    EXPECT_EQ(1, events.Count("save failed"));
    EXPECT_EQ(1, CountOf(Log(), "The counters could not be saved to "));
    CloseHandle(held);
    for (int cycle = 0; cycle < 60; cycle++)
        Tick();
    EXPECT_EQ(1580u, IniNumber("00-1A-2B-3C-4D-01", "Total_in"));
}

TEST_F(MeterTest, TheEndSavesOnceThenLogsEveryStopLineAndCountsNoMore)
{
    fake.AddAdapter(2, 0x01, "192.168.1.10");
    fake.AddAdapter(3, 0x02, "10.0.0.5");
    Tick();
    fake.Row(2)->dwInOctets += 900;
    Second();
    meter.Stop();
    meter.Stop();
    EXPECT_EQ(900u, IniNumber("00-1A-2B-3C-4D-01", "Total_in"));
    std::string log = Log();
    EXPECT_EQ(2, CountOf(log, "\tStop IN "));
    EXPECT_LT(log.find("'192.168.1.10'\tStop IN        900 bytes"),
              log.find("'10.0.0.5'\tStop IN          0 bytes"));
    int reads = fake.IfTableReads;
    Second();
    EXPECT_EQ(reads, fake.IfTableReads);
}

TEST_F(MeterTest, AfterASleepEachAdaptersNextRowOnlyPrimes)
{
    fake.AddAdapter(2, 0x01, "192.168.1.10");
    Tick();
    fake.Row(2)->dwInOctets += 100;
    Second();
    meter.PrimeAll();
    // Counters that started again while asleep are no traffic.
    fake.Row(2)->dwInOctets = 5000000;
    Second();
    EXPECT_EQ(100u, At(0)->Total_in);
    fake.Row(2)->dwInOctets += 50;
    Second();
    EXPECT_EQ(150u, At(0)->Total_in);
}

TEST_F(MeterTest, AnAlertIsToldOncePerCrossingWhetherOrNotAnythingShowsTheAdapter)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.AddAdapter(3, 0xB2, "10.0.0.5");
    Tick();
    Settings.AlertType = AlertTotal;
    Settings.LimitIN = Settings.LimitOUT = GIGABYTE;
    Settings.AlertPercent = 100;
    At(1)->Total_in = 3 * GIGABYTE;
    Tick();
    Tick();
    EXPECT_TRUE(At(1)->AlertOn);
    EXPECT_FALSE(At(0)->AlertOn);
    EXPECT_EQ(1, events.Count("alert 10.0.0.5 IN+OUT"));
    At(1)->Total_in = 0;
    Tick();
    At(1)->Total_in = 3 * GIGABYTE;
    Tick();
    EXPECT_EQ(2, events.Count("alert 10.0.0.5"));
    EXPECT_EQ(0, events.Count("alert 192.168.1.10"));
}

TEST_F(MeterTest, TheEarlyWarningIsToldOncePerAdapterAndPeriodAlsoAfterARestart)
{
    // Reset on the 20th: each adapter's period runs from its own last reset, both heading past
    // 1 GB at the pace of their 900 MB.
    Settings.ResetType = ResetOnDate;
    Settings.ResetDate = FakePlatform::Time(2026, 12, 20, 0, 0, 0);
    Settings.AlertType = AlertDistinct;
    Settings.LimitIN = GIGABYTE;
    fake.SetTime(2026, 12, 10, 12, 0, 0);
    ASSERT_TRUE(WriteFileText(folder.Path("Brisvane-history.csv"),
                              "Date,MAC,Description,Bytes in,Bytes out\r\n"
                              "2026-12-03,00-1A-2B-3C-4D-A1,\"A\",900000000,0\r\n"
                              "2026-12-03,00-1A-2B-3C-4D-B2,\"B\",900000000,0\r\n"));
    const std::string adapters = "[00-1A-2B-3C-4D-A1]\r\nStartDay=2026-12-01 00:00:00\r\n"
                                 "[00-1A-2B-3C-4D-B2]\r\nStartDay=2026-12-03 00:00:00\r\n";
    WriteIni(adapters);
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.AddAdapter(3, 0xB2, "10.0.0.5");
    auto minutes = [&](TrafficMeter& running, int count) {
        IniDocument document;
        document.Read(IniPath);
        running.Load(document);
        running.PollCycle(fake.Now, fake.Tick, &document);
        for (int minute = 0; minute < count; minute++) {
            fake.AdvanceSeconds(60);
            running.PollCycle(fake.Now, fake.Tick);
        }
        running.Stop();
    };
    minutes(meter, 4);
    EXPECT_EQ(1, events.Count("warning 192.168.1.10"));
    EXPECT_EQ(1, events.Count("warning 10.0.0.5"));
    std::string text = IniText();
    EXPECT_NE(std::string::npos, text.find("Warned 00-1A-2B-3C-4D-A1=2026-12-01")) << text;
    EXPECT_NE(std::string::npos, text.find("Warned 00-1A-2B-3C-4D-B2=2026-12-03")) << text;
    EXPECT_NE(std::string::npos, text.find("\r\nWarned=2026-12-0")) << text;  // for older copies

    RecordedEvents restarted;
    TrafficMeter again(Settings, restarted);
    minutes(again, 2);
    EXPECT_EQ(0, restarted.Count("warning"));

    // An older copy's one day stands for every adapter whose period starts on it, also once
    // a warning of another period has replaced it.
    WriteIni(adapters + "[Forecast]\r\nWarned=2026-12-03\r\n");
    RecordedEvents upgraded;
    for (int run = 0; run < 2; run++) {
        TrafficMeter newer(Settings, upgraded);
        minutes(newer, 2);
        EXPECT_EQ(1, upgraded.Count("warning 192.168.1.10"));
        EXPECT_EQ(0, upgraded.Count("warning 10.0.0.5"));
    }
}
