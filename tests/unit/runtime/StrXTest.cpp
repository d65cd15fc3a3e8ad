// Byte strings in code page 932. "表" is 0x95 0x5C and "ソ" 0x83 0x5C: trail
// bytes equal to "\\"; "ア" is 0x83 0x41, a trail byte equal to "A". The
// texts are spelled in bytes so that the tests do not depend on the
// compiler's execution character set.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>

#include "Raise.h"
#include "runtime/StrX.h"

namespace {
const char kHyo[] = "\x95\x5C";  // 表
const char kA[] = "\x83\x41";    // ア
std::string s(const char* a, const char* b = "", const char* c = "") {
  return std::string(a) + b + c;
}
}  // namespace

// --- Copying and editing ---

TEST(StrXCutTag, DropsTagsAndStepsOverDoubleByteCharacters) {
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"a<b>c", "ac"},
      {"<A href=\"x\">link</A>", "link"},
      {"<>x>y", "y"},         // the byte right after "<" never closes
      {"a<b", "a"},           // an open tag runs to the end
      {"a<", "a"},
      {"x>y", "x>y"},
      {s("<", kA, ">z"), "z"}, // a double-byte character right after "<"
      {s(kHyo, "<i>", kHyo), s(kHyo, kHyo)},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    char buf[32];
    std::strcpy(buf, c.text.c_str());
    EXPECT_EQ(c.expected, StrX_cutTag(buf));
  }
}

