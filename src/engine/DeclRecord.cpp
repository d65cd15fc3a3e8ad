// DeclRecord: keeping the definition events.
#include "engine/DeclRecord.h"

#include <cstdint>
#include <limits>

static_assert(sizeof(DeclRecord_Entry) == 16, "an event takes 16 bytes");
// The packed fields hold every value they are given: result codes, byte
// kinds and aggregate kinds.
static_assert(CDeclP_NotYet >= INT16_MIN && CDeclP_EnumEnd <= INT16_MAX, "codes fit 16 bits");
static_assert(BLex3_kUnknown <= 3 && CDeclP_kClass <= 3, "kinds fit 2 bits");

void DeclRecord_add(DeclRecord* r, BLex3_Pos at, const CDeclP_Event& event) {
  const int32_t before = r->repeats.note(at.offset);
  if (event.result == CDeclP_Nothing || !r->usable) return;
  // The aggregate kind is read at an aggregate start only; elsewhere it
  // is whatever an earlier event left.
  const int32_t kind = event.result == CDeclP_AggregateStart ? event.kind : 0;
  if (r->entries.size() >= DeclRecord_kMaxEvents ||
      before > std::numeric_limits<uint8_t>::max()) {
    r->usable = false;
    r->entries = std::vector<DeclRecord_Entry>();
    return;
  }
  // The whole room at once: its pages are touched only as it fills, and
  // no event is copied as it grows.
  if (r->entries.capacity() == 0) r->entries.reserve(DeclRecord_kMaxEvents);
  r->entries.push_back(DeclRecord_Entry{
      at.offset, event.nameStart.offset, event.nameEnd.offset,
      static_cast<int16_t>(event.result), static_cast<uint8_t>(before),
      static_cast<uint8_t>(kind | event.nameStart.kind << 2 | event.nameEnd.kind << 4 |
                           at.kind << 6)});
}

CDeclP_Event DeclRecord_event(const DeclRecord_Entry& e) {
  CDeclP_Event ev;
  ev.kind = e.kinds & 3;
  ev.nameStart = BLex3_Pos{e.nameStart, (e.kinds >> 2) & 3};
  ev.nameEnd = BLex3_Pos{e.nameEnd, (e.kinds >> 4) & 3};
  ev.result = e.result;
  return ev;
}

BLex3_Pos DeclRecord_at(const DeclRecord_Entry& e) { return BLex3_Pos{e.at, (e.kinds >> 6) & 3}; }
