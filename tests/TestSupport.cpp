#include "TestSupport.h"

#include <stdio.h>

// A UTF-8 path for the system's W calls (the package tests link none of the program's code).
static std::wstring WidePath(const std::string& path)
{
    wchar_t wide[MAX_PATH * 2];
    int units = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide, MAX_PATH * 2);
    return units > 0 ? std::wstring(wide) : std::wstring();
}

static std::string Utf8Path(const wchar_t* path)
{
    char utf8[MAX_PATH * 4];
    int bytes = WideCharToMultiByte(CP_UTF8, 0, path, -1, utf8, sizeof(utf8), NULL, NULL);
    return bytes > 0 ? std::string(utf8) : std::string();
}

// Removes a folder with everything in it, whatever the names inside: the tests make folders
// whose names the ANSI calls cannot reach.
static void RemoveTree(const std::wstring& root)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((root + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring item = root + L"\\" + found.cFileName;
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                SetFileAttributesW(item.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(item.c_str());
            } else if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0) {
                RemoveTree(item);
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(root.c_str());
}

TempFolder::TempFolder()
{
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    wchar_t name[MAX_PATH];
    _snwprintf(name, MAX_PATH, L"%lsbrisvane-test-%lu-%u", base, GetCurrentProcessId(),
               ++counter);
    name[MAX_PATH - 1] = 0;
    root = Utf8Path(name);
    // Process ids come again: a folder left by an earlier run is not this test's.
    RemoveTree(name);
    CreateDirectoryW(name, NULL);
}

TempFolder::~TempFolder()
{
    RemoveTree(WidePath(root));
}

std::string TempFolder::Path(const char* name) const
{
    return root + "\\" + name;
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::string ReadFileText(const std::string& path)
{
    std::string text;
    FILE* file = _wfopen(WidePath(path).c_str(), L"rb");
    if (file == NULL)
        return text;
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof(chunk), file)) > 0)
        text.append(chunk, got);
    fclose(file);
    return text;
}

bool WriteFileText(const std::string& path, const std::string& text)
{
    FILE* file = _wfopen(WidePath(path).c_str(), L"wb");
    if (file == NULL)
        return false;
    bool written = fwrite(text.data(), 1, text.size(), file) == text.size();
    return fclose(file) == 0 && written;
}

std::string ReadLogText(const std::string& path)
{
    std::string text = ReadFileText(path);
    return text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? text.substr(3) : text;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

int CountOf(const std::string& text, const std::string& part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        count++;
    return count;
}

std::string WindowText(HWND window)
{
    char text[1024];
    text[0] = 0;
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

bool RunChildUntilReady(const std::string& filter, const std::string& folder,
                        const std::function<void()>& beforeKill)
{
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof(self));
    char eventName[64];
    _snprintf(eventName, sizeof(eventName), "BrisvaneChildReady%lu", GetCurrentProcessId());
    eventName[sizeof(eventName) - 1] = 0;
    HANDLE ready = CreateEventA(NULL, TRUE, FALSE, eventName);
    if (ready == NULL)
        return false;
    SetEnvironmentVariableA("BRISVANE_CHILD_FOLDER", folder.c_str());
    SetEnvironmentVariableA("BRISVANE_CHILD_READY", eventName);
    std::string command = std::string("\"") + self + "\" --gtest_also_run_disabled_tests " +
                          "--gtest_filter=" + filter;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child = {};
    BOOL started = CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL,
                                  &startup, &child);
    SetEnvironmentVariableA("BRISVANE_CHILD_FOLDER", NULL);
    SetEnvironmentVariableA("BRISVANE_CHILD_READY", NULL);
    if (!started) {
        CloseHandle(ready);
        return false;
    }
    HANDLE waitFor[2] = {ready, child.hProcess};
    DWORD woken = WaitForMultipleObjects(2, waitFor, FALSE, 120000);
    if (woken == WAIT_OBJECT_0 && beforeKill)
        beforeKill();
    TerminateProcess(child.hProcess, 1);
    WaitForSingleObject(child.hProcess, 30000);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    CloseHandle(ready);
    return woken == WAIT_OBJECT_0;
}
