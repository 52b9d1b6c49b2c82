// "Start with Windows" in a registry key of the test's own: the value is written, read back
// and removed; the real Run key is never touched.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "StartWithWindows.h"

TEST(StartWithWindows, WrittenReadBackAndRemovedInATestKey)
{
    EXPECT_EQ(HKEY_CURRENT_USER, RunKey.Root);  // the shipped program's key
    EXPECT_STREQ("Software\\Microsoft\\Windows\\CurrentVersion\\Run", RunKey.Path);
    RunKeyLocation saved = RunKey;
    std::string path = "Software\\BrisvaneTest\\Run-" + std::to_string(GetCurrentProcessId());
    RunKey.Path = path.c_str();
    const char program[] = "C:\\Program Files\\Brisvane\\Brisvane.exe";
    auto stored = [&]() {
        char data[512] = "";
        DWORD size = sizeof(data) - 1;
        RegGetValueA(HKEY_CURRENT_USER, path.c_str(), "Brisvane", RRF_RT_REG_SZ, NULL, data, &size);
        return std::string(data);
    };
    auto store = [&](const char* command) {
        RegSetKeyValueA(HKEY_CURRENT_USER, path.c_str(), "Brisvane", REG_SZ, command,
                        (DWORD)strlen(command) + 1);
    };

    EXPECT_EQ(0, StartsWithWindows(program));
    EXPECT_EQ(1, SetStartWithWindows(1, program));
    EXPECT_EQ("\"C:\\Program Files\\Brisvane\\Brisvane.exe\" /s", stored());
    EXPECT_EQ(1, StartsWithWindows(program));
    EXPECT_EQ(1, SetStartWithWindows(0, program));
    EXPECT_EQ("", stored());
    EXPECT_EQ(0, StartsWithWindows(program));
    EXPECT_EQ(1, SetStartWithWindows(0, program));  // removing a missing value is no failure

    // Only a value that starts this program counts, letter case and switch aside.
    store("\"C:\\Program Files\\Other\\Brisvane.exe\" /s");
    EXPECT_EQ(0, StartsWithWindows(program));
    store("\"c:\\program files\\brisvane\\BRISVANE.EXE\"");
    EXPECT_EQ(1, StartsWithWindows(program));
    store("C:\\Tools\\Brisvane.exe /s");
    EXPECT_EQ(1, StartsWithWindows("C:\\Tools\\Brisvane.exe"));
    EXPECT_EQ(0, StartsWithWindows("C:\\Tools\\Brisvane"));

    RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\BrisvaneTest");
    RunKey = saved;
}
