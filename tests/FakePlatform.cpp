#include "FakePlatform.h"

#include "PathSplit.h"
#include "Utf8Text.h"

#include <stdio.h>
#include <string.h>

FakePlatform* FakePlatform::Active = NULL;

static void WINAPI FakeLocalTime(LPSYSTEMTIME now)
{
    *now = FakePlatform::Active->Now;
}

static DWORD WINAPI FakeIfTable(PMIB_IFTABLE table, PULONG size, BOOL)
{
    FakePlatform* fake = FakePlatform::Active;
    fake->IfTableReads++;
    if (fake->IfTableError != 0)
        return fake->IfTableError;
    ULONG needed = (ULONG)(sizeof(DWORD) + sizeof(MIB_IFROW) * (fake->Rows.size() ? fake->Rows.size() : 1));
    if (*size < needed) {
        *size = needed;
        return ERROR_INSUFFICIENT_BUFFER;
    }
    table->dwNumEntries = (DWORD)fake->Rows.size();
    if (!fake->Rows.empty())
        memcpy(table->table, fake->Rows.data(), sizeof(MIB_IFROW) * fake->Rows.size());
    size_t sized = fake->Rows.size() - fake->RowsBeyondSize;
    if (fake->RowsBeyondSize != 0)
        *size = (ULONG)(sizeof(DWORD) + sizeof(MIB_IFROW) * sized);
    return NO_ERROR;
}

static DWORD WINAPI FakeIpAddrTable(PMIB_IPADDRTABLE table, PULONG size, BOOL)
{
    FakePlatform* fake = FakePlatform::Active;
    fake->AddressTableReads++;
    size_t rows = fake->Addresses.size() ? fake->Addresses.size() : 1;
    ULONG needed = (ULONG)(sizeof(DWORD) + sizeof(MIB_IPADDRROW) * rows);
    if (*size < needed) {
        *size = needed;
        return ERROR_INSUFFICIENT_BUFFER;
    }
    table->dwNumEntries = (DWORD)fake->Addresses.size();
    if (!fake->Addresses.empty())
        memcpy(table->table, fake->Addresses.data(), sizeof(MIB_IPADDRROW) * fake->Addresses.size());
    return NO_ERROR;
}

// The record as the tests read it: its texts in UTF-8, as the program holds them.
static void CopyTrayRecord(const NOTIFYICONDATAW* record, NOTIFYICONDATAA* copy)
{
    NOTIFYICONDATAW whole;
    memset(&whole, 0, sizeof(whole));
    memcpy(&whole, record, record->cbSize < sizeof(whole) ? record->cbSize : sizeof(whole));
    memset(copy, 0, sizeof(*copy));
    copy->cbSize = whole.cbSize;
    copy->hWnd = whole.hWnd;
    copy->uID = whole.uID;
    copy->uFlags = whole.uFlags;
    copy->uCallbackMessage = whole.uCallbackMessage;
    copy->hIcon = whole.hIcon;
    copy->dwState = whole.dwState;
    copy->dwStateMask = whole.dwStateMask;
    copy->uTimeout = whole.uTimeout;
    copy->dwInfoFlags = whole.dwInfoFlags;
    WideToUtf8(whole.szTip, copy->szTip, sizeof(copy->szTip));
    WideToUtf8(whole.szInfo, copy->szInfo, sizeof(copy->szInfo));
    WideToUtf8(whole.szInfoTitle, copy->szInfoTitle, sizeof(copy->szInfoTitle));
}

static BOOL WINAPI FakeNotifyIcon(DWORD action, PNOTIFYICONDATAW record)
{
    TrayCall call;
    call.Action = action;
    CopyTrayRecord(record, &call.Record);
    FakePlatform* fake = FakePlatform::Active;
    fake->TrayCalls.push_back(call);
    if (!fake->TrayReady)
        return FALSE;
    return action != NIM_SETVERSION || fake->TrayTakesVersion4;
}

static ULONGLONG WINAPI FakeTickCount()
{
    return FakePlatform::Active->Tick;
}

static int FakeModuleFileName(char* buffer, size_t size)
{
    const std::string& path = FakePlatform::Active->ModulePath;
    if (path.size() + 1 > size)
        return 0;
    memcpy(buffer, path.c_str(), path.size() + 1);
    return 1;
}

