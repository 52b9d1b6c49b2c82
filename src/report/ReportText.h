// A growing UTF-8 text for the report: pieces printed within bounds, JSON strings escaped,
// and its way to a console (UTF-16 through WriteConsoleW) or to a file or pipe (the bytes).
#ifndef BRISVANE_REPORTTEXT_H
#define BRISVANE_REPORTTEXT_H

#include <windows.h>
#include <stddef.h>

#include "GrowArray.h"

#define REPORT_PIECE_CHARS 1024

class ReportText {
public:
    ReportText() : Failed(0) {}
    ReportText(const ReportText&) = delete;
    ReportText& operator=(const ReportText&) = delete;

    // A printed piece of at most REPORT_PIECE_CHARS - 1 characters.
    void Print(const char* format, ...);
    void Add(const char* text, size_t length);
    void Add(const char* text);
    // The program's text id in its language, %1..%9 replaced by parts.
    void AddText(UINT id, const char* const* parts = NULL, int count = 0);
    // text as a JSON string, quotes included: quote, backslash and control characters escaped;
    // the UTF-8 passes as it is, a byte that is no UTF-8 becomes U+FFFD.
    void AddJsonString(const char* text);
    // The text, terminated; "" when empty.
    const char* Get() const { return Text.Count() > 0 ? Text.Data() : ""; }
    size_t Length() const { return Text.Count() > 0 ? (size_t)Text.Count() - 1 : 0; }

    GrowArray<char> Text;  // terminated once anything was added
    int Failed;            // memory ran out: the text is cut
};

// Writes the UTF-8 text to a standard handle: as UTF-16 to a console, whose code page may be
// any; as the bytes themselves when redirected. 0 when it could not be written.
int WriteReportText(HANDLE handle, const char* text, size_t length);

#endif
