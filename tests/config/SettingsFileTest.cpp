// The settings record, its INI file beside the program, and every read and write rule.
#include <gtest/gtest.h>

#include "FakePlatform.h"

#include <string>

#include "monitor/MonitorTestSupport.h"
#include "SettingsTestSupport.h"

namespace {

class SettingsFileTest : public CoreTest {
protected:
    // A fresh record read from the INI file as it is now.
    SettingsRecord ReadBack()
    {
        Settings = SettingsRecord();
        ReadSettingsNow();
        return Settings;
    }

    void WriteSettingsKey(const char* key, const char* value)
    {
        WriteIni(std::string("[Settings]\r\n") + key + "=" + value + "\r\n");
    }
};

SYSTEMTIME Day(int year, int month, int day)
{
    SYSTEMTIME time = {};
    time.wYear = (WORD)year;
    time.wMonth = (WORD)month;
    time.wDay = (WORD)day;
    return time;
}

void ExpectSameTime(const SYSTEMTIME& expected, const SYSTEMTIME& actual)
{
    EXPECT_EQ(expected.wYear, actual.wYear);
    EXPECT_EQ(expected.wMonth, actual.wMonth);
    EXPECT_EQ(expected.wDay, actual.wDay);
    EXPECT_EQ(expected.wHour, actual.wHour);
    EXPECT_EQ(expected.wMinute, actual.wMinute);
    EXPECT_EQ(expected.wSecond, actual.wSecond);
    EXPECT_EQ(expected.wMilliseconds, actual.wMilliseconds);
}

struct DerivedPaths {
    char Ini[PATH_CHARS];
    char Log[PATH_CHARS];
    char Csv[PATH_CHARS];
    explicit DerivedPaths(const char* module) { DeriveIniPaths(module, Ini, Log, Csv); }
};

TEST(IniPathTest, ReplacesTheProgramsExtension)
{
    DerivedPaths paths("C:\\Program Files\\Brisvane\\Brisvane.exe");
    EXPECT_STREQ("C:\\Program Files\\Brisvane\\Brisvane.INI", paths.Ini);
    EXPECT_STREQ("C:\\Program Files\\Brisvane\\Brisvane.LOG", paths.Log);
    EXPECT_STREQ("C:\\Program Files\\Brisvane\\Brisvane.CSV", paths.Csv);

    DerivedPaths twoDots("C:\\Tools\\Brisvane.1.0.exe");
    EXPECT_STREQ("C:\\Tools\\Brisvane.1.0.INI", twoDots.Ini);
}

TEST(IniPathTest, AppendsWhenTheFileNameHasNoExtension)
{
    DerivedPaths plain("C:\\Tools\\Brisvane");
    EXPECT_STREQ("C:\\Tools\\Brisvane.INI", plain.Ini);
    EXPECT_STREQ("C:\\Tools\\Brisvane.LOG", plain.Log);
    EXPECT_STREQ("C:\\Tools\\Brisvane.CSV", plain.Csv);

    DerivedPaths dottedFolder("C:\\My.Tools\\Brisvane");
    EXPECT_STREQ("C:\\My.Tools\\Brisvane.INI", dottedFolder.Ini);
    EXPECT_STREQ("C:\\My.Tools\\Brisvane.CSV", dottedFolder.Csv);

    DerivedPaths forwardSlashes("C:/My.Tools/Brisvane");
    EXPECT_STREQ("C:/My.Tools/Brisvane.INI", forwardSlashes.Ini);
}

TEST(IniPathTest, NeverNamesTheProgramItself)
{
    DerivedPaths namedIni("C:\\Tools\\brisvane.ini");
    EXPECT_STREQ("C:\\Tools\\brisvane.ini.INI", namedIni.Ini);
    EXPECT_STREQ("C:\\Tools\\brisvane.LOG", namedIni.Log);

    // A path as long as the platform allows, without an extension: the extension still ends
    // the name, and the result is shorter than the buffer.
    std::string module = "C:\\" + std::string(PATH_CHARS - 1 - 3, 'x');
    ASSERT_EQ((size_t)PATH_CHARS - 1, module.size());
    DerivedPaths longPath(module.c_str());
    std::string ini = longPath.Ini;
    EXPECT_EQ((size_t)PATH_CHARS - 1, ini.size());
    EXPECT_EQ(".INI", ini.substr(ini.size() - 4));
    EXPECT_NE(module, ini);
}

TEST_F(SettingsFileTest, NoFileLoadsTheDefaultsAndSavesTheElevenKeysInOrder)
{
    fake.ModulePath = folder.Path("Brisvane.exe");
    Settings = SettingsRecord();
    IniPath[0] = 0;
    EXPECT_EQ(1, LoadSettingsNow());

    EXPECT_EQ(folder.Path("Brisvane.INI"), std::string(IniPath));
    EXPECT_EQ(folder.Path("Brisvane.LOG"), std::string(Settings.EventLogPath));
    EXPECT_EQ(folder.Path("Brisvane.CSV"), std::string(Settings.TrafficLogPath));
    EXPECT_EQ(ResetNever, Settings.ResetType);
    EXPECT_EQ(1, Settings.IgnoreLoopBack);
    EXPECT_FALSE(FileExists(IniPath));

    EXPECT_EQ(1, SaveSettingsNow());
    EXPECT_EQ("[Settings]\r\n"
              "ResetDate=0\r\n"
              "ResetType=2\r\n"
              "AlertType=2\r\n"
              "LimitIN=0\r\n"
              "LimitOUT=0\r\n"
              "AlertPercent=100\r\n"
              "EnableLog=0\r\n"
              "LogPathName=" + folder.Path("Brisvane.LOG") + "\r\n"
              "EnableTrafficLog=0\r\n"
              "TrafficLogPathName=" + folder.Path("Brisvane.CSV") + "\r\n"
              "IgnoreLoopBack=1\r\n",
              IniText());
}

TEST_F(SettingsFileTest, LoadReadsTheFileBesideTheProgram)
{
    fake.ModulePath = folder.Path("Brisvane.exe");
    WriteIni("[Settings]\r\nResetDate=15\r\nResetType=1\r\nLimitIN=5\r\nAlertPercent=80\r\n"
             "EnableLog=1\r\nLogPathName=D:\\Logs\\traffic events.log\r\nIgnoreLoopBack=0\r\n");
    Settings = SettingsRecord();
    LoadSettingsNow();

    EXPECT_EQ(15, Settings.ResetDate.wDay);
    EXPECT_EQ(0, Settings.ResetDate.wYear);
    EXPECT_EQ(ResetMonthly, Settings.ResetType);
    EXPECT_EQ(5ULL * GIGABYTE, Settings.LimitIN);
    EXPECT_EQ(0u, Settings.LimitOUT);
    EXPECT_EQ(80, Settings.AlertPercent);
    EXPECT_EQ(1, Settings.EnableLog);
    EXPECT_STREQ("D:\\Logs\\traffic events.log", Settings.EventLogPath);
    // Keys that are missing take the derived default.
    EXPECT_EQ(folder.Path("Brisvane.CSV"), std::string(Settings.TrafficLogPath));
    EXPECT_EQ(0, Settings.IgnoreLoopBack);

    SaveSettingsNow();
    EXPECT_NE(std::string::npos, IniText().find("\r\nResetDate=15\r\n"));
    EXPECT_NE(std::string::npos, IniText().find("\r\nLimitIN=5\r\n"));
}

TEST_F(SettingsFileTest, EverySettingOfTheDialogComesBackUnchanged)
{
    struct Schedule {
        int Type;
        SYSTEMTIME Date;
    } schedules[] = {
        {ResetDaily, SYSTEMTIME()}, {ResetNever, SYSTEMTIME()},
        {ResetMonthly, Day(0, 0, 1)}, {ResetMonthly, Day(0, 0, 29)},
        {ResetMonthly, Day(0, 0, 31)}, {ResetOnDate, Day(2026, 6, 1)},
        {ResetOnDate, Day(2028, 2, 29)}, {ResetOnDate, Day(2026, 12, 31)},
        {ResetOnDate, Day(1999, 1, 1)},
    };
    for (const Schedule& schedule : schedules) {
        Settings.ResetType = schedule.Type;
        Settings.ResetDate = schedule.Date;
        SaveSettingsNow();
        SettingsRecord read = ReadBack();
        EXPECT_EQ(schedule.Type, read.ResetType);
        ExpectSameTime(schedule.Date, read.ResetDate);
    }

    const unsigned __int64 gigabytes[] = {0, 1, 5, 999, 2147483647ULL, 2147483648ULL,
                                          4294967295ULL, 4294967296ULL, 18446744073ULL};
    for (unsigned __int64 limit : gigabytes) {
        Settings.LimitIN = limit * GIGABYTE;
        Settings.LimitOUT = (gigabytes[8] - limit) * GIGABYTE;
        SaveSettingsNow();
        SettingsRecord read = ReadBack();
        EXPECT_EQ(limit * GIGABYTE, read.LimitIN) << limit;
        EXPECT_EQ((gigabytes[8] - limit) * GIGABYTE, read.LimitOUT) << limit;
    }
    Settings.LimitIN = 2147483648ULL * GIGABYTE;
    SaveSettingsNow();
    EXPECT_NE(std::string::npos, IniText().find("\r\nLimitIN=2147483648\r\n"));

    for (int percent = 0; percent <= 255; percent++) {
        Settings.AlertPercent = (BYTE)percent;
        SaveSettingsNow();
        ASSERT_EQ(percent, ReadBack().AlertPercent);
    }

    for (int alert = AlertDistinct; alert <= AlertNone; alert++) {
        for (int flag = 0; flag <= 1; flag++) {
            Settings.AlertType = alert;
            Settings.EnableLog = flag;
            Settings.EnableTrafficLog = !flag;
            Settings.IgnoreLoopBack = flag;
            SaveSettingsNow();
            SettingsRecord read = ReadBack();
            EXPECT_EQ(alert, read.AlertType);
            EXPECT_EQ(flag, read.EnableLog);
            EXPECT_EQ(!flag, read.EnableTrafficLog);
            EXPECT_EQ(flag, read.IgnoreLoopBack);
        }
    }

    const char* paths[] = {"", "C:\\Logs\\events.log", "D:\\My Documents\\net traffic.csv",
                           "\\\\server\\share\\brisvane.log"};
    for (const char* path : paths) {
        SetText(Settings.EventLogPath, path);
        SetText(Settings.TrafficLogPath, path);
        SaveSettingsNow();
        SettingsRecord read = ReadBack();
        EXPECT_STREQ(path, read.EventLogPath);
        EXPECT_STREQ(path, read.TrafficLogPath);
    }
}

TEST_F(SettingsFileTest, DatesAreWrittenInOneFormThatEveryLocaleReadsBack)
{
    Settings.ResetType = ResetOnDate;
    Settings.ResetDate = Day(2026, 6, 1);
    SaveSettingsNow();
    EXPECT_NE(std::string::npos, IniText().find("\r\nResetDate=2026-06-01 00:00:00\r\n"));

    Settings.ResetDate.wHour = 14;
    Settings.ResetDate.wMinute = 30;
    SaveSettingsNow();
    EXPECT_NE(std::string::npos, IniText().find("\r\nResetDate=2026-06-01 14:30:00\r\n"));
    const LCID saved = Platform.UserLocale;
    const LCID unitedStates = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
    const LCID britain = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK), SORT_DEFAULT);
    for (LCID locale : {unitedStates, britain}) {
        Platform.UserLocale = locale;
        ExpectSameTime(Settings.ResetDate, ReadBack().ResetDate);
    }
    // A text of an older version is read in the user's own format, as it was written.
    DATE date;
    SYSTEMTIME read;
    Platform.UserLocale = britain;
    ASSERT_TRUE(ReadDateText("7/12/2026", &date) && VariantTimeToSystemTime(date, &read));
    EXPECT_EQ(12, read.wMonth);
    Platform.UserLocale = unitedStates;
    ASSERT_TRUE(ReadDateText("7/12/2026", &date) && VariantTimeToSystemTime(date, &read));
    EXPECT_EQ(7, read.wMonth);
    EXPECT_FALSE(ReadDateText("2026-04-31 00:00:00", &date) &&
                 VariantTimeToSystemTime(date, &read) && read.wMonth == 4);
    Platform.UserLocale = saved;
}

