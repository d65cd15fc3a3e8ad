// The keyword search run ahead by a helper thread: the pass gets the same
// links as from its own search, and takes them over in step.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "../lexer/LexerFixture.h"
#include "IndexFixture.h"
#include "engine/KeywordLinker.h"
#include "engine/LinkAhead.h"

namespace {

struct Link {
  int32_t start, end;
  std::string target;
  bool operator==(const Link& o) const {
    return start == o.start && end == o.end && target == o.target;
  }
};

// The linker stepped over the file as a pass steps it, with the window
// moved elsewhere between steps as the pass's other objects move it.
std::vector<Link> passLinks(const std::string& path, LinksIndex* index, LinkAhead* ahead) {
  OpenLexer o(path);
  KeywordLinker k;
  KeywordLinker_init(&k, index);
  KeywordLinker_setLexer(&k, &o.lx);
  k.ahead = ahead;
  std::vector<Link> links;
  BLex3_Pos pos{0, BLex3_kSingleByte};
  for (uint32_t r = 1;; r = r * 1103515245u + 12345u) {
    o.seek(std::max(0, pos.offset + static_cast<int32_t>(r >> 23) % 900 - 300));
    BLex3_fetch(&o.lx, 0);
    BLex3_setPos(&o.lx, pos);
    if (BLex3_fetch(&o.lx, 0) == nullptr) break;
    KeywordLinker_step(&k);
    if (k.event == KeywordLinker_kLinkStart)
      links.push_back({k.linkStart.offset, k.linkEnd.offset, k.target});
    pos = k.next;
  }
  return links;
}

}  // namespace

// Keys of every kind the search tries, at offsets that fall on every side
// of both threads' window edges, among bytes that only look like keys.
TEST(LinkAheadSearch, SameLinksAsThePass) {
  const std::string longKey = "k" + std::string(125, 'q') + "z";  // the longest local key
  OpenIndex ix(keywords({"Abc", "node", "x_1", longKey, "表"}));
  ASSERT_TRUE(LinksIndex_isLocal(&ix.index, KeywordLinker_kReadAhead));
  struct Use {
    std::string text;
    int32_t at, len;  // the link it holds, from its start (len 0: none)
    int key;
  };
  const Use uses[] = {
      {"Abc", 0, 3, 1},
      {"xnode", 1, 4, 2},  // the rest of a longer word
      {"x_1", 0, 3, 3},
      {longKey, 0, 127, 4},
      {"表", 0, 2, 5},
      {"Abcd", 0, 0, 0},        // a longer word
      {"アbc", 0, 0, 0},        // "Abc" from a trail byte
      {"\x88\x95\\;", 0, 0, 0},  // "表" from a trail byte
  };
  std::string text;
  std::vector<Link> expected;
  for (int i = 0; text.size() < 150000; ++i) {  // the first key at the file's start
    const Use& u = uses[i % 8];
    if (u.len != 0) {
      const int32_t at = static_cast<int32_t>(text.size()) + u.at;
      expected.push_back({at, at + u.len, "#kword" + std::to_string(u.key)});
    }
    text += u.text + " ;\n" + std::string(static_cast<std::size_t>(i * 53 % 700), ' ') + "= 1;\n";
  }
  const std::string path = ix.dir.file("t.c");
  writeFile(path, text);

  EXPECT_EQ(expected, passLinks(path, &ix.index, nullptr));
  auto ahead = std::make_unique<LinkAhead>();
  if (!LinkAhead_start(ahead.get(), path.c_str(), &ix.index)) {
    ASSERT_LT(std::thread::hardware_concurrency(), 2u);
    return;
  }
  EXPECT_EQ(expected, passLinks(path, &ix.index, ahead.get()));
}

// What the pass makes of what the helper has handed over, without a helper
// running: the links before a step's stop, nothing when the helper has
// passed it, and no answer when the helper has stopped short of it or is
// out of step.
TEST(LinkAheadNext, TakesTheHelpersLinksInStep) {
  struct Case {
    const char* what;
    std::vector<int32_t> starts;  // links of 3 bytes handed over
    int32_t done;
    bool lost;
    int32_t from, to;  // the step
    bool known;
    int32_t found;     // -1: none
  };
  const Case cases[] = {
      {"a link before the stop", {20, 60}, 100, false, 10, 50, true, 20},
      {"a link at the stop", {50}, 100, false, 10, 50, true, -1},
      {"passed without a link", {}, 50, false, 10, 50, true, -1},
      {"stopped short", {}, 49, true, 10, 50, false, -1},
      {"stopped after a link", {30}, 33, true, 10, 50, true, 30},
      {"out of step", {5}, 100, false, 10, 50, false, -1},
  };
  OpenIndex ix(keywords({"Abc"}));
  writeFile(ix.dir.file("t.c"), std::string(600, 'a'));
  OpenLexer o(ix.dir.file("t.c"));
  char* const buf = BLex3_fetch(&o.lx, 0);
  for (const Case& c : cases) {
    auto a = std::make_unique<LinkAhead>();
    a->index = &ix.index;
    for (int32_t s : c.starts) a->ring.put(LinkAhead_Link{s, 3, LinksIndex_Match{}}, s + 3);
    a->ring.lookedTo(c.done, false);
    a->ring.publish(c.lost);
    char* found = nullptr;
    std::size_t n = 99;
    LinksIndex_Match m;
    EXPECT_EQ(c.known, LinkAhead_next(a.get(), &o.lx, buf + c.from, buf + c.to, &found, &n, &m))
        << c.what;
    if (!c.known) continue;
    EXPECT_EQ(c.found < 0 ? 0u : 3u, n) << c.what;
    if (c.found >= 0) {
      EXPECT_EQ(buf + c.found, found) << c.what;
    }
    // A link taken is gone from the ring; one left is still there.
    const LinkAhead_Link* next = a->ring.head();
    const std::size_t left = c.starts.size() - (c.found < 0 ? 0 : 1);
    EXPECT_EQ(left != 0, next != nullptr) << c.what;
  }
}

// No helper where it could give other links than the pass's own search, or
// for a file that cannot be read; the attempt raises nothing.
TEST(LinkAheadStart, OnlyForALocalIndexAndAReadableFile) {
  struct Case {
    std::vector<std::string> keys;
    const char* file;
    bool started;
  };
  const Case cases[] = {
      {{"Abc"}, "t.c", true},
      {{"Abc"}, "none.c", false},
      {{"Abc", "a b"}, "t.c", false},  // a phrase
  };
  const bool cores = std::thread::hardware_concurrency() >= 2;
  for (const Case& c : cases) {
    OpenIndex ix(keywords(c.keys));
    writeFile(ix.dir.file("t.c"), "Abc;\n");
    auto ahead = std::make_unique<LinkAhead>();
    EXPECT_EQ(c.started && cores,
              LinkAhead_start(ahead.get(), ix.dir.file(c.file).c_str(), &ix.index))
        << c.file << " " << c.keys.size();
  }
}
