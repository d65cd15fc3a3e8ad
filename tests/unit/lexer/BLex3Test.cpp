// The lexer against the file it reads: whatever the moves, the window shows
// the file's bytes and the kinds that a scan from the start gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "LexerFixture.h"
#include "Raise.h"
#include "TestFiles.h"

namespace {

// The file as the lexer should see it.
struct Model {
  std::string bytes;
  std::vector<int32_t> kinds;
  int64_t size() const { return static_cast<int64_t>(bytes.size()); }
  int32_t kindAt(int64_t off) const {
    return off >= 0 && off < size() ? kinds[static_cast<std::size_t>(off)] : BLex3_kUnknown;
  }
  bool trail(int64_t off) const { return kindAt(off) == BLex3_kTrailByte; }
};

unsigned char leadByte(std::mt19937& rng) {
  static const unsigned char leads[] = {0x81, 0x82, 0x88, 0x9F, 0xE0, 0xEA, 0xFC};
  return leads[rng() % sizeof leads];
}

// Random bytes, many of them lead bytes and delimiters, with a lead byte
// ending every block and a delimiter as the trail byte after it.
std::string randomText(std::mt19937& rng, std::size_t n, uint32_t blockSize,
                       unsigned leadPercent = 35) {
  static const char delims[] = ";>-<!\"\\ \n{}";
  std::string s(n, 'a');
  for (char& c : s) {
    unsigned r = rng() % 100;
    if (r < leadPercent)
      c = static_cast<char>(leadByte(rng));
    else if (r < 60 || leadPercent < 35)
      c = delims[rng() % (sizeof delims - 1)];
    else if (r < 80)
      c = static_cast<char>((rng() % 2 ? 'a' : 'A') + rng() % 26);
    else if (r < 82)
      c = '\0';
    else
      c = static_cast<char>(rng() % 256);
  }
  for (std::size_t b = blockSize; b <= n; b += blockSize) {
    s[b - 1] = static_cast<char>(leadByte(rng));
    if (b < n) s[b] = delims[rng() % 3];
  }
  return s;
}

// The window's bytes, kinds and zero tail agree with the file.
void expectWindowMatches(const OpenLexer& o, const Model& m) {
  const BLex3& lx = o.lx;
  int64_t win = lx.bufEnd - lx.buf;
  ASSERT_EQ(0, lx.base % static_cast<int32_t>(lx.blockSize));
  int64_t dataLen = std::clamp<int64_t>(m.size() - lx.base, 0, win);
  ASSERT_EQ(lx.buf + dataLen, lx.dataEnd);
  for (int64_t i = 0; i < win; ++i) {
    int64_t off = lx.base + i;
    char expected = i < dataLen ? m.bytes[static_cast<std::size_t>(off)] : '\0';
    ASSERT_EQ(expected, lx.buf[i]) << "byte at offset " << off;
    ASSERT_EQ(m.kindAt(off), lx.kinds[i]) << "kind at offset " << off;
  }
  for (const char* g = lx.bufEnd; g < o.buf.data() + o.buf.size(); ++g) ASSERT_EQ('\0', *g);
}

// Model answers of the scans from cursor c (the file size when nothing is
// found).
int64_t firstInSet(const Model& m, int64_t c, const std::string& set) {
  for (int64_t i = c; i < m.size(); ++i)
    if (set.find(m.bytes[static_cast<std::size_t>(i)]) != std::string::npos && !m.trail(i))
      return i;
  return -1;
}

int64_t firstNotInSet(const Model& m, int64_t c, const std::string& set) {
  for (int64_t i = c; i < m.size(); ++i)
    if (set.find(m.bytes[static_cast<std::size_t>(i)]) == std::string::npos) return i;
  return m.size();
}

unsigned char fold(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

int64_t firstMatch(const Model& m, int64_t c, const std::string& str, bool caseSensitive) {
  int64_t n = static_cast<int64_t>(str.size());
  for (int64_t i = c; i + n <= m.size(); ++i) {
    if (m.trail(i)) continue;
    int64_t k = 0;
    for (; k < n; ++k) {
      unsigned char a = m.bytes[static_cast<std::size_t>(i + k)];
      unsigned char b = str[static_cast<std::size_t>(k)];
      if (caseSensitive ? a != b : fold(a) != fold(b)) break;
    }
    if (k == n) return i;
  }
  return -1;
}

// Random fetch, move, seek and scan operations, each checked against the
// model; the cursor the model expects is c.
void runOps(const std::string& path, const Model& m, std::size_t bufSize, uint32_t blockSize,
            uint32_t seed, int count) {
  OpenLexer o(path, bufSize, blockSize);
  BLex3* lx = &o.lx;
  std::mt19937 rng(seed);
  std::vector<BLex3_Pos> saved;
  int64_t c = 0;
  const int32_t maxAhead = static_cast<int32_t>(std::min<uint32_t>(blockSize - 1, 12));
  for (int step = 0; step < count; ++step) {
    int op = static_cast<int>(rng() % 11);
    SCOPED_TRACE("step " + std::to_string(step) + " op " + std::to_string(op) + " cursor " +
                 std::to_string(c));
    switch (op) {
      case 0: {
        int32_t n = static_cast<int32_t>(rng() % (maxAhead + 1));
        char* p = BLex3_fetch(lx, n);
        ASSERT_NO_FATAL_FAILURE(expectWindowMatches(o, m));
        ASSERT_EQ(c >= m.size(), BLex3_isEndPtr(lx, lx->cur));
        if (c >= m.size()) {
          ASSERT_EQ(nullptr, p);
          break;
        }
        ASSERT_EQ(BLex3_getPtrOfOffset(lx, static_cast<int32_t>(c)), p);
        ASSERT_LE(p + n, lx->bufEnd);
        const int8_t* k = BLex3_getKindPtr(lx);
        for (int32_t i = 0; i < std::max(n, 1); ++i) ASSERT_EQ(m.kindAt(c + i), k[i]);
        break;
      }
      case 1: {
        int32_t n = static_cast<int32_t>(rng() % 61) - 20;
        if (c + n < 0) n = static_cast<int32_t>(-c);
        BLex3_next(lx, n);
        c += n;
        break;
      }
      case 2: {
        if (!saved.empty() && rng() % 2) {
          BLex3_Pos p = saved[rng() % saved.size()];
          BLex3_setPos(lx, p);
          c = p.offset;
        } else {
          int64_t off = static_cast<int64_t>(rng() % (m.size() + 10));
          BLex3_setPos(lx, BLex3_Pos{static_cast<int32_t>(off), m.kindAt(off)});
          c = off;
        }
        break;
      }
      case 3: {
        BLex3_Pos p;
        BLex3_getPos(lx, &p);
        ASSERT_EQ(c, p.offset);
        ASSERT_EQ(m.kindAt(c), p.kind);
        if (saved.size() < 16) saved.push_back(p);
        break;
      }
      case 4: {
        int64_t off = std::max<int64_t>(-5, c + static_cast<int64_t>(rng() % 1401) - 700);
        BLex3_Pos p;
        BLex3_getPosOfPtr(lx, BLex3_getPtrOfOffset(lx, static_cast<int32_t>(off)), &p);
        ASSERT_EQ(off, p.offset);
        ASSERT_EQ(m.kindAt(off), p.kind);
        ASSERT_EQ(c, BLex3_getOffset(lx));
        break;
      }
      case 5: {
        static const char* const sets[] = {";", ">", "\\", "\"-", "{}<"};
        std::string set = sets[rng() % 5];
        int32_t add = static_cast<int32_t>(rng() % 3);
        BLex3_skipToSet(lx, set.c_str(), add);
        if (c < m.size()) {
          int64_t hit = firstInSet(m, c, set);
          c = hit < 0 ? m.size() : hit + add;
        }
        break;
      }
      case 6: {
        static const char* const sets[] = {" \t\r\n", "ab;", "\x82\x81\xFC"};
        std::string set = sets[rng() % 3];
        BLex3_skipSet(lx, set.c_str());
        if (c < m.size()) c = firstNotInSet(m, c, set);
        break;
      }
      case 7: {
        if (m.size() == 0) break;
        std::size_t at = rng() % m.bytes.size();
        std::string str = m.bytes.substr(at, 1 + rng() % 4);
        if (str.find('\0') != std::string::npos) break;
        bool caseSensitive = rng() % 2;
        int32_t add = static_cast<int32_t>(rng() % 2);
        BLex3_skipToStr(lx, str.c_str(), add, caseSensitive);
        if (c < m.size()) {
          int64_t hit = firstMatch(m, c, str, caseSensitive);
          c = hit < 0 ? m.size() : hit + add;
        }
        break;
      }
      case 8: {
        int32_t n = static_cast<int32_t>(rng() % 300);
        BLex3_Pos p{-1, -1};
        Raised r = catchRaise([&] { BLex3_getPosAfter(lx, n, &p); });
        if (r.raised) {
          ASSERT_EQ(Errors_NotSupport, r.code);
          ASSERT_NE(0, n);
        } else {
          ASSERT_EQ(c + n, p.offset);
          ASSERT_EQ(m.kindAt(c + n), p.kind);
        }
        ASSERT_EQ(c, BLex3_getOffset(lx));
        break;
      }
      case 9: {
        char field[64];
        std::memset(field, 'X', sizeof field);
        BLex3_readField(lx, field, sizeof field, ";>", false);
        std::string expected;
        if (c < m.size()) {
          int64_t hit = firstInSet(m, c, ";>");
          int64_t end = hit < 0 ? m.size() : hit;
          int64_t take = std::min<int64_t>(end - c, sizeof field - 1);
          if (take < end - c && take > 0 && m.trail(c + take)) --take;
          expected = m.bytes.substr(static_cast<std::size_t>(c), static_cast<std::size_t>(take));
          c = end;
        }
        // A NUL byte in the data ends the text as the caller reads it.
        ASSERT_EQ(expected.substr(0, expected.find('\0')), std::string(field));
        break;
      }
      default: {
        BLex3_setPtr(lx, lx->bufEnd);
        c = lx->base + (lx->bufEnd - lx->buf);
        break;
      }
    }
    ASSERT_EQ(c, BLex3_getOffset(lx));
  }
}

struct Config {
  std::size_t bufSize;
  uint32_t blockSize;
  std::vector<std::size_t> sizes;
  unsigned leadPercent;
};

}  // namespace

TEST(BLex3Window, RandomMovesAlwaysShowTheFileAndItsKinds) {
  const Config configs[] = {
      {BLex3_kBufSize, BLex3_kBlockSize, {0, 1, 255, 256, 257, 511, 512, 513, 1024, 3000}, 35},
      // Blocks of 16 and a window of three: many more boundaries per byte.
      {49, 16, {0, 1, 15, 16, 17, 47, 48, 49, 96, 700}, 35},
      // Mostly single bytes (long runs without a lead byte), over several of
      // the chunks that the file is read in.
      {BLex3_kBufSize, BLex3_kBlockSize, {4095, 4096, 4097, 8192, 8193, 30000}, 2}};
  TempDir dir;
  uint32_t seed = 1;
  for (const Config& cfg : configs) {
    for (std::size_t size : cfg.sizes) {
      ++seed;
      SCOPED_TRACE("block " + std::to_string(cfg.blockSize) + " size " + std::to_string(size) +
                   " seed " + std::to_string(seed));
      std::mt19937 rng(seed);
      Model m;
      m.bytes = randomText(rng, size, cfg.blockSize, cfg.leadPercent);
      m.kinds = kindsFromStart(m.bytes);
      std::string path = dir.file("f" + std::to_string(seed));
      writeFile(path, m.bytes);
      runOps(path, m, cfg.bufSize, cfg.blockSize, seed, 3000);
      if (HasFatalFailure()) return;
    }
  }
}

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
  EXPECT_EQ(o.lx.bufEnd, o.lx.dataEnd);
  EXPECT_FALSE(BLex3_isEndPtr(&o.lx, o.lx.bufEnd));  // the file may go on
  o.seek(512);
  EXPECT_EQ(nullptr, BLex3_fetch(&o.lx, 0));
  EXPECT_EQ(o.lx.buf, o.lx.dataEnd);
  EXPECT_EQ(512, o.lx.base);
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

TEST(BLex3PosAfter, InsideTheWindowAndAtItsEnd) {
  std::string text(1000, 'a');
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
}

TEST(BLex3PosAfter, BeyondTheWindowIsNotSupported) {
  TempDir dir;
  writeFile(dir.file("p"), std::string(2000, 'a'));
  OpenLexer o(dir.file("p"));
  o.seek(10);
  BLex3_Pos p{};
  Raised r = catchRaise([&] { BLex3_getPosAfter(&o.lx, 600, &p); });
  EXPECT_TRUE(r.raised);
  EXPECT_EQ(Errors_NotSupport, r.code);
  EXPECT_EQ(Errors_Txt_NotSupport, r.msg);
  EXPECT_EQ(10, BLex3_getOffset(&o.lx));
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
