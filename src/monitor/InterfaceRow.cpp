#include "InterfaceRow.h"

#include <string.h>

#include "BoundedText.h"
#include "InterfaceIdentity.h"

#define MAX_DWORD 0xFFFFFFFFULL

void RowFromIfRow(const MIB_IFROW* source, InterfaceRow* row)
{
    memset(row, 0, sizeof(*row));
    row->Row = *source;
    row->InOctets = source->dwInOctets;
    row->OutOctets = source->dwOutOctets;
    row->BitsPerSecond = source->dwSpeed;
}

// The 32-bit table's connection states, from the 64-bit row's administrative and operational
// states, so that the status texts of the page read the same from either table.
static DWORD OperStatusOf(const MIB_IF_ROW2* source)
{
    if (source->AdminStatus != NET_IF_ADMIN_STATUS_UP)
        return IF_OPER_STATUS_NON_OPERATIONAL;
    switch (source->OperStatus) {
    case IfOperStatusUp:
        return IF_OPER_STATUS_OPERATIONAL;
    case IfOperStatusDormant:
        return IF_OPER_STATUS_CONNECTING;
    case IfOperStatusDown:
    case IfOperStatusLowerLayerDown:
    case IfOperStatusNotPresent:
        return IF_OPER_STATUS_DISCONNECTED;
    default:
        return IF_OPER_STATUS_UNREACHABLE;
    }
}

// What the user sees of an adapter comes from here when the system has the 64-bit table: the
// index, hardware address, description (in the ANSI code page, as the 32-bit table gives it),
// link speed (held at the 32-bit maximum in the row, whole beside it) and connection state; the
// counters are kept whole beside the row and only their low 32 bits go into it.
int RowFromIfRow2(const MIB_IF_ROW2* source, InterfaceRow* row)
{
    if (source->InterfaceAndOperStatusFlags.FilterInterface)
        return 0;
    memset(row, 0, sizeof(*row));
    MIB_IFROW& target = row->Row;
    target.dwIndex = source->InterfaceIndex;
    target.dwType = source->Type;
    target.dwMtu = source->Mtu;
    unsigned __int64 speed = source->ReceiveLinkSpeed > source->TransmitLinkSpeed
                                 ? source->ReceiveLinkSpeed
                                 : source->TransmitLinkSpeed;
    target.dwSpeed = (DWORD)(speed > MAX_DWORD ? MAX_DWORD : speed);
    target.dwPhysAddrLen = source->PhysicalAddressLength > MAX_PHYS_ADDR
                               ? MAX_PHYS_ADDR
                               : source->PhysicalAddressLength;
    memcpy(target.bPhysAddr, source->PhysicalAddress, target.dwPhysAddrLen);
    target.dwAdminStatus = source->AdminStatus;
    target.dwOperStatus = OperStatusOf(source);
    target.dwInOctets = (DWORD)source->InOctets;
    target.dwOutOctets = (DWORD)source->OutOctets;
    int length = WideCharToMultiByte(CP_ACP, 0, source->Description, -1, (char*)target.bDescr,
                                     MAX_DESCR, NULL, NULL);
    if (length <= 0) {
        target.bDescr[MAX_DESCR - 1] = 0;
        length = (int)strlen((const char*)target.bDescr) + 1;
    }
    target.dwDescrLen = (DWORD)length;  // with its terminator, as the 32-bit table counts it

    row->InOctets = source->InOctets;
    row->OutOctets = source->OutOctets;
    row->BitsPerSecond = speed;
    row->Wide = 1;
    row->Luid = source->InterfaceLuid.Value;
    return 1;
}

int SameInterface(const MIB_IFROW* a, unsigned __int64 luidA, const MIB_IFROW* b,
                  unsigned __int64 luidB)
{
    if (PhysAddrLength(a) != 0 || PhysAddrLength(b) != 0)
        return SameHardwareAddress(a, b);
    if (luidA != 0 || luidB != 0)
        return luidA == luidB;
    DWORD length = DescrLength(a);
    return a->dwIndex == b->dwIndex && length == DescrLength(b) &&
           strncmp((const char*)a->bDescr, (const char*)b->bDescr, length) == 0;
}

void FormatSectionName(const MIB_IFROW* row, unsigned __int64 luid, char* buffer, size_t size)
{
    if (PhysAddrLength(row) != 0)
        FormatMacText(row->bPhysAddr, PhysAddrLength(row), buffer, size);
    else
        FormatInterfaceSectionName(row, luid, buffer, size);
}
