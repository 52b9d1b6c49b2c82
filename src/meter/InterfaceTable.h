// The interface table of one poll cycle, read once: the 64-bit table where the system has it,
// else the 32-bit one, as rows of one form for the rest of the program.
#ifndef BRISVANE_INTERFACETABLE_H
#define BRISVANE_INTERFACETABLE_H

#include "GrowArray.h"
#include "InterfaceRow.h"

typedef GrowArray<InterfaceRow> InterfaceTable;

// 1 with the rows; 0 when the table could not be read or memory is short. sizeHint carries the
// 32-bit table's size from one read to the next, so that a cycle normally reads it once.
int ReadInterfaceTable(InterfaceTable* table, ULONG* sizeHint);

#endif
