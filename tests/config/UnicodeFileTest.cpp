// Names outside the ANSI code page (1252 in the tests): INI files of every form read back as the
// same characters, and a program folder or application data folder of such a name keeps the data.
#include <gtest/gtest.h>

#include "FakePlatform.h"

#include <string>

#include "CodePageText.h"
#include "DataFolder.h"
#include "Utf8Text.h"
#include "monitor/MonitorTestSupport.h"
#include "SettingsTestSupport.h"

namespace {

// "Łukasz-流量": Ł is not in code page 1252, 流量 in no European one.
const char Name[] = "\xC5\x81ukasz-\xE6\xB5\x81\xE9\x87\x8F";
const char Utf8Mark[] = "\xEF\xBB\xBF";

class UnicodeFileTest : public CoreTest {
protected:
    std::string Named(const std::string& tail) { return folder.Path(Name) + tail; }
    std::string ReadBackPath()
    {
        Settings = SettingsRecord();
        ReadSettingsNow();
        return Settings.EventLogPath;
    }
    SettingsRecord ReadBack()
    {
        Settings = SettingsRecord();
        ReadSettingsNow();
        return Settings;
    }
    void MakeNamedFolder() { ASSERT_TRUE(CreateDirectoryW(WideText(Named("").c_str()), NULL)); }
};


}  // namespace

TEST(CodePageTest, TheTestsRunUnderTheWesternCodePage)
{
    // Without it the cases below would not reach past the code page.
    EXPECT_EQ(1252u, GetACP());
    EXPECT_EQ(1, FitsAnsi("Caf\xC3\xA9", 5));  // é is in 1252
    EXPECT_EQ(0, FitsAnsi(Name, strlen(Name)));
    GrowArray<char> text;
    ASSERT_EQ(5, CodePageToUtf8(CP_ACP, "Caf\xE9", 4, &text));
    EXPECT_STREQ("Caf\xC3\xA9", text.Data());
    int exact;
    ASSERT_EQ(4, Utf8ToAnsi("Caf\xC3\xA9", 5, &text, &exact));
    EXPECT_STREQ("Caf\xE9", text.Data());
    EXPECT_EQ(1, exact);
    Utf8ToAnsi(Name, strlen(Name), &text, &exact);
    EXPECT_EQ(0, exact);
}

