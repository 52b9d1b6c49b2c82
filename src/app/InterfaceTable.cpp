#include "InterfaceTable.h"

#include <stddef.h>
#include <stdlib.h>

#include "Platform.h"

#define IF_TABLE_FIRST_SIZE 864  // room for one row

static int ReadWideTable(InterfaceTable* table)
{
    MIB_IF_TABLE2* wide = NULL;
    if (Platform.ReadIfTable2(&wide) != NO_ERROR || wide == NULL)
        return 0;
    DWORD count = wide->NumEntries;
    table->Rows = (InterfaceRow*)malloc(sizeof(InterfaceRow) * (count > 0 ? count : 1));
    if (table->Rows != NULL) {
        for (DWORD i = 0; i < count; i++) {
            if (RowFromIfRow2(&wide->Table[i], &table->Rows[table->Count]))
                table->Count++;
        }
    }
    Platform.FreeIfTable2(wide);
    return table->Rows != NULL;
}

// Reads the 32-bit table into a new buffer, growing it once when the first is too small.
static MIB_IFTABLE* ReadNarrowTable(ULONG* sizeHint)
{
    ULONG size = *sizeHint > IF_TABLE_FIRST_SIZE ? *sizeHint : IF_TABLE_FIRST_SIZE;
    MIB_IFTABLE* table = (MIB_IFTABLE*)malloc(size);
    if (table == NULL)
        return NULL;
    DWORD error = Platform.ReadIfTable(table, &size, FALSE);
    if (error == ERROR_INSUFFICIENT_BUFFER) {
        free(table);
        table = (MIB_IFTABLE*)malloc(size);
        if (table == NULL)
            return NULL;
        error = Platform.ReadIfTable(table, &size, FALSE);
    }
    if (error != NO_ERROR) {
        free(table);
        return NULL;
    }
    *sizeHint = size;
    return table;
}

int ReadInterfaceTable(InterfaceTable* table, ULONG* sizeHint)
{
    table->Rows = NULL;
    table->Count = 0;
    if (Platform.ReadIfTable2 != NULL && Platform.FreeIfTable2 != NULL)
        return ReadWideTable(table);

    MIB_IFTABLE* narrow = ReadNarrowTable(sizeHint);
    if (narrow == NULL)
        return 0;
    // Never trust a row count beyond the buffer the rows came in.
    DWORD count = narrow->dwNumEntries;
    DWORD room = (DWORD)((*sizeHint - offsetof(MIB_IFTABLE, table)) / sizeof(MIB_IFROW));
    if (count > room)
        count = room;
    table->Rows = (InterfaceRow*)malloc(sizeof(InterfaceRow) * (count > 0 ? count : 1));
    if (table->Rows != NULL) {
        for (DWORD i = 0; i < count; i++)
            RowFromIfRow(&narrow->table[i], &table->Rows[i]);
        table->Count = count;
    }
    free(narrow);
    return table->Rows != NULL;
}

void FreeInterfaceTable(InterfaceTable* table)
{
    free(table->Rows);
    table->Rows = NULL;
    table->Count = 0;
}
