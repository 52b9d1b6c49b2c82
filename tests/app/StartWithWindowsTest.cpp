// "Start with Windows" against a registry key of the test's own: the value is written, read
// back and removed; the real Run key is never touched.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "StartWithWindows.h"

namespace {

class StartWithWindowsTest : public testing::Test {
protected:
    void SetUp() override
    {
        saved = RunKey;
        path = "Software\\BrisvaneTest\\Run-" + std::to_string(GetCurrentProcessId());
        RunKey.Path = path.c_str();
    }
    void TearDown() override
    {
        RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\BrisvaneTest");
        RunKey = saved;
    }
    // The value as stored, or "" when there is none.
    std::string Stored()
    {
        char data[512] = "";
        DWORD size = sizeof(data) - 1;
        DWORD type = 0;
        if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), RUN_VALUE_NAME, RRF_RT_ANY, &type, data,
                         &size) != ERROR_SUCCESS || type != REG_SZ)
            return "";
        return data;
    }
    void Store(const char* command)
    {
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_CURRENT_USER, path.c_str(), RUN_VALUE_NAME,
                                                 REG_SZ, command, (DWORD)strlen(command) + 1));
    }

    RunKeyLocation saved;
    std::string path;
};

const char Program[] = "C:\\Program Files\\Brisvane\\Brisvane.exe";

}  // namespace

TEST_F(StartWithWindowsTest, TheShippedProgramUsesTheUsersRunKey)
{
    EXPECT_EQ(HKEY_CURRENT_USER, saved.Root);
    EXPECT_STREQ("Software\\Microsoft\\Windows\\CurrentVersion\\Run", saved.Path);
    EXPECT_STREQ("Brisvane", RUN_VALUE_NAME);
}

TEST_F(StartWithWindowsTest, WrittenReadBackAndRemoved)
{
    EXPECT_EQ(0, StartsWithWindows(Program));
    ASSERT_EQ(1, SetStartWithWindows(1, Program));
    EXPECT_EQ("\"C:\\Program Files\\Brisvane\\Brisvane.exe\" /s", Stored());
    EXPECT_EQ(1, StartsWithWindows(Program));

    ASSERT_EQ(1, SetStartWithWindows(0, Program));
    EXPECT_EQ("", Stored());
    EXPECT_EQ(0, StartsWithWindows(Program));
    // Removing it again, or from a key that is not there, is no failure.
    EXPECT_EQ(1, SetStartWithWindows(0, Program));
    RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
    EXPECT_EQ(1, SetStartWithWindows(0, Program));
}

TEST_F(StartWithWindowsTest, CheckedOnlyWhenTheValuePointsAtThisProgram)
{
    Store("\"C:\\Program Files\\Other\\Brisvane.exe\" /s");
    EXPECT_EQ(0, StartsWithWindows(Program));
    Store("\"c:\\program files\\brisvane\\BRISVANE.EXE\"");  // letter case and switch aside
    EXPECT_EQ(1, StartsWithWindows(Program));
    Store("C:\\Tools\\Brisvane.exe /s");
    EXPECT_EQ(1, StartsWithWindows("C:\\Tools\\Brisvane.exe"));
    EXPECT_EQ(0, StartsWithWindows("C:\\Tools\\Brisvane"));
    Store("\"C:\\Program Files\\Brisvane\\Brisvane.exe");  // no closing quote
    EXPECT_EQ(0, StartsWithWindows(Program));
    // Writing replaces a value that points elsewhere.
    Store("\"C:\\Old\\Brisvane.exe\" /s");
    ASSERT_EQ(1, SetStartWithWindows(1, Program));
    EXPECT_EQ(1, StartsWithWindows(Program));
}

TEST(RunCommand, QuotedPathAndSwitchWithinTheBuffer)
{
    char command[64];
    EXPECT_EQ(1, FormatRunCommand("C:\\A B\\Brisvane.exe", command, sizeof(command)));
    EXPECT_STREQ("\"C:\\A B\\Brisvane.exe\" /s", command);
    char small[10];
    EXPECT_EQ(0, FormatRunCommand("C:\\A B\\Brisvane.exe", small, sizeof(small)));
    EXPECT_STREQ("", small);
    EXPECT_EQ(1, RunCommandStarts("\"C:\\A B\\Brisvane.exe\" /s", "C:\\A B\\Brisvane.exe"));
    EXPECT_EQ(0, RunCommandStarts("\"C:\\A B\\Brisvane.exe\" /s", "C:\\A B\\Brisvane.ex"));
    EXPECT_EQ(0, RunCommandStarts("", "C:\\A B\\Brisvane.exe"));
}
