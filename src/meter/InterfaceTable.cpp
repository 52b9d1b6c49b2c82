#include "InterfaceTable.h"

#include <stddef.h>

#include "AdapterTables.h"

#define IF_TABLE_FIRST_SIZE 864  // room for one row

static int ReadWideTable(InterfaceTable* table)
{
    MIB_IF_TABLE2* wide = NULL;
    if (AdapterTables.ReadIfTable2(&wide) != NO_ERROR || wide == NULL)
        return 0;
    DWORD count = wide->NumEntries;
    int room = table->Reserve((int)count);
    if (room) {
        for (DWORD i = 0; i < count; i++) {
            InterfaceRow row;
            if (RowFromIfRow2(&wide->Table[i], &row))
                table->Append(row);
        }
    }
    AdapterTables.FreeIfTable2(wide);
    return room;
}

// Reads the 32-bit table into buffer, growing it once when the first size is too small.
static MIB_IFTABLE* ReadNarrowTable(GrowArray<BYTE>& buffer, ULONG* sizeHint)
{
    ULONG size = *sizeHint > IF_TABLE_FIRST_SIZE ? *sizeHint : IF_TABLE_FIRST_SIZE;
    if (!buffer.Resize((int)size))
        return NULL;
    DWORD error = AdapterTables.ReadIfTable((MIB_IFTABLE*)buffer.Data(), &size, FALSE);
    if (error == ERROR_INSUFFICIENT_BUFFER) {
        if (!buffer.Resize((int)size))
            return NULL;
        error = AdapterTables.ReadIfTable((MIB_IFTABLE*)buffer.Data(), &size, FALSE);
    }
    if (error != NO_ERROR)
        return NULL;
    *sizeHint = size;
    return (MIB_IFTABLE*)buffer.Data();
}

int ReadInterfaceTable(InterfaceTable* table, ULONG* sizeHint)
{
    table->Clear();
    if (AdapterTables.ReadIfTable2 != NULL && AdapterTables.FreeIfTable2 != NULL)
        return ReadWideTable(table);

    GrowArray<BYTE> buffer;
    MIB_IFTABLE* narrow = ReadNarrowTable(buffer, sizeHint);
    if (narrow == NULL)
        return 0;
    // Never trust a row count beyond the buffer the rows came in.
    DWORD count = narrow->dwNumEntries;
    DWORD room = (DWORD)((*sizeHint - offsetof(MIB_IFTABLE, table)) / sizeof(MIB_IFROW));
    if (count > room)
        count = room;
    if (!table->Resize((int)count))
        return 0;
    for (DWORD i = 0; i < count; i++)
        RowFromIfRow(&narrow->table[i], &(*table)[(int)i]);
    return 1;
}
