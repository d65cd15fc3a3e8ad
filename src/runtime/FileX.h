// FileX: file operations with the program's error reporting built in:
// opening raises with a Japanese message instead of returning null.
#pragma once
#include <cstdio>

// The open stream, never null: a failure raises FileX_Err_CannotWriteOpen
// (a mode with "w") or FileX_Err_CannotReadOpen (any other mode).
std::FILE* FileX_open(const char* path, const char* mode);
