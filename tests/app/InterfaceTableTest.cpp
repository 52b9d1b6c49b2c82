// The program reads the 64-bit interface table where the system has it: the IP Helper that it
// loads at start gives GetIfTable2, and a cycle's read takes that table, not the 32-bit one.
#include <gtest/gtest.h>

#include "AdapterTables.h"
#include "InterfaceTable.h"

namespace {

AdapterTableCalls Real;
int WideReads;
int NarrowReads;

DWORD WINAPI CountedIfTable2(PMIB_IF_TABLE2* table)
{
    WideReads++;
    return Real.ReadIfTable2(table);
}

DWORD WINAPI CountedIfTable(PMIB_IFTABLE table, PULONG size, BOOL order)
{
    NarrowReads++;
    return Real.ReadIfTable(table, size, order);
}

}  // namespace

TEST(InterfaceTableTest, TheSixtyFourBitTableIsFoundAtStartAndRead)
{
    HMODULE ipHelper = GetModuleHandleA("iphlpapi.dll");
    ASSERT_NE(nullptr, ipHelper);  // loaded with the program, before the record was filled
    ASSERT_NE(nullptr, AdapterTables.ReadIfTable2);
    ASSERT_NE(nullptr, AdapterTables.FreeIfTable2);
    EXPECT_EQ((void*)GetProcAddress(ipHelper, "GetIfTable2"), (void*)AdapterTables.ReadIfTable2);

    Real = AdapterTables;
    WideReads = 0;
    NarrowReads = 0;
    AdapterTables.ReadIfTable2 = CountedIfTable2;
    AdapterTables.ReadIfTable = CountedIfTable;
    InterfaceTable table;
    ULONG sizeHint = 0;
    int read = ReadInterfaceTable(&table, &sizeHint);
    AdapterTables = Real;

    EXPECT_EQ(1, read);
    EXPECT_EQ(1, WideReads);
    EXPECT_EQ(0, NarrowReads);
    for (int i = 0; i < table.Count(); i++)
        EXPECT_TRUE(table[i].Wide) << i;
}
