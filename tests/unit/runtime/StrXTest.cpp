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

TEST(StrXCopy, CutsToTheBuffer) {
  char buf[6] = "xxxxx";
  EXPECT_STREQ("ab", StrX_cpyTo(buf, sizeof buf, "ab,cd", ','));
  EXPECT_STREQ("abcde", StrX_cpyTo(buf, sizeof buf, "abcdefgh", ','));
  EXPECT_STREQ("abcde", StrX_cpyTo(buf, 0, "zz", ','));
}

TEST(StrXInsert, HeadGoesFirstAndTheTailIsCut) {
  char buf[8] = "cdef";
  EXPECT_STREQ("abcdef", StrX_insert(buf, sizeof buf, "ab"));
  EXPECT_STREQ("xyzabcd", StrX_insert(buf, sizeof buf, "xyz"));
  EXPECT_STREQ("012345x", StrX_insert(buf, sizeof buf, "012345"));
  EXPECT_STREQ("ABCDEFG", StrX_insert(buf, sizeof buf, "ABCDEFGHIJ"));
  char del[] = "abc";
  EXPECT_STREQ("c", StrX_del(del, 2));
  EXPECT_STREQ("", StrX_del(del, 5));
}

TEST(StrXAddLast, TrailByteEqualToTheCharacterDoesNotCount) {
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"a", "a\\"},
      {"a\\", "a\\"},
      {"", "\\"},
      {s("c:", kHyo), s("c:", kHyo, "\\")},
      {s(kHyo, "\\"), s(kHyo, "\\")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    char buf[16];
    std::strcpy(buf, c.text.c_str());
    EXPECT_EQ(c.expected, StrX_addLast(buf, sizeof buf, '\\'));
  }
  char full[3] = "ab";
  EXPECT_STREQ("ab", StrX_addLast(full, sizeof full, '\\'));
}

TEST(StrXCutLast, OnlyASingleByteCharacterIsCut) {
  char a[8] = "ab\\";
  EXPECT_STREQ("ab", StrX_cutLast(a, '\\'));
  EXPECT_STREQ("ab", StrX_cutLast(a, '\\'));
  char b[8];
  std::strcpy(b, s("x", kHyo).c_str());
  EXPECT_EQ(s("x", kHyo), StrX_cutLast(b, '\\'));
  EXPECT_EQ('\\', StrX_getLast(b));
  EXPECT_EQ('\0', StrX_getLast(""));
}

TEST(StrXTrim, WhiteSpaceAtBothEnds) {
  char a[] = " \t\r\n a b \v\f";
  EXPECT_STREQ("a b", StrX_trim(a));
  char b[] = " \t ";
  EXPECT_STREQ("", StrX_trim(b));
  char c[] = "a\r\n\tb\t";
  EXPECT_STREQ("ab", StrX_cutRet(c));
  EXPECT_TRUE(StrX_isBlank(" \t"));
  EXPECT_FALSE(StrX_isBlank(" a"));
  EXPECT_TRUE(StrX_isBlank(""));
  EXPECT_FALSE(StrX_isSpace(static_cast<signed char>('\x85')));  // high-bit bytes
}

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

TEST(StrXChr, TrailBytesAreNotCharacters) {
  const std::string t = s("a", kHyo, "b\\c");  // a 表 b \ c
  const char* p = t.c_str();
  EXPECT_EQ(p + 4, StrX_chr(p, '\\'));
  EXPECT_EQ(p + 4, StrX_chrLast(p, '\\'));
  EXPECT_EQ(nullptr, StrX_chrLast(s("a", kHyo).c_str(), '\\'));
  EXPECT_EQ(p + 4, StrX_chrs(p, "/\\"));
  EXPECT_EQ(p + 2, StrX_chrsByte(p, "/\\"));
  EXPECT_EQ(p + 1, StrX_chrs(p, "\x95"));  // a lead byte starts a character
  EXPECT_EQ(p + 1, StrX_skipChrs(p, "a"));
  EXPECT_EQ(nullptr, StrX_skipChrs("  ", " "));
}

