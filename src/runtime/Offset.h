// Offset: the description of a record's key field (where it lies and what it
// holds), so that the lists can search records of any layout by one field.
#pragma once
#include <cstdint>

// Field types.
inline constexpr int32_t Offset_StrPtr = 3;     // pointer to a string, exact
inline constexpr int32_t Offset_StrPtrI = 4;    // pointer to a string, ASCII case ignored

struct Offset_Key {
  int32_t offset;     // byte offset of the field in the record; never negative
  int32_t type;
  int32_t direction;  // 1 ascending, -1 descending; matching ignores it
};

// Whether the record's field matches value. Another type raises
// Errors_Unofficial.
bool Offset_match(const Offset_Key* key, const void* record, const char* value);
