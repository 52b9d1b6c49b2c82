// Bounded text writes: never past the buffer, always terminated.
#ifndef BRISVANE_BOUNDEDTEXT_H
#define BRISVANE_BOUNDEDTEXT_H

#include <stddef.h>

// Prints within size characters, cutting what does not fit; returns the characters written.
int BoundedPrint(char* buffer, size_t size, const char* format, ...);
// Copies text within size characters, cutting what does not fit.
void CopyText(char* target, size_t size, const char* text);

#endif
