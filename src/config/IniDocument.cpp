#include "IniDocument.h"

#include <ctype.h>
#include <stdlib.h>
#include <string.h>

#include "BoundedText.h"

#define LINE_END "\r\n"
#define LINE_END_LENGTH 2
// Slots of the key index at first; always a power of two.
#define FIRST_SLOTS 64

static int IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The bytes of text that fit within room without cutting a UTF-8 character.
static size_t CutUtf8(const char* text, size_t room)
{
    size_t at = room;
    while (at > 0 && ((unsigned char)text[at] & 0xC0) == 0x80)
        at--;
    return at;
}

IniDocument::IniDocument()
    : Data(NULL), Used(0), Capacity(0), SetFailed(0), Indexed(0), IndexFound(0), IndexNameAt(0),
      IndexNameStop(0), IndexEnd(0), SlotsUsed(0)
{
}

IniDocument::~IniDocument()
{
    free(Data);
}

int IniDocument::Reserve(size_t more)
{
    if (Used + more + 1 <= Capacity)
        return 1;
    size_t capacity = Capacity < 4096 ? 4096 : Capacity;
    while (capacity < Used + more + 1)
        capacity *= 2;
    char* grown = (char*)realloc(Data, capacity);
    if (grown == NULL)
        return 0;
    Data = grown;
    Capacity = capacity;
    return 1;
}

int IniDocument::Get(const char* section, const char* key, char* value, size_t size)
{
    if (size != 0)
        value[0] = 0;
    if (!Reserve(0) || !IndexSection(section) || !IndexFound)
        return 0;
    size_t found = FindKey(key);
    if (found == 0)
        return 0;
    IniLine line;
    ScanLine(found - 1, &line);
    size_t at = line.ValueAt, stop = line.Stop;
    while (at < stop && IsBlank(Data[at]))
        at++;
    while (stop > at && IsBlank(Data[stop - 1]))
        stop--;
    // A value in quotes is read without them, as the platform's own reader does.
    if (stop - at >= 2 && (Data[at] == '"' || Data[at] == '\'') && Data[stop - 1] == Data[at]) {
        at++;
        stop--;
    }
    size_t length = stop - at;
    if (size == 0)
        return 1;
    if (length > size - 1)
        length = CutUtf8(Data + at, size - 1);
    memcpy(value, Data + at, length);
    value[length] = 0;
    return 1;
}

int IniDocument::Splice(size_t at, size_t removed, const char* text, size_t length)
{
    if (at > Used || removed > Used - at)
        return 0;
    if (length > removed && !Reserve(length - removed))
        return 0;
    memmove(Data + at + length, Data + at + removed, Used - at - removed + 1);
    memcpy(Data + at, text, length);
    Used = Used - removed + length;
    return 1;
}

// Whether the text from at to stop, blanks aside, is name (in any case).
static int NameIs(const char* text, size_t at, size_t stop, const char* name)
{
    while (at < stop && IsBlank(text[at]))
        at++;
    while (stop > at && IsBlank(text[stop - 1]))
        stop--;
    size_t length = strlen(name);
    return stop - at == length && _strnicmp(text + at, name, length) == 0;
}

int IniDocument::ScanLine(size_t at, IniLine* line) const
{
    if (at >= Used)
        return 0;
    const char* text = Data;
    const char* end = (const char*)memchr(text + at, '\n', Used - at);
    size_t stop = end != NULL ? (size_t)(end - text) : Used;
    line->At = at;
    line->Next = end != NULL ? stop + 1 : Used;
    if (stop > at && text[stop - 1] == '\r')
        stop--;
    line->Stop = stop;
    line->Named = 0;
    size_t first = at;
    while (first < stop && IsBlank(text[first]))
        first++;
    line->NameAt = line->NameStop = line->ValueAt = first;
    if (first == stop) {
        line->Kind = IniBlankLine;
        return 1;
    }
    if (text[first] == '[') {
        // A "[" without its "]" still ends the section before it, but names none.
        line->Kind = IniHeaderLine;
        const char* close = (const char*)memchr(text + first, ']', stop - first);
        if (close != NULL) {
            line->Named = 1;
            line->NameAt = first + 1;
            line->NameStop = (size_t)(close - text);
        }
    } else {
        const char* equals =
            text[first] == ';' ? NULL : (const char*)memchr(text + first, '=', stop - first);
        if (equals == NULL) {
            line->Kind = IniTextLine;
            return 1;
        }
        line->Kind = IniKeyLine;
        line->NameStop = (size_t)(equals - text);
        line->ValueAt = line->NameStop + 1;
    }
    while (line->NameAt < line->NameStop && IsBlank(text[line->NameAt]))
        line->NameAt++;
    while (line->NameStop > line->NameAt && IsBlank(text[line->NameStop - 1]))
        line->NameStop--;
    return 1;
}

