// StrX: byte-string operations over code page 932 texts. The path
// operations are in StrXPath.h.
#pragma once
#include <cstddef>

// Path buffers hold 260 bytes: at most 259 bytes and a NUL.
inline constexpr std::size_t StrX_kPathSize = 260;

// Copies at most size - 1 bytes and always terminates; nothing when size is 0.
void StrX_cpy(char* dst, const char* src, std::size_t size);
