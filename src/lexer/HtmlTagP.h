// HtmlTagP: finds HTML tags in a text read through the block lexer and
// reports two events per tag to the lockstep loops: its start at the "<",
// with the lower-cased name and attributes parsed into a caller-given pool,
// and its end just after the ">" (after "-->" for a comment). As the first
// scanner of every loop it also proposes each cycle's next position, so it
// only ever reads as far as the next "<".
#pragma once
#include <cstddef>
#include <cstdint>

#include "lexer/BLex3.h"
#include "runtime/StrX.h"

// What every pass gives the scanner: a 2048-byte pool for the texts of one
// tag and room for 10 attributes (names in the first half of the table,
// values in the second).
inline constexpr std::size_t HtmlTagP_kPoolSize = 2048;
inline constexpr int32_t HtmlTagP_kMaxAttrs = 10;
inline constexpr std::size_t HtmlTagP_kTableSize = 2 * HtmlTagP_kMaxAttrs * sizeof(const char*);

// Events (HtmlTagP_getState).
inline constexpr int32_t HtmlTagP_kBefore = -3;  // the current position lies before the next
inline constexpr int32_t HtmlTagP_kNone = -2;    // no tag starts here; the next position moved on
inline constexpr int32_t HtmlTagP_kStart = 1;    // a tag starts here: name and attributes are set
inline constexpr int32_t HtmlTagP_kEnd = 2;      // the tag that started before ends here

// The memory of one scanner as every pass gives it.
struct HtmlTagP_Mem {
  char pool[HtmlTagP_kPoolSize];
  const char* table[2 * HtmlTagP_kMaxAttrs];
};

struct HtmlTagP {
  BLex3* lexer;              // shared, not owned
  BLex3_Pos nextPos;         // where the next event lies
  int32_t state;             // the event at the current position
  bool open;                 // a start was reported and its end not yet
  char* name;                // lower-cased; an end tag's name begins with "/"
  const char** attrNames;    // lower-cased
  const char** attrValues;   // as written (a double-quoted value without its quotes)
  int32_t attrCount;
  int32_t attrMax;           // places in the tables
  StrX_Mem pool;             // the name, attribute names and values of the current tag
};

// State -2 at offset 0. The table (pointer-aligned, tableSize bytes) holds
// tableSize / (2 x pointer size) attributes. A tag that does not fit the
// pool raises the pool's StrX_Err_MemEmpty.
void HtmlTagP_init(HtmlTagP* tags, char* pool, std::size_t poolSize, void* table,
                   std::size_t tableSize);
void HtmlTagP_setLexer(HtmlTagP* tags, BLex3* lexer);
// Examines the lexer's current position (moving its cursor: the loop
// restores it before the next scanner).
void HtmlTagP_step(HtmlTagP* tags);
int32_t HtmlTagP_getState(const HtmlTagP* tags);
// True between a tag's start and its end: the current position is inside a
// tag reported earlier.
bool HtmlTagP_isInTag(const HtmlTagP* tags);
void HtmlTagP_getNextPos(const HtmlTagP* tags, BLex3_Pos* pos);
// The value of the current tag's first attribute named name (ASCII case
// ignored), or null.
const char* HtmlTagP_getAttr(const HtmlTagP* tags, const char* name);
