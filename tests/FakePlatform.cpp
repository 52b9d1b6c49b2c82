#include "FakePlatform.h"

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

static BOOL WINAPI FakeNotifyIcon(DWORD action, PNOTIFYICONDATAA record)
{
    TrayCall call;
    call.Action = action;
    memset(&call.Record, 0, sizeof(call.Record));
    memcpy(&call.Record, record, record->cbSize < sizeof(call.Record) ? record->cbSize : sizeof(call.Record));
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

static DWORD WINAPI FakeModuleFileName(HMODULE, LPSTR buffer, DWORD size)
{
    const std::string& path = FakePlatform::Active->ModulePath;
    if (size == 0)
        return 0;
    strncpy(buffer, path.c_str(), size - 1);
    buffer[size - 1] = 0;
    return (DWORD)strlen(buffer);
}

FakePlatform::FakePlatform()
    : IfTableError(0), RowsBeyondSize(0), Now(), Tick(1000000), TrayReady(true),
      TrayTakesVersion4(false), IfTableReads(0),
      AddressTableReads(0),
      saved(Platform)
{
    Active = this;
    SetTime(2026, 12, 6);
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, sizeof(path));
    ModulePath = path;
    Platform.ReadLocalTime = FakeLocalTime;
    Platform.ReadIfTable = FakeIfTable;
    Platform.ReadIpAddrTable = FakeIpAddrTable;
    Platform.NotifyIcon = FakeNotifyIcon;
    Platform.ReadModuleFileName = FakeModuleFileName;
    Platform.ReadTickCount = FakeTickCount;
    // The rows above are the 32-bit table's; the 64-bit one is served only where a test asks.
    Platform.ReadIfTable2 = NULL;
    Platform.FreeIfTable2 = NULL;
}

FakePlatform::~FakePlatform()
{
    Platform = saved;
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
