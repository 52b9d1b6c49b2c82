#include "InterfaceRow.h"

#include <string.h>

#include "AllAdapters.h"
#include "BoundedText.h"
#include "InterfaceIdentity.h"
#include "Utf8Text.h"

#define MAX_DWORD 0xFFFFFFFFULL

// A description as UTF-8 in the row's own bytes, cut only between characters; its length
// counts the terminator, as the 32-bit table counts it.
static void SetDescription(MIB_IFROW* target, const wchar_t* description)
{
    size_t bytes = WideToUtf8(description, (char*)target->bDescr, MAX_DESCR);
    target->dwDescrLen = (DWORD)bytes + 1;
}

void RowFromIfRow(const MIB_IFROW* source, InterfaceRow* row)
{
    memset(row, 0, sizeof(*row));
    row->Row = *source;
    // The 32-bit table gives the description in the ANSI code page.
    DWORD length = DescrLength(source);
    while (length > 0 && source->bDescr[length - 1] == 0)
        length--;
    length = (DWORD)strnlen((const char*)source->bDescr, length);
    wchar_t wide[MAX_DESCR + 1];
    int units = length == 0 ? 0
                            : MultiByteToWideChar(CP_ACP, 0, (const char*)source->bDescr,
                                                  (int)length, wide, MAX_DESCR);
    wide[units > 0 ? units : 0] = 0;
    memset(row->Row.bDescr, 0, sizeof(row->Row.bDescr));
    SetDescription(&row->Row, wide);
    row->InOctets = source->dwInOctets;
    row->OutOctets = source->dwOutOctets;
    row->BitsPerSecond = source->dwSpeed;
    row->Hardware = HardwareUnknown;
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
// index, hardware address, description (UTF-8, as every row holds it),
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
    wchar_t description[ARRAYSIZE(source->Description)];
    memcpy(description, source->Description, sizeof(description));
    description[ARRAYSIZE(description) - 1] = 0;
    SetDescription(&target, description);

    row->InOctets = source->InOctets;
    row->OutOctets = source->OutOctets;
    row->BitsPerSecond = speed;
    row->Wide = 1;
    row->Luid = source->InterfaceLuid.Value;
    row->Hardware = source->InterfaceAndOperStatusFlags.HardwareInterface ? 1 : 0;
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
