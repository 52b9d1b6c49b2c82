// The event and traffic logs: line prefixes, appending, the event-log switch and lost lines.
#include <gtest/gtest.h>

#include <string>

#include "monitor/MonitorTestSupport.h"

namespace {

class LogChannelTest : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        SetClock(2026, 12, 6, 14, 3, 27, 45);
        Settings.EnableLog = 1;
    }
};

TEST_F(LogChannelTest, PrefixHoldsTheTimeOfDayInTwentyFourHours)
{
    SetClock(2027, 1, 1, 0, 0, 0, 0);
    EventLog.WriteLine("a\r\n");
    SetClock(2027, 9, 30, 23, 59, 59, 999);
    EventLog.WriteLine("b\r\n");
    TrafficLog.WriteLine("c\r\n");
    EXPECT_EQ("01/Jan/2027 00:00:00.000 a\r\n30/Sep/2027 23:59:59.999 b\r\n", EventLogText());
    EXPECT_EQ("30/Sep/2027,c\r\n", TrafficLogText());
    // Neither file is held open between lines.
    EXPECT_EQ(INVALID_HANDLE_VALUE, EventLog.File);
    EXPECT_EQ(INVALID_HANDLE_VALUE, TrafficLog.File);
}

TEST_F(LogChannelTest, EventLogOffWritesNothingButTheTrafficLogStillWrites)
{
    Settings.EnableLog = 0;
    EXPECT_EQ(0, EventLog.WriteLine("The counters were reset at user request\r\n"));
    EXPECT_FALSE(FileExists(Settings.EventLogPath));
    EXPECT_EQ(1, TrafficLog.WriteLine("%s,%d\r\n", "127.0.0.1", 3));
    EXPECT_EQ("06/Dec/2026,127.0.0.1,3\r\n", TrafficLogText());
}

TEST_F(LogChannelTest, AppendsToWhatTheFileHolds)
{
    HANDLE file = CreateFileA(Settings.EventLogPath, GENERIC_WRITE, 0, NULL, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written;
    WriteFile(file, "earlier line\r\n", 14, &written, NULL);
    CloseHandle(file);

    EventLog.WriteLine("first\r\n");
    EventLog.WriteLine("second\r\n");
    EXPECT_EQ("earlier line\r\n06/Dec/2026 14:03:27.045 first\r\n"
              "06/Dec/2026 14:03:27.045 second\r\n",
              EventLogText());

    // Moved away between two lines: the next line starts a new file.
    ASSERT_TRUE(MoveFileA(Settings.EventLogPath, folder.Path("old.log").c_str()));
    EventLog.WriteLine("third\r\n");
    EXPECT_EQ("06/Dec/2026 14:03:27.045 third\r\n", EventLogText());
}

TEST_F(LogChannelTest, AChangedPathTakesEffectWithTheNextLine)
{
    std::string first = Settings.EventLogPath;
    EventLog.WriteLine("one\r\n");
    SetText(Settings.EventLogPath, folder.Path("other.log"));
    EventLog.WriteLine("two\r\n");
    EXPECT_EQ("06/Dec/2026 14:03:27.045 one\r\n", ReadFileText(first));
    EXPECT_EQ("06/Dec/2026 14:03:27.045 two\r\n", EventLogText());
}

TEST_F(LogChannelTest, ALineThatCannotBeWrittenIsLost)
{
    // A missing folder: nothing is created, neither the folder nor the file.
    SetText(Settings.EventLogPath, folder.Path("missing\\Brisvane.LOG"));
    EXPECT_EQ(0, EventLog.WriteLine("lost\r\n"));
    EXPECT_EQ(INVALID_HANDLE_VALUE, EventLog.File);
    EXPECT_FALSE(FileExists(folder.Path("missing")));

    // No path at all.
    Settings.TrafficLogPath[0] = 0;
    EXPECT_EQ(0, TrafficLog.WriteLine("lost\r\n"));

    // A file that another program holds without letting anyone write.
    SetText(Settings.EventLogPath, folder.Path("held.log"));
    EventLog.WriteLine("kept\r\n");
    HANDLE held = CreateFileA(Settings.EventLogPath, GENERIC_READ, 0, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(0, EventLog.WriteLine("lost\r\n"));
    CloseHandle(held);
    EXPECT_EQ(INVALID_HANDLE_VALUE, EventLog.File);
    EXPECT_EQ("06/Dec/2026 14:03:27.045 kept\r\n", EventLogText());

    // The next line that can be written is.
    EXPECT_EQ(1, EventLog.WriteLine("again\r\n"));
    EXPECT_EQ("06/Dec/2026 14:03:27.045 kept\r\n06/Dec/2026 14:03:27.045 again\r\n",
              EventLogText());
}

TEST_F(LogChannelTest, ALongMessageIsWrittenWhole)
{
    std::string name(5000, 'n');
    EXPECT_EQ(1, EventLog.WriteLine("Monitor port '%s' - connection was lost\r\n", name.c_str()));
    EXPECT_EQ("06/Dec/2026 14:03:27.045 Monitor port '" + name + "' - connection was lost\r\n",
              EventLogText());
}

}  // namespace
