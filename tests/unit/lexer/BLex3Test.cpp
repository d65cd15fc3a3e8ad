// The lexer at its edges: windows that end inside a double-byte character,
// positions saved and restored across windows, scans and fields split by a
// window's end, and the set-up it refuses.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "LexerFixture.h"
#include "Raise.h"
#include "TestFiles.h"
#include "runtime/TextCode.h"

TEST(BLex3Window, EmptyFileHasNoDataFromTheStart) {
  TempDir dir;
  writeFile(dir.file("e"), "");
  OpenLexer o(dir.file("e"));
  EXPECT_EQ(nullptr, BLex3_fetch(&o.lx, 0));
  BLex3_Pos p = o.pos();
  EXPECT_EQ(0, p.offset);
  EXPECT_EQ(BLex3_kUnknown, p.kind);
  BLex3_getEOFPos(&o.lx, &p);
  EXPECT_EQ(0, p.offset);
  BLex3_skipToSet(&o.lx, ";", 1);
  EXPECT_EQ(0, BLex3_getOffset(&o.lx));
}

TEST(BLex3Window, FileOfExactlyOneWindowLoadsAnEmptyWindowPastIt) {
  TempDir dir;
  writeFile(dir.file("w"), std::string(512, 'w'));
  OpenLexer o(dir.file("w"));
  o.seek(512);
  EXPECT_EQ(nullptr, BLex3_fetch(&o.lx, 0));
  BLex3_Pos p = o.pos();
  EXPECT_EQ(512, p.offset);
  EXPECT_EQ(BLex3_kUnknown, p.kind);
}

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
// a long run of lead-range bytes is counted back to its start.
TEST(BLex3Window, KindsFarFromTheWindowInALongRunOfLeadBytes) {
  TempDir dir;
  writeFile(dir.file("l"), std::string(3000, '\x81'));
  OpenLexer o(dir.file("l"));
  o.seek(2900);
  ASSERT_NE(nullptr, BLex3_fetch(&o.lx, 0));
  struct Case {
    int32_t offset, kind;
  };
  const Case cases[] = {{0, 1}, {1, 2}, {150, 1}, {151, 2}, {1001, 2}, {2047, 2}, {2048, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    BLex3_Pos p;
    BLex3_getPosOfPtr(&o.lx, BLex3_getPtrOfOffset(&o.lx, c.offset), &p);
    EXPECT_EQ(c.kind, p.kind);
  }
  o.seek(1001);
  ASSERT_NE(nullptr, BLex3_fetch(&o.lx, 0));
  EXPECT_EQ(BLex3_kTrailByte, BLex3_getKindPtr(&o.lx)[0]);
  EXPECT_EQ(BLex3_kLeadByte, BLex3_getKindPtr(&o.lx)[1]);
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

TEST(BLex3Window, ReadAheadOfABlockOrMoreIsRefused) {
  TempDir dir;
  writeFile(dir.file("r"), "abc");
  OpenLexer o(dir.file("r"));
  Raised r = catchRaise([&] { BLex3_fetch(&o.lx, 256); });
  EXPECT_TRUE(r.raised);
  EXPECT_EQ(Errors_NotSupport, r.code);
  EXPECT_EQ(0, BLex3_getOffset(&o.lx));
}

TEST(BLex3Init, MissingFileAndUnusableMemoryAreReported) {
  TempDir dir;
  std::vector<char> buf(BLex3_kBufSize);
  BLex3 lx;
  Raised r = catchRaise([&] {
    BLex3_init(&lx, dir.file("none").c_str(), buf.data(), buf.size(), BLex3_kBlockSize);
  });
  EXPECT_EQ(FileX_Err_CannotReadOpen, r.code);
  EXPECT_EQ(nullptr, lx.file);

  writeFile(dir.file("x"), "x");
  struct Case {
    std::size_t bufSize;
    uint32_t blockSize;
  };
  const Case bad[] = {{512, 256}, {516, 100}, {516, 0}};  // one block only; not a power of two
  for (const Case& c : bad) {
    SCOPED_TRACE(c.blockSize);
    r = catchRaise([&] { BLex3_init(&lx, dir.file("x").c_str(), buf.data(), c.bufSize, c.blockSize); });
    EXPECT_EQ(Errors_NotSupport, r.code);
    EXPECT_EQ(nullptr, lx.file);
  }

  BLex3_init(&lx, dir.file("x").c_str(), buf.data(), buf.size(), BLex3_kBlockSize);
  int8_t kinds[511];
  r = catchRaise([&] { BLex3_setKindMap(&lx, kinds, sizeof kinds); });
  EXPECT_EQ(Errors_NotSupport, r.code);
  EXPECT_EQ(nullptr, lx.kinds);
  BLex3_finish(&lx);
  BLex3_finish(&lx);
  EXPECT_EQ(nullptr, lx.file);
}

TEST(BLex3PosAfter, InsideTheWindowAtItsEndAndBeyond) {
  std::string text(2000, 'a');
  text[511] = '\x82';
  TempDir dir;
  writeFile(dir.file("p"), text);
  OpenLexer o(dir.file("p"));
  o.seek(500);
  BLex3_Pos p;
  BLex3_getPosAfter(&o.lx, 11, &p);
  EXPECT_EQ(511, p.offset);
  EXPECT_EQ(BLex3_kLeadByte, p.kind);
  BLex3_getPosAfter(&o.lx, 12, &p);  // the window's end: it slides first
  EXPECT_EQ(512, p.offset);
  EXPECT_EQ(BLex3_kTrailByte, p.kind);
  EXPECT_EQ(500, BLex3_getOffset(&o.lx));
  Raised r = catchRaise([&] { BLex3_getPosAfter(&o.lx, 600, &p); });  // past the window
  EXPECT_EQ(Errors_NotSupport, r.code);
  EXPECT_EQ(Errors_Txt_NotSupport, r.msg);
  EXPECT_EQ(500, BLex3_getOffset(&o.lx));
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

TEST(BLex3Scan, StringSplitByTheWindowsEndIsFound) {
  struct Case {
    int32_t at;  // offset of "-->"
  };
  const Case cases[] = {{509}, {510}, {511}, {512}, {767}, {1022}};
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.at);
    std::string text(1500, '-');  // every "--" is a false start
    text.replace(static_cast<std::size_t>(c.at) + 2, 1, ">");
    writeFile(dir.file("s"), text);
    OpenLexer o(dir.file("s"));
    BLex3_skipToStr(&o.lx, "-->", 3, true);
    EXPECT_EQ(c.at + 3, BLex3_getOffset(&o.lx));
  }
}

TEST(BLex3Scan, StringMatchesNeverStartOnATrailByteAndMayIgnoreCase) {
  struct Case {
    std::string text, str;
    bool caseSensitive;
    int32_t expected;
  };
  const Case cases[] = {
      {"\x82-->  -->", "-->", true, 6},
      {"ab<TemPlate x", "<template", false, 2},
      {"ab<TemPlate <template", "<template", true, 12},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    writeFile(dir.file("c"), c.text);
    OpenLexer o(dir.file("c"));
    BLex3_skipToStr(&o.lx, c.str.c_str(), 0, c.caseSensitive);
    EXPECT_EQ(c.expected, BLex3_getOffset(&o.lx));
  }
}

TEST(BLex3Scan, HtmlTags) {
  struct Case {
    std::string text;
    int32_t expected;
  };
  const Case cases[] = {
      {"<b>x", 3},
      {"<a href=\"x\">y", 12},
      {"<!-- a > b -->x", 14},
      {"<!---->x", 7},
      {"<p", 2},
      {"<!-- open", 9},
      {"<!-x> a -->b", 5},  // "<!-" alone opens no comment
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    writeFile(dir.file("h"), c.text);
    OpenLexer o(dir.file("h"));
    BLex3_skipHtmlTag(&o.lx);
    EXPECT_EQ(c.expected, BLex3_getOffset(&o.lx));
  }
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

TEST(BLex3Field, ZeroCapacityWritesNothingButMoves) {
  TempDir dir;
  writeFile(dir.file("f"), "abc>");
  OpenLexer o(dir.file("f"));
  char field = 'X';
  BLex3_readField(&o.lx, &field, 0, ">", false);
  EXPECT_EQ('X', field);
  EXPECT_EQ(3, BLex3_getOffset(&o.lx));
}

// A quote that ends one window and its partner (or not) that opens the next.
TEST(BLex3Field, QuotesSplitByTheWindowsEnd) {
  TempDir dir;
  std::string xs(510, 'x');
  struct Case {
    std::string tail;  // from offset 511 on
    std::string field;
    int32_t cursor;
  };
  const Case cases[] = {
      {"\"\"y\" z", xs + "\"\"y", 515},
      {"\" z", xs, 512},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tail);
    writeFile(dir.file("q"), "\"" + xs + c.tail);
    OpenLexer o(dir.file("q"));
    std::vector<char> field(1024);
    BLex3_readField(&o.lx, field.data(), field.size(), " >", true);
    EXPECT_EQ(c.field, std::string(field.data()));
    EXPECT_EQ(c.cursor, BLex3_getOffset(&o.lx));
  }
}