FakePlatform::FakePlatform()
    : IfTableError(0), RowsBeyondSize(0), Now(), Tick(1000000), TrayReady(true),
      TrayTakesVersion4(false), IfTableReads(0),
      AddressTableReads(0),
      saved(Platform), savedTables(AdapterTables), savedTray(TrayPlatform)
{
    Active = this;
    SetTime(2026, 12, 6);
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(NULL, path, MAX_PATH);
    char text[PATH_CHARS];
    WideToUtf8(path, text, sizeof(text));
    ModulePath = text;
    Platform.ReadLocalTime = FakeLocalTime;
    AdapterTables.ReadIfTable = FakeIfTable;
    AdapterTables.ReadIpAddrTable = FakeIpAddrTable;
    TrayPlatform.NotifyIcon = FakeNotifyIcon;
    Platform.ReadModuleFileName = FakeModuleFileName;
    Platform.ReadTickCount = FakeTickCount;
    // The rows above are the 32-bit table's; the 64-bit one is served only where a test asks.
    AdapterTables.ReadIfTable2 = NULL;
    AdapterTables.FreeIfTable2 = NULL;
}

FakePlatform::~FakePlatform()
{
    Platform = saved;
    AdapterTables = savedTables;
    TrayPlatform = savedTray;
    Active = NULL;
}

MIB_IFROW& FakePlatform::AddAdapter(DWORD index, BYTE macLast, const char* ipv4, DWORD speed)
{
    MIB_IFROW row;
    memset(&row, 0, sizeof(row));
    row.dwIndex = index;
    row.dwSpeed = speed;
    row.dwPhysAddrLen = 6;
    const BYTE mac[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, macLast};
    memcpy(row.bPhysAddr, mac, 6);
    row.dwOperStatus = 5;
    _snprintf((char*)row.bDescr, sizeof(row.bDescr) - 1, "Test adapter %lu", index);
    row.dwDescrLen = (DWORD)strlen((char*)row.bDescr) + 1;
    Rows.push_back(row);
    if (ipv4 != NULL)
        SetAddress(index, ipv4);
    return Rows.back();
}

MIB_IFROW* FakePlatform::Row(DWORD index)
{
    for (MIB_IFROW& row : Rows)
        if (row.dwIndex == index)
            return &row;
    return NULL;
}

void FakePlatform::SetAddress(DWORD index, const char* ipv4)
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    sscanf(ipv4, "%u.%u.%u.%u", &a, &b, &c, &d);
    DWORD address = a | (b << 8) | (c << 16) | (d << 24);
    for (MIB_IPADDRROW& row : Addresses) {
        if (row.dwIndex == index) {
            row.dwAddr = address;
            return;
        }
    }
    MIB_IPADDRROW row;
    memset(&row, 0, sizeof(row));
    row.dwAddr = address;
    row.dwIndex = index;
    Addresses.push_back(row);
}

SYSTEMTIME FakePlatform::Time(int year, int month, int day, int hour, int minute, int second,
                              int milliseconds)
{
    SYSTEMTIME time;
    memset(&time, 0, sizeof(time));
    time.wYear = (WORD)year;
    time.wMonth = (WORD)month;
    time.wDay = (WORD)day;
    time.wHour = (WORD)hour;
    time.wMinute = (WORD)minute;
    time.wSecond = (WORD)second;
    time.wMilliseconds = (WORD)milliseconds;
    return time;
}

void FakePlatform::SetTime(int year, int month, int day, int hour, int minute, int second)
{
    Now = Time(year, month, day, hour, minute, second);
}

void FakePlatform::AdvanceSeconds(int seconds)
{
    Tick += (ULONGLONG)seconds * 1000;
    FILETIME file;
    SystemTimeToFileTime(&Now, &file);
    ULARGE_INTEGER value;
    value.LowPart = file.dwLowDateTime;
    value.HighPart = file.dwHighDateTime;
    value.QuadPart += (ULONGLONG)seconds * 10000000ULL;
    file.dwLowDateTime = value.LowPart;
    file.dwHighDateTime = value.HighPart;
    FileTimeToSystemTime(&file, &Now);
}

std::string FakeAppDataFolder;

int ReadFakeAppDataFolder(char* path, size_t size)
{
    if (FakeAppDataFolder.size() + 1 > size)
        return 0;
    memcpy(path, FakeAppDataFolder.c_str(), FakeAppDataFolder.size() + 1);
    return 1;
}
