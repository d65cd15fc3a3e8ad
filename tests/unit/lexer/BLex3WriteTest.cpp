// The listing writer's edges and bounded copies that never split a
// character.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "LexerFixture.h"
#include "TestFiles.h"
#include "lexer/BLex3Write.h"
#include "runtime/TextCode.h"

namespace {

// The bytes that write() sends to a stream.
std::string written(const TempDir& dir, const std::function<void(std::FILE*)>& write) {
  std::string path = dir.file("out");
  std::FILE* f = std::fopen(path.c_str(), "wb");
  EXPECT_NE(nullptr, f);
  if (f == nullptr) return "";
  write(f);
  std::fclose(f);
  return readFile(path);
}

BLex3_Pos at(int32_t offset) { return BLex3_Pos{offset, BLex3_kUnknown}; }

}  // namespace

TEST(BLex3WriteHtml, EscapesAndNumbersLines) {
  struct Case {
    std::string text;
    int32_t from, to;
    uint32_t lineIn;
    std::string out;
    uint32_t lineOut;
  };
  const Case cases[] = {
      {"abc", 2, 1, 5, "", 5},                     // reversed range
      {"x\r\ny", 0, 3, 1, "x\r\n   2|", 2},        // ends right after the LF
      {"a\nb", 0, 3, 9999, "a\n10000|b", 10000},   // the number widens
      {"a\nb", 0, 3, 9, "a\n  10|b", 10},
      {"a\nb", 0, 3, 99, "a\n 100|b", 100},
      {"a\nb", 0, 3, 123455, "a\n123456|b", 123456},
      {"a\n\nb", 0, 4, 7, "a\n   8|\n   9|b", 9},
      {"\n\n\n", 0, 3, 98, "\n  99|\n 100|\n 101|", 101},  // counted on from the last
      {"\n\n", 0, 2, 9998, "\n9999|\n10000|", 10000},
      {"\n\n", 0, 2, 41, "\n  42|\n  43|", 43},       // a number that does not follow
      {"a\nb", 0, 3, BLex3_kNoLineNumbers, "a\nb", BLex3_kNoLineNumbers},
      {"\x82\xA0<", 0, 3, 1, "\x82\xA0&lt;", 1},
      // Special bytes either side of a block's end and last in the range.
      {std::string(15, 'a') + "&<" + std::string(20, 'b') + ">", 0, 38, 1,
       std::string(15, 'a') + "&amp;&lt;" + std::string(20, 'b') + "&gt;", 1},
      {"a<\n", 0, 1, 1, "a", 1},                    // the bytes after the range are left
      {"ab", 1, 50, 1, "b", 1},                    // range past the end of data
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    writeFile(dir.file("in"), c.text);
    OpenLexer o(dir.file("in"));
    uint32_t line = c.lineIn;
    EXPECT_EQ(c.out, written(dir, [&](std::FILE* f) {
                BLex3_writeHtml(&o.lx, at(c.from), at(c.to), &line, f);
              }));
    EXPECT_EQ(c.lineOut, line);
    // The same through a work file's buffer.
    line = c.lineIn;
    OutFile out;
    OutFile_open(&out, dir.file("out").c_str());
    BLex3_writeHtml(&o.lx, at(c.from), at(c.to), &line, &out);
    OutFile_close(&out);
    EXPECT_EQ(c.out, readFile(dir.file("out")));
    EXPECT_EQ(c.lineOut, line);
  }
}

TEST(BLex3CopyRange, KeepsCapacityMinusOneBytes) {
  std::string name;
  for (int i = 0; i < 300; ++i) name += static_cast<char>('a' + i % 26);
  std::string text = std::string(400, ' ') + name + " rest";  // the name straddles 512
  TempDir dir;
  writeFile(dir.file("in"), text);
  OpenLexer o(dir.file("in"));
  struct Case {
    std::size_t capacity;
    std::size_t kept;
  };
  const Case cases[] = {{256, 255}, {301, 300}, {302, 300}, {1, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.capacity);
    char dst[400];
    std::memset(dst, 'X', sizeof dst);
    BLex3_copyRange(&o.lx, at(400), at(700), dst, c.capacity);
    EXPECT_EQ(name.substr(0, c.kept), std::string(dst));
    EXPECT_EQ('X', dst[c.capacity]);
  }
  char untouched = 'X';
  BLex3_copyRange(&o.lx, at(400), at(700), &untouched, 0);
  EXPECT_EQ('X', untouched);
}

TEST(BLex3CopyRange, CutNeverSplitsADoubleByteCharacter) {
  TempDir dir;
  // The lead byte at 511 is the last byte of the first window.
  writeFile(dir.file("in"), std::string(509, 'a') + "bc\x82\xA0" + "d");
  OpenLexer o(dir.file("in"));
  char dst[8];
  BLex3_copyRange(&o.lx, at(509), at(514), dst, 4);
  EXPECT_STREQ("bc", dst);
  BLex3_copyRange(&o.lx, at(509), at(514), dst, 5);
  EXPECT_STREQ("bc\x82\xA0", dst);
}

TEST(BLex3CopyRange, CutNeverSplitsAUtf8Character) {
  TempDir dir;
  // あ (E3 81 82) at 511-513 crosses the end of the first window; U+20BB7
  // (F0 A0 AE B7) follows at 514-517.
  writeFile(dir.file("in"), std::string(510, 'a') + "b\xE3\x81\x82\xF0\xA0\xAE\xB7" + "d");
  TextCode_Scope utf8(TextCode::Utf8, TextCode::Utf8);
  OpenLexer o(dir.file("in"));
  struct Case {
    std::size_t capacity;
    const char* kept;
  };
  const Case cases[] = {{2, "b"},
                        {3, "b"},  // E3 was stored with the first window's bytes
                        {4, "b"},
                        {5, "b\xE3\x81\x82"},
                        {8, "b\xE3\x81\x82"},
                        {9, "b\xE3\x81\x82\xF0\xA0\xAE\xB7"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.capacity);
    char dst[16];
    BLex3_copyRange(&o.lx, at(510), at(519), dst, c.capacity);
    EXPECT_STREQ(c.kept, dst);
  }
}
