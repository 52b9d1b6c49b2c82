// Resets of an adapter's counters, by schedule and at the user's request, and the counters
// kept in the INI file: loaded, saved at the page's end, now and then, and after a reset.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "InterfaceMonitor.h"
#include "MonitorTestSupport.h"
#include "SettingsTestSupport.h"

namespace {

const char Mac[] = "00-1A-2B-3C-4D-5E";

DWORD LastSaveError = NO_ERROR;

// The meter's save of every adapter, with this one adapter in it.
int SaveCounters(InterfaceMonitor& monitor)
{
    return SaveIniFile([&](IniDocument& document) { monitor.StoreCounters(document); },
                       &LastSaveError);
}

class CountersTest : public CoreTest {
protected:
    CountersTest() : monitor("192.168.1.10") {}

    void SetUp() override
    {
        CoreTest::SetUp();
        row = fake.AddAdapter(1, 0x5E, "192.168.1.10", 1000000000);
    }

    void TearDown() override
    {
        VariantClear(&monitor.StartDay);
        CoreTest::TearDown();
    }

    void Sample(DWORD in, DWORD out, int seconds = 1)
    {
        fake.AdvanceSeconds(seconds);
        row.dwInOctets = in;
        row.dwOutOctets = out;
        Apply(monitor, &row);
    }

    void SetStartDay(InterfaceMonitor& target, DATE date)
    {
        VariantClear(&target.StartDay);
        target.StartDay.vt = VT_DATE;
        target.StartDay.date = date;
    }

    std::string IniValue(const char* section, const char* key)
    {
        char text[256];
        GetPrivateProfileStringA(section, key, "<missing>", text, sizeof(text), IniPath);
        return text;
    }

