// Strv: a text on the heap that grows in steps of 32 bytes, for texts of
// any length that are copied in whole. The block size is not stored: a
// block always holds (length / 32 + 1) x 32 bytes of the text it was made
// for, and a copy only needs a new block when its length passes the current
// text's 32-byte step, which that rule keeps safe.
#pragma once
#include <cstddef>

inline constexpr std::size_t Strv_kStep = 32;

struct Strv {
  char* text;
};

// An empty text in a block of 32 bytes.
void Strv_init(Strv* strv);
// Releases the block.
void Strv_finish(Strv* strv);
// Copies source in (source may lie inside the current text). Gives the text.
char* Strv_cpy(Strv* strv, const char* source);
