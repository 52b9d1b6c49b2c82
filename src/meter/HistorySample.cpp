#include "HistorySample.h"

#include "HistoryTable.h"
#include "InterfaceIdentity.h"

static_assert(DESCRIPTION_CHARS == MAX_DESCR, "the history keeps the descriptions whole");

int AddHistorySample(UsageHistory& history, int day, const MIB_IFROW* row, unsigned __int64 in,
                     unsigned __int64 out)
{
    char mac[SHORT_TEXT];
    FormatMacText(row->bPhysAddr, PhysAddrLength(row), mac, sizeof(mac));
    return AddHistorySample(history, day, mac, row, in, out);
}

int AddHistorySample(UsageHistory& history, int day, const char* name, const MIB_IFROW* row,
                     unsigned __int64 in, unsigned __int64 out)
{
    char description[DESCRIPTION_CHARS + 1];
    CleanDescription((const char*)row->bDescr, DescrLength(row), description,
                     sizeof(description));
    return history.Add(day, name, description, in, out);
}
