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
    EXPECT_EQ("06/Dec/2026 14:03:27.045 one\r\n", ReadLogText(first));
    EXPECT_EQ("06/Dec/2026 14:03:27.045 two\r\n", EventLogText());
}

TEST_F(LogChannelTest, ALineThatCannotBeWrittenWaitsAndFollowsInOrder)
{
    const std::string at = "06/Dec/2026 14:03:27.045 ";
    DWORD error = 0;
    EventLog.WriteLine("one\r\n");
    // Held by a program that lets others read but not write.
    HANDLE held = CreateFileA(Settings.EventLogPath, GENERIC_READ, FILE_SHARE_READ, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(0, EventLog.WriteLine("two\r\n"));
    EXPECT_EQ(0, EventLog.WriteLine("three\r\n"));
    EXPECT_EQ(2, EventLog.WaitingCount());
    EXPECT_EQ(INVALID_HANDLE_VALUE, EventLog.File);
    // The first failure is there to tell, once.
    EXPECT_EQ(1, EventLog.TakeFailureToTell(&error));
    EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, error);
    EXPECT_EQ(0, EventLog.TakeFailureToTell(&error));
    EXPECT_EQ(0, EventLog.WriteWaiting());
    CloseHandle(held);
    EXPECT_EQ(at + "one\r\n", EventLogText());

    // Released: the lines that waited come first, in order.
    EXPECT_EQ(1, EventLog.WriteLine("four\r\n"));
    EXPECT_EQ(at + "one\r\n" + at + "two\r\n" + at + "three\r\n" + at + "four\r\n",
              EventLogText());
    EXPECT_EQ(0, EventLog.WaitingCount());

    // A spreadsheet that reads and writes the CSV file with sharing does not stop the log.
    HANDLE shared = CreateFileA(Settings.TrafficLogPath, GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, shared);
    EXPECT_EQ(1, TrafficLog.WriteLine("%s,%d\r\n", "a", 1));
    CloseHandle(shared);
    EXPECT_EQ("06/Dec/2026,a,1\r\n", TrafficLogText());

    // A folder that is not there yet: the lines wait, and nothing is created meanwhile.
    SetText(Settings.TrafficLogPath, folder.Path("later\\Brisvane.CSV"));
    EXPECT_EQ(0, TrafficLog.WriteLine("%s\r\n", "b"));
    EXPECT_FALSE(FileExists(folder.Path("later")));
    EXPECT_EQ(1, TrafficLog.TakeFailureToTell(&error));
    ASSERT_TRUE(CreateDirectoryA(folder.Path("later").c_str(), NULL));
    EXPECT_EQ(1, TrafficLog.WriteWaiting());
    EXPECT_EQ("06/Dec/2026,b\r\n", TrafficLogText());
    // One failure a run is told: later ones are not.
    Settings.TrafficLogPath[0] = 0;
    EXPECT_EQ(0, TrafficLog.WriteLine("c\r\n"));
    EXPECT_EQ(0, TrafficLog.TakeFailureToTell(&error));
}

TEST_F(LogChannelTest, PastTheBoundTheOldestWaitingLinesGoAndTheLogSaysHowMany)
{
    HANDLE held = CreateFileA(Settings.TrafficLogPath, GENERIC_WRITE, 0, NULL, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    const int Lines = MAX_WAITING_LOG_LINES + 5;
    for (int i = 0; i < Lines; i++)
        TrafficLog.WriteLine("%d\r\n", i);
    EXPECT_EQ(MAX_WAITING_LOG_LINES, TrafficLog.WaitingCount());
    CloseHandle(held);
    SetClock(2026, 12, 7, 0, 0, 1, 0);
    EXPECT_EQ(1, TrafficLog.WriteWaiting());
    std::string expected =
        "07/Dec/2026,5 lines of this log were lost: its file could not be written\r\n";
    for (int i = 5; i < Lines; i++)
        expected += "06/Dec/2026," + std::to_string(i) + "\r\n";
    EXPECT_EQ(expected, TrafficLogText());
}

TEST_F(LogChannelTest, ALongMessageIsWrittenWhole)
{
    std::string name(5000, 'n');
    EXPECT_EQ(1, EventLog.WriteLine("Monitor port '%s' - connection was lost\r\n", name.c_str()));
    EXPECT_EQ("06/Dec/2026 14:03:27.045 Monitor port '" + name + "' - connection was lost\r\n",
              EventLogText());
}

}  // namespace