int IniDocument::IsSection(const IniLine& line, const char* section) const
{
    return line.Kind == IniHeaderLine && line.Named &&
           NameIs(Data, line.NameAt, line.NameStop, section);
}

static size_t HashName(const char* name, size_t length)
{
    size_t hash = 2166136261u;
    for (size_t i = 0; i < length; i++)
        hash = (hash ^ (unsigned char)tolower((unsigned char)name[i])) * 16777619u;
    return hash;
}

void IniDocument::DropIndex()
{
    Indexed = 0;
}

int IniDocument::Fail()
{
    SetFailed = 1;
    DropIndex();
    return 0;
}

int IniDocument::IndexKey(size_t lineAt, size_t nameAt, size_t nameStop)
{
    // Kept at most half full, so every search meets a free slot soon.
    if ((size_t)(SlotsUsed + 1) * 2 > (size_t)Slots.Count()) {
        int count = Slots.Count() < FIRST_SLOTS ? FIRST_SLOTS : Slots.Count() * 2;
        GrowArray<size_t> grown;
        if (count <= 0 || !grown.Resize(count))
            return 0;
        for (int i = 0; i < Slots.Count(); i++) {
            size_t at = Slots[i];
            if (at == 0)
                continue;
            IniLine line;
            ScanLine(at - 1, &line);
            size_t slot = HashName(Data + line.NameAt, line.NameStop - line.NameAt) &
                          (size_t)(count - 1);
            while (grown[(int)slot] != 0)
                slot = (slot + 1) & (size_t)(count - 1);
            grown[(int)slot] = at;
        }
        Slots = static_cast<GrowArray<size_t>&&>(grown);
    }
    size_t mask = (size_t)Slots.Count() - 1;
    size_t slot = HashName(Data + nameAt, nameStop - nameAt) & mask;
    while (Slots[(int)slot] != 0) {
        IniLine line;
        ScanLine(Slots[(int)slot] - 1, &line);
        // A key written twice: the first is the one that counts, as readers take it.
        if (line.NameStop - line.NameAt == nameStop - nameAt &&
            _strnicmp(Data + line.NameAt, Data + nameAt, nameStop - nameAt) == 0)
            return 1;
        slot = (slot + 1) & mask;
    }
    Slots[(int)slot] = lineAt + 1;
    SlotsUsed++;
    return 1;
}

size_t IniDocument::FindKey(const char* key) const
{
    if (Slots.Count() == 0)
        return 0;
    size_t mask = (size_t)Slots.Count() - 1;
    for (size_t slot = HashName(key, strlen(key)) & mask; Slots[(int)slot] != 0;
         slot = (slot + 1) & mask) {
        IniLine line;
        ScanLine(Slots[(int)slot] - 1, &line);
        if (NameIs(Data, line.NameAt, line.NameStop, key))
            return Slots[(int)slot];
    }
    return 0;
}

int IniDocument::IndexSection(const char* section)
{
    if (Indexed && IndexFound && NameIs(Data, IndexNameAt, IndexNameStop, section))
        return 1;
    Indexed = 0;
    IndexFound = 0;
    SlotsUsed = 0;
    for (int i = 0; i < Slots.Count(); i++)
        Slots[i] = 0;
    IniLine line;
    int inSection = 0;
    for (size_t at = 0; ScanLine(at, &line); at = line.Next) {
        if (line.Kind == IniHeaderLine) {
            if (inSection)
                break;  // the first section of the name ends here
            inSection = IsSection(line, section);
            if (inSection) {
                IndexFound = 1;
                IndexNameAt = line.NameAt;
                IndexNameStop = line.NameStop;
                IndexEnd = line.Next;
            }
        } else if (inSection && line.Kind != IniBlankLine) {
            IndexEnd = line.Next;
            if (line.Kind == IniKeyLine && !IndexKey(line.At, line.NameAt, line.NameStop))
                return 0;
        }
    }
    Indexed = 1;
    return 1;
}

