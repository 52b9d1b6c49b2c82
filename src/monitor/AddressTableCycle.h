// One read of the IPv4 address table for a whole poll cycle: while an AddressTableCycle
// exists, every IPv4 lookup answers from its table instead of reading the table again.
#ifndef BRISVANE_ADDRESSTABLECYCLE_H
#define BRISVANE_ADDRESSTABLECYCLE_H

#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>  // before iphlpapi.h, for the 64-bit interface rows
#include <iphlpapi.h>

class AddressTableCycle {
public:
    AddressTableCycle();
    ~AddressTableCycle();

    // The open cycle, or null between cycles.
    static AddressTableCycle* Current();

    MIB_IPADDRTABLE* Table;  // null when the read failed
    DWORD Error;             // the read's result

private:
    AddressTableCycle* Outer;
    AddressTableCycle(const AddressTableCycle&);
    AddressTableCycle& operator=(const AddressTableCycle&);
};

// Reads the address table into a new buffer (free it with free); sets error to the result.
// Null with no error when no memory could be had.
MIB_IPADDRTABLE* ReadAddressTable(DWORD* error);

#endif