TEST_F(SettingsFileTest, MissingAndEmptyValuesGiveTheDefaults)
{
    WriteIni("[Settings]\r\nResetDate=\r\nResetType=\r\nAlertType=\r\nLimitIN=\r\n"
             "AlertPercent=\r\nEnableLog=\r\nLogPathName=\r\nIgnoreLoopBack=\r\n");
    Settings.ResetDate = Day(2026, 6, 1);
    Settings.ResetType = ResetDaily;
    Settings.IgnoreLoopBack = 0;
    ReadSettingsNow();
    ExpectSameTime(Day(2026, 6, 1), Settings.ResetDate);  // an empty date changes nothing
    EXPECT_EQ(ResetNever, Settings.ResetType);
    EXPECT_EQ(AlertNone, Settings.AlertType);
    EXPECT_EQ(0u, Settings.LimitIN);
    EXPECT_EQ(100, Settings.AlertPercent);
    EXPECT_EQ(0, Settings.EnableLog);
    EXPECT_STREQ("", Settings.EventLogPath);  // present but empty: no log path
    EXPECT_EQ(folder.Path("Brisvane.CSV"), std::string(Settings.TrafficLogPath));
    EXPECT_EQ(0, Settings.IgnoreLoopBack);  // keeps what the record held
}

TEST_F(SettingsFileTest, GarbageNumbersReadAsThePlatformReadsThemOrTheNearestValue)
{
    const std::string thirtyDigits = "123456789012345678901234567890";
    WriteIni("[Settings]\r\nResetType=daily\r\nAlertType=-1\r\nLimitIN=" + thirtyDigits +
             "\r\nLimitOUT=-5\r\nAlertPercent=300\r\nEnableLog=yes\r\nEnableTrafficLog=7\r\n"
             "IgnoreLoopBack=off\r\n");
    ReadSettingsNow();
    EXPECT_EQ(0, Settings.ResetType);  // no leading digits
    EXPECT_EQ(-1, Settings.AlertType);  // out of range: the alert is left alone
    EXPECT_EQ(18446744073ULL * GIGABYTE, Settings.LimitIN);  // as much as the field holds
    EXPECT_EQ(0u, Settings.LimitOUT);
    EXPECT_EQ(255, Settings.AlertPercent);  // not 300 - 256
    EXPECT_EQ(0, Settings.EnableLog);
    EXPECT_EQ(7, Settings.EnableTrafficLog);
    EXPECT_EQ(0, Settings.IgnoreLoopBack);

    WriteIni("[Settings]\r\nResetType=7\r\nAlertType=+1\r\nLimitIN=12GB\r\nAlertPercent=" +
             thirtyDigits + "\r\nLimitOUT=4294967296\r\n");
    ReadSettingsNow();
    EXPECT_EQ(7, Settings.ResetType);  // never due, and the dialog leaves its group alone
    EXPECT_EQ(AlertTotal, Settings.AlertType);
    EXPECT_EQ(12ULL * GIGABYTE, Settings.LimitIN);
    EXPECT_EQ(255, Settings.AlertPercent);
    EXPECT_EQ(4294967296ULL * GIGABYTE, Settings.LimitOUT);

    WriteIni("[Settings]\r\nAlertPercent=-20\r\n");
    ReadSettingsNow();
    EXPECT_EQ(0, Settings.AlertPercent);
    WriteIni("[Settings]\r\nAlertPercent=abc\r\n");
    ReadSettingsNow();
    EXPECT_EQ(0, Settings.AlertPercent);
}

