// Paths as the program keeps them, and where a path's file name starts.
#ifndef BRISVANE_PATHSPLIT_H
#define BRISVANE_PATHSPLIT_H

#include <stddef.h>

#include <windows.h>

// Paths are UTF-8 inside: a path of MAX_PATH UTF-16 units takes up to three bytes a unit.
#define PATH_CHARS (MAX_PATH * 3)

// The length of the folder part of path, its last "\" or "/" included; 0 for a bare file name.
// Paths are UTF-8, whose multi-byte characters never hold a byte of "\", "/" or ".".
size_t FolderPartLength(const char* path);

#endif