TEST_F(UnicodeFileTest, IniFilesOfEveryFormReadBackAsTheSameCharacters)
{
    // Written by an older version in the ANSI code page: read as before.
    WriteIni("[Settings]\r\nLogPathName=C:\\Caf\xE9\\Brisvane.LOG\r\n");
    EXPECT_EQ("C:\\Caf\xC3\xA9\\Brisvane.LOG", ReadBackPath());
    // Saved again with nothing beyond the code page: still ANSI, so older versions read it.
    ASSERT_EQ(1, SaveSettingsNow());
    std::string text = IniText();
    EXPECT_NE(std::string::npos, text.find("LogPathName=C:\\Caf\xE9\\Brisvane.LOG\r\n"));
    EXPECT_NE(0u, text.compare(0, 3, Utf8Mark));

    // A path beyond it: the file becomes UTF-8 after its mark and reads back exactly; the rest
    // of the file comes along unchanged.
    WriteIni("[Settings]\r\nEnableLog=1\r\n[00-1A-2B-3C-4D-5E]\r\nTotal_in=600\r\n");
    Settings = SettingsRecord();
    ReadSettingsNow();
    std::string path = std::string("C:\\") + Name + "\\Brisvane.LOG";
    SetText(Settings.EventLogPath, path);
    ASSERT_EQ(1, SaveSettingsNow());
    text = IniText();
    EXPECT_EQ(0u, text.compare(0, 3, Utf8Mark));
    EXPECT_NE(std::string::npos, text.find("LogPathName=" + path + "\r\n"));
    EXPECT_NE(std::string::npos, text.find("[00-1A-2B-3C-4D-5E]\r\nTotal_in=600\r\n"));
    EXPECT_EQ(path, ReadBackPath());
    EXPECT_EQ(1, Settings.EnableLog);
    unsigned __int64 total = 0;
    ReadIniU64Now("00-1A-2B-3C-4D-5E", "Total_in", &total);
    EXPECT_EQ(600u, total);
    // Taken back into the code page: ANSI again.
    SetText(Settings.EventLogPath, "C:\\Caf\xC3\xA9.LOG");
    ASSERT_EQ(1, SaveSettingsNow());
    EXPECT_NE(0u, IniText().compare(0, 3, Utf8Mark));

    // UTF-8 without its mark, as Notepad saves a file edited by hand.
    WriteIni(std::string("[Settings]\r\nLogPathName=C:\\") + Name + "\\b.LOG\r\n");
    EXPECT_EQ(std::string("C:\\") + Name + "\\b.LOG", ReadBackPath());

    // UTF-16 after its mark, as a text editor may save it; a quoted value loses its quotes.
    const wchar_t wide[] = L"\xFEFF[Settings]\r\nLogPathName=\"C:\\\x0141\\a.LOG\"\r\nResetType=1\r\n";
    WriteIni(std::string((const char*)wide, sizeof(wide) - sizeof(wchar_t)));
    EXPECT_EQ("C:\\\xC5\x81\\a.LOG", ReadBackPath());
    EXPECT_EQ(ResetMonthly, Settings.ResetType);

    // The same in big-endian order, as some editors save "Unicode big endian": read alike, and
    // saved back as one whole text of the code page, the adapter's totals kept.
    const wchar_t bigText[] = L"\xFEFF[Settings]\r\nResetType=1\r\n"
                              L"[00-1A-2B-3C-4D-5E]\r\nTotal_in=777777\r\n";
    std::string big;
    for (size_t i = 0; i + 1 < sizeof(bigText) / sizeof(wchar_t); i++)
        big += std::string(1, (char)(bigText[i] >> 8)) + (char)(bigText[i] & 0xFF);
    WriteIni(big);
    EXPECT_EQ(ResetMonthly, ReadBack().ResetType);
    ASSERT_EQ(1, SaveSettingsNow());
    text = IniText();
    EXPECT_EQ(0u, text.find("[Settings]\r\n")) << text;
    EXPECT_EQ(std::string::npos, text.find('\0'));
    EXPECT_NE(std::string::npos, text.find("[00-1A-2B-3C-4D-5E]\r\nTotal_in=777777\r\n"));
}

TEST_F(UnicodeFileTest, AProgramFolderOrDataFolderOfSuchANameKeepsTheData)
{
    MakeNamedFolder();
    char log[PATH_CHARS], csv[PATH_CHARS];
    // A portable copy: beside itself.
    ChooseDataFolder(Named("\\Brisvane.exe").c_str(), log, csv);
    EXPECT_EQ(Named("\\Brisvane.INI"), IniPath);
    EXPECT_EQ(Named(""), DataFolder);
    EXPECT_EQ(Named("\\Brisvane.LOG"), log);
    ASSERT_EQ(1, SaveSettingsNow());
    EXPECT_TRUE(FileExists(Named("\\Brisvane.INI")));

    // An installed copy, with the user's application data folder of such a name.
    const PlatformCalls saved = Platform;
    FakeAppDataFolder = Named("\\AppData");
    ASSERT_TRUE(CreateDirectoryW(WideText(FakeAppDataFolder.c_str()), NULL));
    Platform.ReadAppDataFolder = ReadFakeAppDataFolder;
    FILE* mark = _wfopen(WideText(Named("\\Brisvane.installed").c_str()), L"wb");
    ASSERT_NE((FILE*)NULL, mark);
    fclose(mark);
    ChooseDataFolder(Named("\\Brisvane.exe").c_str(), log, csv);
    Platform = saved;
    EXPECT_EQ(FakeAppDataFolder + "\\Brisvane\\Brisvane.INI", IniPath);
    EXPECT_EQ(FakeAppDataFolder + "\\Brisvane\\Brisvane.CSV", csv);
    // The INI beside it was the first content there.
    EXPECT_TRUE(FileExists(FakeAppDataFolder + "\\Brisvane\\Brisvane.INI"));
    Settings.LimitIN = 3 * GIGABYTE;
    ASSERT_EQ(1, SaveSettingsNow());
    EXPECT_EQ(3 * GIGABYTE, ReadBack().LimitIN);
}
