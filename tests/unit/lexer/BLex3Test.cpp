// The lexer at its edges: kinds of bytes far from the window, positions
// saved and restored across windows, trail bytes equal to delimiters, and
// fields cut to their buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "LexerFixture.h"
#include "TestFiles.h"
#include "runtime/TextCode.h"

// A saved position in the middle of a block, on a trail byte, restored after
// the window has moved on: the reloaded window starts at that block, and its
// kinds come from the file, not from the saved kind alone.
TEST(BLex3Window, SeekBackToATrailByteInMidBlock) {
  std::string text(2000, 'a');
  text[299] = '\x82';
  text[300] = ';';
  text[256] = '\x88';  // a character opening the saved position's block,
  text[257] = '\x88';  // with a trail byte in the lead range
  TempDir dir;
  writeFile(dir.file("b"), text);
  OpenLexer o(dir.file("b"));
  o.seek(300);
  ASSERT_NE(nullptr, BLex3_fetch(&o.lx, 0));
  BLex3_Pos saved = o.pos();
  EXPECT_EQ(BLex3_kTrailByte, saved.kind);
  o.seek(1900);
  BLex3_fetch(&o.lx, 0);
  BLex3_setPos(&o.lx, saved);
  ASSERT_NE(nullptr, BLex3_fetch(&o.lx, 0));
  EXPECT_EQ(256, o.lx.base);
  const int8_t* k = BLex3_getKindPtr(&o.lx);
  EXPECT_EQ(BLex3_kTrailByte, k[0]);
  EXPECT_EQ(BLex3_kSingleByte, k[1]);
  EXPECT_EQ(BLex3_kLeadByte, o.lx.kinds[0]);
  EXPECT_EQ(BLex3_kTrailByte, o.lx.kinds[1]);
  EXPECT_EQ(BLex3_kSingleByte, o.lx.kinds[2]);
  BLex3_skipToSet(&o.lx, ";", 0);  // the trail byte ';' is no delimiter
  EXPECT_EQ(2000, BLex3_getOffset(&o.lx));
}

// Far from the window, a kind is found from the bytes before it in the file;
// a long run of lead-range bytes is counted back to its start, also across
// the lexer's read chunks read out of order.
TEST(BLex3Window, KindsFarFromTheWindowInALongRunOfLeadBytes) {
  struct Case {
    int32_t offset, kind;
  };
  std::string longRun(160000, '\x81');
  longRun[50000] = 'a';  // the run starts after it and goes on to the end
  struct File {
    std::string text;
    int32_t seek;             // where the window stands first
    std::vector<Case> far;    // kinds found away from it, in this order
    int32_t reseek, first, second;  // then the window here: its first two kinds
  };
  const File files[] = {
      {std::string(3000, '\x81'), 2900,
       {{0, 1}, {1, 2}, {150, 1}, {151, 2}, {1001, 2}, {2047, 2}, {2048, 1}}, 1001, 2, 1},
      {longRun, 159900,
       {{159001, 1}, {1, 2}, {50000, 0}, {100001, 1}, {98304, 2}, {131072, 2}, {65536, 2},
        {50001, 1}, {140001, 1}},
       100001, 1, 2},
  };
  TempDir dir;
  for (const File& f : files) {
    SCOPED_TRACE(f.text.size());
    writeFile(dir.file("l"), f.text);
    OpenLexer o(dir.file("l"));
    o.seek(f.seek);
    ASSERT_NE(nullptr, BLex3_fetch(&o.lx, 0));
    for (const Case& c : f.far) {
      SCOPED_TRACE(c.offset);
      BLex3_Pos p;
      BLex3_getPosOfPtr(&o.lx, BLex3_getPtrOfOffset(&o.lx, c.offset), &p);
      EXPECT_EQ(c.kind, p.kind);
    }
    o.seek(f.reseek);
    ASSERT_NE(nullptr, BLex3_fetch(&o.lx, 0));
    EXPECT_EQ(f.first, BLex3_getKindPtr(&o.lx)[0]);
    EXPECT_EQ(f.second, BLex3_getKindPtr(&o.lx)[1]);
  }
}

