// The usage history's model: calendar days and periods, the history file as it is read
// (also when corrupt or foreign) and written, the running figures in the INI file, the end of a
// day, and the sums the history window shows.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "FakePlatform.h"
#include "HandOverNumber.h"
#include "HistoryCalendar.h"
#include "HistorySample.h"
#include "RunningFigures.h"
#include "HistoryReport.h"
#include "HistoryTable.h"
#include "monitor/MonitorTestSupport.h"
#include "RunningFigures.h"
#include "UsageHistory.h"

namespace {

// The running figures saved as the meter saves them: into the INI file's document, replaced whole.
bool SaveTodayFigures(const UsageHistory& history)
{
    DWORD error;
    bool set = true;
    bool saved = SaveIniFile([&](IniDocument& document) { set = WriteTodayFigures(history, document); },
                             &error);
    return saved && set;
}

int Day(int year, int month, int day)
{
    return DayNumber(year, month, day);
}

std::string Iso(int day)
{
    char text[16];
    FormatIsoDate(day, text, sizeof(text));
    return text;
}

std::string Period(int start, int view, int billingDay)
{
    char text[PERIOD_TEXT_CHARS];
    FormatPeriodText(start, view, billingDay, text, sizeof(text));
    return text;
}

TEST(HistoryCalendarTest, IsoTextsAndTheirLimits)
{
    EXPECT_EQ("2028-02-29", Iso(Day(2028, 2, 29)));
    EXPECT_EQ("1601-01-01", Iso(Day(1601, 1, 1)));

    int day = 0;
    EXPECT_EQ(1, ParseIsoDate("2026-12-07", 10, &day));
    EXPECT_EQ(Day(2026, 12, 7), day);
    const char* const wrong[] = {"2026-12-7", "2026-12-070", "2026/12/07", "2026-13-01",
                                 "2027-02-29", "2026-04-31", "1600-12-31", "0000-01-01",
                                 "2026-12-0a", " 026-12-07", "+026-12-07"};
    for (const char* text : wrong)
        EXPECT_EQ(0, ParseIsoDate(text, strlen(text), &day)) << text;

    SYSTEMTIME time = FakePlatform::Time(2026, 12, 7, 23, 59, 59);
    EXPECT_EQ(1, DayOfTime(&time, &day));
    EXPECT_EQ(Day(2026, 12, 7), day);
    time.wDay = 32;
    EXPECT_EQ(0, DayOfTime(&time, &day));

    // A sample at midnight brings the bytes of the day's last second.
    time = FakePlatform::Time(2026, 12, 8, 0, 0, 0);
    EXPECT_EQ(1, SampleDay(&time, &day));
    EXPECT_EQ(Day(2026, 12, 7), day);
    time.wSecond = 1;
    EXPECT_EQ(1, SampleDay(&time, &day));
    EXPECT_EQ(Day(2026, 12, 8), day);
}

TEST(HistoryCalendarTest, MonthsFollowTheMonthlyResetDay)
{
    // Only a monthly reset on a real day moves the months.
    EXPECT_EQ(1, BillingDayOf(CalendarMonths, 15));
    EXPECT_EQ(1, BillingDayOf(MonthlyReset, 0));
    EXPECT_EQ(15, BillingDayOf(MonthlyReset, 15));

    EXPECT_EQ(Day(2026, 12, 1), PeriodStart(Day(2026, 12, 31), ViewMonths, 1));
    EXPECT_EQ(Day(2026, 1, 1), PeriodStart(Day(2026, 12, 31), ViewYears, 1));
    EXPECT_EQ(Day(2026, 12, 31), PeriodStart(Day(2026, 12, 31), ViewDays, 1));

    // On the 15th: the 14th still belongs to the period that began a month before.
    EXPECT_EQ(Day(2026, 11, 15), PeriodStart(Day(2026, 12, 14), ViewMonths, 15));
    EXPECT_EQ(Day(2026, 12, 15), PeriodStart(Day(2026, 12, 15), ViewMonths, 15));
    EXPECT_EQ(Day(2025, 12, 15), PeriodStart(Day(2026, 1, 3), ViewMonths, 15));
    EXPECT_EQ("2026-11-15 to 2026-12-14", Period(Day(2026, 11, 15), ViewMonths, 15));
    EXPECT_EQ("2026-12", Period(Day(2026, 12, 1), ViewMonths, 1));
    EXPECT_EQ("2026", Period(Day(2026, 1, 1), ViewYears, 15));

    // On the 31st the period starts on a short month's last day, as the reset does.
    EXPECT_EQ(Day(2028, 2, 29), PeriodStart(Day(2028, 3, 30), ViewMonths, 31));
    EXPECT_EQ(Day(2028, 3, 31), NextPeriodStart(Day(2028, 2, 29), ViewMonths, 31));
    EXPECT_EQ(Day(2028, 1, 31), PreviousPeriodStart(Day(2028, 2, 29), ViewMonths, 31));
    EXPECT_EQ("2028-02-29 to 2028-03-30", Period(Day(2028, 2, 29), ViewMonths, 31));
    // The calendar ends on 9999-12-31, and so does a period that would go on past it.
    EXPECT_EQ("9999-12-31 to 9999-12-31", Period(Day(9999, 12, 31), ViewMonths, 31));

    char title[PERIOD_TEXT_CHARS];
    FormatPeriodTitle(ViewMonths, 15, title, sizeof(title));
    EXPECT_STREQ("Billing period (from day 15)", title);
    FormatPeriodTitle(ViewMonths, 1, title, sizeof(title));
    EXPECT_STREQ("Month", title);
}

class HistoryFileTest : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        ASSERT_TRUE(HistoryPathFor(IniPath, path, sizeof(path)));
    }
    void WriteText(const std::string& file, const std::string& text)
    {
        HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, handle);
        DWORD written = 0;
        WriteFile(handle, text.data(), (DWORD)text.size(), &written, NULL);
        CloseHandle(handle);
    }
    std::string FileText() { return ReadFileText(path); }

    char path[PATH_CHARS];
};

