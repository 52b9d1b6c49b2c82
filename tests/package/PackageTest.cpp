// The release packages as a Windows user gets them. package-test.sh runs this in a fresh Wine
// prefix of its own, with the packages' version, the installer and the unpacked ZIPs named in
// the environment. The steps of the installer test build on each other, in one test.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

const char MainClass[] = "BrisvaneAtl_class";
const char RunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Brisvane";
const char Copyright[] = "Copyright (C) 2026 the Brisvane developers";
const DWORD SetupDeadlineMs = 120000;
const DWORD ProgramDeadlineMs = 30000;
const DWORD PollMs = 50;
const DWORD CloseTryMs = 250;

std::string Environment(const char* name)
{
    const char* value = getenv(name);
    return value != NULL ? value : "";
}

std::string ShellFolder(int folder)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(NULL, folder, NULL, SHGFP_TYPE_CURRENT, path);
    return path;
}

template <typename Condition>
bool WaitUntil(Condition done, DWORD deadlineMs)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > deadlineMs)
            return done();
        Sleep(PollMs);
    }
    return true;
}

// A text of a file's version resource, as Windows reads it.
std::string VersionText(const std::string& path, const char* name)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return "(no version resource)";
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        return "(unreadable version resource)";
    char* value = NULL;
    UINT length = 0;
    std::string query = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(block.data(), query.c_str(), (void**)&value, &length) || length == 0)
        return "(no " + std::string(name) + ")";
    return value;
}

// The binary file and product versions of the resource, as "a.b.c.d a.b.c.d".
std::string FixedVersions(const std::string& path)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    std::vector<char> block(size + 1);
    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    if (size == 0 || !GetFileVersionInfoA(path.c_str(), 0, size, block.data()) ||
        !VerQueryValueA(block.data(), "\\", (void**)&fixed, &length) || fixed == NULL)
        return "(no fixed version)";
    char text[64];
    _snprintf(text, sizeof(text), "%u.%u.%u.%u %u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS),
              LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
              LOWORD(fixed->dwFileVersionLS), HIWORD(fixed->dwProductVersionMS),
              LOWORD(fixed->dwProductVersionMS), HIWORD(fixed->dwProductVersionLS),
              LOWORD(fixed->dwProductVersionLS));
    text[sizeof(text) - 1] = 0;
    return text;
}

// The machine an exe is built for, from its PE header; 0 when it is none.
WORD Machine(const std::string& path)
{
    std::string image = ReadFileText(path);
    if (image.size() < sizeof(IMAGE_DOS_HEADER))
        return 0;
    LONG at = ((const IMAGE_DOS_HEADER*)image.data())->e_lfanew;
    if (at <= 0 || image.size() < (size_t)at + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER) ||
        image.compare(at, 4, std::string("PE\0\0", 4)) != 0)
        return 0;
    return ((const IMAGE_FILE_HEADER*)(image.data() + at + 4))->Machine;
}

std::string RegistryText(HKEY root, const char* key, const char* name)
{
    char value[1024] = "";
    DWORD size = sizeof(value) - 1;
    if (RegGetValueA(root, key, name, RRF_RT_REG_SZ, NULL, value, &size) != ERROR_SUCCESS)
        return "(none)";
    return value;
}

bool KeyExists(HKEY root, const char* key)
{
    HKEY opened;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

// Starts a program as a user without administrator rights starts it. Wine runs everything
// elevated; its elevated token has a limited twin, as under UAC.
HANDLE StartAsUser(const std::string& commandLine)
{
    HANDLE own = NULL;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own))
        return NULL;
    TOKEN_LINKED_TOKEN linked = {};
    DWORD size = 0;
    BOOL found = GetTokenInformation(own, TokenLinkedToken, &linked, sizeof(linked), &size);
    CloseHandle(own);
    if (!found)
        return NULL;
    HANDLE limited = NULL;
    BOOL made = DuplicateTokenEx(linked.LinkedToken, TOKEN_ALL_ACCESS, NULL,
                                 SecurityImpersonation, TokenPrimary, &limited);
    CloseHandle(linked.LinkedToken);
    if (!made)
        return NULL;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    BOOL started = CreateProcessAsUserA(limited, NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL,
                                        &startup, &process);
    CloseHandle(limited);
    if (!started)
        return NULL;
    CloseHandle(process.hThread);
    return process.hProcess;
}

// Runs a program as the user and gives its exit code; STILL_ACTIVE when it does not end.
DWORD RunAsUser(const std::string& commandLine)
{
    HANDLE process = StartAsUser(commandLine);
    if (process == NULL)
        return (DWORD)-1;
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process, SetupDeadlineMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return code;
}

// The running Brisvane's process, or null.
HANDLE OpenRunning()
{
    HWND window = FindWindowA(MainClass, NULL);
    DWORD id = 0;
    if (window == NULL || GetWindowThreadProcessId(window, &id) == 0)
        return NULL;
    return OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
}

