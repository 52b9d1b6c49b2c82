#include "TestSupport.h"

#include <stdio.h>

// Removes a folder with everything in it.
static void RemoveTree(const std::string& root)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((root + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string item = root + "\\" + found.cFileName;
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                SetFileAttributesA(item.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(item.c_str());
            } else if (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0) {
                RemoveTree(item);
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(root.c_str());
}

TempFolder::TempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(sizeof(base), base);
    static unsigned counter = 0;
    char name[MAX_PATH];
    _snprintf(name, sizeof(name), "%sbrisvane-test-%lu-%u", base, GetCurrentProcessId(),
              ++counter);
    name[sizeof(name) - 1] = 0;
    root = name;
    // Process ids come again: a folder left by an earlier run is not this test's.
    RemoveTree(root);
    CreateDirectoryA(root.c_str(), NULL);
}

TempFolder::~TempFolder()
{
    RemoveTree(root);
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

// A UTF-8 path for the system's W calls (the package tests link none of the program's code).
static std::wstring WidePath(const std::string& path)
{
    wchar_t wide[MAX_PATH * 2];
    int units = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide, MAX_PATH * 2);
    return units > 0 ? std::wstring(wide) : std::wstring();
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
