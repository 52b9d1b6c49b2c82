// Test-only stand-in for the two IP Helper tables, linked into a second build of the program.
// When BRISVANE_SCRIPT names a file, every table read answers from that file, read afresh at
// each call, so a test changes the adapters by rewriting it. Lines:
//   if index=2 mac=00-1A-2B-3C-4D-A1 in=100 out=5 rin=0 rout=0 speed=100000000 status=5 descr=Text
//   ip index=2 addr=192.168.1.10
//   fast        (a poll cycle every few milliseconds instead of every second)
// rin and rout grow the counters by that many bytes at every table read. The number of table
// reads so far is written to the script's name with ".reads" appended.
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "MainWindow.h"
#include "Platform.h"

namespace {

const int MaxRows = 256;

struct Script {
    MIB_IFROW Rows[MaxRows];
    DWORD RateIn[MaxRows];
    DWORD RateOut[MaxRows];
    int RowCount;
    MIB_IPADDRROW Addresses[MaxRows];
    int AddressCount;
    int Fast;
};

char ScriptPath[MAX_PATH];
Script Current;
DWORD Reads;
volatile LONG FastTicks;

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
    row.dwSpeed = (DWORD)Number(line, " speed=", 100000000);
    row.dwOperStatus = (DWORD)Number(line, " status=", 5);
    row.dwInOctets = (DWORD)Number(line, " in=", 0);
    row.dwOutOctets = (DWORD)Number(line, " out=", 0);
    script.RateIn[n] = (DWORD)Number(line, " rin=", 0);
    script.RateOut[n] = (DWORD)Number(line, " rout=", 0);
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

// Reads the script again; a file being replaced at this moment keeps the last script.
void LoadScript()
{
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
        else if (strncmp(line, "fast", 4) == 0)
            next.Fast = 1;
    }
    fclose(file);
    Current = next;
    InterlockedExchange(&FastTicks, Current.Fast);
}

void WriteReads()
{
    char path[MAX_PATH + 8];
    _snprintf(path, sizeof(path), "%s.reads", ScriptPath);
    path[sizeof(path) - 1] = 0;
    FILE* file = fopen(path, "w");
    if (file != NULL) {
        fprintf(file, "%lu\n", Reads);
        fclose(file);
    }
}

DWORD WINAPI ScriptedIfTable(PMIB_IFTABLE table, PULONG size, BOOL)
{
    LoadScript();
    int rows = Current.RowCount;
    ULONG needed = (ULONG)(sizeof(DWORD) + sizeof(MIB_IFROW) * (rows > 0 ? rows : 1));
    if (table == NULL || *size < needed) {
        *size = needed;
        return ERROR_INSUFFICIENT_BUFFER;
    }
    table->dwNumEntries = (DWORD)rows;
    for (int i = 0; i < rows; i++) {
        table->table[i] = Current.Rows[i];
        table->table[i].dwInOctets += Current.RateIn[i] * Reads;
        table->table[i].dwOutOctets += Current.RateOut[i] * Reads;
    }
    Reads++;
    WriteReads();
    return NO_ERROR;
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

// Sends the main window a timer tick every few milliseconds while the script says "fast".
DWORD WINAPI FastTicker(void*)
{
    for (;;) {
        Sleep(5);
        if (!FastTicks)
            continue;
        HWND window = FindWindowA(MAIN_WINDOW_CLASS, NULL);
        if (window != NULL)
            SendMessageTimeoutA(window, WM_TIMER, POLL_TIMER_ID, 0, SMTO_BLOCK, 2000, NULL);
    }
    return 0;
}

struct Installer {
    Installer()
    {
        DWORD length = GetEnvironmentVariableA("BRISVANE_SCRIPT", ScriptPath, sizeof(ScriptPath));
        if (length == 0 || length >= sizeof(ScriptPath))
            return;
        LoadScript();
        Platform.ReadIfTable = ScriptedIfTable;
        Platform.ReadIpAddrTable = ScriptedIpAddrTable;
        CloseHandle(CreateThread(NULL, 0, FastTicker, NULL, 0, NULL));
    }
} Install;

}  // namespace