int IniDocument::Set(const char* section, const char* key, const char* value)
{
    if (!Reserve(0) || !IndexSection(section))
        return Fail();
    size_t valueLength = strlen(value);

    size_t found = IndexFound ? FindKey(key) : 0;
    if (found != 0) {
        IniLine line;
        ScanLine(found - 1, &line);
        size_t old = line.Stop - line.ValueAt;
        if (!Splice(line.ValueAt, old, value, valueLength))
            return Fail();
        // What follows the value moved; the index keeps up with it.
        if (valueLength != old) {
            for (int i = 0; i < Slots.Count(); i++)
                if (Slots[i] > line.ValueAt + 1)
                    Slots[i] = Slots[i] + valueLength - old;
            if (IndexEnd > line.ValueAt)
                IndexEnd = IndexEnd + valueLength - old;
        }
        return 1;
    }

    int ended = Used == 0 || Data[Used - 1] == '\n';
    if (!IndexFound) {
        // A new section at the end, after a line end of its own when the last line has none.
        size_t at = Used;
        if ((!ended && !Splice(Used, 0, LINE_END, LINE_END_LENGTH)) ||
            !Splice(Used, 0, "[", 1) || !Splice(Used, 0, section, strlen(section)) ||
            !Splice(Used, 0, "]" LINE_END, 1 + LINE_END_LENGTH)) {
            Used = at;
            Data[Used] = 0;
            return Fail();
        }
        IndexFound = 1;
        IndexNameAt = Used - strlen(section) - 1 - LINE_END_LENGTH;
        IndexNameStop = IndexNameAt + strlen(section);
        IndexEnd = Used;
        ended = 1;
    }
    // A section whose last line is the file's last, without a line end, gets one first.
    if (IndexEnd >= Used && !ended) {
        if (!Splice(Used, 0, LINE_END, LINE_END_LENGTH))
            return Fail();
        IndexEnd = Used;
    }
    size_t keyLength = strlen(key);
    size_t lineAt = IndexEnd;
    size_t lineLength = keyLength + 1 + valueLength + LINE_END_LENGTH;
    if (!Reserve(lineLength))
        return Fail();
    // Room is there: none of these splices can fail.
    Splice(lineAt, 0, LINE_END, LINE_END_LENGTH);
    Splice(lineAt, 0, value, valueLength);
    Splice(lineAt, 0, "=", 1);
    Splice(lineAt, 0, key, keyLength);
    IndexEnd += lineLength;
    if (!IndexKey(lineAt, lineAt, lineAt + keyLength))
        return Fail();
    return 1;
}

void IniDocument::RemoveSection(const char* section)
{
    DropIndex();
    // One pass that keeps every line outside the sections of that name; what is kept only
    // moves towards the start, so the walk ahead reads text that is still as it was.
    size_t kept = 0;
    int removing = 0;
    IniLine line;
    for (size_t at = 0; ScanLine(at, &line); at = line.Next) {
        if (line.Kind == IniHeaderLine)
            removing = IsSection(line, section);
        if (!removing) {
            memmove(Data + kept, Data + line.At, line.Next - line.At);
            kept += line.Next - line.At;
        }
    }
    Used = kept;
    if (Data != NULL)
        Data[Used] = 0;
}

int IniDocument::ForEachLineOf(const char* section, LineVisitor visit, void* context) const
{
    GrowArray<char> copy;
    int inSection = 0;
    IniLine line;
    for (size_t at = 0; ScanLine(at, &line); at = line.Next) {
        if (line.Kind == IniHeaderLine) {
            inSection = IsSection(line, section);
        } else if (inSection && line.Kind == IniKeyLine) {
            size_t length = line.Stop - line.NameAt;
            if (length + 1 > (size_t)copy.Count() && !copy.Resize((int)(length + 1)))
                return 0;
            memcpy(copy.Data(), Data + line.NameAt, length);
            copy[(int)length] = 0;
            visit(copy.Data(), context);
        }
    }
    return 1;
}

