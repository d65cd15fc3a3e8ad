// DeclRecord: keeping the definition events.
#include "engine/DeclRecord.h"

#include <limits>

static_assert(sizeof(DeclRecord_Entry) == 16, "an event takes 16 bytes");

namespace {

bool fitsTwoBits(int32_t v) { return v >= 0 && v <= 3; }

}  // namespace

void DeclRecord_add(DeclRecord* r, BLex3_Pos at, const CDeclP_Event& event) {
  r->repeats = at.offset == r->lastAt ? r->repeats + 1 : 0;
  r->lastAt = at.offset;
  if (event.result == CDeclP_Nothing || !r->usable) return;
  // The aggregate kind is read at an aggregate start only; elsewhere it
  // is whatever an earlier event left.
  const int32_t kind = event.result == CDeclP_AggregateStart ? event.kind : 0;
  const bool fits = r->entries.size() < DeclRecord_kMaxEvents &&
                    r->repeats <= std::numeric_limits<uint8_t>::max() &&
                    event.result >= std::numeric_limits<int16_t>::min() &&
                    event.result <= std::numeric_limits<int16_t>::max() && fitsTwoBits(kind) &&
                    fitsTwoBits(event.nameStart.kind) && fitsTwoBits(event.nameEnd.kind) &&
                    fitsTwoBits(at.kind);
  if (!fits) {
    r->usable = false;
    r->entries = std::vector<DeclRecord_Entry>();
    return;
  }
  // The whole room at once: its pages are touched only as it fills, and
  // no event is copied as it grows.
  if (r->entries.capacity() == 0) r->entries.reserve(DeclRecord_kMaxEvents);
  r->entries.push_back(DeclRecord_Entry{
      at.offset, event.nameStart.offset, event.nameEnd.offset,
      static_cast<int16_t>(event.result), static_cast<uint8_t>(r->repeats),
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