TEST_F(HistoryFileTest, LivesBesideTheIniFileWhereverThatIs)
{
    EXPECT_EQ(folder.Path("Brisvane-history.csv"), path);
    char other[PATH_CHARS];
    EXPECT_EQ(1, HistoryPathFor("C:\\Users\\u\\AppData\\Roaming\\Brisvane\\Brisvane.INI", other,
                                sizeof(other)));
    EXPECT_STREQ("C:\\Users\\u\\AppData\\Roaming\\Brisvane\\Brisvane-history.csv", other);
    EXPECT_EQ(0, HistoryPathFor("", other, sizeof(other)));
    EXPECT_EQ(0, HistoryPathFor("C:\\a\\Brisvane.INI", other, 10));
}

TEST_F(HistoryFileTest, WrittenWithHeaderQuotedDescriptionsAndReadBackTheSame)
{
    HistoryTable table;
    ASSERT_TRUE(table.Append(Day(2026, 12, 7), "00-1A-2B-3C-4D-5E", "Fast \"LAN\", port 1", 5,
                             6));
    ASSERT_TRUE(table.Append(Day(2026, 12, 6), "00-1A-2B-3C-4D-5F", "=SUM(A1)", 18446744073709551615ULL, 0));
    ASSERT_TRUE(table.Append(Day(2026, 12, 7), "00-1A-2B-3C-4D-01", "", 1, 2));
    table.Normalize(MergeAdd);
    DWORD error = 1;
    ASSERT_TRUE(table.WriteFile(path, &error));
    EXPECT_EQ(0u, error);
    EXPECT_EQ("\xEF\xBB\xBF" "Date,MAC,Description,Bytes in,Bytes out\r\n"
              "2026-12-06,00-1A-2B-3C-4D-5F,\"'=SUM(A1)\",18446744073709551615,0\r\n"
              "2026-12-07,00-1A-2B-3C-4D-01,\"\",1,2\r\n"
              "2026-12-07,00-1A-2B-3C-4D-5E,\"Fast \"\"LAN\"\", port 1\",5,6\r\n",
              FileText());
    EXPECT_FALSE(FileExists(std::string(path) + ".new"));

    HistoryTable read;
    int skipped = -1;
    ASSERT_TRUE(read.ReadFile(path, &skipped));
    EXPECT_EQ(0, skipped);  // the header is no garbage
    ASSERT_EQ(3, read.Records.Count());
    const HistoryRecord* record = read.Find(Day(2026, 12, 7), "00-1A-2B-3C-4D-5E");
    ASSERT_NE((const HistoryRecord*)NULL, record);
    EXPECT_STREQ("Fast \"LAN\", port 1", read.Names[record->Name].Description);
    record = read.Find(Day(2026, 12, 6), "00-1A-2B-3C-4D-5F");
    ASSERT_NE((const HistoryRecord*)NULL, record);
    EXPECT_STREQ("=SUM(A1)", read.Names[record->Name].Description);
    EXPECT_EQ(18446744073709551615ULL, record->In);
}

