// The interface table of one poll cycle, read once: the 64-bit table where the system has it,
// else the 32-bit one, as rows of one form for the rest of the program.
#ifndef BRISVANE_INTERFACETABLE_H
#define BRISVANE_INTERFACETABLE_H

#include "InterfaceRow.h"

struct InterfaceTable {
    InterfaceRow* Rows;
    DWORD Count;
};

// 1 with the rows (let go of them with FreeInterfaceTable); 0 when the table could not be read.
// sizeHint carries the 32-bit table's size from one read to the next, so that a cycle normally
// reads it once.
int ReadInterfaceTable(InterfaceTable* table, ULONG* sizeHint);
void FreeInterfaceTable(InterfaceTable* table);

#endif
