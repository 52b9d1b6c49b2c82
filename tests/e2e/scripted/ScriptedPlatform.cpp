// Test-only stand-in for the two IP Helper tables, linked into a second build of the program.
// When BRISVANE_SCRIPT names a file, every table read answers from that file, read afresh at
// each call, so a test changes the adapters by rewriting it. Lines:
//   if index=2 mac=00-1A-2B-3C-4D-A1 in=100 out=5 rin=0 rout=0 speed=100000000 status=5 type=6
//      hw=1 descr=Text
//               (type= is the interface type, Ethernet when missing; hw= the 64-bit table's
//               hardware flag, 1 when missing)
//               (descr= is UTF-8 for the 64-bit table, the ANSI code page's bytes for the 32-bit one)
//   ip index=2 addr=192.168.1.10
//   fail        (the interface table cannot be read)
//   fast        (a poll cycle every few milliseconds instead of every second)
//   wide        (the 64-bit table is served, with luid= on rows; without it the program finds
//                no 64-bit table and reads the 32-bit one)
//   vary        (each read grows the counters by one to four times rin and rout)
//   clock start=2026-11-01T08:00:00 step=1800 until=1700
//               (the local clock: start, then step seconds later at every table read, and
//               one second per read after the until-th)
//   history     (opens the history window once)
//   still       (the script is read once, at start, and no read count is written: the
//                benchmark's programs do no file work beyond what a meter does)
// rin and rout grow the counters by that many bytes at every table read (the 32-bit table
// shows their low 32 bits). The number of table reads so far is written to the script's name
// with ".reads" appended. The thread that sends the fast ticks and asks for the history window
// starts only once the script first says "fast" or "history": polling for the main window
// every few milliseconds would cost the benchmark's programs more than their own cycle.
// BRISVANE_HIGH_CONTRAST set (to anything) turns high contrast on: the program hears that the
// system has it, and the system's colours are Windows' high-contrast black.
#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>  // before iphlpapi.h, for the 64-bit interface rows
#include <iphlpapi.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "MainWindow.h"
#include "AdapterTables.h"
#include "Platform.h"
#include "ThemePlatform.h"
#include "resource.h"