TEST_F(HistoryFileTest, CorruptOrForeignLinesAreSkippedAndNothingValidIsLost)
{
    // Garbage of every kind between valid lines; an adapter no longer present; a future day;
    // a lower-case MAC; a day written twice (both parts count); no line end at the end.
    WriteText(path,
              "Date,MAC,Description,Bytes in,Bytes out\n"
              "2026-12-01,00-1A-2B-3C-4D-5E,\"LAN\",100,10\r\n"
              "garbage\r\n"
              "\r\n"
              ",,,,\r\n"
              "2026-12-02,00-1A-2B-3C-4D-5E,LAN,abc,10\r\n"
              "2026-12-02,00-1A-2B-3C-4D-5E,LAN,-5,10\r\n"
              "2026-12-02,00-1A-2B-3C-4D-5E,LAN,99999999999999999999,10\r\n"
              "2026-02-30,00-1A-2B-3C-4D-5E,LAN,1,1\r\n"
              "2026-12-02,00-1A-2B-3C-4D-5,LAN,1,1\r\n"
              "2026-12-02,00:1A:2B:3C:4D:5E,LAN,1,1\r\n"
              "2026-12-02,00-1A-2B-3C-4D-5E,\"unclosed,1,1\r\n"
              "2026-12-02,00-1A-2B-3C-4D-5E,LAN,1,1,extra\r\n"
              "\x01\x02\xff\xfe binary\r\n"
              "2019-03-04,00-99-88-77-66-55,Old modem,7000,700\r\n"
              "2031-01-01,00-1A-2B-3C-4D-5E,LAN,5,5\r\n"
              "2026-12-03,00-1a-2b-3c-4d-5e,LAN,1,2\r\n"
              "2026-12-03,00-1A-2B-3C-4D-5E,LAN,10,20\r\n"
              "2026-12-04,00-1A-2B-3C-4D-5E,\"a \"\"b\"\", c\",1,1");
    HistoryTable table;
    int skipped = 0;
    ASSERT_TRUE(table.ReadFile(path, &skipped));
    EXPECT_EQ(10, skipped);  // not ",,,,", which holds nothing
    ASSERT_EQ(5, table.Records.Count());
    EXPECT_EQ(100u, table.Find(Day(2026, 12, 1), "00-1A-2B-3C-4D-5E")->In);
    EXPECT_EQ(7000u, table.Find(Day(2019, 3, 4), "00-99-88-77-66-55")->In);
    EXPECT_EQ(5u, table.Find(Day(2031, 1, 1), "00-1A-2B-3C-4D-5E")->Out);
    EXPECT_EQ(11u, table.Find(Day(2026, 12, 3), "00-1A-2B-3C-4D-5E")->In);
    EXPECT_EQ(22u, table.Find(Day(2026, 12, 3), "00-1A-2B-3C-4D-5E")->Out);
    const HistoryRecord* quoted = table.Find(Day(2026, 12, 4), "00-1A-2B-3C-4D-5E");
    ASSERT_NE((const HistoryRecord*)NULL, quoted);
    EXPECT_STREQ("a \"b\", c", table.Names[quoted->Name].Description);

    // The end of a day writes the file again: every valid line stays, the new day joins them.
    UsageHistory history;
    history.Add(Day(2026, 12, 6), "00-1A-2B-3C-4D-5E", "LAN", 40, 4);
    history.Add(Day(2026, 12, 7), "00-1A-2B-3C-4D-5E", "LAN", 1, 1);
    ASSERT_TRUE(history.FinishDays(Day(2026, 12, 7), path));
    // The lines it could not read follow, unchanged (in UTF-8: the file was ANSI).
    EXPECT_EQ("\xEF\xBB\xBF" "Date,MAC,Description,Bytes in,Bytes out,"
              "Hand-over 1 before 2026-12-07\r\n"
              "2019-03-04,00-99-88-77-66-55,\"Old modem\",7000,700\r\n"
              "2026-12-01,00-1A-2B-3C-4D-5E,\"LAN\",100,10\r\n"
              "2026-12-03,00-1A-2B-3C-4D-5E,\"LAN\",11,22\r\n"
              "2026-12-04,00-1A-2B-3C-4D-5E,\"a \"\"b\"\", c\",1,1\r\n"
              "2026-12-06,00-1A-2B-3C-4D-5E,\"LAN\",40,4\r\n"
              "2031-01-01,00-1A-2B-3C-4D-5E,\"LAN\",5,5\r\n"
              "garbage\r\n"
              "2026-12-02,00-1A-2B-3C-4D-5E,LAN,abc,10\r\n"
              "2026-12-02,00-1A-2B-3C-4D-5E,LAN,-5,10\r\n"
              "2026-12-02,00-1A-2B-3C-4D-5E,LAN,99999999999999999999,10\r\n"
              "2026-02-30,00-1A-2B-3C-4D-5E,LAN,1,1\r\n"
              "2026-12-02,00-1A-2B-3C-4D-5,LAN,1,1\r\n"
              "2026-12-02,00:1A:2B:3C:4D:5E,LAN,1,1\r\n"
              "2026-12-02,00-1A-2B-3C-4D-5E,\"unclosed,1,1\r\n"
              "2026-12-02,00-1A-2B-3C-4D-5E,LAN,1,1,extra\r\n"
              "\x01\x02\xC3\xBF\xC3\xBE binary\r\n",
              FileText());
    ASSERT_EQ(1, history.Running.Count());  // today stays running
    EXPECT_EQ(Day(2026, 12, 7), history.Running[0].Day);
    EXPECT_EQ(1u, history.FinishedVersion);
}

