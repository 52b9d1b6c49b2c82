// The IP Helper tables that tests replace: the interface tables and the address table. The
// shipped program leaves them pointing at the platform.
#ifndef BRISVANE_ADAPTERTABLES_H
#define BRISVANE_ADAPTERTABLES_H

#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
#include <netioapi.h>

typedef DWORD(WINAPI* IfTableFunction)(PMIB_IFTABLE, PULONG, BOOL);
typedef DWORD(WINAPI* IpAddrTableFunction)(PMIB_IPADDRTABLE, PULONG, BOOL);
typedef DWORD(WINAPI* IfTable2Function)(PMIB_IF_TABLE2*);
typedef void(WINAPI* FreeTableFunction)(PVOID);

struct AdapterTableCalls {
    IfTableFunction ReadIfTable;            // GetIfTable
    IpAddrTableFunction ReadIpAddrTable;    // GetIpAddrTable
    // GetIfTable2 and FreeMibTable, looked up at start in the IP Helper that the calls above
    // load with the program: null on a system without them, which then reads the 32-bit table.
    IfTable2Function ReadIfTable2;
    FreeTableFunction FreeIfTable2;
};

extern AdapterTableCalls AdapterTables;

#endif