namespace {

const int MaxRows = 256;

struct Script {
    MIB_IFROW Rows[MaxRows];
    unsigned long long In[MaxRows];
    unsigned long long Out[MaxRows];
    unsigned long long RateIn[MaxRows];
    unsigned long long RateOut[MaxRows];
    unsigned long long Speed[MaxRows];
    unsigned long long Luid[MaxRows];
    int Hardware[MaxRows];
    int Wide;
    int RowCount;
    MIB_IPADDRROW Addresses[MaxRows];
    int AddressCount;
    int Fail;
    int Fast;
    int Vary;
    int Clock;
    SYSTEMTIME ClockStart;
    unsigned long long ClockStep;
    unsigned long long ClockUntil;
    int History;
    int Still;
};

char ScriptPath[MAX_PATH];
Script Current;
DWORD Reads;
volatile LONG FastTicks;
volatile LONG HistoryAsked;
bool TickerStarted;
unsigned long long GrownIn[MaxRows];
unsigned long long GrownOut[MaxRows];

const char* Value(const char* line, const char* key)
{
    const char* at = strstr(line, key);
    return at != NULL ? at + strlen(key) : NULL;
}

unsigned long long Number(const char* line, const char* key, unsigned long long fallback)
{
    const char* at = Value(line, key);
    return at != NULL ? strtoull(at, NULL, 10) : fallback;
}

void ParseRow(const char* line, Script& script)
{
    if (script.RowCount >= MaxRows)
        return;
    int n = script.RowCount++;
    MIB_IFROW& row = script.Rows[n];
    memset(&row, 0, sizeof(row));
    row.dwIndex = (DWORD)Number(line, " index=", 0);
    script.Speed[n] = Number(line, " speed=", 100000000);
    row.dwSpeed = (DWORD)(script.Speed[n] > 0xFFFFFFFFULL ? 0xFFFFFFFFULL : script.Speed[n]);
    row.dwOperStatus = (DWORD)Number(line, " status=", 5);
    row.dwType = (DWORD)Number(line, " type=", IF_TYPE_ETHERNET_CSMACD);
    script.Hardware[n] = (int)Number(line, " hw=", 1);
    script.In[n] = Number(line, " in=", 0);
    script.Out[n] = Number(line, " out=", 0);
    script.RateIn[n] = Number(line, " rin=", 0);
    script.RateOut[n] = Number(line, " rout=", 0);
    script.Luid[n] = Number(line, " luid=", 0);
    const char* mac = Value(line, " mac=");
    if (mac != NULL && *mac != '-') {
        while (row.dwPhysAddrLen < 8 && isxdigit((unsigned char)mac[0]) &&
               isxdigit((unsigned char)mac[1])) {
            char hex[3] = {mac[0], mac[1], 0};
            row.bPhysAddr[row.dwPhysAddrLen++] = (BYTE)strtoul(hex, NULL, 16);
            mac += mac[2] == '-' ? 3 : 2;
        }
    }
    const char* descr = Value(line, " descr=");
    if (descr != NULL) {
        size_t length = strcspn(descr, "\r\n");
        if (length > sizeof(row.bDescr) - 1)
            length = sizeof(row.bDescr) - 1;
        memcpy(row.bDescr, descr, length);
        row.dwDescrLen = (DWORD)length + 1;
    }
}

void ParseAddress(const char* line, Script& script)
{
    if (script.AddressCount >= MaxRows)
        return;
    MIB_IPADDRROW& row = script.Addresses[script.AddressCount++];
    memset(&row, 0, sizeof(row));
    row.dwIndex = (DWORD)Number(line, " index=", 0);
    unsigned a = 0, b = 0, c = 0, d = 0;
    const char* addr = Value(line, " addr=");
    if (addr != NULL)
        sscanf(addr, "%u.%u.%u.%u", &a, &b, &c, &d);
    row.dwAddr = a | (b << 8) | (c << 16) | (d << 24);
}

void ParseClock(const char* line, Script& script)
{
    const char* start = Value(line, " start=");
    unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (start == NULL || sscanf(start, "%u-%u-%uT%u:%u:%u", &year, &month, &day, &hour, &minute,
                                &second) != 6)
        return;
    memset(&script.ClockStart, 0, sizeof(script.ClockStart));
    script.ClockStart.wYear = (WORD)year;
    script.ClockStart.wMonth = (WORD)month;
    script.ClockStart.wDay = (WORD)day;
    script.ClockStart.wHour = (WORD)hour;
    script.ClockStart.wMinute = (WORD)minute;
    script.ClockStart.wSecond = (WORD)second;
    script.ClockStep = Number(line, " step=", 1);
    script.ClockUntil = Number(line, " until=", 0xFFFFFFFFULL);
    script.Clock = 1;
}

DWORD WINAPI FastTicker(void*);

void StartTicker()
{
    if (TickerStarted || (!Current.Fast && !Current.History))
        return;
    TickerStarted = true;
    CloseHandle(CreateThread(NULL, 0, FastTicker, NULL, 0, NULL));
}

// Reads the script again; a file being replaced at this moment keeps the last script.
void LoadScript()
{
    if (Current.Still)
        return;
    FILE* file = fopen(ScriptPath, "r");
    if (file == NULL)
        return;
    static Script next;
    memset(&next, 0, sizeof(next));
    char line[512];
    while (fgets(line, sizeof(line), file) != NULL) {
        char padded[520];
        _snprintf(padded, sizeof(padded), " %s", line);
        padded[sizeof(padded) - 1] = 0;
        if (strncmp(line, "if ", 3) == 0)
            ParseRow(padded, next);
        else if (strncmp(line, "ip ", 3) == 0)
            ParseAddress(padded, next);
        else if (strncmp(line, "fail", 4) == 0)
            next.Fail = 1;
        else if (strncmp(line, "fast", 4) == 0)
            next.Fast = 1;
        else if (strncmp(line, "wide", 4) == 0)
            next.Wide = 1;
        else if (strncmp(line, "vary", 4) == 0)
            next.Vary = 1;
        else if (strncmp(line, "clock ", 6) == 0)
            ParseClock(padded, next);
        else if (strncmp(line, "history", 7) == 0)
            next.History = 1;
        else if (strncmp(line, "still", 5) == 0)
            next.Still = 1;
    }
    fclose(file);
    Current = next;
    InterlockedExchange(&FastTicks, Current.Fast);
    StartTicker();
}

// In one rename, so that a test reading it after killing the program never finds it empty.
void WriteReads()
{
    if (Current.Still)
        return;
    char path[MAX_PATH + 8], next[MAX_PATH + 16];
    _snprintf(path, sizeof(path), "%s.reads", ScriptPath);
    path[sizeof(path) - 1] = 0;
    _snprintf(next, sizeof(next), "%s.new", path);
    next[sizeof(next) - 1] = 0;
    FILE* file = fopen(next, "w");
    if (file != NULL) {
        fprintf(file, "%lu\n", Reads);
        fclose(file);
        MoveFileExA(next, path, MOVEFILE_REPLACE_EXISTING);
    }
}

// Seconds of the scripted clock since its start.
unsigned long long ScriptedSeconds()
{
    unsigned long long reads = Reads;
    if (reads <= Current.ClockUntil)
        return reads * Current.ClockStep;
    return Current.ClockUntil * Current.ClockStep + (reads - Current.ClockUntil);
}

// What the counters of row i have grown by at this read.
void Grow(int i)
{
    if (Current.Vary) {
        // A fixed pattern of one to four times the rate, the same at every run: by the
        // scripted day when there is a scripted clock, else by the read.
        unsigned step = Current.Clock ? (unsigned)(ScriptedSeconds() / 86400) : Reads;
        unsigned factor = 1 + ((step * 2654435761u + (unsigned)i * 40503u) >> 28) % 4;
        GrownIn[i] += Current.RateIn[i] * factor;
        GrownOut[i] += Current.RateOut[i] * factor;
    } else {
        GrownIn[i] = Current.RateIn[i] * Reads;
        GrownOut[i] = Current.RateOut[i] * Reads;
    }
}

DWORD WINAPI ScriptedIfTable(PMIB_IFTABLE table, PULONG size, BOOL)
{
    LoadScript();
    if (Current.Fail)
        return ERROR_NOT_SUPPORTED;
    int rows = Current.RowCount;
    ULONG needed = (ULONG)(sizeof(DWORD) + sizeof(MIB_IFROW) * (rows > 0 ? rows : 1));
    if (table == NULL || *size < needed) {
        *size = needed;
        return ERROR_INSUFFICIENT_BUFFER;
    }
    table->dwNumEntries = (DWORD)rows;
    for (int i = 0; i < rows; i++) {
        table->table[i] = Current.Rows[i];
        Grow(i);
        table->table[i].dwInOctets = (DWORD)(Current.In[i] + GrownIn[i]);
        table->table[i].dwOutOctets = (DWORD)(Current.Out[i] + GrownOut[i]);
    }
    Reads++;
    WriteReads();
    return NO_ERROR;
}

DWORD WINAPI ScriptedIfTable2(PMIB_IF_TABLE2* result)
{
    LoadScript();
    if (Current.Fail)
        return ERROR_NOT_SUPPORTED;
    int rows = Current.RowCount;
    MIB_IF_TABLE2* table = (MIB_IF_TABLE2*)calloc(1, sizeof(MIB_IF_TABLE2) +
                                                       sizeof(MIB_IF_ROW2) * (rows > 0 ? rows : 1));
    if (table == NULL)
        return ERROR_NOT_ENOUGH_MEMORY;
    table->NumEntries = (ULONG)rows;
    for (int i = 0; i < rows; i++) {
        const MIB_IFROW& from = Current.Rows[i];
        MIB_IF_ROW2& row = table->Table[i];
        row.InterfaceIndex = from.dwIndex;
        row.InterfaceLuid.Value = Current.Luid[i];
        row.Type = from.dwType;
        row.InterfaceAndOperStatusFlags.HardwareInterface = Current.Hardware[i] != 0;
        row.PhysicalAddressLength = from.dwPhysAddrLen;
        memcpy(row.PhysicalAddress, from.bPhysAddr, from.dwPhysAddrLen);
        MultiByteToWideChar(CP_UTF8, 0, (const char*)from.bDescr, -1, row.Description,
                            sizeof(row.Description) / sizeof(WCHAR) - 1);
        row.ReceiveLinkSpeed = row.TransmitLinkSpeed = Current.Speed[i];
        row.AdminStatus = NET_IF_ADMIN_STATUS_UP;
        row.OperStatus = from.dwOperStatus == 5 ? IfOperStatusUp : IfOperStatusDown;
        Grow(i);
        row.InOctets = Current.In[i] + GrownIn[i];
        row.OutOctets = Current.Out[i] + GrownOut[i];
    }
    Reads++;
    WriteReads();
    *result = table;
    return NO_ERROR;
}

void WINAPI FreeScriptedTable(PVOID table)
{
    free(table);
}

DWORD WINAPI ScriptedIpAddrTable(PMIB_IPADDRTABLE table, PULONG size, BOOL)
{
    int rows = Current.AddressCount;
    ULONG needed = (ULONG)(sizeof(DWORD) + sizeof(MIB_IPADDRROW) * (rows > 0 ? rows : 1));
    if (table == NULL || *size < needed) {
        *size = needed;
        return ERROR_INSUFFICIENT_BUFFER;
    }
    table->dwNumEntries = (DWORD)rows;
    memcpy(table->table, Current.Addresses, sizeof(MIB_IPADDRROW) * rows);
    return NO_ERROR;
}

// The scripted clock: its start, step seconds later at every table read up to the until-th,
// one second per read after that.
void WINAPI ScriptedLocalTime(LPSYSTEMTIME now)
{
    if (!Current.Clock) {
        GetLocalTime(now);
        return;
    }
    unsigned long long seconds = ScriptedSeconds();
    FILETIME file;
    SystemTimeToFileTime(&Current.ClockStart, &file);
    ULARGE_INTEGER value;
    value.LowPart = file.dwLowDateTime;
    value.HighPart = file.dwHighDateTime;
    value.QuadPart += seconds * 10000000ULL;
    file.dwLowDateTime = value.LowPart;
    file.dwHighDateTime = value.HighPart;
    FileTimeToSystemTime(&file, now);
}

// Sends the main window a timer tick every few milliseconds while the script says "fast", and
// opens the history window once when it says "history".
DWORD WINAPI FastTicker(void*)
{
    for (;;) {
        Sleep(5);
        HWND window = FindWindowW(MainWindowClass, NULL);
        if (window != NULL && Current.History && InterlockedExchange(&HistoryAsked, 1) == 0)
            PostMessageA(window, WM_COMMAND, ID_APP_HISTORY, 0);
        if (!FastTicks)
            continue;
        if (window != NULL)
            SendMessageTimeoutA(window, WM_TIMER, PollTimerId, 0, SMTO_BLOCK, 2000, NULL);
    }
    return 0;
}

bool ScriptedHighContrast()
{
    return true;
}

// High contrast for the README's picture, which Wine cannot turn on: the system's answer and
// Windows' high-contrast black colours, for this session of Wine.
void UseHighContrast()
{
    static const int elements[] = {COLOR_WINDOW,   COLOR_WINDOWTEXT,    COLOR_BTNFACE,
                                   COLOR_BTNTEXT,  COLOR_GRAYTEXT,      COLOR_HIGHLIGHT,
                                   COLOR_HIGHLIGHTTEXT, COLOR_HOTLIGHT, COLOR_3DHILIGHT,
                                   COLOR_3DSHADOW, COLOR_3DDKSHADOW,    COLOR_3DLIGHT,
                                   COLOR_WINDOWFRAME};
    static const COLORREF colours[] = {RGB(0, 0, 0),       RGB(255, 255, 255), RGB(0, 0, 0),
                                       RGB(255, 255, 255), RGB(63, 242, 63),   RGB(26, 235, 255),
                                       RGB(0, 0, 0),       RGB(255, 255, 0),   RGB(255, 255, 255),
                                       RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                       RGB(255, 255, 255)};
    SetSysColors(sizeof(elements) / sizeof(elements[0]), elements, colours);
    ThemePlatform.HighContrastOn = ScriptedHighContrast;
}

struct Installer {
    Installer()
    {
        if (GetEnvironmentVariableA("BRISVANE_HIGH_CONTRAST", NULL, 0) > 0)
            UseHighContrast();
        DWORD length = GetEnvironmentVariableA("BRISVANE_SCRIPT", ScriptPath, sizeof(ScriptPath));
        if (length == 0 || length >= sizeof(ScriptPath))
            return;
        LoadScript();
        Platform.ReadLocalTime = ScriptedLocalTime;
        AdapterTables.ReadIfTable = ScriptedIfTable;
        AdapterTables.ReadIpAddrTable = ScriptedIpAddrTable;
        AdapterTables.ReadIfTable2 = Current.Wide ? ScriptedIfTable2 : NULL;
        AdapterTables.FreeIfTable2 = Current.Wide ? FreeScriptedTable : NULL;
    }
} Install;

}  // namespace