TEST_F(HistoryFileTest, AFileThatCannotBeReadIsNeverReplaced)
{
    WriteText(path, "2026-12-01,00-1A-2B-3C-4D-5E,LAN,100,10\r\n");
    // Held open without sharing: neither readable nor replaceable.
    HANDLE held = CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    UsageHistory history;
    history.Add(Day(2026, 12, 6), "00-1A-2B-3C-4D-5E", "LAN", 40, 4);
    EXPECT_EQ(0, history.FinishDays(Day(2026, 12, 7), path));
    EXPECT_NE(0u, history.LastError);
    EXPECT_EQ(1, history.Running.Count());  // still waiting, in memory and so in the INI file
    CloseHandle(held);

    ASSERT_TRUE(history.FinishDays(Day(2026, 12, 7), path));
    EXPECT_EQ(0u, history.LastError);
    EXPECT_EQ(0, history.Running.Count());
    EXPECT_NE(std::string::npos, FileText().find("2026-12-01,00-1A-2B-3C-4D-5E,\"LAN\",100,10\r\n"
                                                  "2026-12-06,00-1A-2B-3C-4D-5E,\"LAN\",40,4\r\n"));

    // A day found again (the clock set back) adds to what the file holds.
    history.Add(Day(2026, 12, 6), "00-1A-2B-3C-4D-5E", "LAN", 30, 4);
    ASSERT_TRUE(history.FinishDays(Day(2026, 12, 7), path));
    EXPECT_NE(std::string::npos, FileText().find("2026-12-06,00-1A-2B-3C-4D-5E,\"LAN\",70,8\r\n"));
}

TEST_F(HistoryFileTest, SpreadsheetFormsAreReadAndLinesItCannotReadSurviveEveryRewrite)
{
    const std::string longDescription(5000, 'x');
    // Saved back by a European spreadsheet in the ANSI code page, with what it cannot read.
    const std::string unreadable =
        "2026-11-08,00-1A-2B-3C-4D-5E,LAN,1.2E+10,1\r\n"
        "2026-11-08,00-1A-2B-3C-4D-5E,LAN,\"1.234.567\",1\r\n"
        "2026-11-08,00-1A-2B-3C-4D-5E,LAN,18446744073709551616,1\r\n"
        "2026-11-08,00-1A-2B-3C-4D-5E,LAN,-5,1\r\n"
        "2026-11-08,00-1A-2B-3C-4D-5E,\"" + longDescription + "\",1,1\r\n"
        "11/08/2026,00-1A-2B-3C-4D-5E,LAN,1,1\r\n";
    WriteText(path, "Date;MAC;Description;Bytes in;Bytes out;;\r\n"
                    "06.11.2026;00-1a-2b-3c-4d-5e;\"Caf\xE9\";\"1000\";20;;\r\n"
                    "2026-11-07,IF-00000000000000AB,\"VPN\",5,6\r"
                    "7.11.2026;if-index-12;PPP;7;8\n" +
                    unreadable);
    HistoryTable table;
    int skipped = 0;
    ASSERT_EQ(HistoryReadDone, table.ReadFile(path, &skipped));
    EXPECT_EQ(6, skipped);
    const HistoryRecord* record = table.Find(Day(2026, 11, 6), "00-1A-2B-3C-4D-5E");
    ASSERT_NE((const HistoryRecord*)NULL, record);
    EXPECT_EQ(1000u, record->In);
    EXPECT_STREQ("Caf\xC3\xA9", table.Names[record->Name].Description);  // now UTF-8
    ASSERT_NE((const HistoryRecord*)NULL, table.Find(Day(2026, 11, 7), "IF-00000000000000AB"));
    ASSERT_NE((const HistoryRecord*)NULL, table.Find(Day(2026, 11, 7), "IF-INDEX-12"));

    // Two day ends: the IF- lines and the unreadable ones are all there, once each.
    UsageHistory history;
    history.Add(Day(2026, 12, 6), "IF-INDEX-12", "PPP", 1, 1);
    ASSERT_TRUE(history.FinishDays(Day(2026, 12, 7), path));
    history.Add(Day(2026, 12, 7), "IF-00000000000000AB", "VPN", 2, 2);
    ASSERT_TRUE(history.FinishDays(Day(2026, 12, 8), path));
    EXPECT_EQ("\xEF\xBB\xBF" "Date,MAC,Description,Bytes in,Bytes out,"
              "Hand-over 2 before 2026-12-08\r\n"
              "2026-11-06,00-1A-2B-3C-4D-5E,\"Caf\xC3\xA9\",1000,20\r\n"
              "2026-11-07,IF-00000000000000AB,\"VPN\",5,6\r\n"
              "2026-11-07,IF-INDEX-12,\"PPP\",7,8\r\n"
              "2026-12-06,IF-INDEX-12,\"PPP\",1,1\r\n"
              "2026-12-07,IF-00000000000000AB,\"VPN\",2,2\r\n" + unreadable,
              FileText());
    ASSERT_EQ(HistoryReadDone, table.ReadFile(path, &skipped));
    EXPECT_EQ(6, skipped);
    EXPECT_EQ(2u, table.HandOverId);
    EXPECT_EQ(Day(2026, 12, 8), table.HandOverDay);
}

