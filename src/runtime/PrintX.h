// PrintX: a small sink for warnings that do not stop the run (missing
// template files). Flag 1 writes to standard output, flag 2 puts a line end
// before each message and flag 4 one after it, flag 0x100 writes to standard
// error as well; a memory buffer and an extra stream, when set, get a copy.
#pragma once
#include <cstdint>
#include <cstdio>

inline constexpr uint32_t PrintX_Stdout = 0x1;
inline constexpr uint32_t PrintX_LineBefore = 0x2;
inline constexpr uint32_t PrintX_LineAfter = 0x4;
inline constexpr uint32_t PrintX_Stderr = 0x100;

struct PrintX {
  char* bufStart;  // optional capture buffer
  char* bufEnd;
  char* bufPos;
  uint32_t flags;
  std::FILE* extra;  // optional extra stream
};

void PrintX_init(PrintX* px);
void PrintX_setFlags(PrintX* px, uint32_t flags);
// Capture into [start, end); the text stays NUL-terminated and is cut when full.
void PrintX_setBuffer(PrintX* px, char* start, char* end);
void PrintX_printf(PrintX* px, const char* format, ...) __attribute__((format(printf, 2, 3)));
