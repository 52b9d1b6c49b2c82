// One row of the interface table as the program uses it: the 32-bit row that the pages, the
// logs and the identity rules read (its description in UTF-8, from either table), with the full-width counters, link speed and the
// interface's LUID beside it when the system gives them.
#ifndef BRISVANE_INTERFACEROW_H
#define BRISVANE_INTERFACEROW_H

#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>  // before iphlpapi.h, for the 64-bit interface rows
#include <iphlpapi.h>
#include <stddef.h>

struct InterfaceRow {
    MIB_IFROW Row;
    unsigned __int64 InOctets;       // the counters at their full width
    unsigned __int64 OutOctets;
    unsigned __int64 BitsPerSecond;  // the link speed at its full width
    int Wide;                        // the counters are 64-bit and only fall when reset
    unsigned __int64 Luid;           // the interface's LUID, 0 when the system gave none
    // The 64-bit table's hardware flag (1 or 0); HardwareUnknown from the 32-bit table, which
    // has none. The interface type is the row's dwType.
    int Hardware;
};

// A row of the 32-bit table.
void RowFromIfRow(const MIB_IFROW* source, InterfaceRow* row);
// A row of the 64-bit table. 0 for rows that are no interface of their own (filter layers
// stacked on an adapter, which report the adapter's address and traffic again).
int RowFromIfRow2(const MIB_IF_ROW2* source, InterfaceRow* row);

// Whether two rows stand for the same adapter: by hardware address, or, for interfaces without
// one (VPN, PPP and tunnel adapters), by LUID when the system gives it, else by index and
// description.
int SameInterface(const MIB_IFROW* a, unsigned __int64 luidA, const MIB_IFROW* b,
                  unsigned __int64 luidB);

// The INI section of an adapter's counters: its MAC text, or for an interface without a
// hardware address "IF-" and its LUID in hex ("IF-INDEX-" and its index without a LUID), a
// name no MAC text can take.
void FormatSectionName(const MIB_IFROW* row, unsigned __int64 luid, char* buffer, size_t size);

#endif