DWORD ExitCode(HANDLE process)
{
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process, &code);
    return code;
}

// Ends the program as the uninstaller does: a visible window only hides at WM_CLOSE, a
// hidden one saves and ends the program.
bool EndPolitely(HANDLE process)
{
    DWORD start = GetTickCount();
    while (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        if (GetTickCount() - start > ProgramDeadlineMs)
            return false;
        HWND window = FindWindowA(MainClass, NULL);
        if (window != NULL)
            PostMessageA(window, WM_CLOSE, 0, 0);
        WaitForSingleObject(process, CloseTryMs);
    }
    return true;
}

std::string Quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

// The ZIPs' exes: the version of the file names in both text and binary fields, the right
// machine, and LICENSE's copyright.
void ExpectZippedExe(const char* folderVariable, WORD machine)
{
    std::string version = Environment("BRISVANE_PACKAGE_VERSION");
    std::string folder = Environment(folderVariable);
    SCOPED_TRACE(folder);
    ASSERT_FALSE(version.empty());
    ASSERT_FALSE(folder.empty());
    std::string exe = folder + "\\Brisvane.exe";
    EXPECT_EQ(version, VersionText(exe, "FileVersion"));
    EXPECT_EQ(version, VersionText(exe, "ProductVersion"));
    EXPECT_EQ(version + " " + version, FixedVersions(exe));
    EXPECT_EQ(machine, Machine(exe));
    EXPECT_EQ(Copyright, VersionText(exe, "LegalCopyright"));
    std::string license = ReadFileText(folder + "\\LICENSE.txt");
    EXPECT_NE(std::string::npos, license.find(std::string("\r\n") + Copyright + "\r\n"));
}

}  // namespace

TEST(Packages, ZippedExesCarryTheVersionOfTheFileNames)
{
    ExpectZippedExe("BRISVANE_ZIPPED_X64", IMAGE_FILE_MACHINE_AMD64);
    ExpectZippedExe("BRISVANE_ZIPPED_X86", IMAGE_FILE_MACHINE_I386);
}

TEST(Packages, InstallerCarriesTheVersion)
{
    std::string setup = Environment("BRISVANE_SETUP");
    EXPECT_EQ(Environment("BRISVANE_PACKAGE_VERSION"), VersionText(setup, "ProductVersion"));
    EXPECT_EQ(Copyright, VersionText(setup, "LegalCopyright"));
}

