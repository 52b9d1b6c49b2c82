#include "AdapterTables.h"

// Thin calls of our own, so that the record is filled before any other start-up code runs
// (the addresses of imported functions are only known at load time).
static DWORD WINAPI CallGetIfTable(PMIB_IFTABLE table, PULONG size, BOOL order)
{
    return GetIfTable(table, size, order);
}

static DWORD WINAPI CallGetIpAddrTable(PMIB_IPADDRTABLE table, PULONG size, BOOL order)
{
    return GetIpAddrTable(table, size, order);
}

template <typename Function> static Function LookUp(const char* module, const char* name)
{
    HMODULE library = GetModuleHandleA(module);
    return library != NULL ? (Function)(void*)GetProcAddress(library, name) : NULL;
}

AdapterTableCalls AdapterTables = {CallGetIfTable, CallGetIpAddrTable,
                                   LookUp<IfTable2Function>("iphlpapi.dll", "GetIfTable2"),
                                   LookUp<FreeTableFunction>("iphlpapi.dll", "FreeMibTable")};
