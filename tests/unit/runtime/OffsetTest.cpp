// Key fields: the text types and a type that is none.
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

TEST(OffsetMatch, OtherTypeRaisesUnofficial) {
  Rec r{0, "", "x"};
  Offset_Key bad{0, 0, 1};
  Raised e = catchRaise([&] { Offset_match(&bad, &r, "x"); });
  EXPECT_TRUE(e.raised);
  EXPECT_EQ(102, e.code);
  EXPECT_EQ("error", e.msg);
}