TEST(StrXSearchBlock, WithinOneBlock) {
  std::size_t carry = 0;
  EXPECT_EQ(2, StrX_searchBlock("xxkeyxx", "key", true, &carry));
  EXPECT_EQ(0u, carry);
  EXPECT_EQ(2, StrX_searchBlock("xxKEYxx", "key", false, &carry));
  EXPECT_EQ(StrX_kNoMatch, StrX_searchBlock("xxKEYxx", "key", true, &carry));
  EXPECT_EQ(0u, carry);
  // The trail byte "A" of ア is no letter: neither exactly nor case-blind.
  EXPECT_EQ(StrX_kNoMatch, StrX_searchBlock(s(kA, "b").c_str(), "Ab", false, &carry));
  EXPECT_EQ(StrX_kNoMatch, StrX_searchBlock(s(kA, "b").c_str(), "ab", false, &carry));
  EXPECT_EQ(2, StrX_searchBlock(s(kA, "Ab").c_str(), "ab", false, &carry));
  // A double-byte key compares its bytes exactly ("\x83\x61" is another
  // character than ア).
  EXPECT_EQ(StrX_kNoMatch, StrX_searchBlock("\x83\x61", kA, false, &carry));
}

TEST(StrXSearchBlock, MatchesStraddlingBlocks) {
  struct Case {
    const char* first;
    const char* second;
    const char* key;
    std::size_t carryAfterFirst;
    std::ptrdiff_t inSecond;
  };
  const Case cases[] = {
      {"xxab", "cdxx", "abcd", 2, -2},
      {"xxabc", "dxx", "abcd", 3, -3},
      {"xxa", "bcdxx", "abcd", 1, -1},
      {"xxab", "xcd", "abcd", 2, StrX_kNoMatch},
      // The longest carried prefix ("aaa") fails, a shorter one ("aa") succeeds.
      {"xaaa", "abx", "aaab", 3, -2},
      {"aab", "abx", "abab", 2, -2},
      {"xyz", "abcd", "abcd", 0, 0},
      {"abc", "abcd", "abcd", 3, 0},
      {"xxAB", "Cd", "abcd", 2, -2},  // case-blind across the seam
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.first) + "|" + c.second + " ~ " + c.key);
    std::size_t carry = 0;
    EXPECT_EQ(StrX_kNoMatch, StrX_searchBlock(c.first, c.key, false, &carry));
    EXPECT_EQ(c.carryAfterFirst, carry);
    EXPECT_EQ(c.inSecond, StrX_searchBlock(c.second, c.key, false, &carry));
  }
}

TEST(StrXSearchBlock, KeyLongerThanABlockSpansThreeBlocks) {
  std::size_t carry = 0;
  EXPECT_EQ(StrX_kNoMatch, StrX_searchBlock("-ab", "abcdef", true, &carry));
  EXPECT_EQ(2u, carry);
  EXPECT_EQ(StrX_kNoMatch, StrX_searchBlock("cd", "abcdef", true, &carry));
  EXPECT_EQ(4u, carry);
  EXPECT_EQ(-4, StrX_searchBlock("ef-", "abcdef", true, &carry));
  EXPECT_EQ(0u, carry);
}

TEST(StrXSearchBlock, CarryStartsAtACharacterBoundary) {
  // The text ends with the trail byte "A" of ア: no prefix "A..." starts there.
  std::size_t carry = 0;
  EXPECT_EQ(StrX_kNoMatch, StrX_searchBlock(s("x", kA).c_str(), "AB", true, &carry));
  EXPECT_EQ(0u, carry);
  EXPECT_EQ(StrX_kNoMatch, StrX_searchBlock(s("x", kA).c_str(), s(kA, "B").c_str(), true,
                                            &carry));
  EXPECT_EQ(2u, carry);
  EXPECT_EQ(-2, StrX_searchBlock("B", s(kA, "B").c_str(), true, &carry));
}

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

