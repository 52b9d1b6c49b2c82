// An INI file's text held in memory, changed key by key and written back whole: a complete new
// file beside the old one, then one replace, so that the file on disk is always either the old
// one or the new one.
#ifndef BRISVANE_INIDOCUMENT_H
#define BRISVANE_INIDOCUMENT_H

#include <windows.h>
#include <stddef.h>

#include "GrowArray.h"
#include "PathSplit.h"

enum IniLineKind { IniBlankLine, IniTextLine, IniKeyLine, IniHeaderLine };

// One line of the document as every walk over it sees it. Offsets are into the text.
struct IniLine {
    size_t At;        // where the line starts
    size_t Stop;      // where its text ends, before the line end
    size_t Next;      // where the next line starts
    IniLineKind Kind;  // a comment (";") or a line without "=" is text
    int Named;        // a header with its closing "]"; one without names no section
    size_t NameAt;    // the section's name (header) or the key (key line), blanks trimmed
    size_t NameStop;
    size_t ValueAt;   // a key line's value: just after its "="
};

class IniDocument {
public:
    IniDocument();
    ~IniDocument();

    // Reads the file; 1 also when there is none yet, 0 when it is there but cannot be read.
    // The text is held as UTF-8 whatever form the file has: UTF-8 or UTF-16 after a byte-order
    // mark, else the ANSI code page (older versions wrote that).
    int Read(const char* path);
    // The value of a key in the first section of that name, blanks around it and enclosing
    // quotes left out, within size bytes (never half a character). 1 when the key is there.
    int Get(const char* section, const char* key, char* value, size_t size);
    // Sets a key in the first section of that name, adding the key at the section's end, or the
    // section at the document's end, where missing. 0 when no memory could be had; the document
    // then counts as failed (Failed) until it is read again, so that a save does not write it.
    int Set(const char* section, const char* key, const char* value);
    // Removes every section of that name with all its keys, however the sections lie.
    void RemoveSection(const char* section);
    // Calls visit with every key line ("key=value", leading blanks and line end left out) of
    // every section of that name, in the order of the text. 0 when no memory could be had.
    typedef void (*LineVisitor)(const char* line, void* context);
    int ForEachLineOf(const char* section, LineVisitor visit, void* context) const;
    // Writes the text into the temporary file beside path, flushes it, and puts it in path's
    // place: in the ANSI code page when that holds every character, else as UTF-8 after a
    // byte-order mark. 0 when any step fails: the file at path is then as it was, and no temporary file
    // is left. error gets the platform's error code of the failed step.
    int WriteReplacing(const char* path, DWORD* error);

    // Whether a Set failed since the last Read.
    int Failed() const { return SetFailed; }
    // The line that starts at at; 0 past the end of the text.
    int ScanLine(size_t at, IniLine* line) const;

    const char* Text() const { return Data != NULL ? Data : ""; }
    size_t Length() const { return Used; }

private:
    int Reserve(size_t more);
    int Splice(size_t at, size_t removed, const char* text, size_t length);
    int IsSection(const IniLine& line, const char* section) const;
    // Makes the key index describe the first section of that name (which may not exist).
    int IndexSection(const char* section);
    int IndexKey(size_t lineAt, size_t nameAt, size_t nameStop);
    size_t FindKey(const char* key) const;  // the line's start + 1, or 0
    void DropIndex();
    int Fail();

    char* Data;
    size_t Used;
    size_t Capacity;
    int SetFailed;

    // The keys of the section that Set worked in last, so that a save of many keys reads the
    // document once per section, not once per key. Kept while Set only changes that section;
    // any other change drops it.
    int Indexed;
    int IndexFound;         // the section exists
    size_t IndexNameAt;     // its header's name
    size_t IndexNameStop;
    size_t IndexEnd;        // after its last line that is not blank: where a new key goes
    GrowArray<size_t> Slots;  // open addressing over the key lines' starts + 1; 0 is free
    int SlotsUsed;

    IniDocument(const IniDocument&);
    IniDocument& operator=(const IniDocument&);
};

// The temporary file that a save of path writes first: path with its extension replaced by
// ".TMP", so that it is never longer than path. 0 when path has no room for it.
int TemporaryPathOf(const char* path, char* temporary, size_t size);

#endif
