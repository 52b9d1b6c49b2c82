// The section "SpeedView" of the INI file: the defaults without it, what is read and what is
// kept when a value cannot be read, and a save read back.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdio.h>
#include <string>

#include "SpeedViewChoices.h"
#include "TestSupport.h"

namespace {

SpeedViewChoices ReadFrom(const std::string& text)
{
    TempFolder folder;
    std::string path = folder.Path("Brisvane.INI");
    EXPECT_TRUE(WriteFileText(path, text));
    IniDocument document;
    EXPECT_EQ(1, document.Read(path.c_str()));
    return ReadSpeedViewChoices(document);
}

}  // namespace

TEST(SpeedViewChoices, AFileWithoutTheSectionShowsTheProgramIconOnly)
{
    SpeedViewChoices choices = ReadFrom("[Settings]\r\nTrayIcon=2\r\nWindow=1\r\n");
    EXPECT_EQ(SpeedTrayProgramIcon, choices.TrayMode);
    EXPECT_EQ(0, choices.WindowShown);
    EXPECT_EQ(0, choices.AllAdapters);
    EXPECT_EQ(0, choices.Bits);
    EXPECT_EQ(0, choices.ClickThrough);
    EXPECT_EQ(100, choices.Opacity);
    EXPECT_EQ(0, choices.HasPlace);
}

TEST(SpeedViewChoices, ReadsEveryKeyAndKeepsDefaultsForUnreadableOnes)
{
    SpeedViewChoices choices = ReadFrom(
        "[SpeedView]\r\nTrayIcon = 2\r\nWindow=1\r\nAdapter=1\r\nBits=1\r\nClickThrough=1\r\n"
        "Opacity=80\r\nLeft=-300\r\nTop=40\r\nWidth=176\r\nHeight=56\r\nTrayIcon=1\r\n");
    EXPECT_EQ(SpeedTrayGraph, choices.TrayMode);  // the first line of a key counts
    EXPECT_EQ(1, choices.WindowShown);
    EXPECT_EQ(1, choices.AllAdapters);
    EXPECT_EQ(1, choices.Bits);
    EXPECT_EQ(1, choices.ClickThrough);
    EXPECT_EQ(80, choices.Opacity);
    ASSERT_EQ(1, choices.HasPlace);
    EXPECT_EQ(-300, choices.Place.Left);
    EXPECT_EQ(56, choices.Place.Height);

    choices = ReadFrom("[SpeedView]\r\nTrayIcon=3\r\nWindow=yes\r\nBits=-1\r\nOpacity=150\r\n"
                       "Left=10\r\nTop=10\r\nWidth=176\r\n");
    EXPECT_EQ(SpeedTrayProgramIcon, choices.TrayMode);
    EXPECT_EQ(0, choices.WindowShown);
    EXPECT_EQ(0, choices.Bits);
    EXPECT_EQ(100, choices.Opacity);
    EXPECT_EQ(0, choices.HasPlace);  // the height is missing
    // A percentage not offered is the next offered one up.
    EXPECT_EQ(80, ReadFrom("[SpeedView]\r\nOpacity=70\r\n").Opacity);
    EXPECT_EQ(60, ReadFrom("[SpeedView]\r\nOpacity=0\r\n").Opacity);
}

TEST(SpeedViewChoices, ASaveReadsBackAndLeavesOtherSectionsAlone)
{
    TempFolder folder;
    std::string path = folder.Path("Brisvane.INI");
    WritePrivateProfileStringA("Settings", "EnableLog", "1", path.c_str());
    SpeedViewChoices choices = DefaultSpeedViewChoices();
    choices.TrayMode = SpeedTraySpeed;
    choices.WindowShown = 1;
    choices.Opacity = 60;
    IniDocument document;
    ASSERT_EQ(1, document.Read(path.c_str()));
    EXPECT_EQ(1, StoreSpeedViewChoices(choices, document));
    EXPECT_EQ(std::string::npos, std::string(document.Text()).find("Left="));  // no place yet
    choices.HasPlace = 1;
    choices.Place = {1700, -20, 176, 56};
    EXPECT_EQ(1, StoreSpeedViewChoices(choices, document));
    DWORD error;
    ASSERT_EQ(1, document.WriteReplacing(path.c_str(), &error));

    EXPECT_EQ(1u, GetPrivateProfileIntA("Settings", "EnableLog", 0, path.c_str()));
    EXPECT_EQ(1u, GetPrivateProfileIntA("SpeedView", "TrayIcon", 0, path.c_str()));
    SpeedViewChoices back = ReadFrom(ReadFileText(path));
    EXPECT_EQ(SpeedTraySpeed, back.TrayMode);
    EXPECT_EQ(1, back.WindowShown);
    EXPECT_EQ(60, back.Opacity);
    ASSERT_EQ(1, back.HasPlace);
    EXPECT_EQ(1700, back.Place.Left);
    EXPECT_EQ(-20, back.Place.Top);
}
