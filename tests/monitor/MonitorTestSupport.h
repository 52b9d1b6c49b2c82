// A fixture for the settings, log and monitor tests: the clock and adapter tables stand in for
// the machine's, and the INI file and both logs lie in a private temporary folder. Everything
// global that a test changes is put back afterwards.
#ifndef BRISVANE_MONITORTESTSUPPORT_H
#define BRISVANE_MONITORTESTSUPPORT_H

#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "FakePlatform.h"
#include "InterfaceMonitor.h"
#include "LogChannel.h"
#include "ResetSchedule.h"
#include "Settings.h"
#include "TestSupport.h"

class CoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedSettings = Settings;
        memcpy(savedIniPath, IniPath, sizeof(IniPath));
        Settings = SettingsRecord();
        SetText(IniPath, folder.Path("Brisvane.INI"));
        SetText(Settings.EventLogPath, folder.Path("Brisvane.LOG"));
        SetText(Settings.TrafficLogPath, folder.Path("Brisvane.CSV"));
        EventLog.ForgetWaiting();
        TrafficLog.ForgetWaiting();
    }

    void TearDown() override
    {
        EventLog.ForgetWaiting();
        TrafficLog.ForgetWaiting();
        Settings = savedSettings;
        memcpy(IniPath, savedIniPath, sizeof(IniPath));
    }

    static void SetText(char* target, const std::string& text)
    {
        strncpy(target, text.c_str(), PATH_CHARS - 1);
        target[PATH_CHARS - 1] = 0;
    }

    // Replaces the INI file with the given text.
    void WriteIni(const std::string& text)
    {
        // The profile functions may remember the file; let them forget it first.
        WritePrivateProfileStringA(NULL, NULL, NULL, IniPath);
        HANDLE file = CreateFileA(IniPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        WriteFile(file, text.data(), (DWORD)text.size(), &written, NULL);
        CloseHandle(file);
        ASSERT_EQ(text.size(), (size_t)written);
    }

    std::string IniText() const { return ReadFileText(IniPath); }

    // A row applied as the meter applies it, at the fake clock under the settings: the IPv4
    // text when it changed, else null.
    const char* Apply(InterfaceMonitor& monitor, const InterfaceRow* row)
    {
        return monitor.ApplySample(row, fake.Now, fake.Tick, Settings) ? monitor.IPv4Text : NULL;
    }
    const char* Apply(InterfaceMonitor& monitor, const MIB_IFROW* row)
    {
        if (row == NULL)
            return Apply(monitor, (const InterfaceRow*)NULL);
        InterfaceRow whole;
        RowFromIfRow(row, &whole);
        return Apply(monitor, &whole);
    }
    // The adapter's counters from the INI file as it is now.
    void Load(InterfaceMonitor& monitor, const char* section)
    {
        IniDocument document;
        document.Read(IniPath);
        monitor.LoadCounters(document, section);
    }
    std::string EventLogText() const { return ReadLogText(Settings.EventLogPath); }
    std::string TrafficLogText() const { return ReadLogText(Settings.TrafficLogPath); }

    // The clock at a moment, milliseconds included.
    void SetClock(int year, int month, int day, int hour, int minute, int second,
                  int milliseconds = 0)
    {
        fake.SetTime(year, month, day, hour, minute, second);
        fake.Now.wMilliseconds = (WORD)milliseconds;
    }

    static DATE DateOf(int year, int month, int day, int hour = 0, int minute = 0,
                       int second = 0)
    {
        SYSTEMTIME time = FakePlatform::Time(year, month, day, hour, minute, second);
        DATE date = 0;
        SystemTimeToVariantTime(&time, &date);
        return date;
    }

    TempFolder folder;
    FakePlatform fake;

private:
    SettingsRecord savedSettings;
    char savedIniPath[PATH_CHARS];
};

#endif
