#include "InterfaceIdentity.h"

#include <stdio.h>
#include <string.h>

#include "Platform.h"

#define IPADDR_ROW_TABLE_BYTES 28
// The table may grow between the size query and the read; a few tries are enough.
#define IPADDR_READ_TRIES 3

DWORD PhysAddrLength(const MIB_IFROW* row)
{
    return row->dwPhysAddrLen > MAX_PHYS_ADDR ? MAX_PHYS_ADDR : row->dwPhysAddrLen;
}

DWORD DescrLength(const MIB_IFROW* row)
{
    return row->dwDescrLen > MAX_DESCR ? MAX_DESCR : row->dwDescrLen;
}

int SameHardwareAddress(const MIB_IFROW* a, const MIB_IFROW* b)
{
    DWORD length = PhysAddrLength(a);
    return length == PhysAddrLength(b) && memcmp(a->bPhysAddr, b->bPhysAddr, length) == 0;
}

void FormatMacText(const BYTE* address, DWORD length, char* buffer, size_t size)
{
    if (size == 0)
        return;
    if (length > MAX_PHYS_ADDR)
        length = MAX_PHYS_ADDR;
    if (length == 0) {
        _snprintf(buffer, size, "00-00-00-00-00-00");
        buffer[size - 1] = 0;
        return;
    }
    size_t used = 0;
    buffer[0] = 0;
    for (DWORD i = 0; i < length && used + 1 < size; i++) {
        int written = _snprintf(buffer + used, size - used, "%02X-", address[i]);
        used = (written < 0 || (size_t)written >= size - used) ? size - 1 : used + written;
    }
    buffer[used] = 0;
    // The separator after the last byte goes.
    if (used > 0 && buffer[used - 1] == '-')
        buffer[used - 1] = 0;
}

void FormatIPv4(DWORD address, char* buffer, size_t size)
{
    if (size == 0)
        return;
    const BYTE* bytes = (const BYTE*)&address;  // first octet in the lowest-order byte
    _snprintf(buffer, size, "%d.%d.%d.%d", bytes[0], bytes[1], bytes[2], bytes[3]);
    buffer[size - 1] = 0;
}

void FormatSystemError(DWORD code, char* buffer, size_t size)
{
    if (size == 0)
        return;
    char* text = NULL;
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                       FORMAT_MESSAGE_ALLOCATE_BUFFER,
                   NULL, code, LANG_USER_DEFAULT, (LPSTR)&text, 0, NULL);
    _snprintf(buffer, size, "%#x '%s'", (unsigned)code, text != NULL ? text : "");
    buffer[size - 1] = 0;
    if (text != NULL)
        LocalFree(text);
}

int FindIPv4Text(const MIB_IPADDRTABLE* table, DWORD error, DWORD index, char* buffer,
                 size_t size)
{
    if (size == 0)
        return 0;
    _snprintf(buffer, size, "!not_found!");
    buffer[size - 1] = 0;
    if (error != NO_ERROR) {
        FormatSystemError(error, buffer, size);
        return 0;
    }
    if (table == NULL)
        return 0;
    for (DWORD i = 0; i < table->dwNumEntries; i++) {
        if (table->table[i].dwIndex == index) {
            FormatIPv4(table->table[i].dwAddr, buffer, size);
            return 1;
        }
    }
    return 0;
}

int LookupIPv4Text(DWORD index, char* buffer, size_t size)
{
    HANDLE heap = GetProcessHeap();
    ULONG tableSize = IPADDR_ROW_TABLE_BYTES;
    MIB_IPADDRTABLE* table = NULL;
    DWORD error = ERROR_INSUFFICIENT_BUFFER;
    for (int tries = 0; tries < IPADDR_READ_TRIES && error == ERROR_INSUFFICIENT_BUFFER;
         tries++) {
        if (table != NULL)
            HeapFree(heap, 0, table);
        table = (MIB_IPADDRTABLE*)HeapAlloc(heap, HEAP_ZERO_MEMORY, tableSize);
        if (table == NULL) {
            if (size != 0) {
                _snprintf(buffer, size, "!not_found!");
                buffer[size - 1] = 0;
            }
            return 0;
        }
        error = Platform.ReadIpAddrTable(table, &tableSize, FALSE);
    }
    int found = FindIPv4Text(table, error, index, buffer, size);
    HeapFree(heap, 0, table);
    return found;
}
