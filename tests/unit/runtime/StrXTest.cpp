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
      {"aaa", 32, "a", "aa", "aaaaaa"},  // continues after the written text
      // Growth at the limit: size 8 holds 7 bytes.
      {"%1%1", 8, "%1", "abc", "abcabc"},
      {"%1%1", 6, "%1", "abc", "abcab"},
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

TEST(StrXMem, TextsOneAfterAnother) {
  char mem[10];
  StrX_Mem pool;
  StrX_Mem_init(&pool, mem, sizeof mem);
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
}

// The byte classes at the edges of their ranges.
TEST(StrXClasses, RangeEdges) {
  for (int c : {'A', 'Z', 'a', 'z'}) EXPECT_TRUE(StrX_isAlpha(c)) << c;
  for (int c : {'@', '[', '`', '{', '_'}) EXPECT_FALSE(StrX_isAlpha(c)) << c;
  for (int c : {' ', '\t', '\n', '\r'}) {
    EXPECT_TRUE(StrX_isSpace(c)) << c;
    EXPECT_TRUE(StrX_isWhite(c)) << c;
  }
  for (int c : {'\b', '\x0E', 'x'}) EXPECT_FALSE(StrX_isSpace(c) || StrX_isWhite(c)) << c;
}