TEST(StrXRep, ReplacesLeftToRightWithinTheSize) {
  struct Case {
    const char* text;
    std::size_t size;
    const char* from;
    const char* to;
    const char* expected;
  };
  const Case cases[] = {
      {"open %1 now", 32, "%1", "page.htm", "open page.htm now"},
      {"%1|%1", 32, "%1", "ab", "ab|ab"},
      {"no mark", 32, "%1", "x", "no mark"},
      {"aaa", 32, "a", "aa", "aaaaaa"},  // continues after the written text
      {"abab", 32, "ab", "", ""},
      {"xx", 32, "", "y", "xx"},
      // Growth at the limit: size 8 holds 7 bytes.
      {"%1%1", 8, "%1", "abc", "abcabc"},
      {"%1%1", 7, "%1", "abc", "abcabc"},
      {"%1%1", 6, "%1", "abc", "abcab"},
      {"%1-tail", 8, "%1", "abcd", "abcd-ta"},
      {"%1-tail", 4, "%1", "abcdef", "abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " size " + std::to_string(c.size));
    char buf[40];
    std::memset(buf, '#', sizeof buf);
    std::strcpy(buf, c.text);
    EXPECT_STREQ(c.expected, StrX_rep(buf, c.size, c.from, c.to));
    EXPECT_EQ('#', buf[std::max(c.size, std::strlen(c.text) + 1)]);
  }
}

TEST(StrXToLower, AsciiOnlyAndDoubleByteUnchanged) {
  char buf[16];
  EXPECT_EQ(s("ab", kA, "z1"), StrX_toLower(buf, s("AB", kA, "Z1").c_str(), sizeof buf));
  EXPECT_STREQ("ab", StrX_toLower(buf, s("AB", kA).c_str(), 4));  // no half character
  char inPlace[] = "MiXeD";
  EXPECT_STREQ("mixed", StrX_toLower(inPlace, inPlace, sizeof inPlace));
}

// --- Searching ---

// --- Hashing ---

TEST(StrXHash, HandComputedValues) {
  // "aB": 97*1 + 66*2 = 229; lowered for getHashI: 97*1 + 98*2 = 293.
  EXPECT_EQ(229u, StrX_getHash("aB", 1000));
  EXPECT_EQ(229u % 255, StrX_getHash("aB", 255));
  EXPECT_EQ(293u, StrX_getHashI("aB", 1000));
  EXPECT_EQ(38u, StrX_getHashI("aB", 255));
  EXPECT_EQ(StrX_getHashI("ab", 255), StrX_getHashI("AB", 255));
  // 表: unsigned 0x95*1 + 0x5C*2 = 149 + 184 = 333; signed -107 + 184 = 77.
  EXPECT_EQ(333u, StrX_getHash(kHyo, 1000));
  EXPECT_EQ(77u, StrX_getHashI(kHyo, 1000));
  // 0x80 alone: signed -128 wraps to 2^32 - 128 = 4294967168; mod 100 = 68.
  EXPECT_EQ(28u, StrX_getHash("\x80", 100));
  EXPECT_EQ(68u, StrX_getHashI("\x80", 100));
  // "a\x80": 97 + 128*2 = 353; signed 97 - 256 wraps to 2^32 - 159, mod 1000:
  // 4294967137 mod 1000 = 137.
  EXPECT_EQ(353u, StrX_getHash("a\x80", 1000));
  EXPECT_EQ(137u, StrX_getHashI("a\x80", 1000));
  EXPECT_EQ(0u, StrX_getHash("", 255));
  EXPECT_EQ(0u, StrX_getHash("abc", 0));
}

// --- Scanning ---

// --- Words ---

TEST(StrXGetWord, LettersDigitsAndDoubleByteCharacters) {
  struct Case {
    std::string text;
    std::string word;
    int end;  // -1: none
  };
  const Case cases[] = {
      {"  foo_1(bar", "foo_1", 7},
      {"12ab3", "ab3", 5},  // digits cannot begin a word
      {"_x", "_x", 2},
      {s(kHyo, kA), kHyo, 2},  // one double-byte character is a word
      {s("a", kHyo), "a", 1},
      {"\xB1x", "x", 2},  // half-width katakana is no word
      {"123 ,.", "", -1},
      {"\x95", "", -1},  // a lead byte without its trail byte
      {"", "", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    char buf[16] = "junk";
    const char* end = StrX_getWord(c.text.c_str(), buf, sizeof buf);
    EXPECT_EQ(c.word, buf);
    EXPECT_EQ(c.end, end == nullptr ? -1 : static_cast<int>(end - c.text.c_str()));
  }
}

TEST(StrXGetWord, CutToTheBuffer) {
  char buf[4];
  const char* t = "abcdef+";
  EXPECT_EQ(t + 6, StrX_getWord(t, buf, sizeof buf));
  EXPECT_STREQ("abc", buf);
  char two[2];
  EXPECT_NE(nullptr, StrX_getWord(kHyo, two, sizeof two));
  EXPECT_STREQ("", two);  // never half a character
}

TEST(StrXCpyWords, PhrasesAsTheTextHasThem) {
  struct Case {
    std::string text;
    int count;
    std::string words;
    int copied;
    int end;  // -1: none
  };
  const Case cases[] = {
      {"foo bar baz", 2, "foo bar", 2, 7},
      {"foo   bar]", 5, "foo bar", 2, 9},          // blanks become one
      {"foo bar", 1, "foo", 1, 3},
      {"foo (bar", 3, "foo bar", 2, 8},            // passed over behind a blank
      {"foo(bar", 3, "foo", 1, 3},                 // stops at "(" after a word
      {"foo ", 3, "foo", 1, 3},                    // no trailing blank
      {"foo 12", 3, "foo", 1, 3},                  // digits without a word after
      {s(kHyo, kA, "x"), 5, s(kHyo, kA, "x"), 3, 5},  // touching words
      {s(kHyo, "9ab c"), 5, s(kHyo, "9ab c"), 3, 7},  // digits copied as they stand
      {"x 2y", 2, "x 2y", 2, 4},
      {"  a", 1, "a", 1, 3},
      {"++", 2, "", 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " / " + std::to_string(c.count));
    char buf[32] = "junk";
    int n = c.count;
    const char* end = StrX_cpyWords(c.text.c_str(), &n, buf, sizeof buf);
    EXPECT_EQ(c.words, buf);
    EXPECT_EQ(c.copied, n);
    EXPECT_EQ(c.end, end == nullptr ? -1 : static_cast<int>(end - c.text.c_str()));
  }
}

TEST(StrXCpyWords, StopsAtAWordThatDoesNotFit) {
  char buf[8];  // 7 bytes
  int n = 3;
  EXPECT_NE(nullptr, StrX_cpyWords("ab cd efg", &n, buf, sizeof buf));
  EXPECT_STREQ("ab cd", buf);
  EXPECT_EQ(2, n);
  n = 4;
  std::string t = s(kHyo, kHyo, kHyo) + kHyo;
  StrX_cpyWords(t.c_str(), &n, buf, sizeof buf);
  EXPECT_EQ(s(kHyo, kHyo, kHyo), buf);
  EXPECT_EQ(3, n);
}

// --- Comma-separated fields ---

// --- Time ---

// --- StrX_Mem ---

TEST(StrXMem, TextsOneAfterAnother) {
  char mem[10];
  StrX_Mem pool;
  StrX_Mem_init(&pool, mem, sizeof mem);
  EXPECT_STREQ("", pool.last);
  EXPECT_EQ(9u, StrX_Mem_getLeftSize(&pool));
  std::strcpy(pool.last, "abc");
  EXPECT_EQ(6u, StrX_Mem_getLeftSize(&pool));
  char* b = StrX_Mem_alloc(&pool);
  EXPECT_EQ(mem + 4, b);
  EXPECT_EQ(5u, StrX_Mem_getLeftSize(&pool));
  std::strcpy(b, "xy");
  StrX_Mem_free(&pool);
  EXPECT_EQ(b, StrX_Mem_alloc(&pool));  // the freed position again
  std::strcpy(b, "wxyz");                // fills mem[4..8], NUL at mem[8]
  EXPECT_EQ(1u, StrX_Mem_getLeftSize(&pool));
  EXPECT_EQ(mem + 9, StrX_Mem_alloc(&pool));  // the very last byte
  EXPECT_EQ(0u, StrX_Mem_getLeftSize(&pool));
  Raised r = catchRaise([&] { StrX_Mem_alloc(&pool); });
  EXPECT_EQ(StrX_Err_MemEmpty, r.code);
  EXPECT_EQ(StrX_Txt_MemEmpty, r.msg);
  EXPECT_STREQ("abc", mem);
  StrX_Mem_toEmpty(&pool);
  EXPECT_EQ(mem, pool.last);
  EXPECT_STREQ("", mem);
  StrX_Mem_free(&pool);  // empty pool: nothing happens
  EXPECT_EQ(mem, pool.last);
}

TEST(StrXMem, TextRunningToTheEndLeavesNoRoom) {
  char mem[4];
  StrX_Mem pool;
  StrX_Mem_init(&pool, mem, sizeof mem);
  std::memcpy(mem, "abcd", 4);  // no NUL inside the buffer
  EXPECT_EQ(0u, StrX_Mem_getLeftSize(&pool));
  EXPECT_TRUE(catchRaise([&] { StrX_Mem_alloc(&pool); }).raised);
  Raised r = catchRaise([&] { StrX_Mem_init(&pool, mem, 0); });
  EXPECT_EQ(StrX_Err_MemEmpty, r.code);
}
