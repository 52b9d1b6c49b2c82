// Paths as the program keeps them, and where a path's file name starts.
#ifndef BRISVANE_PATHSPLIT_H
#define BRISVANE_PATHSPLIT_H

#include <stddef.h>

#define PATH_CHARS 260

// The length of the folder part of path, its last "\" or "/" included; 0 for a bare file name.
// Double-byte characters of the user's code page are read as whole characters.
size_t FolderPartLength(const char* path);

#endif
