#include "PathSplit.h"

#include <mbstring.h>

size_t FolderPartLength(const char* path)
{
    const unsigned char* text = (const unsigned char*)path;
    const unsigned char* slash = _mbsrchr(text, '\\');
    const unsigned char* forward = _mbsrchr(text, '/');
    if (forward != NULL && (slash == NULL || forward > slash))
        slash = forward;
    return slash != NULL ? (size_t)(slash - text) + 1 : 0;
}
