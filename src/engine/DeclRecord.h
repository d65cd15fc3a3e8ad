// DeclRecord: the definition events of a source's analysis pass, kept for
// its writing pass. Nothing in the writing pass reads the comment and
// literal scanners, the bracket tracker or the declaration recognizer but
// the definition index, and both passes see the same events, so a page made
// on its own replays them instead of scanning its text again. A record
// with more events than it has room for is not replayed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "lexer/CDeclP.h"

// At most this many events other than CDeclP_Nothing, 16 bytes each: 2 MiB,
// the events of some 60 MB of C like the SQLite amalgamation.
inline constexpr std::size_t DeclRecord_kMaxEvents = 131072;

struct DeclRecord_Entry {
  int32_t at;         // the offset of the cycle that reported it
  int32_t nameStart;  // offsets of the event's name
  int32_t nameEnd;
  int16_t result;
  uint8_t repeat;  // the recognizer's reports at that offset before it
  uint8_t kinds;  // aggregate kind, byte kinds of nameStart, nameEnd and at: 2 bits each
};

// Counts the recognizer's reports at one offset, as the passes meet them.
struct DeclRecord_Repeats {
  int32_t lastAt = -1;  // the offset of the last report
  int32_t before = 0;   // reports at lastAt before the last one
  // Notes a report at offset at; gives the reports there before it.
  int32_t note(int32_t at) {
    before = at == lastAt ? before + 1 : 0;
    lastAt = at;
    return before;
  }
};

struct DeclRecord {
  std::vector<DeclRecord_Entry> entries;
  bool usable = true;  // the writing pass may replay it
  DeclRecord_Repeats repeats;
};

// Notes a report of the recognizer (a result other than CDeclP_NotYet) in
// the cycle at position at.
void DeclRecord_add(DeclRecord* record, BLex3_Pos at, const CDeclP_Event& event);
// The event an entry keeps, and the position of its cycle.
CDeclP_Event DeclRecord_event(const DeclRecord_Entry& entry);
BLex3_Pos DeclRecord_at(const DeclRecord_Entry& entry);
