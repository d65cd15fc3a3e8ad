// LinkAhead: the helper thread of the keyword linker.
#include "engine/LinkAhead.h"

#include <system_error>

#include "engine/KeywordLinker.h"

namespace {

int32_t offsetOf(const BLex3* lx, const char* p) {
  return static_cast<int32_t>(lx->base + (p - lx->buf));
}

// The helper: the searches of KeywordLinker_step from the file's start, each
// from where the last one ended (the end of its link, or its stop).
void run(LinkAhead* a) {
  BLex3* lx = &a->lexer;
  auto& ring = a->ring;
  BLex3_Pos pos{0, BLex3_kSingleByte};
  for (;;) {
    if (ring.cancelled()) return;
    BLex3_setPos(lx, pos);
    char* p = BLex3_fetch(lx, KeywordLinker_kReadAhead);
    if (lx->failed) break;
    if (p == nullptr) {
      ring.lookedTo(BLex3_kNoOffset, false);
      ring.publish(true);
      return;
    }
    char* stop = KeywordLinker_stop(lx);
    char* found = nullptr;
    LinksIndex_Match match;
    const std::size_t n = KeywordLinker_search(lx, a->index, p, stop, &found, &match);
    if (n != 0) {
      if (!ring.waitForRoom()) return;
      const int32_t at = offsetOf(lx, found);
      pos = BLex3_Pos{at + static_cast<int32_t>(n), BLex3_kUnknown};
      ring.put(LinkAhead_Link{at, static_cast<uint32_t>(n), match}, pos.offset);
    } else {
      // A window without a link is handed over at once: it is long.
      pos = BLex3_Pos{offsetOf(lx, stop), BLex3_kUnknown};
      ring.lookedTo(pos.offset, true);
    }
  }
  ring.publish(true);  // short of the end: the pass searches on alone
}

}  // namespace

LinkAhead::~LinkAhead() { LinkAhead_stop(this); }

bool LinkAhead_start(LinkAhead* a, const char* path, LinksIndex* index) {
  if (index == nullptr || !LinksIndex_isLocal(index, KeywordLinker_kReadAhead) ||
      std::thread::hardware_concurrency() < 2)
    return false;
  if (!BLex3_initQuiet(&a->lexer, path, a->window, sizeof a->window, LinkAhead_kBlockSize))
    return false;
  BLex3_setKindMap(&a->lexer, a->kinds, sizeof a->kinds);
  if (a->lexer.failed) {
    BLex3_finish(&a->lexer);
    return false;
  }
  a->index = index;
  try {
    a->thread = std::thread(run, a);
  } catch (const std::system_error&) {
    BLex3_finish(&a->lexer);
    return false;
  }
  return true;
}

bool LinkAhead_next(LinkAhead* a, const BLex3* lx, char* p, char* stop, char** found,
                    std::size_t* n, LinksIndex_Match* match) {
  auto& ring = a->ring;
  const int32_t from = offsetOf(lx, p);
  const int32_t to = offsetOf(lx, stop);
  for (;;) {
    if (const LinkAhead_Link* l = ring.head()) {
      if (l->start < from) return false;  // out of step
      *n = 0;
      if (l->start < to) {
        *found = p + (l->start - from);
        *n = l->len;
        *match = l->match;
        ring.take();
        // The target of the next link is read from a table the helper has
        // not touched: asked for now, it is there by then.
        if (const LinkAhead_Link* next = ring.head())
          LinksIndex_prefetchTarget(a->index, next->match);
      }
      return true;
    }
    if (ring.done() >= to) {
      *n = 0;
      return true;
    }
    if (ring.ended()) return false;  // stopped short of the stop: the pass searches from here
    if (!ring.refresh()) ring.waitForNews();
  }
}

void LinkAhead_stop(LinkAhead* a) {
  a->ring.cancel();
  if (a->thread.joinable()) a->thread.join();
  BLex3_finish(&a->lexer);
}
