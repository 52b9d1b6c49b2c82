#include "HistoryTable.h"

#include <string.h>

#include <algorithm>

#include "AddHeld.h"
#include "BoundedText.h"

void HistoryTable::Clear()
{
    Names.Free();
    Records.Free();
    Unread.Free();
    UnreadCount = 0;
    HandOverId = 0;
    HandOverDay = 0;
}

int HistoryTable::NameIndex(const char* mac, const char* description)
{
    // The newest names are the likeliest: a file lists its lines day by day.
    for (int i = Names.Count() - 1; i >= 0; i--)
        if (strcmp(Names[i].Mac, mac) == 0 && strcmp(Names[i].Description, description) == 0)
            return i;
    HistoryName* name = Names.AppendZeroed();
    if (name == NULL)
        return -1;
    CopyText(name->Mac, sizeof(name->Mac), mac);
    CopyText(name->Description, sizeof(name->Description), description);
    return Names.Count() - 1;
}

int HistoryTable::Append(int day, const char* mac, const char* description,
                         unsigned __int64 in, unsigned __int64 out)
{
    int name = NameIndex(mac, description);
    HistoryRecord record = {day, name, in, out};
    return name >= 0 && Records.Append(record);
}

static void Join(HistoryRecord* into, const HistoryRecord& from, int merge)
{
    if (merge == MergeAdd) {
        into->In = AddHeld(into->In, from.In);
        into->Out = AddHeld(into->Out, from.Out);
    } else {
        into->In = into->In > from.In ? into->In : from.In;
        into->Out = into->Out > from.Out ? into->Out : from.Out;
    }
    into->Name = from.Name;  // the later line names the adapter as it was last
}

void HistoryTable::Normalize(int merge)
{
    if (Records.Count() == 0)
        return;
    // The names in MAC order once, so that records compare by two numbers.
    int nameCount = Names.Count();
    GrowArray<int> rank, order;
    if (!rank.Resize(nameCount) || !order.Resize(nameCount))
        return;
    for (int i = 0; i < nameCount; i++)
        order[i] = i;
    const HistoryName* names = Names.Data();
    std::sort(order.begin(), order.end(),
              [names](int a, int b) { return strcmp(names[a].Mac, names[b].Mac) < 0; });
    for (int i = 0; i < nameCount; i++) {
        int same = i > 0 && strcmp(names[order[i]].Mac, names[order[i - 1]].Mac) == 0;
        rank[order[i]] = same ? rank[order[i - 1]] : i;
    }
    // Stable, so that of two lines of one day and adapter the later one comes last.
    const int* ranks = rank.Data();
    std::stable_sort(Records.begin(), Records.end(),
                     [ranks](const HistoryRecord& a, const HistoryRecord& b) {
                         return a.Day != b.Day ? a.Day < b.Day : ranks[a.Name] < ranks[b.Name];
                     });
    int kept = 0;
    for (int i = 0; i < Records.Count(); i++) {
        if (kept > 0 && Records[kept - 1].Day == Records[i].Day &&
            rank[Records[kept - 1].Name] == rank[Records[i].Name])
            Join(&Records[kept - 1], Records[i], merge);
        else
            Records[kept++] = Records[i];
    }
    Records.Resize(kept);
}

// The first record of the day or later in a normalized table.
static int FirstOfDay(const GrowArray<HistoryRecord>& records, int day)
{
    int low = 0, high = records.Count();
    while (low < high) {
        int middle = low + (high - low) / 2;
        if (records[middle].Day < day)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

const HistoryRecord* HistoryTable::Find(int day, const char* mac) const
{
    for (int i = FirstOfDay(Records, day); i < Records.Count() && Records[i].Day == day; i++)
        if (strcmp(Names[Records[i].Name].Mac, mac) == 0)
            return &Records[i];
    return NULL;
}

int HistoryTable::Merge(int day, const char* mac, const char* description,
                        unsigned __int64 in, unsigned __int64 out, int merge)
{
    int name = NameIndex(mac, description);
    if (name < 0)
        return 0;
    HistoryRecord joining = {day, name, in, out};
    int at = FirstOfDay(Records, day);
    for (; at < Records.Count() && Records[at].Day == day; at++) {
        int order = strcmp(Names[Records[at].Name].Mac, mac);
        if (order == 0) {
            Join(&Records[at], joining, merge);
            return 1;
        }
        if (order > 0)
            break;
    }
    int count = Records.Count();
    if (!Records.Resize(count + 1))
        return 0;
    memmove(&Records[at + 1], &Records[at], (size_t)(count - at) * sizeof(HistoryRecord));
    Records[at] = joining;
    return 1;
}
