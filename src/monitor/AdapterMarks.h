// What the user chose for an adapter, kept in its own section of the INI file beside its
// counters: "Hidden" (no tab) and "CountInAll" (added to "All adapters" with physical adapters
// only). Each is "1" or "0"; a value that is neither is ignored and left in the file as it is
// until the user changes that choice.
#ifndef BRISVANE_ADAPTERMARKS_H
#define BRISVANE_ADAPTERMARKS_H

#include "IniDocument.h"

constexpr char HiddenKey[] = "Hidden";
constexpr char CountInAllKey[] = "CountInAll";

// A mark as read: missing, unreadable, or a value.
enum MarkState { MarkMissing, MarkUnreadable, MarkSet };

struct AdapterMark {
    MarkState State = MarkMissing;
    bool Value = false;
};

struct AdapterMarks {
    AdapterMark Hidden;
    AdapterMark CountInAll;
};

// "1" or "0", blanks around it allowed.
AdapterMark ParseAdapterMark(const char* text);
AdapterMarks ReadAdapterMarks(IniDocument& document, const char* section);
// Writes each mark that is set; an unreadable or missing one is left as the file has it.
bool StoreAdapterMarks(const AdapterMarks& marks, IniDocument& document, const char* section);

#endif
