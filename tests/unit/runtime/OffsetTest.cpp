// Key fields: the four types and the wildcard rule.
#include <gtest/gtest.h>

#include <cstddef>

#include "Raise.h"
#include "runtime/Offset.h"

namespace {
struct Rec {
  int n;
  char name[8];
  const char* text;
};
}  // namespace

TEST(OffsetMatch, FieldTypes) {
  Rec r{1, "Abc", "Abc"};
  Offset_Key arr{static_cast<int32_t>(offsetof(Rec, name)), 2, 1};
  Offset_Key exact{static_cast<int32_t>(offsetof(Rec, text)), 3, 1};
  Offset_Key blind{static_cast<int32_t>(offsetof(Rec, text)), 4, 1};
  EXPECT_TRUE(Offset_match(&arr, &r, "Abc"));
  EXPECT_FALSE(Offset_match(&arr, &r, "abc"));
  EXPECT_TRUE(Offset_match(&exact, &r, "Abc"));
  EXPECT_FALSE(Offset_match(&exact, &r, "abc"));
  EXPECT_TRUE(Offset_match(&blind, &r, "abc"));
  EXPECT_FALSE(Offset_match(&blind, &r, "abcd"));
}

TEST(OffsetMatch, Wildcards) {
  struct Case {
    const char* pattern;
    const char* value;
    bool match;
  };
  const Case cases[] = {
      {"a*.c", "ab.c", true}, {"a*.c", "a.c", true},  {"a*.c", "ab.h", false},
      {"?b", "xb", true},     {"?b", "xbc", false},   {"?b", "b", false},
      {"*", "", true},        {"*.txt", "a.txt", true}, {"abc", "abc", true},
      {"abc", "ab", false},   {"a?c*", "abcdef", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " ~ " + c.value);
    Rec r{0, "", c.pattern};
    Offset_Key wild{static_cast<int32_t>(offsetof(Rec, text)), 5, 1};
    EXPECT_EQ(c.match, Offset_match(&wild, &r, c.value));
  }
}

TEST(OffsetMatch, OtherTypeRaisesUnofficial) {
  Rec r{0, "", "x"};
  Offset_Key bad{0, 0, 1};
  Raised e = catchRaise([&] { Offset_match(&bad, &r, "x"); });
  EXPECT_TRUE(e.raised);
  EXPECT_EQ(102, e.code);
  EXPECT_EQ("error", e.msg);
}
