// StrXPath: the path operations of StrX. Paths are code page 932 byte
// strings in 260-byte buffers; every operation cuts its result to the buffer
// it is given.
#pragma once
#include <cstddef>

#include "runtime/StrX.h"

// Copies path into dst and makes it absolute against the current folder,
// cut to size bytes.
char* StrX_cpyAbsPath(char* dst, const char* path, std::size_t size);
// The text after the last "." of the whole path, or its terminating NUL.
char* StrX_refExt(const char* path);
