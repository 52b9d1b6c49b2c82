// The identity of an interface and its texts: hardware address, MAC text, IPv4 text, errors.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "FakePlatform.h"
#include "InterfaceIdentity.h"

namespace {

std::string MacText(const BYTE* address, DWORD length, size_t size = 64)
{
    char buffer[80];
    memset(buffer, '#', sizeof(buffer));
    FormatMacText(address, length, buffer, size);
    EXPECT_EQ('#', buffer[size]) << "written past the buffer";
    return buffer;
}

std::string SystemText(DWORD code)
{
    char* text = NULL;
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                       FORMAT_MESSAGE_ALLOCATE_BUFFER,
                   NULL, code, LANG_USER_DEFAULT, (LPSTR)&text, 0, NULL);
    std::string result = text != NULL ? text : "";
    LocalFree(text);
    return result;
}

const BYTE Example[8] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E, 0xCD, 0xEF};

TEST(MacTextTest, BytesInUpperCaseHexJoinedByDashes)
{
    EXPECT_EQ("00-1A-2B-3C-4D-5E", MacText(Example, 6));
    EXPECT_EQ("00-00-00-00-00-00", MacText(Example, 0));
    EXPECT_EQ("00-1A-2B-3C-4D-5E-CD-EF", MacText(Example, 8));
    EXPECT_EQ(23u, MacText(Example, 8).size());
    EXPECT_EQ("00", MacText(Example, 1));
}

TEST(MacTextTest, NeverReadsOrWritesPastItsArrays)
{
    // A length the row cannot hold reads the eight bytes there are.
    EXPECT_EQ("00-1A-2B-3C-4D-5E-CD-EF", MacText(Example, 200));
    EXPECT_EQ("00-1A-2B-3C-4D-5E-CD-EF", MacText(Example, 0xFFFFFFFF));
    // A short buffer gets what fits, terminated.
    EXPECT_EQ("00-1", MacText(Example, 6, 5));
    EXPECT_EQ("00-00", MacText(Example, 0, 6));
}

TEST(HardwareAddressTest, LengthsAreClampedToTheRowsArrays)
{
    MIB_IFROW rows[2];
    memset(rows, 0, sizeof(rows));
    memcpy(rows[0].bPhysAddr, Example, 8);
    memcpy(rows[1].bPhysAddr, Example, 8);
    rows[0].dwPhysAddrLen = 200;
    rows[1].dwPhysAddrLen = 0xFFFFFFFF;
    rows[0].dwDescrLen = 5000;
    // What lies beyond the address array differs: it must not be compared.
    rows[0].dwAdminStatus = 1;
    rows[1].dwAdminStatus = 2;
    EXPECT_EQ(8u, PhysAddrLength(&rows[0]));
    EXPECT_EQ(256u, DescrLength(&rows[0]));
    EXPECT_EQ(1, SameHardwareAddress(&rows[0], &rows[1]));

    rows[1].dwPhysAddrLen = 6;
    EXPECT_EQ(6u, PhysAddrLength(&rows[1]));
    EXPECT_EQ(0, SameHardwareAddress(&rows[0], &rows[1]));
    rows[0].dwPhysAddrLen = 6;
    EXPECT_EQ(1, SameHardwareAddress(&rows[0], &rows[1]));
    rows[1].bPhysAddr[5] = 0x5F;
    EXPECT_EQ(0, SameHardwareAddress(&rows[0], &rows[1]));

    // Two empty addresses are the same, whatever the bytes hold.
    rows[0].dwPhysAddrLen = 0;
    rows[1].dwPhysAddrLen = 0;
    EXPECT_EQ(1, SameHardwareAddress(&rows[0], &rows[1]));
}

std::string IPv4(BYTE a, BYTE b, BYTE c, BYTE d)
{
    BYTE bytes[4] = {a, b, c, d};
    DWORD address;
    memcpy(&address, bytes, 4);
    char buffer[64];
    FormatIPv4(address, buffer, sizeof(buffer));
    return buffer;
}

TEST(IPv4TextTest, FirstOctetFromTheLowestByte)
{
    EXPECT_EQ("127.0.0.1", IPv4(127, 0, 0, 1));
    EXPECT_EQ("192.168.1.10", IPv4(192, 168, 1, 10));
    EXPECT_EQ("0.0.0.0", IPv4(0, 0, 0, 0));
    EXPECT_EQ("255.255.255.255", IPv4(255, 255, 255, 255));
}

