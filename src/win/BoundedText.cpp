#include "BoundedText.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

int BoundedPrint(char* buffer, size_t size, const char* format, ...)
{
    if (size == 0)
        return 0;
    va_list args;
    va_start(args, format);
    int written = _vsnprintf(buffer, size, format, args);
    va_end(args);
    if (written < 0 || (size_t)written >= size) {
        buffer[size - 1] = 0;
        written = (int)strlen(buffer);
    }
    return written;
}

void CopyText(char* target, size_t size, const char* text)
{
    BoundedPrint(target, size, "%s", text != NULL ? text : "");
}