TEST_F(HistoryFileTest, Utf16AndMarkedFilesAreReadAndAForeignOneIsSetAsideWhole)
{
    // UTF-16, little-endian and big-endian, each with its byte-order mark.
    const std::wstring lines = L"Date,MAC,Description,Bytes in,Bytes out\r\n"
                               L"2026-12-01,00-1A-2B-3C-4D-5E,\"\u0141\u00f3d\u017a \u6d41\u91cf\",100,10\r\n"
                               L"2026-12-02,00-1A-2B-3C-4D-5E,\"\U0001F600\",5,6\r\n";
    for (int bigEndian = 0; bigEndian <= 1; bigEndian++) {
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (wchar_t unit : lines) {
            char low = (char)(unit & 0xFF), high = (char)(unit >> 8);
            bytes += bigEndian ? std::string(1, high) + low : std::string(1, low) + high;
        }
        WriteText(path, bytes);
        HistoryTable table;
        int skipped = -1;
        ASSERT_EQ(HistoryReadDone, table.ReadFile(path, &skipped)) << bigEndian;
        EXPECT_EQ(0, skipped);
        ASSERT_EQ(2, table.Records.Count());
        EXPECT_STREQ("\xC5\x81\xC3\xB3" "d\xC5\xBA \xE6\xB5\x81\xE9\x87\x8F",
                     table.Names[table.Records[0].Name].Description);
        EXPECT_STREQ("\xF0\x9F\x98\x80", table.Names[table.Records[1].Name].Description);
        EXPECT_EQ(6u, table.Records[1].Out);
    }

    // A UTF-8 byte-order mark right before a data line does not cost that line.
    WriteText(path, "\xEF\xBB\xBF" "2026-12-01,00-1A-2B-3C-4D-5E,\"LAN\",100,10\r\n");
    HistoryTable marked;
    int skipped = -1;
    ASSERT_EQ(HistoryReadDone, marked.ReadFile(path, &skipped));
    EXPECT_EQ(0, skipped);
    EXPECT_EQ(1, marked.Records.Count());

    // Forms it cannot read (half a UTF-16 unit; UTF-16 without its mark) are set aside whole,
    // each under a name of its own, and a new file is begun.
    const std::string foreign[] = {std::string("\xFF\xFE\x32\x00\x30", 5),
                                   std::string("2\x00" "0\x00" "2\x00", 6)};
    for (int i = 0; i < 2; i++) {
        WriteText(path, foreign[i]);
        HistoryTable table;
        EXPECT_EQ(HistoryReadForeign, table.ReadFile(path, &skipped));
        UsageHistory history;
        history.Add(Day(2026, 12, 6), "00-1A-2B-3C-4D-5E", "LAN", 40, 4);
        ASSERT_TRUE(history.FinishDays(Day(2026, 12, 7), path));
        std::string name = "Brisvane-history-unreadable-" + std::to_string(i + 1) + ".csv";
        std::string aside = folder.Path(name.c_str());
        EXPECT_EQ(aside, history.SetAsidePath);
        EXPECT_EQ(foreign[i], ReadFileText(aside));
        EXPECT_NE(std::string::npos,
                  FileText().find("2026-12-06,00-1A-2B-3C-4D-5E,\"LAN\",40,4\r\n"));
    }
}

