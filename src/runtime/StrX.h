// StrX: byte-string and path operations over code page 932 texts. Path
// buffers hold 260 bytes: at most 259 bytes and a NUL.
#pragma once
#include <cstddef>

inline constexpr std::size_t StrX_kPathSize = 260;

// Copies at most size - 1 bytes and always terminates; nothing when size is 0.
void StrX_cpy(char* dst, const char* src, std::size_t size);
// Copies path into dst and makes it absolute against the current folder,
// cut to size bytes.
char* StrX_cpyAbsPath(char* dst, const char* path, std::size_t size);
// The text after the last "." of the whole path, or its terminating NUL.
char* StrX_refExt(const char* path);