// In a UTF-8 file a kind far from the window is the byte's own: "あ" is
// E3 81 82, one lead byte and two trail bytes.
TEST(BLex3Window, Utf8KindsFarFromTheWindow) {
  TextCode_Scope utf8(TextCode::Utf8, TextCode::Utf8);
  std::string text;
  while (text.size() < 3000) text += "\xE3\x81\x82";
  TempDir dir;
  writeFile(dir.file("u"), text);
  OpenLexer o(dir.file("u"));
  o.seek(2900);
  ASSERT_NE(nullptr, BLex3_fetch(&o.lx, 0));
  const int32_t kinds[] = {BLex3_kLeadByte, BLex3_kTrailByte, BLex3_kTrailByte};
  for (int32_t offset = 0; offset < 6; ++offset) {
    SCOPED_TRACE(offset);
    BLex3_Pos p;
    BLex3_getPosOfPtr(&o.lx, BLex3_getPtrOfOffset(&o.lx, offset), &p);
    EXPECT_EQ(kinds[offset % 3], p.kind);
  }
}

// A lead byte ending a block: its trail byte opens the next window with kind
// 2 and never counts as a delimiter, even with a delimiter's value.
TEST(BLex3Scan, TrailByteEqualToADelimiterAtABlockBoundary) {
  std::string text(600, 'a');
  text[255] = '\x82';
  text[256] = ';';
  text[511] = '\x82';
  text[512] = '>';
  text[520] = ';';
  text[530] = '>';
  TempDir dir;
  writeFile(dir.file("t"), text);
  OpenLexer o(dir.file("t"));
  BLex3_Pos p;
  BLex3_getPosOfPtr(&o.lx, BLex3_getPtrOfOffset(&o.lx, 512), &p);
  EXPECT_EQ(BLex3_kTrailByte, p.kind);
  BLex3_skipToSet(&o.lx, ";", 0);
  EXPECT_EQ(520, BLex3_getOffset(&o.lx));
  o.seek(0);
  BLex3_skipToSet(&o.lx, ">", 1);
  EXPECT_EQ(531, BLex3_getOffset(&o.lx));
  o.seek(512);
  BLex3_skipToSet(&o.lx, ">", 0);  // the cursor itself is the trail byte
  EXPECT_EQ(530, BLex3_getOffset(&o.lx));
}

TEST(BLex3Field, DelimitedAndQuotedFields) {
  struct Case {
    std::string text, delims;
    bool quoted;
    std::size_t capacity;
    std::string field;
    int32_t cursor;
  };
  const Case cases[] = {
      {"name attr>", " >", true, 64, "name", 4},
      {"\"a \"\"b\"\" c\" rest", " =>", true, 64, "a \"\"b\"\" c", 11},
      {"\"ab\" c", " ", false, 64, "\"ab\"", 4},
      {"\"open to the end", " >", true, 64, "open to the end", 16},
      {"\"ab\"\"", " >", true, 64, "ab\"\"", 5},  // a doubled quote ending the data
      {"abc", " >", false, 64, "abc", 3},
      {"abcdef>", ">", false, 4, "abc", 6},            // cut; reading goes on
      {"a\x82\xA0" "b>", ">", false, 3, "a", 4},       // no half character
      {"a\x82>b>", ">", false, 64, "a\x82>b", 4},      // trail byte '>'
      {"", ">", false, 64, "", 0},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    writeFile(dir.file("f"), c.text);
    OpenLexer o(dir.file("f"));
    char field[65];
    std::memset(field, 'X', sizeof field);
    BLex3_readField(&o.lx, field, c.capacity, c.delims.c_str(), c.quoted);
    EXPECT_EQ(c.field, std::string(field));
    EXPECT_EQ('X', field[c.capacity]);
    EXPECT_EQ(c.cursor, BLex3_getOffset(&o.lx));
  }
}
