// The tag scanner driven as the passes drive it: a loop that steps it at the
// current position and moves to its next position, until no data is left at
// the current position (so an event at the end of the file is never seen).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Raise.h"
#include "TestFiles.h"
#include "lexer/HtmlTagP.h"

namespace {

struct TagScan {
  TempDir dir;
  BLex3 lx;
  char buf[BLex3_kBufSize];
  int8_t kinds[BLex3_kKindMapSize];
  std::vector<char> pool;
  const char* table[2 * HtmlTagP_kMaxAttrs];
  HtmlTagP tags;

  explicit TagScan(const std::string& text, std::size_t poolSize = HtmlTagP_kPoolSize)
      : pool(poolSize) {
    const std::string path = dir.file("t.htm");
    writeFile(path, text);
    BLex3_init(&lx, path.c_str(), buf, sizeof buf, BLex3_kBlockSize);
    BLex3_setKindMap(&lx, kinds, sizeof kinds);
    HtmlTagP_init(&tags, pool.data(), pool.size(), table, sizeof table);
    HtmlTagP_setLexer(&tags, &lx);
  }
  ~TagScan() { BLex3_finish(&lx); }

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
      {"<i><u>.", {"<i>@0", "end@3", "<u>@3", "end@6"}},
      // A "<" before a blank or a digit starts no tag.
      {"x < y<p>.", {"<p>@5", "end@8"}},
      {"1<2 <>", {}},
      {"<!DOCTYPE html>.", {"<!doctype html=>@0", "end@15"}},
      {"</ b>.", {"</ b=>@0", "end@5"}},
      // Capitals: names lowered, values kept.
      {"<TEMPLATE HREF=\"List#Items\" Arg=it>.",
       {"<template href=List#Items arg=it>@0", "end@35"}},
      // A quoted value is read whole, ">" and blanks included.
      {"<a title=\"x > y\" href=z>t", {"<a title=x > y href=z>@0", "end@24"}},
      // An attribute without a value counts with the empty value.
      {"<input disabled>.", {"<input disabled=>@0", "end@16"}},
      {"<input a = 1 disabled b=2>.", {"<input a=1 disabled= b=2>@0", "end@26"}},
      // The parts of a tag may be separated by any white space.
      {"<img\r\n\tsrc=a.png>.", {"<img src=a.png>@0", "end@17"}},
      // A tag closed by "/>" ends after its ">".
      {"<var value=\"x\" />y", {"<var value=x>@0", "end@17"}},
      // Scanning stops at a byte that cannot begin an attribute name and
      // the tag ends one byte later.
      {"<a 1>.", {"<a>@0", "end@4"}},
      // A tag that ends with the file ends where the loop stops, and an
      // unclosed one has no end before it.
      {"<b>", {"<b>@0"}},
      {"<a href=x", {"<a href=x>@0"}},
      {"<a", {"<a>@0"}},
      // Comments end after their closing mark, blank before it or not.
      {"<!-- a <b> -->x<i>.", {"<!-->@0", "end@14", "<i>@15", "end@18"}},
      {"<!--x--><p>.", {"<!-->@0", "end@8", "<p>@8", "end@11"}},
      {"<!---->.", {"<!-->@0", "end@7"}},
      {"<!-- open <b>", {"<!-->@0"}},
      // A trail byte is never a tag byte and never lowered ("ア" is 0x83
      // 0x41: its trail byte is "A"); a "<" after a lead byte (invalid
      // text) is still that character's second byte.
      {"<Xア Yア=ア>.", {"<x\x83\x41 y\x83\x41=\x83\x41>@0", "end@12"}},
      {"\x81<b>", {}},
      {"\x81<b><i>.", {"<i>@4", "end@7"}},
      {"表<b>.", {"<b>@2", "end@5"}},
      // Ten attributes at most: the eleventh is passed over.
      {"<t a=1 b=2 c=3 d=4 e=5 f=6 g=7 h=8 i=9 j=10 k=11 >x<u>.",
       {"<t a=1 b=2 c=3 d=4 e=5 f=6 g=7 h=8 i=9 j=10>@0", "end@50", "<u>@51", "end@54"}},
      {"<t a=1 b=2 c=3 d=4 e=5 f=6 g=7 h=8 i=9 j=10>.",
       {"<t a=1 b=2 c=3 d=4 e=5 f=6 g=7 h=8 i=9 j=10>@0", "end@44"}},
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
  // A long name overflows as well.
  TagScan s("<" + std::string(2048, 'n') + ">");
  EXPECT_EQ(StrX_Err_MemEmpty, catchRaise([&] { s.events(); }).code);
}

TEST(HtmlTagPAttr, FoundByNameWithoutRegardToCase) {
  TagScan s("<a Href=\"X.htm\" name=n href=second>");
  BLex3_fetch(&s.lx, 0);
  HtmlTagP_step(&s.tags);
  ASSERT_EQ(HtmlTagP_kStart, HtmlTagP_getState(&s.tags));
  EXPECT_STREQ("X.htm", HtmlTagP_getAttr(&s.tags, "HREF"));  // the first one
  EXPECT_STREQ("n", HtmlTagP_getAttr(&s.tags, "name"));
  EXPECT_EQ(nullptr, HtmlTagP_getAttr(&s.tags, "arg"));
}

TEST(HtmlTagPInTag, TrueOnlyInsideAReportedTag) {
  TagScan s("ab<tag x=1>cd");
  auto stepAt = [&](int32_t offset) {
    BLex3_setPos(&s.lx, BLex3_Pos{offset, BLex3_kUnknown});
    HtmlTagP_step(&s.tags);
    return HtmlTagP_getState(&s.tags);
  };
  EXPECT_EQ(HtmlTagP_kNone, stepAt(0));
  EXPECT_FALSE(HtmlTagP_isInTag(&s.tags));
  EXPECT_EQ(HtmlTagP_kStart, stepAt(2));
  EXPECT_FALSE(HtmlTagP_isInTag(&s.tags));
  EXPECT_EQ(HtmlTagP_kBefore, stepAt(6));
  EXPECT_TRUE(HtmlTagP_isInTag(&s.tags));
  EXPECT_EQ(HtmlTagP_kEnd, stepAt(11));
  EXPECT_FALSE(HtmlTagP_isInTag(&s.tags));
}