TEST_F(SettingsFileTest, ResetDateTakesADateOrADayOfTheMonth)
{
    Settings.ResetDate = Day(0, 0, 9);
    Settings.ResetDate.wHour = 3;  // a day alone leaves the other fields as they are

    WriteSettingsKey("ResetDate", "15");
    ReadSettingsNow();
    EXPECT_EQ(15, Settings.ResetDate.wDay);
    EXPECT_EQ(3, Settings.ResetDate.wHour);
    EXPECT_EQ(0, Settings.ResetDate.wYear);

    WriteSettingsKey("ResetDate", "12/6/2026 2:03:27 PM");
    ReadSettingsNow();
    SYSTEMTIME expected = Day(2026, 12, 6);
    expected.wHour = 14;
    expected.wMinute = 3;
    expected.wSecond = 27;
    ExpectSameTime(expected, Settings.ResetDate);

    // No date: the leading number is the day, whatever it is; none gives day 0.
    const char* texts[] = {"abc", "45", "7 days"};
    const int days[] = {0, 45, 7};
    for (int i = 0; i < 3; i++) {
        Settings.ResetDate = Day(0, 0, 9);
        WriteSettingsKey("ResetDate", texts[i]);
        ReadSettingsNow();
        EXPECT_EQ(days[i], Settings.ResetDate.wDay) << texts[i];
        EXPECT_EQ(0, Settings.ResetDate.wYear) << texts[i];
    }

    // A date in another locale is no date here; its leading number is taken as the day.
    Settings.ResetDate = Day(0, 0, 9);
    WriteSettingsKey("ResetDate", "6. Dezember 2026");
    ReadSettingsNow();
    EXPECT_EQ(6, Settings.ResetDate.wDay);
    EXPECT_EQ(0, Settings.ResetDate.wYear);
}