TEST_F(HistoryFileTest, EachDayIsHandedOverOnceEvenWhenTheProgramEndsBetweenTheTwoWrites)
{
    FakePlatform fake;
    fake.SetTime(2026, 12, 8, 0, 5);
    const char* mac = "00-1A-2B-3C-4D-5E";
    // The INI file as the last save before midnight left it: the 7th and the 6th still running.
    UsageHistory before;
    before.Add(Day(2026, 12, 6), mac, "LAN", 600, 6);
    before.Add(Day(2026, 12, 7), mac, "LAN", 700, 7);
    ASSERT_TRUE(SaveTodayFigures(before));

    // A day after today (the clock was ahead) is not finished; the others go into the file,
    // which names the hand-over. Then the program ends before the INI file is written.
    before.Add(Day(2026, 12, 7), mac, "LAN", 10, 1);
    before.Add(Day(2026, 12, 9), mac, "LAN", 9, 9);
    EXPECT_EQ(1, before.HasFinishedDays(Day(2026, 12, 8)));
    ASSERT_TRUE(before.FinishDays(Day(2026, 12, 8), path));
    ASSERT_EQ(1, before.Running.Count());
    EXPECT_EQ(Day(2026, 12, 9), before.Running[0].Day);
    EXPECT_EQ(0, before.HasFinishedDays(Day(2026, 12, 8)));
    const std::string handedOver = FileText();
    EXPECT_NE(std::string::npos, handedOver.find("Hand-over 1 before 2026-12-08\r\n"));
    EXPECT_NE(std::string::npos, handedOver.find("2026-12-07,00-1A-2B-3C-4D-5E,\"LAN\",710,8\r\n"));

    // The next start finds the file ahead of the INI file: the days it took are not running.
    UsageHistory restarted;
    ASSERT_TRUE(ReadTodayFigures(restarted, IniPath));
    EXPECT_EQ(0, restarted.Running.Count());
    EXPECT_EQ(1u, restarted.HandOver);
    restarted.Add(Day(2026, 12, 8), mac, "LAN", 80, 8);
    ASSERT_TRUE(SaveTodayFigures(restarted));
    EXPECT_NE(std::string::npos, IniText().find("HandOver=1\r\n"));

    // A start on the 9th, the INI file in step with the file: the 8th is handed over, once.
    fake.SetTime(2026, 12, 9, 8, 0);
    UsageHistory next;
    ASSERT_TRUE(ReadTodayFigures(next, IniPath));
    ASSERT_EQ(1, next.Running.Count());
    ASSERT_TRUE(next.FinishDays(Day(2026, 12, 9), path));
    HistoryTable file;
    int skipped;
    ASSERT_EQ(HistoryReadDone, file.ReadFile(path, &skipped));
    ASSERT_EQ(3, file.Records.Count());
    EXPECT_EQ(600u, file.Find(Day(2026, 12, 6), mac)->In);
    EXPECT_EQ(710u, file.Find(Day(2026, 12, 7), mac)->In);
    EXPECT_EQ(80u, file.Find(Day(2026, 12, 8), mac)->In);
    EXPECT_EQ(2u, file.HandOverId);

    // A file restored from before the hand-over takes nothing away.
    WriteText(path, handedOver);
    UsageHistory ahead;
    ahead.HandOver = 2;
    ahead.Add(Day(2026, 12, 8), mac, "LAN", 80, 8);
    ASSERT_TRUE(ahead.SettleWithFile(path));
    EXPECT_EQ(1, ahead.Running.Count());
}

TEST_F(HistoryFileTest, AHandOverAheadDropsOnlyTheRunningDaysTheFileHolds)
{
    // A hand-over made while the clock ran ahead, or a file copied in: it names a later day
    // than today, but took only the days it holds.
    FakePlatform fake;
    fake.SetTime(2026, 12, 7, 12, 0);
    const std::string header = "Date,MAC,Description,Bytes in,Bytes out,"
                               "Hand-over 6 before 2027-01-01\r\n";
    const std::string ini = "[History]\r\nHandOver=5\r\n"
                            "2026-12-06 00-1A-2B-3C-4D-5E=1000,100,LAN\r\n"
                            "2026-12-07 00-1A-2B-3C-4D-5E=2000,200,LAN\r\n";
    struct Case {
        const char* held;  // what the file holds besides an old day
        int running;       // the running days left
    } cases[] = {{"", 2}, {"2026-12-06,00-1A-2B-3C-4D-5E,\"LAN\",1,1\r\n", 1}};
    for (const Case& c : cases) {
        WriteIni(ini);
        WriteText(path, header + "2026-11-01,00-1A-2B-3C-4D-5E,\"LAN\",5,5\r\n" + c.held);
        UsageHistory history;
        ASSERT_TRUE(ReadTodayFigures(history, IniPath));
        ASSERT_EQ(c.running, history.Running.Count()) << c.held;
        EXPECT_EQ(Day(2026, 12, 7), history.Running[c.running - 1].Day);
        EXPECT_EQ(6u, history.HandOver);
    }
}

