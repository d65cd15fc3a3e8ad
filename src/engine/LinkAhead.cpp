// LinkAhead: the helper thread of the keyword linker.
//
// The two threads share only the ring and three counters, and each side
// hands its counters over in batches: a counter written at every link
// would move its cache line between the cores at every link.
#include "engine/LinkAhead.h"

#include <system_error>

#include "engine/KeywordLinker.h"

namespace {

// Links found or taken between two hand-overs.
constexpr uint32_t kBatch = 64;
// Checks made before a side that has to wait goes to sleep.
constexpr int kSpins = 2000;

int32_t offsetOf(const BLex3* lx, const char* p) {
  return static_cast<int32_t>(lx->base + (p - lx->buf));
}

inline void cpuPause() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

// Wakes the side that sleeps on asleep. Whoever hands something over stores
// it first: the stores and the flag are sequentially consistent, so that
// either the waker sees the flag or the sleeper sees what was handed over.
void wake(LinkAhead* a, const std::atomic<bool>& asleep) {
  if (asleep.load()) {
    std::lock_guard<std::mutex> lock(a->mutex);
    a->wake.notify_all();
  }
}

// Waits until ready(): a short spin, then sleeps, announced on asleep and
// checked once more before the sleep.
template <class Ready>
void waitUntil(LinkAhead* a, std::atomic<bool>& asleep, Ready&& ready) {
  for (int i = 0; i < kSpins; ++i) {
    if (ready()) return;
    cpuPause();
  }
  std::unique_lock<std::mutex> lock(a->mutex);
  for (;;) {
    asleep.store(true);
    if (ready()) break;
    a->wake.wait(lock);
  }
  asleep.store(false);
}

// Hands over what the helper has found, and that it stopped when lost.
void publish(LinkAhead* a, bool lost = false) {
  // made before done: a pass that sees done sees the links made before it.
  a->made.store(a->helper.made);
  a->done.store(a->helper.done);
  if (lost) a->lost.store(true);
  wake(a, a->passAsleep);
}

// Waits until the ring has room for one more link; false when cancelled.
// A full ring is left to drain to half, so that the helper then runs on for
// a while.
bool waitForRoom(LinkAhead* a) {
  LinkAhead::Helper& h = a->helper;
  if (h.made - h.taken < LinkAhead_kRing) return true;
  publish(a);
  waitUntil(a, a->helperAsleep, [&] {
    h.taken = a->taken.load();
    return h.made - h.taken <= LinkAhead_kRing / 2 || a->cancel.load();
  });
  return !a->cancel.load();
}

// The pass hands over what it has taken, and wakes the helper when the ring
// has drained far enough for it.
void handOver(LinkAhead* a) {
  LinkAhead::Pass& s = a->pass;
  a->taken.store(s.taken);
  if (a->helperAsleep.load()) {
    s.made = a->made.load();
    if (s.made - s.taken <= LinkAhead_kRing / 2) wake(a, a->helperAsleep);
  }
}

// The helper: the searches of KeywordLinker_step from the file's start, each
// from where the last one ended (the end of its link, or its stop).
void run(LinkAhead* a) {
  BLex3* lx = &a->lexer;
  LinkAhead::Helper& h = a->helper;
  BLex3_Pos pos{0, BLex3_kSingleByte};
  uint32_t published = 0;
  for (;;) {
    if (a->cancel.load()) return;
    BLex3_setPos(lx, pos);
    char* p = BLex3_fetch(lx, KeywordLinker_kReadAhead);
    if (lx->failed) break;
    if (p == nullptr) {
      h.done = BLex3_kNoOffset;
      publish(a);
      return;
    }
    char* stop = KeywordLinker_stop(lx);
    char* found = nullptr;
    LinksIndex_Match match;
    const std::size_t n = KeywordLinker_search(lx, a->index, p, stop, &found, &match);
    if (n != 0) {
      if (!waitForRoom(a)) return;
      a->ring[h.made % LinkAhead_kRing] =
          LinkAhead_Link{offsetOf(lx, found), static_cast<uint32_t>(n), match};
      ++h.made;
      h.done = offsetOf(lx, found) + static_cast<int32_t>(n);
    } else {
      h.done = offsetOf(lx, stop);
    }
    // A window without a link is handed over at once: it is long.
    if (n == 0 || h.made - published >= kBatch) {
      publish(a);
      published = h.made;
    }
    pos = BLex3_Pos{h.done, BLex3_kUnknown};
  }
  publish(a, true);
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
  LinkAhead::Pass& s = a->pass;
  const int32_t from = offsetOf(lx, p);
  const int32_t to = offsetOf(lx, stop);
  for (bool lost = false;;) {
    if (s.taken != s.made) {
      const LinkAhead_Link& l = a->ring[s.taken % LinkAhead_kRing];
      if (l.start < from) return false;  // out of step
      *n = 0;
      if (l.start < to) {
        *found = p + (l.start - from);
        *n = l.len;
        *match = l.match;
        if (++s.taken % kBatch == 0) handOver(a);
        // The target of the next link is read from a table the helper has
        // not touched: asked for now, it is there by then.
        if (s.taken != s.made)
          LinksIndex_prefetchTarget(a->index, a->ring[s.taken % LinkAhead_kRing].match);
      }
      return true;
    }
    if (s.done >= to) {
      *n = 0;
      return true;
    }
    if (lost) return false;
    // done before made (see publish).
    s.done = a->done.load();
    s.made = a->made.load();
    if (s.taken != s.made || s.done >= to) continue;
    // Nothing new: the helper gets all the room before the pass waits.
    handOver(a);
    waitUntil(a, a->passAsleep, [&] {
      return a->made.load() != s.taken || a->done.load() >= to || a->lost.load();
    });
    // What the helper handed over before it stopped still counts.
    lost = a->lost.load();
    s.done = a->done.load();
    s.made = a->made.load();
  }
}

void LinkAhead_stop(LinkAhead* a) {
  a->cancel.store(true);
  wake(a, a->helperAsleep);
  if (a->thread.joinable()) a->thread.join();
  BLex3_finish(&a->lexer);
}
