#include "InterfaceIdentity.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "AddressTableCycle.h"
#include "BoundedText.h"
#include "Platform.h"
#include "Utf8Text.h"

// The longest system error text kept, in UTF-8 bytes.
#define SYSTEM_ERROR_CHARS 1024

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

int SameInterfaceInstance(const MIB_IFROW* a, unsigned __int64 luidA, const MIB_IFROW* b,
                          unsigned __int64 luidB)
{
    if (luidA != 0 && luidB != 0)
        return luidA == luidB;
    return a->dwIndex == b->dwIndex;
}

void FormatInterfaceSectionName(const MIB_IFROW* row, unsigned __int64 luid, char* buffer,
                                size_t size)
{
    if (luid != 0)
        BoundedPrint(buffer, size, "IF-%016I64X", luid);
    else
        BoundedPrint(buffer, size, "IF-INDEX-%lu", row->dwIndex);
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

void FormatSystemError(DWORD code, char* buffer, size_t size, LANGID language)
{
    if (size == 0)
        return;
    // The system's text is in the user's language, beyond the ANSI code page on many systems.
    wchar_t* wide = NULL;
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                       FORMAT_MESSAGE_ALLOCATE_BUFFER,
                   NULL, code, language, (LPWSTR)&wide, 0, NULL);
    char text[SYSTEM_ERROR_CHARS];
    text[0] = 0;
    if (wide != NULL) {
        WideToUtf8(wide, text, sizeof(text));
        LocalFree(wide);
    }
    _snprintf(buffer, size, "%#x '%s'", (unsigned)code, text);
    buffer[size - 1] = 0;
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
    // Inside a poll cycle every lookup answers from the cycle's one read of the table.
    AddressTableCycle* cycle = AddressTableCycle::Current();
    if (cycle != NULL)
        return FindIPv4Text(cycle->Table, cycle->Error, index, buffer, size);
    DWORD error = 0;
    MIB_IPADDRTABLE* table = ReadAddressTable(&error);
    int found = FindIPv4Text(table, error, index, buffer, size);
    free(table);
    return found;
}