TEST(Installer, InstallRunUpgradeAndUninstallForOneUser)
{
    const std::string version = Environment("BRISVANE_PACKAGE_VERSION");
    const std::string setup = Environment("BRISVANE_SETUP");
    ASSERT_FALSE(version.empty());
    ASSERT_TRUE(FileExists(setup)) << setup;
    const std::string folder = ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Brisvane";
    const std::string exe = folder + "\\Brisvane.exe";
    const std::string runEntry = Quoted(exe) + " /s";
    const std::string shortcut = ShellFolder(CSIDL_PROGRAMS) + "\\Brisvane.lnk";
    const std::string data = ShellFolder(CSIDL_APPDATA) + "\\Brisvane";
    const char* installedFiles[] = {"Brisvane.exe", "brisvane-report.exe", "Brisvane.installed",
                                    "uninstall.exe", "README.txt", "LICENSE.txt",
                                    "BUILDINFO.txt"};
    ASSERT_EQ((HWND)NULL, FindWindowA(MainClass, NULL)) << "the prefix is not fresh";
    ASSERT_FALSE(FileExists(folder)) << "the prefix is not fresh";

    {
        SCOPED_TRACE("silent install by a user without administrator rights");
        ASSERT_EQ(0u, RunAsUser(Quoted(setup) + " /S"));
        for (const char* name : installedFiles)
            EXPECT_TRUE(FileExists(folder + "\\" + name)) << name;
        EXPECT_EQ("", ReadFileText(folder + "\\Brisvane.installed"));
        EXPECT_EQ(IMAGE_FILE_MACHINE_AMD64, Machine(exe)) << "the 64-bit exe on 64-bit Windows";
        EXPECT_EQ(version, VersionText(exe, "FileVersion"));
        EXPECT_TRUE(FileExists(shortcut));
        EXPECT_EQ(runEntry, RegistryText(HKEY_CURRENT_USER, RunKey, "Brisvane"));
        EXPECT_EQ(version, RegistryText(HKEY_CURRENT_USER, UninstallKey, "DisplayVersion"));
        EXPECT_EQ("the Brisvane developers",
                  RegistryText(HKEY_CURRENT_USER, UninstallKey, "Publisher"));
        EXPECT_EQ(Quoted(folder + "\\uninstall.exe"),
                  RegistryText(HKEY_CURRENT_USER, UninstallKey, "UninstallString"));
        DWORD size = 0, length = sizeof(size);
        EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER, UninstallKey, "EstimatedSize",
                                              RRF_RT_REG_DWORD, NULL, &size, &length));
        EXPECT_GT(size, 0u);
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey)) << "not for all users";
    }

    {
        SCOPED_TRACE("the installed program shows its window and saves in the user's data");
        HANDLE program = StartAsUser(Quoted(exe));
        ASSERT_NE((HANDLE)NULL, program);
        EXPECT_TRUE(WaitUntil([] {
            HWND window = FindWindowA(MainClass, NULL);
            return window != NULL && IsWindowVisible(window);
        }, ProgramDeadlineMs));
        EXPECT_TRUE(EndPolitely(program));
        EXPECT_EQ(0u, ExitCode(program));
        CloseHandle(program);
        // These two need the program to keep its data in %APPDATA%\Brisvane when the
        // installer's marker lies beside it.
        EXPECT_TRUE(FileExists(data + "\\Brisvane.INI")) << "no INI in " << data;
        EXPECT_FALSE(FileExists(folder + "\\Brisvane.INI")) << "an INI in the program folder";
        // The report beside it finds the same per-user data (3 would be no data found).
        EXPECT_EQ(0u, RunAsUser(Quoted(folder + "\\brisvane-report.exe") + " --json"));
        EXPECT_EQ(2u, RunAsUser(Quoted(folder + "\\brisvane-report.exe") + " --bogus"));
        EXPECT_FALSE(FileExists(folder + "\\Brisvane.INI")) << "the report made an INI";
    }

    {
        SCOPED_TRACE("silent upgrade over a running copy");
        HANDLE old = StartAsUser(Quoted(exe) + " /s");
        ASSERT_NE((HANDLE)NULL, old);
        ASSERT_TRUE(WaitUntil([] { return FindWindowA(MainClass, NULL) != NULL; },
                              ProgramDeadlineMs));
        ASSERT_EQ(0u, RunAsUser(Quoted(setup) + " /S"));
        // The installer ended it politely before it replaced the exe, then started the new one.
        EXPECT_EQ((DWORD)WAIT_OBJECT_0, WaitForSingleObject(old, 0));
        EXPECT_EQ(0u, ExitCode(old));
        DWORD oldId = GetProcessId(old);
        CloseHandle(old);
        HWND window = NULL;
        EXPECT_TRUE(WaitUntil([&] {
            DWORD id = 0;
            window = FindWindowA(MainClass, NULL);
            return window != NULL && GetWindowThreadProcessId(window, &id) && id != oldId;
        }, ProgramDeadlineMs));
        EXPECT_FALSE(IsWindowVisible(window)) << "back in the tray only";
        EXPECT_TRUE(FileExists(exe));
        EXPECT_EQ(runEntry, RegistryText(HKEY_CURRENT_USER, RunKey, "Brisvane"));
        EXPECT_EQ(version, RegistryText(HKEY_CURRENT_USER, UninstallKey, "DisplayVersion"));
    }

    {
        SCOPED_TRACE("silent uninstall keeps the user's data");
        CreateDirectoryA(data.c_str(), NULL);
        FILE* log = fopen((data + "\\Brisvane.LOG").c_str(), "wb");
        ASSERT_NE((FILE*)NULL, log);
        fputs("kept\r\n", log);
        fclose(log);
        HANDLE running = OpenRunning();
        ASSERT_NE((HANDLE)NULL, running);
        // The uninstaller goes on from a copy of itself: its end is the entry's removal.
        EXPECT_EQ(0u, RunAsUser(Quoted(folder + "\\uninstall.exe") + " /S"));
        EXPECT_TRUE(WaitUntil([] { return !KeyExists(HKEY_CURRENT_USER, UninstallKey); },
                              SetupDeadlineMs));
        EXPECT_EQ((DWORD)WAIT_OBJECT_0, WaitForSingleObject(running, 0));
        EXPECT_EQ(0u, ExitCode(running)) << "ended politely";
        CloseHandle(running);
        for (const char* name : installedFiles)
            EXPECT_FALSE(FileExists(folder + "\\" + name)) << name;
        EXPECT_FALSE(FileExists(shortcut));
        EXPECT_EQ("(none)", RegistryText(HKEY_CURRENT_USER, RunKey, "Brisvane"));
        EXPECT_EQ("kept\r\n", ReadFileText(data + "\\Brisvane.LOG"));
        // These two need the data in %APPDATA%\Brisvane too: then nothing is left in the
        // program folder, and the INI stays.
        EXPECT_FALSE(FileExists(folder)) << "the program folder stays";
        EXPECT_TRUE(FileExists(data + "\\Brisvane.INI")) << "no INI in " << data;
    }
}
