// The identity of an interface and its text forms: hardware address, MAC text, IPv4 text.
#ifndef BRISVANE_INTERFACEIDENTITY_H
#define BRISVANE_INTERFACEIDENTITY_H

#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>  // before iphlpapi.h, for the 64-bit interface rows
#include <iphlpapi.h>
#include <stddef.h>

#define SHORT_TEXT 64
#define MAX_PHYS_ADDR 8     // bytes of MIB_IFROW.bPhysAddr
#define MAX_DESCR 256       // bytes of MIB_IFROW.bDescr

// The row's address length and description length, clamped to the row's arrays.
DWORD PhysAddrLength(const MIB_IFROW* row);
DWORD DescrLength(const MIB_IFROW* row);
// Same length and same first length bytes; two empty addresses are the same.
int SameHardwareAddress(const MIB_IFROW* a, const MIB_IFROW* b);
// Whether two rows are one interface whatever their addresses: by LUID when both have one,
// else by index. Several interfaces may share a hardware address (the VLANs of one card).
int SameInterfaceInstance(const MIB_IFROW* a, unsigned __int64 luidA, const MIB_IFROW* b,
                          unsigned __int64 luidB);
// The INI section of an interface named by itself rather than by its hardware address: "IF-"
// and its LUID in hex, or "IF-INDEX-" and its index without a LUID; no MAC text takes it.
void FormatInterfaceSectionName(const MIB_IFROW* row, unsigned __int64 luid, char* buffer,
                                size_t size);

void FormatMacText(const BYTE* address, DWORD length, char* buffer, size_t size);
void FormatIPv4(DWORD address, char* buffer, size_t size);
// The code in hex and the system's text for it in quotes, as UTF-8; in the user's language unless
// another is asked for.
void FormatSystemError(DWORD code, char* buffer, size_t size,
                       LANGID language = LANG_USER_DEFAULT);
// 1 when the interface has an IPv4 address and its text was written; the buffer always gets a
// text: the address, "!not_found!" or the system error text of a failed table read.
int LookupIPv4Text(DWORD index, char* buffer, size_t size);
// The same search in a table already read (error: the read's result, 0 for success).
int FindIPv4Text(const MIB_IPADDRTABLE* table, DWORD error, DWORD index, char* buffer,
                 size_t size);

#endif
