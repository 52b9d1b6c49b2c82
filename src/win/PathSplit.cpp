#include "PathSplit.h"

#include <string.h>

size_t FolderPartLength(const char* path)
{
    const char* slash = strrchr(path, '\\');
    const char* forward = strrchr(path, '/');
    if (forward != NULL && (slash == NULL || forward > slash))
        slash = forward;
    return slash != NULL ? (size_t)(slash - path) + 1 : 0;
}
