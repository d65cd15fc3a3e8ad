// LinkAhead: the keyword linker's search, run by a helper thread over the
// text ahead of the writing pass, so that the pass finds its links ready.
//
// The helper reads the file through a lexer of its own, with a larger
// window, and hands over each link it finds (its start, length and key) in
// a ring of fixed size; the pass takes them in order. This gives the same
// links as the pass's own search only where a search's answer at a position
// does not depend on how far the window reaches past the read-ahead: an
// index that LinksIndex_isLocal calls local. The helper never raises: when
// a read of its own fails it stops, and the pass searches for itself from
// there on. Targets are read by the pass, which owns the index's file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <thread>

#include "engine/AheadRing.h"
#include "engine/LinksIndex.h"
#include "lexer/BLex3.h"

// Links found and not yet taken.
inline constexpr uint32_t LinkAhead_kRing = 4096;
// The helper's window: two blocks of this size.
inline constexpr uint32_t LinkAhead_kBlockSize = 16384;
// The pass searches files shorter than this alone: a thread costs more
// than it saves there.
inline constexpr int64_t LinkAhead_kMinFileSize = 64 * 1024;

struct LinkAhead_Link {
  int32_t start;  // file offset
  uint32_t len;
  LinksIndex_Match match;
};

struct LinkAhead {
  LinksIndex* index = nullptr;
  BLex3 lexer;
  char window[2 * LinkAhead_kBlockSize + 4];
  int8_t kinds[2 * LinkAhead_kBlockSize];
  // The links found, and an offset before which every link is in the ring
  // or taken.
  AheadRing<LinkAhead_Link, LinkAhead_kRing> ring;
  std::thread thread;

  LinkAhead() = default;
  LinkAhead(const LinkAhead&) = delete;
  LinkAhead& operator=(const LinkAhead&) = delete;
  ~LinkAhead();  // stops the helper
};

// Starts the helper over the file at path for the open index, when it can
// give the pass's links: the index is local, the file opens, and the
// machine has a second core. False when none was started.
bool LinkAhead_start(LinkAhead* ahead, const char* path, LinksIndex* index);
// The pass's step, with its lexer fetched at p and its search ending at
// stop (KeywordLinker_stop): the first link from p to stop, its start in
// *found and its length in *n (0 when there is none), waiting for the
// helper as needed. False when the helper cannot tell: the pass searches
// itself, from here on.
bool LinkAhead_next(LinkAhead* ahead, const BLex3* lexer, char* p, char* stop, char** found,
                    std::size_t* n, LinksIndex_Match* match);
// Stops the helper and waits for it; calling it again does nothing.
void LinkAhead_stop(LinkAhead* ahead);