TEST(StrXScanInt, SignsAndDigits) {
  struct Case {
    const char* text;
    int value;
    std::size_t end;
  };
  const Case cases[] = {
      {"123x", 123, 3}, {"+7", 7, 2}, {"-7", -7, 2}, {"--7", 7, 3}, {"+-7/", -7, 3},
      {"x", 0, 0},      {"-", 0, 1},  {"", 0, 0},    {"007", 7, 3}, {"-+7", 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    int v = 99;
    const char* end = StrX_scanInt(c.text, &v);
    EXPECT_EQ(c.value, v);
    EXPECT_EQ(c.end, static_cast<std::size_t>(end - c.text));
  }
}

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

TEST(StrXCsv, FieldsWrittenAsExpected) {
  struct Case {
    const char* value;
    const char* field;
  };
  const Case cases[] = {
      {"plain", "plain"},         {"a b", "a b"},           {"", ""},
      {"a,b", "\"a,b\""},         {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {" lead", "\" lead\""},     {"trail ", "\"trail \""}, {"\"", "\"\"\"\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    char buf[32];
    EXPECT_STREQ(c.field, StrX_cpyCsv(buf, c.value, sizeof buf));
  }
  char small[5];
  EXPECT_STREQ("\"a,b", StrX_cpyCsv(small, "a,bcd", sizeof small));
  EXPECT_STREQ("\"\"\"", StrX_cpyCsv(small, "\"\"", sizeof small));  // no half pair
}

TEST(StrXCsv, RoundTrips) {
  const std::string values[] = {"plain", "a,b", "say \"hi\"", " lead", "trail ", "", ",",
                                "\"\"", s(kHyo, ",", kA), "  "};
  std::string line;
  for (const std::string& v : values) {
    char field[64];
    if (&v != values) line += ",";
    line += StrX_cpyCsv(field, v.c_str(), sizeof field);
  }
  const char* p = line.c_str();
  for (const std::string& v : values) {
    SCOPED_TRACE(v);
    ASSERT_NE(nullptr, p);
    char field[64];
    p = StrX_getCsv(field, sizeof field, p);
    EXPECT_EQ(v, field);
  }
  EXPECT_EQ(nullptr, p);
}

TEST(StrXCsv, ReadingLooseFields) {
  struct Case {
    const char* line;
    const char* field;
    int next;  // -1: none
  };
  const Case cases[] = {
      {"  a b  ,c", "a b", 8},
      {"\"x\"\"y\",z", "x\"y", 7},
      {"\"open", "open", -1},
      {"\"q\"  ,", "q", 6},
      {"\"q\" r ,", "q r", 7},
      {"", "", -1},
      {",", "", 1},
      {"last", "last", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    char buf[16];
    const char* p = StrX_getCsv(buf, sizeof buf, c.line);
    EXPECT_STREQ(c.field, buf);
    EXPECT_EQ(c.next, p == nullptr ? -1 : static_cast<int>(p - c.line));
  }
  char small[3];
  EXPECT_EQ(nullptr, StrX_getCsv(small, sizeof small, "abcdef"));
  EXPECT_STREQ("ab", small);
}

// --- Time ---

TEST(StrXTime, FormatAndScanRoundTrip) {
  std::time_t t = 0;
  ASSERT_EQ(0, StrX_scanTime(&t, "2024/02/29-13:05:09"));
  char buf[StrX_kTimeStrSize];
  EXPECT_STREQ("2024/02/29-13:05:09", StrX_getTimeStr(t, buf, sizeof buf));
  char small[StrX_kTimeStrSize - 1];
  EXPECT_STREQ("", StrX_getTimeStr(t, small, sizeof small));
  std::time_t u = 0;
  ASSERT_EQ(0, StrX_scanTime(&u, "2024-2-29 13.5.9"));  // any one-byte separators
  EXPECT_EQ(t, u);
  ASSERT_EQ(0, StrX_scanTime(&u, "2024/02/29"));  // missing fields read as 0
  EXPECT_STREQ("2024/02/29-00:00:00", StrX_getTimeStr(u, buf, sizeof buf));
}

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
