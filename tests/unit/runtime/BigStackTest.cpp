// The arena: rounding, marks as used bytes, release in reverse order.
#include <gtest/gtest.h>

#include "Raise.h"
#include "runtime/BigStack.h"

TEST(BigStackAlloc, RoundsToFourAndZeroUsesNothing) {
  alignas(8) uint8_t area[64];
  BigStack bs;
  BigStack_init(&bs, area, sizeof area);
  uint8_t* a = static_cast<uint8_t*>(BigStack_alloc(&bs, 1));
  uint8_t* b = static_cast<uint8_t*>(BigStack_alloc(&bs, 0));
  uint8_t* c = static_cast<uint8_t*>(BigStack_alloc(&bs, 5));
  uint8_t* d = static_cast<uint8_t*>(BigStack_alloc(&bs, 1));
  EXPECT_EQ(area, a);
  EXPECT_EQ(area + 4, b);
  EXPECT_EQ(area + 4, c);
  EXPECT_EQ(area + 12, d);
}

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

TEST(BigStackMark, NestedMarksReleaseInReverseOrder) {
  alignas(8) uint8_t area[256];
  BigStack bs;
  BigStack_init(&bs, area, sizeof area);
  BigStack_alloc(&bs, 8);
  uint8_t* outerTop = bs.top;
  {
    BigStack_Mark outer(&bs);
    BigStack_alloc(&bs, 20);
    uint8_t* innerTop = bs.top;
    {
      BigStack_Mark inner(&bs);
      BigStack_alloc(&bs, 40);
    }
    EXPECT_EQ(innerTop, bs.top);
    BigStack_alloc(&bs, 4);
  }
  EXPECT_EQ(outerTop, bs.top);
  EXPECT_EQ(nullptr, bs.lastMark);
}