    MIB_IFROW row;
    InterfaceMonitor monitor;
};

TEST_F(CountersTest, DailyResetAfterMidnightLogsSavesAndStartsAgain)
{
    Settings.ResetType = ResetDaily;
    Settings.EnableLog = 1;
    Settings.EnableTrafficLog = 1;
    SetStartDay(monitor, DateOf(2026, 12, 6, 8));
    SetClock(2026, 12, 6, 23, 59, 57);
    Sample(1000, 1000);
    Sample(1900, 1070);
    Sample(1910, 1080);  // 7 December, 00:00:00: the point itself
    EXPECT_EQ(910u, monitor.Total_in);
    EXPECT_FALSE(FileExists(Settings.EventLogPath));

    Sample(1920, 1090);  // 00:00:01
    EXPECT_EQ("07/Dec/2026 00:00:01.000 The counters for 00-1A-2B-3C-4D-5E port\t"
              "'192.168.1.10'\twere reset because the reset date was reached\r\n"
              "\tIN        910 bytes OUT         80 bytes\r\n",
              EventLogText());
    EXPECT_EQ("07/Dec/2026,00-1A-2B-3C-4D-5E,192.168.1.10,910,80,990\r\n", TrafficLogText());
    EXPECT_EQ(DateOf(2026, 12, 7, 0, 0, 1), monitor.StartDay.date);
    EXPECT_EQ(1u, monitor.SampleCount);  // the reset's sample only primes
    EXPECT_EQ(0u, monitor.Total_in);
    EXPECT_EQ(0u, monitor.Total_out);
    EXPECT_EQ(0u, monitor.ActiveCountIn);
    EXPECT_EQ(0u, monitor.ActiveCountOut);
    EXPECT_EQ(0u, monitor.CurrentIn);
    EXPECT_EQ(0u, monitor.PeakIn);
    EXPECT_EQ(0u, monitor.PeakOut);
    EXPECT_EQ(455u, monitor.AverageIn);  // until the next counted sample
    // Asks to be saved at once, so a crash cannot bring the old totals back.
    EXPECT_EQ(1, monitor.SaveWanted);
    SaveCounters(monitor);
    EXPECT_EQ("0", IniValue(Mac, "Total_in"));
    EXPECT_EQ("0", IniValue(Mac, "ActiveCountIn"));
    EXPECT_EQ("2026-12-07 00:00:01", IniValue(Mac, "StartDay"));

    const std::string lines = EventLogText();
    Sample(1930, 1090);
    EXPECT_EQ(10u, monitor.Total_in);
    EXPECT_EQ(10u, monitor.AverageIn);
    EXPECT_EQ(lines, EventLogText());  // the same midnight resets once
}

TEST_F(CountersTest, EachLogOfAResetFollowsItsOwnSwitch)
{
    Settings.ResetType = ResetDaily;
    Settings.EnableLog = 0;
    Settings.EnableTrafficLog = 1;
    SetClock(2026, 12, 6, 23, 59, 58);
    Sample(0, 0);
    Sample(100, 10, 3);
    EXPECT_EQ(0u, monitor.Total_in);
    EXPECT_FALSE(FileExists(Settings.EventLogPath));
    EXPECT_EQ("07/Dec/2026,00-1A-2B-3C-4D-5E,192.168.1.10,0,0,0\r\n", TrafficLogText());

    Settings.EnableLog = 1;
    Settings.EnableTrafficLog = 0;
    Sample(200, 20, 86400);
    EXPECT_NE(std::string::npos, EventLogText().find("08/Dec/2026 00:00:02.000 The counters"));
    EXPECT_EQ(std::string::npos, TrafficLogText().find("08/Dec/2026"));
}

TEST_F(CountersTest, APointPassedWhileNotRunningResetsTheLoadedTotals)
{
    WriteIni("[00-1A-2B-3C-4D-5E]\r\nTotal_in=5000\r\nTotal_out=300\r\nActiveCountIn=10\r\n"
             "ActiveCountOut=4\r\nStartDay=11/20/2026 9:00:00 AM\r\n");
    Settings.ResetType = ResetMonthly;
    Settings.ResetDate.wDay = 1;
    Settings.EnableLog = 1;
    Load(monitor, Mac);
    EXPECT_EQ(5000u, monitor.Total_in);
    Sample(0, 0);
    EXPECT_NE(std::string::npos, EventLogText().find("IN       5000 bytes OUT        300 bytes"));
    EXPECT_EQ(0u, monitor.Total_in);
    // The save right after it goes to the adapter's own section.
    EXPECT_EQ(1, monitor.SaveWanted);
    SaveCounters(monitor);
    EXPECT_EQ("0", IniValue(Mac, "Total_in"));
    EXPECT_EQ("2026-12-06 12:00:01", IniValue(Mac, "StartDay"));
    EXPECT_EQ(std::string::npos, IniText().find("[00-00-00-00-00-00]"));
}

TEST_F(CountersTest, AMonthlyPointMissedWhileStoppedResetsAtTheFirstSample)
{
    // Counted since 20 October, started on 6 December: 15 November closed that period although
    // 15 December is still ahead.
    WriteIni("[00-1A-2B-3C-4D-5E]\r\nTotal_in=7000\r\nTotal_out=20\r\n"
             "StartDay=10/20/2026 9:00:00 AM\r\n");
    Settings.ResetType = ResetMonthly;
    Settings.ResetDate.wDay = 15;
    Settings.EnableLog = 1;
    Settings.EnableTrafficLog = 1;
    Load(monitor, Mac);
    Sample(0, 0);
    EXPECT_NE(std::string::npos, EventLogText().find("were reset because the reset date was "
                                                     "reached\r\n\tIN       7000 bytes OUT "
                                                     "        20 bytes\r\n"));
    EXPECT_NE(std::string::npos, TrafficLogText().find(",7000,20,7020\r\n"));
    EXPECT_EQ(0u, monitor.Total_in);
    const std::string lines = EventLogText();
    Sample(10, 0);
    EXPECT_EQ(lines, EventLogText());
}

TEST_F(CountersTest, AUserResetGivesEveryMonitorTheSameStartAndWritesNothing)
{
    Settings.EnableLog = 1;
    Settings.EnableTrafficLog = 1;
    InterfaceMonitor second("10.0.0.2");
    InterfaceMonitor third("10.0.0.3");
    InterfaceMonitor* monitors[3] = {&monitor, &second, &third};
    for (int step = 1; step <= 3; step++) {
        fake.AdvanceSeconds(1);
        row.dwInOctets = 100u * step;
        row.dwOutOctets = 10u * step;
        for (InterfaceMonitor* each : monitors)
            Apply(*each, &row);
    }
    DATE resetAt = DateOf(2026, 12, 6, 12, 0, 4);
    for (InterfaceMonitor* each : monitors)
        each->Reset(resetAt);

    for (InterfaceMonitor* each : monitors) {
        EXPECT_EQ(VT_DATE, each->StartDay.vt);
        EXPECT_EQ(resetAt, each->StartDay.date);
        EXPECT_EQ(0u, each->Total_in + each->Total_out);
        EXPECT_EQ(0u, each->SampleCount);
        EXPECT_EQ(0u, each->ActiveCountIn + each->ActiveCountOut);
        EXPECT_EQ(0u, each->CurrentIn + each->CurrentOut + each->PeakIn + each->PeakOut);
        EXPECT_EQ(100u, each->AverageIn);
    }
    EXPECT_FALSE(FileExists(Settings.EventLogPath));
    EXPECT_FALSE(FileExists(Settings.TrafficLogPath));
    EXPECT_FALSE(FileExists(IniPath));

    fake.AdvanceSeconds(1);
    row.dwInOctets = 1000;
    for (InterfaceMonitor* each : monitors) {
        Apply(*each, &row);
        EXPECT_EQ(1u, each->SampleCount);
        EXPECT_EQ(0u, each->Total_in);
    }
}

TEST_F(CountersTest, NoSectionLoadsZerosAndTheMomentOfLoading)
{
    monitor.Total_in = 7;
    monitor.ActiveCountOut = 7;
    Load(monitor, Mac);
    EXPECT_EQ(0u, monitor.Total_in);
    EXPECT_EQ(0u, monitor.Total_out);
    EXPECT_EQ(0u, monitor.ActiveCountIn);
    EXPECT_EQ(0u, monitor.ActiveCountOut);
    EXPECT_EQ(VT_DATE, monitor.StartDay.vt);
    EXPECT_EQ(DateOf(2026, 12, 6, 12), monitor.StartDay.date);
}

TEST_F(CountersTest, SavedCountersComeBackWhateverTheirSize)
{
    monitor.IfRow = row;
    monitor.Total_in = 9223372036854775813ULL;  // above 2^63
    monitor.Total_out = 18446744073709551615ULL;
    monitor.ActiveCountIn = 4294967295u;
    monitor.ActiveCountOut = 7;
    SetStartDay(monitor, DateOf(2026, 12, 6, 14, 3, 27));
    SaveCounters(monitor);
    EXPECT_EQ("[00-1A-2B-3C-4D-5E]\r\n"
              "Total_in=9223372036854775813\r\n"
              "Total_out=18446744073709551615\r\n"
              "ActiveCountIn=4294967295\r\n"
              "ActiveCountOut=7\r\n"
              "StartDay=2026-12-06 14:03:27\r\n",
              IniText());

    InterfaceMonitor loaded("192.168.1.10");
    Load(loaded, Mac);
    EXPECT_EQ(9223372036854775813ULL, loaded.Total_in);
    EXPECT_EQ(18446744073709551615ULL, loaded.Total_out);
    EXPECT_EQ(4294967295u, loaded.ActiveCountIn);
    EXPECT_EQ(7u, loaded.ActiveCountOut);
    EXPECT_EQ(DateOf(2026, 12, 6, 14, 3, 27), loaded.StartDay.date);
    VariantClear(&loaded.StartDay);

    SetStartDay(monitor, DateOf(2026, 6, 1));
    SaveCounters(monitor);
    EXPECT_EQ("2026-06-01 00:00:00", IniValue(Mac, "StartDay"));
}

TEST_F(CountersTest, GarbageCountersLoadAsNumbersThatMakeSense)
{
    WriteIni("[00-1A-2B-3C-4D-5E]\r\nTotal_in=abc\r\nTotal_out=-5\r\n"
             "ActiveCountIn=123456789012345678901234567890\r\nActiveCountOut=12 seconds\r\n"
             "StartDay=6. Dezember 2026\r\n"
             "[00-1A-2B-3C-4D-5F]\r\nTotal_in=123456789012345678901234567890\r\nStartDay=\r\n");
    SetClock(2026, 12, 6, 9, 30, 0);
    Load(monitor, Mac);
    EXPECT_EQ(0u, monitor.Total_in);
    EXPECT_EQ(0u, monitor.Total_out);
    EXPECT_EQ(4294967295u, monitor.ActiveCountIn);
    EXPECT_EQ(12u, monitor.ActiveCountOut);
    EXPECT_EQ(DateOf(2026, 12, 6, 9, 30), monitor.StartDay.date);  // the moment of reading

    Load(monitor, "00-1A-2B-3C-4D-5F");
    EXPECT_EQ(18446744073709551615ULL, monitor.Total_in);
    EXPECT_EQ(0u, monitor.ActiveCountOut);
    EXPECT_EQ(DateOf(2026, 12, 6, 9, 30), monitor.StartDay.date);
}

TEST_F(CountersTest, AStartDayThatIsNoDateIsNotWritten)
{
    WriteIni("[00-1A-2B-3C-4D-5E]\r\nStartDay=earlier text\r\n");
    monitor.IfRow = row;
    monitor.Total_in = 5;
    SaveCounters(monitor);
    EXPECT_EQ("earlier text", IniValue(Mac, "StartDay"));
    EXPECT_EQ("5", IniValue(Mac, "Total_in"));

    // An adapter without a hardware address has a section of its own interface.
    monitor.IfRow.dwPhysAddrLen = 0;
    monitor.Luid = 0x0006000000000001ULL;
    SaveCounters(monitor);
    EXPECT_EQ("5", IniValue("IF-0006000000000001", "Total_in"));
    EXPECT_EQ("<missing>", IniValue("00-00-00-00-00-00", "Total_in"));
}

// The file system's identity of a file: a file replaced by another gets a new one, a file
// rewritten in place keeps its own.
std::string TemporaryOf(const char* path)
{
    char temporary[MAX_PATH];
    return TemporaryPathOf(path, temporary, sizeof(temporary)) ? temporary : "";
}

unsigned __int64 FileIdentity(const char* path)
{
    HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    BY_HANDLE_FILE_INFORMATION information = {};
    if (file != INVALID_HANDLE_VALUE) {
        GetFileInformationByHandle(file, &information);
        CloseHandle(file);
    }
    return ((unsigned __int64)information.nFileIndexHigh << 32) | information.nFileIndexLow;
}

TEST_F(CountersTest, EverySaveReplacesTheWholeFileAndKeepsWhatItDoesNotWrite)
{
    const std::string before = "[Settings]\r\nResetType=2\r\n; a note\r\n[Other]\r\nKey=1\r\n";
    WriteIni(before);
    unsigned __int64 old = FileIdentity(IniPath);
    ASSERT_NE(0u, old);
    monitor.IfRow = row;
    monitor.Total_in = 123;
    SetStartDay(monitor, DateOf(2026, 12, 1, 14, 5, 9));
    EXPECT_EQ(1, SaveCounters(monitor));
    EXPECT_NE(old, FileIdentity(IniPath));
    EXPECT_EQ(before + "[00-1A-2B-3C-4D-5E]\r\nTotal_in=123\r\nTotal_out=0\r\n"
                       "ActiveCountIn=0\r\nActiveCountOut=0\r\nStartDay=2026-12-01 14:05:09\r\n",
              IniText());
    // The settings too.
    old = FileIdentity(IniPath);
    EXPECT_EQ(1, SaveSettings(Settings, &LastSaveError));
    EXPECT_NE(old, FileIdentity(IniPath));
    EXPECT_EQ("1", IniValue("Other", "Key"));
    EXPECT_FALSE(FileExists(TemporaryOf(IniPath)));
}

TEST_F(CountersTest, AFileHeldOpenKeepsItsOldContentUntilTheNextSave)
{
    const std::string before = "[Settings]\r\nResetType=2\r\n";
    WriteIni(before);
    // Held open by another program without leave to delete it: the file cannot be replaced.
    HANDLE held = CreateFileA(IniPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    monitor.IfRow = row;
    monitor.Total_in = 123;
    EXPECT_EQ(0, SaveCounters(monitor));
    EXPECT_NE(NO_ERROR, LastSaveError);
    CloseHandle(held);
    EXPECT_EQ(before, IniText());  // never written in place, never cut short
    EXPECT_FALSE(FileExists(TemporaryOf(IniPath)));
    // Let go of, it takes the next save.
    EXPECT_EQ(1, SaveCounters(monitor));
    EXPECT_EQ("123", IniValue(Mac, "Total_in"));
}

TEST_F(CountersTest, ThePageEndWritesTheStopLine)
{
    Settings.EnableLog = 1;
    monitor.IfRow = row;
    monitor.Total_in = 900;
    monitor.Total_out = 70;
    SetStartDay(monitor, DateOf(2026, 12, 1));
    SetClock(2026, 12, 6, 14, 3, 27, 45);
    monitor.LogStop();
    EXPECT_EQ("06/Dec/2026 14:03:27.045 Monitor 00-1A-2B-3C-4D-5E port\t'192.168.1.10'\t"
              "Stop IN        900 bytes OUT         70 bytes\r\n",
              EventLogText());
}

TEST(SinceTextTest, UsersShortDateAndTimeOnTwoLines)
{
    char text[256];
    SYSTEMTIME time = {2026, 12, 0, 6, 14, 3, 27, 0};
    DATE date;
    ASSERT_TRUE(SystemTimeToVariantTime(&time, &date));
    EXPECT_EQ(1, FormatSinceText(date, text, sizeof(text)));
    EXPECT_STREQ("12/6/2026\r\n2:03:27 PM", text);

    time.wHour = 0;
    time.wMinute = 0;
    time.wSecond = 0;
    SystemTimeToVariantTime(&time, &date);
    FormatSinceText(date, text, sizeof(text));
    EXPECT_STREQ("12/6/2026\r\n12:00:00 AM", text);

    // No date: an empty text.
    EXPECT_EQ(0, FormatSinceText(1e10, text, sizeof(text)));
    EXPECT_STREQ("", text);
}

}  // namespace
