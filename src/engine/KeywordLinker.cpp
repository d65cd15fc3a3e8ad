// KeywordLinker: the look-ahead for keyword links.
#include "engine/KeywordLinker.h"

#include "engine/LinkAhead.h"
#include "lexer/ByteScan.h"

namespace {

constexpr BLex3_Pos kNone = {BLex3_kNoOffset, BLex3_kUnknown};

// BLex3_isTrailPtr for a byte q at or after the cursor p: a byte after one
// that leads no character is no trail byte, and most bytes tried are such.
inline bool isTrail(BLex3* lx, const LinksIndex_Starts* s, const char* p, const char* q) {
  return (q == p || s->cls[static_cast<unsigned char>(q[-1])] == LinksIndex_Starts::kLead) &&
         BLex3_isTrailPtr(lx, q);
}

// Moves *q on, sixteen bytes at a time while a block starts at or before
// limit, to the first byte that Mask marks: true when it found one, else
// *q stands past limit and the caller goes on byte by byte.
template <unsigned (*Mask)(const char*)>
bool toMarked(char** q, const char* limit) {
  for (; *q <= limit; *q += ByteScan::kBlock) {
    const unsigned bits = Mask(*q);
    if (bits != 0) {
      *q += __builtin_ctz(bits);
      return true;
    }
  }
  return false;
}

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
  k->ahead = nullptr;
}

void KeywordLinker_setLexer(KeywordLinker* k, BLex3* lexer) { k->lexer = lexer; }

char* KeywordLinker_stop(const BLex3* lx) {
  char* end = BLex3_getEnd(lx);
  return BLex3_isEndPtr(lx, end) ? end : end - KeywordLinker_kReadAhead + 1;
}

std::size_t KeywordLinker_search(BLex3* lx, LinksIndex* index, char* p, char* stop, char** found,
                                 LinksIndex_Match* match) {
  // Each byte that starts a word tries the rest of its run of word bytes
  // (the run's end is found once); a lead byte tries the general search.
  // The byte after every position tried lies in the window or its zero
  // guard, which also ends every run. Where the classes allow, the bytes
  // that start nothing and the runs' ends are found sixteen at a time, as
  // far as a block read stays inside the window.
  const LinksIndex_Starts* starts = index != nullptr ? index->starts : nullptr;
  constexpr uint8_t kWord = LinksIndex_Starts::kStart | LinksIndex_Starts::kDigit;
  const bool blocks = starts != nullptr && starts->asciiWords;
  const char* const blockEnd = lx->bufEnd - ByteScan::kBlock;  // the last block start
  for (char* q = p; starts != nullptr && q < stop;) {
    if (blocks && q <= blockEnd) {
      if (!toMarked<ByteScan_wordStartMask>(&q, stop <= blockEnd ? stop - 1 : blockEnd)) continue;
      if (q >= stop) break;
    }
    const uint8_t cls = starts->cls[static_cast<unsigned char>(q[0])];
    std::size_t n = 0;
    char* at = q;
    if (cls == LinksIndex_Starts::kStart) {
      char* runEnd = q + 1;
      if (!blocks || !toMarked<ByteScan_nonWordMask>(&runEnd, blockEnd))
        while (starts->cls[static_cast<unsigned char>(*runEnd)] & kWord) ++runEnd;
      char* const last = runEnd < stop ? runEnd : stop;
      // The rests that start before last, longest (leftmost) first, of the
      // lengths that keys ending in the run's last byte have. A digit in the
      // run starts nothing: its row has no lengths.
      const LinksIndex_RunTest test(starts, runEnd);
      const auto rest = [&](std::size_t len) -> std::size_t {
        at = runEnd - len;
        if (!test.mayBeWord(at, len) || isTrail(lx, starts, p, at)) return 0;
        return LinksIndex_matchWord(index, at, len, match);
      };
      const std::size_t runLen = static_cast<std::size_t>(runEnd - q);
      const std::size_t shortest = static_cast<std::size_t>(runEnd - last) + 1;
      if (runLen < LinksIndex_Starts::kLongWord) {
        uint64_t lens = test.lengths() & ((uint64_t{2} << runLen) - (uint64_t{1} << shortest));
        while (lens != 0) {
          const std::size_t len = static_cast<std::size_t>(63 - __builtin_clzll(lens));
          lens &= ~(uint64_t{1} << len);
          if ((n = rest(len)) != 0) break;
        }
      } else {
        // A run too long for a length's own bit: every position.
        for (std::size_t len = runLen; len >= shortest && n == 0; --len) n = rest(len);
      }
      q = runEnd;
    } else if (cls == LinksIndex_Starts::kLead) {
      ++q;
      if (!LinksIndex_mayStart(index, at) || isTrail(lx, starts, p, at)) continue;
      n = LinksIndex_match(index, at, match);
    } else {
      ++q;
      continue;
    }
    if (n != 0) {
      *found = at;
      return n;
    }
  }
  return 0;
}

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
  char* stop = KeywordLinker_stop(lx);
  char* found = nullptr;
  LinksIndex_Match match;
  std::size_t n = 0;
  if (k->ahead == nullptr || !LinkAhead_next(k->ahead, lx, p, stop, &found, &n, &match)) {
    k->ahead = nullptr;  // lost: the search goes on here
    n = KeywordLinker_search(lx, k->index, p, stop, &found, &match);
  }
  if (n == 0) {
    BLex3_getPosOfPtr(lx, stop, &k->next);
    k->event = KeywordLinker_kNothing;
    return;
  }
  LinksIndex_target(k->index, match, k->target, sizeof k->target);
  BLex3_getPosOfPtr(lx, found, &k->linkStart);
  BLex3_getPosOfPtr(lx, found + n, &k->linkEnd);
  if (found == p) {
    k->next = k->linkEnd;
    k->event = KeywordLinker_kLinkStart;
    k->inLink = true;
  } else {
    k->next = k->linkStart;
    k->event = KeywordLinker_kNothing;
  }
}

int32_t KeywordLinker_event(const KeywordLinker* k) { return k->event; }

BLex3_Pos KeywordLinker_nextPos(const KeywordLinker* k) { return k->next; }

const char* KeywordLinker_target(const KeywordLinker* k) { return k->target; }