TEST_F(HistoryFileTest, HandOverNumbersGoOnPastTheLargestAndStillCountEachDayOnce)
{
    FakePlatform fake;
    fake.SetTime(2026, 12, 8, 0, 5);
    WriteIni("[History]\r\nHandOver=18446744073709551615\r\n"
             "2026-12-07 00-1A-2B-3C-4D-5E=700,7,LAN\r\n");
    UsageHistory before;
    ASSERT_TRUE(ReadTodayFigures(before, IniPath));
    ASSERT_TRUE(before.FinishDays(Day(2026, 12, 8), path));
    EXPECT_NE(std::string::npos, FileText().find("Hand-over 1 before 2026-12-08\r\n"));
    // The program ends before the INI file is written: the next start sees the file ahead.
    UsageHistory restarted;
    ASSERT_TRUE(ReadTodayFigures(restarted, IniPath));
    EXPECT_EQ(0, restarted.Running.Count());
    EXPECT_EQ(1u, restarted.HandOver);

    // Compared round the range, as serial numbers are; 0 is none.
    EXPECT_TRUE(HandOverAfter(1, 0xFFFFFFFFFFFFFFFFULL));
    EXPECT_FALSE(HandOverAfter(0xFFFFFFFFFFFFFFFFULL, 1));
    EXPECT_FALSE(HandOverAfter(5, 5));
    EXPECT_FALSE(HandOverAfter(0, 5));
    EXPECT_TRUE(HandOverAfter(5, 0));
}

