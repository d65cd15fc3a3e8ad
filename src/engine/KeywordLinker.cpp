// KeywordLinker: the look-ahead for keyword links.
#include "engine/KeywordLinker.h"

namespace {

constexpr BLex3_Pos kNone = {BLex3_kNoOffset, BLex3_kUnknown};

}  // namespace

void KeywordLinker_init(KeywordLinker* k, LinksIndex* index) {
  k->lexer = nullptr;
  k->index = index;
  if (index != nullptr) LinksIndex_followCode(index);
  k->next = BLex3_Pos{0, 0};
  k->event = KeywordLinker_kNothingYet;
  k->linkStart = kNone;
  k->linkEnd = kNone;
  k->target[0] = '\0';
  k->inLink = false;
}

void KeywordLinker_setLexer(KeywordLinker* k, BLex3* lexer) { k->lexer = lexer; }

void KeywordLinker_step(KeywordLinker* k) {
  BLex3* lx = k->lexer;
  BLex3_Pos at;
  BLex3_getPos(lx, &at);
  if (at < k->next) {
    k->event = KeywordLinker_kNothingYet;
    return;
  }
  if (at == k->linkStart) {
    k->next = k->linkEnd;
    k->event = KeywordLinker_kLinkStart;
    k->inLink = true;
    return;
  }
  if (at == k->linkEnd) {
    // The next step stays here: another link may start where this one ends.
    k->linkEnd = kNone;
    k->event = KeywordLinker_kLinkEnd;
    k->inLink = false;
    return;
  }

  char* p = BLex3_fetch(lx, KeywordLinker_kReadAhead);
  if (p == nullptr) {
    BLex3_getEOFPos(lx, &k->next);
    k->event = KeywordLinker_kNothing;
    return;
  }
  // Every position tried has the read-ahead behind it, or the end of the
  // file. The fetch leaves at least the read-ahead behind the cursor, so
  // the cursor itself is always tried and the scan always advances.
  char* end = BLex3_getEnd(lx);
  char* stop = BLex3_isEndPtr(lx, end) ? end : end - KeywordLinker_kReadAhead + 1;
  // LinksIndex_mayStart, inlined for the window: the byte after every
  // position tried lies in the window or its zero guard, so it is read
  // without the test for the end of the text.
  const LinksIndex_Starts* starts = k->index != nullptr ? k->index->starts : nullptr;
  const char* runEnd = nullptr;
  for (char* q = p; starts != nullptr && q < stop; ++q) {
    const uint32_t pair = (static_cast<uint32_t>(static_cast<unsigned char>(q[0])) << 8) |
                          static_cast<unsigned char>(q[1]);
    if (((starts->accepted[pair >> 6] >> (pair & 63)) & 1u) == 0) continue;
    if (BLex3_isTrailPtr(lx, q)) continue;
    const std::size_t n =
        LinksIndex_findInRun(k->index, q, &runEnd, k->target, sizeof k->target);
    if (n == 0) continue;
    BLex3_getPosOfPtr(lx, q, &k->linkStart);
    BLex3_getPosOfPtr(lx, q + n, &k->linkEnd);
    if (q == p) {
      k->next = k->linkEnd;
      k->event = KeywordLinker_kLinkStart;
      k->inLink = true;
    } else {
      k->next = k->linkStart;
      k->event = KeywordLinker_kNothing;
    }
    return;
  }
  BLex3_getPosOfPtr(lx, stop, &k->next);
  k->event = KeywordLinker_kNothing;
}

int32_t KeywordLinker_event(const KeywordLinker* k) { return k->event; }

BLex3_Pos KeywordLinker_nextPos(const KeywordLinker* k) { return k->next; }

const char* KeywordLinker_target(const KeywordLinker* k) { return k->target; }
