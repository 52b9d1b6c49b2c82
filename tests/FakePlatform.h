// Stands in for the clock, the IP Helper tables, the tray and the program's path while it
// exists, so tests drive adapters and time and never touch the machine's own.
#ifndef BRISVANE_FAKEPLATFORM_H
#define BRISVANE_FAKEPLATFORM_H

#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>  // before iphlpapi.h, for the 64-bit interface rows
#include <iphlpapi.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "AdapterTables.h"
#include "Platform.h"
#include "TrayPlatform.h"

struct TrayCall {
    DWORD Action;
    NOTIFYICONDATAA Record;  // the texts in UTF-8
};

class FakePlatform {
public:
    FakePlatform();
    ~FakePlatform();

    // Adds an interface row with a six-byte hardware address ending in macLast and, unless
    // ipv4 is null, its IPv4 address. Returns the row for further changes.
    MIB_IFROW& AddAdapter(DWORD index, BYTE macLast, const char* ipv4, DWORD speed = 100000000);
    MIB_IFROW* Row(DWORD index);
    void SetAddress(DWORD index, const char* ipv4);
    void SetTime(int year, int month, int day, int hour = 12, int minute = 0, int second = 0);
    static SYSTEMTIME Time(int year, int month, int day, int hour = 0, int minute = 0,
                           int second = 0, int milliseconds = 0);
    // Moves the wall clock and the monotonic clock on together; SetTime moves the wall clock only.
    void AdvanceSeconds(int seconds);

    std::vector<MIB_IFROW> Rows;
    std::vector<MIB_IPADDRROW> Addresses;
    DWORD IfTableError;        // answered instead of the table when not 0
    // The last rows of this many are written and counted in the table, but left out of the
    // size answered with it.
    size_t RowsBeyondSize;
    SYSTEMTIME Now;
    ULONGLONG Tick;            // the monotonic clock, in milliseconds
    std::string ModulePath;    // the program's path as the settings see it (UTF-8)
    std::vector<TrayCall> TrayCalls;  // every call, the refused ones too
    bool TrayReady;                   // false: every tray call is refused, as before the shell's tray is up
    bool TrayTakesVersion4;           // whether NIM_SETVERSION with version 4 is taken
    int IfTableReads;
    int AddressTableReads;

    static FakePlatform* Active;

private:
    PlatformCalls saved;
    AdapterTableCalls savedTables;
    TrayPlatformCalls savedTray;
};

// The user's application data folder as the seam Platform.ReadAppDataFolder answers it: set
// FakeAppDataFolder, then point the seam at ReadFakeAppDataFolder.
extern std::string FakeAppDataFolder;
int ReadFakeAppDataFolder(char* path, size_t size);

#endif