TEST_F(SettingsFileTest, NoIniPathReadsAndWritesNothing)
{
    IniPath[0] = 0;
    Settings.ResetType = ResetDaily;
    EXPECT_EQ(1, ReadSettingsNow());
    EXPECT_EQ(ResetDaily, Settings.ResetType);
    EXPECT_EQ(1, SaveSettingsNow());
    char text[64];
    GetPrivateProfileStringA("Settings", "ResetType", "none", text, sizeof(text), "win.ini");
    EXPECT_STREQ("none", text);
    unsigned __int64 total = 7;
    EXPECT_EQ(1, ReadIniU64Now("00-00-00-00-00-00", "Total_in", &total));
    EXPECT_EQ(0u, total);
}

}  // namespace

namespace {

std::string ModulePath;

int FakeModuleFileName(char* path, size_t size)
{
    if (ModulePath.size() + 1 > size)
        return 0;
    memcpy(path, ModulePath.c_str(), ModulePath.size() + 1);
    return 1;
}


}  // namespace

TEST_F(SettingsFileTest, DataGoesPerUserWhenItCannotStayBesideTheProgram)
{
    const PlatformCalls saved = Platform;
    FakeAppDataFolder = folder.Path("AppData");
    ASSERT_TRUE(CreateDirectoryA(FakeAppDataFolder.c_str(), NULL));
    Platform.ReadAppDataFolder = ReadFakeAppDataFolder;
    const std::string perUser = FakeAppDataFolder + "\\Brisvane\\Brisvane.INI";
    char log[PATH_CHARS], csv[PATH_CHARS];

    // A folder of its own that can be written: portable, beside the program.
    const std::string program = folder.Path("Brisvane.exe");
    ChooseDataFolder(program.c_str(), log, csv);
    EXPECT_EQ(folder.Path("Brisvane.INI"), IniPath);
    EXPECT_FALSE(FileExists(folder.Path("~Brisvane.probe")));

    // A folder where no file can be made (here a file stands where the folder would be).
    FILE* blocker = fopen(folder.Path("blocked").c_str(), "wb");
    ASSERT_NE((FILE*)NULL, blocker);
    fclose(blocker);
    ChooseDataFolder(folder.Path("blocked\\Brisvane.exe").c_str(), log, csv);
    EXPECT_EQ(perUser, IniPath);

    // A program folder path of 250 characters leaves no room for the INI's path.
    std::string deep = folder.Root();
    deep += "\\" + std::string(250 - deep.size() - 1, 'd');
    ASSERT_EQ(250u, deep.size());
    ChooseDataFolder((deep + "\\Brisvane.exe").c_str(), log, csv);
    EXPECT_EQ(perUser, IniPath);
    EXPECT_EQ(FakeAppDataFolder + "\\Brisvane\\Brisvane.LOG", log);
    EXPECT_EQ(FakeAppDataFolder + "\\Brisvane", DataFolder);

    // An installed copy keeps its data per user; the INI beside it is where it starts from,
    // whole, and the next save goes per user.
    DeleteFileA(perUser.c_str());
    SetText(IniPath, folder.Path("Brisvane.INI"));
    WriteIni("[Settings]\r\nLimitIN=7\r\n[00-1A-2B-3C-4D-5E]\r\nTotal_in=600\r\n");
    FILE* mark = fopen(folder.Path("Brisvane.installed").c_str(), "wb");
    ASSERT_NE((FILE*)NULL, mark);
    fclose(mark);
    ChooseDataFolder(program.c_str(), log, csv);
    EXPECT_EQ(perUser, IniPath);
    EXPECT_EQ("[Settings]\r\nLimitIN=7\r\n[00-1A-2B-3C-4D-5E]\r\nTotal_in=600\r\n",
              ReadFileText(perUser));
    Settings.LimitIN = 9 * GIGABYTE;
    EXPECT_EQ(1, SaveSettingsNow());
    EXPECT_EQ(9, (int)GetPrivateProfileIntA("Settings", "LimitIN", 0, perUser.c_str()));
    EXPECT_NE(std::string::npos, ReadFileText(folder.Path("Brisvane.INI")).find("LimitIN=7"));

    // A save that a killed process left half done is cleared away at the next start.
    FILE* leftover = fopen((FakeAppDataFolder + "\\Brisvane\\Brisvane.TMP").c_str(), "wb");
    ASSERT_NE((FILE*)NULL, leftover);
    fclose(leftover);
    ModulePath = program;
    Platform.ReadModuleFileName = FakeModuleFileName;
    LoadSettingsNow();
    EXPECT_EQ(perUser, IniPath);
    EXPECT_FALSE(FileExists(FakeAppDataFolder + "\\Brisvane\\Brisvane.TMP"));
    EXPECT_EQ(9 * GIGABYTE, Settings.LimitIN);
    Platform = saved;
}
