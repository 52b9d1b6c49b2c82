#include "AddressTableCycle.h"

#include <stdlib.h>
#include <string.h>

#include "AdapterTables.h"

#define ADDRESS_TABLE_FIRST_SIZE 28  // room for one row

static AddressTableCycle* OpenCycle = NULL;
// The size the last read needed: starting there saves the second read of every cycle.
static ULONG AddressTableSize = ADDRESS_TABLE_FIRST_SIZE;

MIB_IPADDRTABLE* ReadAddressTable(DWORD* error)
{
    ULONG size = AddressTableSize;
    MIB_IPADDRTABLE* table = (MIB_IPADDRTABLE*)calloc(1, size);
    if (table == NULL) {
        *error = NO_ERROR;  // no memory: no address found, no system text either
        return NULL;
    }
    *error = AdapterTables.ReadIpAddrTable(table, &size, FALSE);
    if (*error == ERROR_INSUFFICIENT_BUFFER) {
        free(table);
        table = (MIB_IPADDRTABLE*)calloc(1, size);
        if (table == NULL) {
            *error = ERROR_NOT_ENOUGH_MEMORY;
            return NULL;
        }
        *error = AdapterTables.ReadIpAddrTable(table, &size, FALSE);
    }
    if (*error == NO_ERROR && size > ADDRESS_TABLE_FIRST_SIZE)
        AddressTableSize = size;
    return table;
}

AddressTableCycle::AddressTableCycle() : Table(NULL), Error(0), Outer(OpenCycle)
{
    Table = ReadAddressTable(&Error);
    OpenCycle = this;
}

AddressTableCycle::~AddressTableCycle()
{
    free(Table);
    OpenCycle = Outer;
}

AddressTableCycle* AddressTableCycle::Current()
{
    return OpenCycle;
}
