// Text inside the program is UTF-8; the system's W calls take UTF-16. These convert at the
// edge, within fixed buffers: never past the buffer, always terminated, never half a character.
#ifndef BRISVANE_UTF8TEXT_H
#define BRISVANE_UTF8TEXT_H

#include <stddef.h>
#include <wchar.h>

// A path of the long form Windows accepts, in UTF-16 units; its UTF-8 form may take three
// bytes a unit.
#define WIDE_PATH_CHARS 1024

// UTF-8 to UTF-16 within size units; a sequence that is not UTF-8 becomes U+FFFD.
// Returns the units written before the terminator.
size_t Utf8ToWide(const char* text, wchar_t* target, size_t size);
// UTF-16 to UTF-8 within size bytes; an unpaired surrogate becomes U+FFFD.
// Returns the bytes written before the terminator.
size_t WideToUtf8(const wchar_t* text, char* target, size_t size);
// Whether length bytes of text are all well-formed UTF-8.
bool IsUtf8(const char* text, size_t length);

// A UTF-8 text as UTF-16 for one call at the edge: SetWindowTextW(w, WideText(text)).
class WideText {
public:
    explicit WideText(const char* text) { Utf8ToWide(text != NULL ? text : "", Text, WIDE_PATH_CHARS); }
    operator const wchar_t*() const { return Text; }
    const wchar_t* Get() const { return Text; }

private:
    wchar_t Text[WIDE_PATH_CHARS];
};

#endif
