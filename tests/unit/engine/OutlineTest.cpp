// Titles, their levels and the outlines written from them, driven by the
// lockstep loop as the passes drive them.
#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"
#include "engine/LinksFile.h"
#include "engine/Outline.h"
#include "engine/PassLoop.h"

namespace {

struct Result {
  std::string outline;  // the outline list file
  std::string listing;  // what went into the listing's stream
  int32_t depth = 0;    // Outline_chooseDepth after the pass
};

// One pass: title finder and outline writer over text, with the given
// depth limit.
Result runOutline(const std::string& text, int32_t limit, LinksFile* links = nullptr) {
  TempDir dir;
  writeFile(dir.file("src.txt"), text);
  std::string outPath = dir.file("outline.txt"), listPath = dir.file("listing.txt");
  std::FILE* listing = std::fopen(listPath.c_str(), "wb");
  char buf[BLex3_kBufSize];
  int8_t kinds[BLex3_kKindMapSize];
  BLex3 lexer;
  BLex3_init(&lexer, dir.file("src.txt").c_str(), buf, sizeof buf, BLex3_kBlockSize);
  BLex3_setKindMap(&lexer, kinds, sizeof kinds);
  TitleFinder finder;
  TitleFinder_init(&finder, &lexer);
  Outline outline;
  Outline_init(&outline, &finder, limit, outPath.c_str(), listing, links);
  PassLoop loop(&lexer);
  while (loop.cycle()) {
    TitleFinder_step(&finder);
    loop.restore();
    Outline_step(&outline);
    loop.offer(TitleFinder_nextPos(&finder));
    loop.advance();
  }
  Result r;
  r.depth = Outline_chooseDepth(&outline);
  Outline_finish(&outline);
  BLex3_finish(&lexer);
  std::fclose(listing);
  r.outline = readFile(outPath);
  r.listing = readFile(listPath);
  return r;
}

std::string fullItem(int indent, int n, const std::string& body) {
  return std::string(indent, ' ') + "<LI><A name=\"abst" + std::to_string(n) + "\" href=\"#title" +
         std::to_string(n) + "\">" + body + "</A>\r\n";
}

}  // namespace

TEST(OutlineFull, FourBracketsNestAndCloseAgain) {
  // P opens with four brackets, R closes with four: levels 0, 1, 0, 0.
  Result r = runOutline("<<<<P>>>\r\n<<<Q>>>\r\n<<<R>>>>\r\n<<<S>>>\r\n", Outline_kFullLimit);
  EXPECT_EQ(fullItem(0, 1, "1. P") + " <UL><FONT size=-1>\r\n" + fullItem(1, 2, "1-1. Q") +
                " </FONT></UL>\r\n" + fullItem(0, 3, "2. R") + fullItem(0, 4, "3. S"),
            r.outline);
  EXPECT_EQ(
      "<A name=\"title1\">1. </A><A name=\"title2\">1-1. </A>"
      "<A name=\"title3\">2. </A><A name=\"title4\">3. </A>",
      r.listing);
}

TEST(OutlineFull, BackquotesGoDeeperAndTheLevelStopsAtZero) {
  Result r = runOutline("<<<A>>>''\n<<<B>>> ` - `\n<<<C &amp; <x>>>>''''\n", Outline_kFullLimit);
  EXPECT_EQ(fullItem(0, 1, "1. A") + " <UL><FONT size=-1>\r\n  <UL><FONT size=-1>\r\n" +
                fullItem(2, 2, "1-0-1. B") + "  </FONT></UL>\r\n </FONT></UL>\r\n" +
                fullItem(0, 3, "2. C &amp;amp; &lt;x"),
            r.outline);
}

TEST(OutlineFull, NoTitlesLeaveTheOutlineEmpty) {
  Result r = runOutline("int main() { return a << b; }\n<< not a title >>\n", Outline_kFullLimit);
  EXPECT_EQ("", r.outline);
  EXPECT_EQ("", r.listing);
  EXPECT_EQ(0, r.depth);
}

TEST(OutlineDepth, ChosenFromTheTotals) {
  // 5 chapters of 7 sections: 5 titles above level 1 of 40.
  std::string text;
  for (int c = 0; c < 5; ++c) {
    text += "<<<chapter>>>" + std::string(c == 0 ? "" : "'") + "\n";
    for (int s = 0; s < 7; ++s) text += "<<<section>>>" + std::string(s == 0 ? "`" : "") + "\n";
  }
  EXPECT_EQ(1, runOutline(text, Outline_kFullLimit).depth);
  // Two titles in all: none above a level is at least 2 and under a third.
  EXPECT_EQ(0, runOutline("<<<a>>>\n<<<b>>>`\n", Outline_kFullLimit).depth);
}

TEST(OutlineShort, ItemsLinkToTheFullOutlineOrToTheListing) {
  // A and B at level 0, seven sections under B, then D: depth 1.
  std::string text = "<<<A>>>\r\n<<<B>>>\r\n<<<c>>>`\r\n";
  for (int i = 0; i < 6; ++i) text += "<<<c>>>\r\n";
  text += "<<<D>>>'\r\n";
  ASSERT_EQ(1, runOutline(text, Outline_kFullLimit).depth);
  Result r = runOutline(text, 1);
  // A is followed by a title that is not deeper: it links to the listing.
  // B is followed by a deeper one: it links to its full outline entry. The
  // last item links to the full outline.
  EXPECT_EQ(
      "<LI><A href=\"#title1\">1. A</A>\r\n"
      "<LI><A href=\"#abst2\">2. B</A>\r\n"
      "<LI><A href=\"#abst10\">3. D</A>\r\n",
      r.outline);
  // Titles at the depth limit keep their anchors open.
  EXPECT_EQ(
      "<A name=\"title1\">1. </A><A name=\"title2\">2. </A><A name=\"title3\">2-1. "
      "<A name=\"title4\">2-2. <A name=\"title5\">2-3. <A name=\"title6\">2-4. "
      "<A name=\"title7\">2-5. <A name=\"title8\">2-6. <A name=\"title9\">2-7. "
      "<A name=\"title10\">3. </A>",
      r.listing);
}

TEST(OutlineLinks, OnlyTitlesWithAKeywordAreRegistered) {
  TempDir dir;
  std::string path = dir.file("_out.kwf");
  LinksFile links;
  LinksFile_open(&links, path.c_str());
  LinksFile_writeHeader(&links, ".");
  runOutline("<<<Plain title>>>\n<<<About [Foo]\tbar>>>\n", Outline_kFullLimit, &links);
  LinksFile_close(&links);
  std::string file = readFile(path);
  EXPECT_EQ(std::string::npos, file.find("Plain"));
  EXPECT_NE(std::string::npos, file.find("A = About [Foo]bar, , #title2\r\n"));
}