TEST_F(HistoryFileTest, RunningFiguresGoIntoTheirOwnSectionAndComeBack)
{
    WriteIni("[Settings]\r\nResetType=2\r\n[History]\r\nold key=1\r\n");
    UsageHistory history;
    MIB_IFROW row = {};
    row.dwPhysAddrLen = 6;
    const BYTE mac[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    memcpy(row.bPhysAddr, mac, sizeof(mac));
    strcpy((char*)row.bDescr, "LAN, \"fast\"\tport");
    row.dwDescrLen = (DWORD)strlen((char*)row.bDescr) + 1;
    ASSERT_TRUE(AddHistorySample(history, Day(2026, 12, 7), &row, 1000, 10));
    ASSERT_TRUE(AddHistorySample(history, Day(2026, 12, 7), &row, 234, 5));
    ASSERT_TRUE(AddHistorySample(history, Day(2026, 12, 6), &row, 9, 9));
    EXPECT_EQ(1, history.Unsaved);
    ASSERT_TRUE(SaveTodayFigures(history));
    EXPECT_EQ("[Settings]\r\nResetType=2\r\n[History]\r\n"
              "2026-12-07 00-1A-2B-3C-4D-5E=1234,15,LAN, \"fast\" port\r\n"
              "2026-12-06 00-1A-2B-3C-4D-5E=9,9,LAN, \"fast\" port\r\n",
              IniText());

    UsageHistory loaded;
    ASSERT_TRUE(ReadTodayFigures(loaded, IniPath));
    ASSERT_EQ(2, loaded.Running.Count());
    EXPECT_EQ(Day(2026, 12, 7), loaded.Running[0].Day);
    EXPECT_STREQ("00-1A-2B-3C-4D-5E", loaded.Running[0].Mac);
    EXPECT_STREQ("LAN, \"fast\" port", loaded.Running[0].Description);
    EXPECT_EQ(1234u, loaded.Running[0].In);
    EXPECT_EQ(15u, loaded.Running[0].Out);
    EXPECT_EQ(1, loaded.HasFinishedDays(Day(2026, 12, 7)));
    EXPECT_EQ(0, loaded.Unsaved);

    // Lines that are no figures are kept and written back as they were; the good ones count,
    // in every section of that name, with an IF- name as with a MAC text.
    WriteIni("[History]\r\nnonsense\r\n2026-12-07 00-1A-=1,1\r\n2026-13-07 00-1A-2B-3C-4D-5E=1,1\r\n"
             "2026-12-07 00-1A-2B-3C-4D-5E=x,1\r\n2026-12-07 00-1A-2B-3C-4D-5F=5\r\n"
             "2026-12-07 00-1A-2B-3C-4D-01=7,8\r\n[Settings]\r\nResetType=2\r\n"
             "[History]\r\n2026-12-07 if-00000000000000ab=1,2,VPN\r\nHandOver=3\r\n"
             "2026-12-07 00-1A-2B-3C-4D-01=3,4\r\n");
    ASSERT_TRUE(ReadTodayFigures(loaded, IniPath));
    ASSERT_EQ(2, loaded.Running.Count());
    EXPECT_STREQ("00-1A-2B-3C-4D-01", loaded.Running[0].Mac);
    EXPECT_EQ(12u, loaded.Running[0].Out);
    EXPECT_STREQ("IF-00000000000000AB", loaded.Running[1].Mac);
    EXPECT_EQ(3u, loaded.HandOver);
    ASSERT_TRUE(SaveTodayFigures(loaded));
    EXPECT_EQ("[Settings]\r\nResetType=2\r\n[History]\r\n"
              "2026-12-07 00-1A-=1,1\r\n2026-13-07 00-1A-2B-3C-4D-5E=1,1\r\n"
              "2026-12-07 00-1A-2B-3C-4D-5E=x,1\r\n2026-12-07 00-1A-2B-3C-4D-5F=5\r\n"
              "HandOver=3\r\n"
              "2026-12-07 00-1A-2B-3C-4D-01=10,12,\r\n"
              "2026-12-07 IF-00000000000000AB=1,2,VPN\r\n",
              IniText());

    // No figures: no section at all.
    UsageHistory empty;
    ASSERT_TRUE(SaveTodayFigures(empty));
    EXPECT_EQ(std::string::npos, IniText().find("[History]"));
}

TEST(HistoryReportTest, RowsOfDaysMonthsYearsAndBillingPeriodsNewestFirst)
{
    HistoryTable table;
    const char A[] = "00-00-00-00-00-0A";
    const char B[] = "00-00-00-00-00-0B";
    table.Append(Day(2025, 12, 31), A, "a", 1, 2);
    table.Append(Day(2026, 11, 14), A, "a", 10, 20);
    table.Append(Day(2026, 11, 15), A, "a", 100, 200);
    table.Append(Day(2026, 11, 15), B, "b", 1000, 2000);
    table.Append(Day(2026, 12, 6), B, "b", 10000, 20000);
    table.Normalize(MergeAdd);
    UsageHistory running;
    running.Add(Day(2026, 12, 7), A, "a", 5, 5);
    running.Add(Day(2026, 12, 6), B, "b", 7, 0);  // found again: adds to the file's

    PeriodRows rows;
    ASSERT_TRUE(BuildPeriodRows(table, NULL, ViewDays, 1, &rows));
    ASSERT_TRUE(AddRunningDays(running, NULL, ViewDays, 1, &rows));
    ASSERT_EQ(5, rows.Count());
    EXPECT_EQ(Day(2026, 12, 7), rows.Rows[0].Start);
    EXPECT_EQ(10007u, rows.Rows[1].In);
    EXPECT_EQ(1100u, rows.Rows[2].In);
    EXPECT_EQ(Day(2025, 12, 31), rows.Rows[4].Start);

    ASSERT_TRUE(BuildPeriodRows(table, A, ViewMonths, 1, &rows));
    ASSERT_TRUE(AddRunningDays(running, A, ViewMonths, 1, &rows));
    ASSERT_EQ(3, rows.Count());
    EXPECT_EQ(5u, rows.Rows[0].In);      // 2026-12
    EXPECT_EQ(110u, rows.Rows[1].In);    // 2026-11
    EXPECT_EQ(1u, rows.Rows[2].In);      // 2025-12

    ASSERT_TRUE(BuildPeriodRows(table, NULL, ViewMonths, 15, &rows));
    ASSERT_TRUE(AddRunningDays(running, NULL, ViewMonths, 15, &rows));
    ASSERT_EQ(3, rows.Count());
    EXPECT_EQ(Day(2026, 11, 15), rows.Rows[0].Start);
    EXPECT_EQ(100u + 1000 + 10007 + 5, rows.Rows[0].In);
    EXPECT_EQ(Day(2026, 10, 15), rows.Rows[1].Start);
    EXPECT_EQ(10u, rows.Rows[1].In);
    EXPECT_EQ(Day(2025, 12, 15), rows.Rows[2].Start);

    ASSERT_TRUE(BuildPeriodRows(table, B, ViewYears, 1, &rows));
    ASSERT_EQ(1, rows.Count());
    EXPECT_EQ(11000u, rows.Rows[0].In);
    EXPECT_EQ(22000u, RowTotal(rows.Rows[0]) - 11000u);

    char line[REPORT_LINE_CHARS];
    FormatReportLine(rows.Rows[0], ViewYears, 1, line, sizeof(line));
    EXPECT_STREQ("2026\t11 KB\t22 KB\t33 KB", line);

    ChartBar bars[12];
    ASSERT_TRUE(BuildPeriodRows(table, NULL, ViewMonths, 1, &rows));
    EXPECT_EQ(12, ChartBarsOf(rows, Day(2026, 12, 7), ViewMonths, 1, bars, 12));
    EXPECT_EQ(10000u, bars[11].In);
    EXPECT_EQ(1110u, bars[10].In);
    for (int i = 0; i < 10; i++)
        EXPECT_EQ(0u, bars[i].In + bars[i].Out) << i;
    EXPECT_EQ(31, ChartBarCount(ViewDays));
    EXPECT_EQ(10, ChartBarCount(ViewYears));
}

}  // namespace
