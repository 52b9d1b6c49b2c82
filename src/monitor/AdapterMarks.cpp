#include "AdapterMarks.h"

#include "BoundedText.h"

namespace {

constexpr size_t MarkChars = 16;

AdapterMark ReadMark(IniDocument& document, const char* section, const char* key)
{
    char text[MarkChars];
    if (!document.Get(section, key, text, sizeof(text)))
        return AdapterMark();
    return ParseAdapterMark(text);
}

}  // namespace

AdapterMark ParseAdapterMark(const char* text)
{
    while (*text == ' ' || *text == '\t')
        text++;
    AdapterMark mark;
    mark.State = MarkUnreadable;
    if (*text != '0' && *text != '1')
        return mark;
    const char* rest = text + 1;
    while (*rest == ' ' || *rest == '\t')
        rest++;
    if (*rest != 0)
        return mark;
    mark.State = MarkSet;
    mark.Value = *text == '1';
    return mark;
}

AdapterMarks ReadAdapterMarks(IniDocument& document, const char* section)
{
    AdapterMarks marks;
    marks.Hidden = ReadMark(document, section, HiddenKey);
    marks.CountInAll = ReadMark(document, section, CountInAllKey);
    return marks;
}

bool StoreAdapterMarks(const AdapterMarks& marks, IniDocument& document, const char* section)
{
    bool stored = true;
    if (marks.Hidden.State == MarkSet)
        stored &= document.Set(section, HiddenKey, marks.Hidden.Value ? "1" : "0") != 0;
    if (marks.CountInAll.State == MarkSet)
        stored &= document.Set(section, CountInAllKey, marks.CountInAll.Value ? "1" : "0") != 0;
    return stored;
}
