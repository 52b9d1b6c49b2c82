// An INI file's text held in memory, changed key by key and written back whole: a complete new
// file beside the old one, then one replace, so that the file on disk is always either the old
// one or the new one.
#ifndef BRISVANE_INIDOCUMENT_H
#define BRISVANE_INIDOCUMENT_H

#include <windows.h>
#include <stddef.h>

class IniDocument {
public:
    IniDocument();
    ~IniDocument();

    // Reads the file; 1 also when there is none yet, 0 when it is there but cannot be read.
    int Read(const char* path);
    // Sets a key, adding it, or its section, where missing. 0 when no memory could be had.
    int Set(const char* section, const char* key, const char* value);
    // Removes a section with all its keys.
    void RemoveSection(const char* section);
    // Writes the text into the temporary file beside path, flushes it, and puts it in path's
    // place. 0 when any step fails: the file at path is then as it was, and no temporary file
    // is left. error gets the platform's error code of the failed step.
    int WriteReplacing(const char* path, DWORD* error);

    const char* Text() const { return Data != NULL ? Data : ""; }
    size_t Length() const { return Used; }

private:
    int Reserve(size_t more);
    int Splice(size_t at, size_t removed, const char* text, size_t length);

    char* Data;
    size_t Used;
    size_t Capacity;

    IniDocument(const IniDocument&);
    IniDocument& operator=(const IniDocument&);
};

// The temporary file that a save of path writes first: path with its extension replaced by
// ".TMP", so that it is never longer than path. 0 when path has no room for it.
int TemporaryPathOf(const char* path, char* temporary, size_t size);

#endif
