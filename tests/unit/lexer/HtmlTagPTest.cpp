// The tag scanner driven as the passes drive it: a loop that steps it at the
// current position and moves to its next position, until no data is left at
// the current position (so an event at the end of the file is never seen).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LexerFixture.h"
#include "Raise.h"
#include "TestFiles.h"
#include "lexer/HtmlTagP.h"

namespace {

std::string written(const TempDir& dir, const std::string& text) {
  writeFile(dir.file("t.htm"), text);
  return dir.file("t.htm");
}

struct TagScan {
  TempDir dir;
  OpenLexer o;
  BLex3& lx = o.lx;
  std::vector<char> pool;
  const char* table[2 * HtmlTagP_kMaxAttrs];
  HtmlTagP tags;

  explicit TagScan(const std::string& text) : o(written(dir, text)), pool(HtmlTagP_kPoolSize) {
    HtmlTagP_init(&tags, pool.data(), pool.size(), table, sizeof table);
    HtmlTagP_setLexer(&tags, &lx);
  }

  // One line per event: "<name a=v>@offset" for a start, "end@offset".
  std::vector<std::string> events() {
    std::vector<std::string> out;
    BLex3_Pos pos{0, BLex3_kSingleByte};
    int32_t lastOffset = -1;
    int sameOffset = 0;
    for (;;) {
      BLex3_setPos(&lx, pos);
      if (BLex3_fetch(&lx, 0) == nullptr) break;
      sameOffset = pos.offset == lastOffset ? sameOffset + 1 : 0;
      lastOffset = pos.offset;
      if (sameOffset > 3) {
        ADD_FAILURE() << "stuck at " << pos.offset;
        break;
      }
      HtmlTagP_step(&tags);
      const std::string at = "@" + std::to_string(pos.offset);
      if (HtmlTagP_getState(&tags) == HtmlTagP_kStart) out.push_back(startText() + at);
      if (HtmlTagP_getState(&tags) == HtmlTagP_kEnd) out.push_back("end" + at);
      HtmlTagP_getNextPos(&tags, &pos);
    }
    return out;
  }

  std::string startText() const {
    std::string s = std::string("<") + tags.name;
    for (int32_t i = 0; i < tags.attrCount; ++i)
      s += std::string(" ") + tags.attrNames[i] + "=" + tags.attrValues[i];
    return s + ">";
  }
};

using Events = std::vector<std::string>;

}  // namespace

TEST(HtmlTagPStep, ReportsStartAndEndOfEveryTag) {
  struct Case {
    const char* text;
    Events events;
  };
  const Case cases[] = {
      // The end of one tag and the start of the next share an offset and
      // come in two cycles.
      {"a<b>c</b>.", {"<b>@1", "end@4", "</b>@5", "end@9"}},
      // A "<" before a blank or a digit starts no tag.
      {"x < y<p>.", {"<p>@5", "end@8"}},
      // A quoted value is read whole, ">" and blanks included.
      {"<a title=\"x > y\" href=z>t", {"<a title=x > y href=z>@0", "end@24"}},
      // A tag closed by "/>" ends after its ">".
      {"<var value=\"x\" />y", {"<var value=x>@0", "end@17"}},
      // A tag that ends with the file ends where the loop stops, and an
      // unclosed one has no end before it.
      {"<a", {"<a>@0"}},
      // A comment ends after its closing mark.
      {"<!-- a <b> -->x<i>.", {"<!-->@0", "end@14", "<i>@15", "end@18"}},
      // A trail byte is never a tag byte and never lowered ("ア" is 0x83
      // 0x41: its trail byte is "A"); a "<" after a lead byte (invalid
      // text) is still that character's second byte.
      {"<Xア Yア=ア>.", {"<x\x83\x41 y\x83\x41=\x83\x41>@0", "end@12"}},
      {"\x81<b>", {}},
      {"\x81<b><i>.", {"<i>@4", "end@7"}},
      // Ten attributes at most: the eleventh is passed over.
      {"<t a=1 b=2 c=3 d=4 e=5 f=6 g=7 h=8 i=9 j=10 k=11 >x<u>.",
       {"<t a=1 b=2 c=3 d=4 e=5 f=6 g=7 h=8 i=9 j=10>@0", "end@50", "<u>@51", "end@54"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TagScan s(c.text);
    EXPECT_EQ(c.events, s.events());
  }
}

// A comment longer than the pool without a blank is no overflow; a tag
// straddling the 512-byte window's end reads whole.
TEST(HtmlTagPStep, LongCommentsAndTagsAcrossTheWindowEdge) {
  TagScan s("<!--" + std::string(3000, 'c') + "--><p>.");
  EXPECT_EQ((Events{"<!-->@0", "end@3007", "<p>@3007", "end@3010"}), s.events());
  TagScan w(std::string(505, '.') + "<template href=\"a#b\" arg=it>.");
  EXPECT_EQ((Events{"<template href=a#b arg=it>@505", "end@533"}), w.events());
}

TEST(HtmlTagPStep, PoolOverflowRaisesThePoolsError) {
  // "t", "v" and the value, each with its NUL, in 2048 bytes: a value of
  // 2043 bytes fills the pool exactly.
  for (std::size_t n : {std::size_t{2043}, std::size_t{2044}}) {
    SCOPED_TRACE(n);
    TagScan s("<t v=\"" + std::string(n, 'x') + "\">.");
    Events ev;
    Raised r = catchRaise([&] { ev = s.events(); });
    if (n == 2043) {
      EXPECT_FALSE(r.raised);
      ASSERT_EQ(2u, ev.size());
      EXPECT_EQ(n, std::string(HtmlTagP_getAttr(&s.tags, "v")).size());
    } else {
      EXPECT_TRUE(r.raised);
      EXPECT_EQ(StrX_Err_MemEmpty, r.code);
    }
  }
}