TEST(SystemErrorTest, CodeInHexAndTheSystemsTextInQuotes)
{
    char buffer[256];
    FormatSystemError(ERROR_ACCESS_DENIED, buffer, sizeof(buffer));
    ASSERT_FALSE(SystemText(ERROR_ACCESS_DENIED).empty());
    EXPECT_EQ("0x5 '" + SystemText(ERROR_ACCESS_DENIED) + "'", std::string(buffer));

    FormatSystemError(0x2BADF00D, buffer, sizeof(buffer));
    EXPECT_STREQ("0x2badf00d ''", buffer);

    memset(buffer, '#', sizeof(buffer));
    FormatSystemError(ERROR_ACCESS_DENIED, buffer, 8);
    EXPECT_STREQ("0x5 '", std::string(buffer).substr(0, 5).c_str());
    EXPECT_EQ(7u, strlen(buffer));
    EXPECT_EQ('#', buffer[8]);

    // A text beyond the code page the tests run under arrives whole, as UTF-8.
    FormatSystemError(ERROR_ACCESS_DENIED, buffer, sizeof(buffer),
                      MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT));
    EXPECT_STREQ("0x5 '\xD0\x94\xD0\xBE\xD1\x81\xD1\x82\xD1\x83\xD0\xBF "
                 "\xD0\xB7\xD0\xB0\xD0\xBF\xD1\x80\xD0\xB5\xD1\x89\xD1\x91\xD0\xBD.\r\n'",
                 buffer);
}

struct AddressTable {
    std::vector<BYTE> Bytes;
    explicit AddressTable(const std::vector<MIB_IPADDRROW>& rows)
        : Bytes(sizeof(DWORD) + sizeof(MIB_IPADDRROW) * (rows.size() + 1))
    {
        MIB_IPADDRTABLE* table = Get();
        table->dwNumEntries = (DWORD)rows.size();
        for (size_t i = 0; i < rows.size(); i++)
            table->table[i] = rows[i];
    }
    MIB_IPADDRTABLE* Get() { return (MIB_IPADDRTABLE*)Bytes.data(); }
};

MIB_IPADDRROW AddressRow(DWORD index, BYTE last)
{
    MIB_IPADDRROW row;
    memset(&row, 0, sizeof(row));
    BYTE bytes[4] = {10, 0, 0, last};
    memcpy(&row.dwAddr, bytes, 4);
    row.dwIndex = index;
    return row;
}

TEST(IPv4LookupTest, FirstAddressOfTheInterfaceInTableOrder)
{
    AddressTable table({AddressRow(3, 30), AddressRow(7, 71), AddressRow(7, 72)});
    char buffer[64];
    EXPECT_EQ(1, FindIPv4Text(table.Get(), NO_ERROR, 7, buffer, sizeof(buffer)));
    EXPECT_STREQ("10.0.0.71", buffer);
    EXPECT_EQ(1, FindIPv4Text(table.Get(), NO_ERROR, 3, buffer, sizeof(buffer)));
    EXPECT_STREQ("10.0.0.30", buffer);
    EXPECT_EQ(0, FindIPv4Text(table.Get(), NO_ERROR, 9, buffer, sizeof(buffer)));
    EXPECT_STREQ("!not_found!", buffer);
}

TEST(IPv4LookupTest, AFailedReadGivesTheErrorText)
{
    AddressTable table({AddressRow(7, 71)});
    char buffer[64];
    EXPECT_EQ(0, FindIPv4Text(table.Get(), ERROR_NOT_SUPPORTED, 7, buffer, sizeof(buffer)));
    char expected[64];
    FormatSystemError(ERROR_NOT_SUPPORTED, expected, sizeof(expected));
    EXPECT_STREQ(expected, buffer);
    EXPECT_EQ(0, strncmp(buffer, "0x32 '", 6));
}

TEST(IPv4LookupTest, ReadsATableLargerThanOneRow)
{
    FakePlatform fake;
    for (DWORD index = 1; index <= 5; index++)
        fake.SetAddress(index, ("192.168.0." + std::to_string(index)).c_str());
    char buffer[64];
    EXPECT_EQ(1, LookupIPv4Text(5, buffer, sizeof(buffer)));
    EXPECT_STREQ("192.168.0.5", buffer);
    EXPECT_EQ(2, fake.AddressTableReads);  // the size query, then the table
    EXPECT_EQ(0, LookupIPv4Text(6, buffer, sizeof(buffer)));
    EXPECT_STREQ("!not_found!", buffer);
}

}  // namespace
