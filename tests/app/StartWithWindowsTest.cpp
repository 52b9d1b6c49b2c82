// "Start with Windows" in a registry key of the test's own: the value is written, read back
// and removed; the real Run key is never touched.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "StartWithWindows.h"
#include "Utf8Text.h"

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

TEST(StartWithWindows, APathOutsideTheCodePageRoundTripsAsItself)
{
    RunKeyLocation saved = RunKey;
    std::string path = "Software\\BrisvaneTest\\RunWide-" + std::to_string(GetCurrentProcessId());
    RunKey.Path = path.c_str();
    // "Z:\Łukasz-流量\Brisvane.exe", as the program holds it (UTF-8) and as the registry does.
    const char program[] = "Z:\\\xC5\x81ukasz-\xE6\xB5\x81\xE9\x87\x8F\\Brisvane.exe";
    const wchar_t command[] = L"\"Z:\\\x0141ukasz-\x6D41\x91CF\\Brisvane.exe\" /s";

    EXPECT_EQ(1, SetStartWithWindows(1, program));
    wchar_t data[512] = L"";
    DWORD size = sizeof(data) - sizeof(wchar_t);
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, WideText(path.c_str()), L"Brisvane",
                                          RRF_RT_REG_SZ, NULL, data, &size));
    EXPECT_EQ(std::wstring(command), std::wstring(data));
    // The check mark: this very path, letter case aside beyond ASCII too; a path that lost its
    // characters to the code page is another program.
    EXPECT_EQ(1, StartsWithWindows(program));
    EXPECT_EQ(1, StartsWithWindows("z:\\\xC5\x82UKASZ-\xE6\xB5\x81\xE9\x87\x8F\\brisvane.exe"));
    EXPECT_EQ(0, StartsWithWindows("Z:\\Lukasz-??\\Brisvane.exe"));

    RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\BrisvaneTest");
    RunKey = saved;
}
