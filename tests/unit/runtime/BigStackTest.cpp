// The arena: rounding, marks as used bytes, release in reverse order.
#include <gtest/gtest.h>

#include "Raise.h"
#include "runtime/BigStack.h"

TEST(BigStackAlloc, MarkWordsCountAsUsedBytes) {
  alignas(8) static uint8_t area[32768];
  BigStack bs;
  BigStack_init(&bs, area, sizeof area);
  BigStack_start(&bs);
  for (int i = 0; i < 8; ++i) ASSERT_FALSE(catchRaise([&] { BigStack_alloc(&bs, 4092); }).raised);
  uint8_t* topBefore = bs.top;
  Raised r = catchRaise([&] { BigStack_alloc(&bs, 4092); });
  EXPECT_TRUE(r.raised);
  EXPECT_EQ(281, r.code);
  EXPECT_EQ("BigStack 不足です (usable=28, request=4092)", r.msg);
  EXPECT_EQ(topBefore, bs.top);
  BigStack_end(&bs);
  EXPECT_EQ(area, bs.top);
}
