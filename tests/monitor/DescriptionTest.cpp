// Adapter descriptions reach the pages as UTF-8 from either table: the 64-bit table's UTF-16
// and the 32-bit table's ANSI bytes (code page 1252 in the tests).
#include <gtest/gtest.h>
#include <string.h>

#include "InterfaceIdentity.h"
#include "InterfaceRow.h"

TEST(DescriptionTest, BothTablesGiveUtf8AndALongOneIsCutBetweenCharacters)
{
    MIB_IF_ROW2 wide;
    memset(&wide, 0, sizeof(wide));
    wcscpy(wide.Description, L"\x0410\x0434\x0430\x043F\x0442\x0435\x0440 \x6D41\x91CF");
    wide.AdminStatus = NET_IF_ADMIN_STATUS_UP;
    InterfaceRow row;
    ASSERT_EQ(1, RowFromIfRow2(&wide, &row));
    const char expected[] = "\xD0\x90\xD0\xB4\xD0\xB0\xD0\xBF\xD1\x82\xD0\xB5\xD1\x80 "
                            "\xE6\xB5\x81\xE9\x87\x8F";  // Адаптер 流量
    EXPECT_STREQ(expected, (const char*)row.Row.bDescr);
    EXPECT_EQ(sizeof(expected), DescrLength(&row.Row));  // the terminator counted, as before

    // 120 characters of three bytes each fill the 256 bytes with 85 whole ones.
    for (int i = 0; i < 120; i++)
        wide.Description[i] = 0x6D41;
    wide.Description[120] = 0;
    ASSERT_EQ(1, RowFromIfRow2(&wide, &row));
    EXPECT_EQ(85u * 3, strlen((const char*)row.Row.bDescr));

    MIB_IFROW ansi;
    memset(&ansi, 0, sizeof(ansi));
    strcpy((char*)ansi.bDescr, "Caf\xE9 adapter");
    ansi.dwDescrLen = (DWORD)strlen((char*)ansi.bDescr);  // some drivers count no terminator
    RowFromIfRow(&ansi, &row);
    EXPECT_STREQ("Caf\xC3\xA9 adapter", (const char*)row.Row.bDescr);
    EXPECT_EQ(strlen("Caf\xC3\xA9 adapter") + 1, DescrLength(&row.Row));
}
