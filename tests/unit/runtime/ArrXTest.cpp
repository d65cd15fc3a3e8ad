// Fixed-buffer arrays: the growing buffer at and past its end, giving the
// last element back, and the array of flagged slots.
#include <gtest/gtest.h>

#include <cstddef>

#include "Raise.h"
#include "runtime/ArrX.h"

TEST(ArrXBufAlloc, ExactFitSucceedsOneByteMoreRaises) {
  uint8_t mem[16];
  ArrX_Buf buf;
  ArrX_Buf_init(&buf, mem, sizeof mem);
  EXPECT_EQ(mem, ArrX_Buf_alloc(&buf, 10));
  EXPECT_EQ(mem + 10, ArrX_Buf_alloc(&buf, 6));
  EXPECT_EQ(buf.bufOver, buf.last);
  EXPECT_EQ(mem + 16, ArrX_Buf_alloc(&buf, 0));

  ArrX_Buf_init(&buf, mem, sizeof mem);
  ArrX_Buf_alloc(&buf, 10);
  Raised r = catchRaise([&] { ArrX_Buf_alloc(&buf, 7); });
  EXPECT_TRUE(r.raised);
  EXPECT_EQ(ArrX_Err_Full, r.code);
  EXPECT_EQ(ArrX_Txt_BufFull, r.msg);
  EXPECT_EQ(mem + 10, buf.last);  // nothing handed out
}

TEST(ArrXBufFree, OnlyTheLastElementIsGivenBack) {
  uint8_t mem[32];
  ArrX_Buf buf;
  ArrX_Buf_init(&buf, mem, sizeof mem);
  void* a = ArrX_Buf_alloc(&buf, 8);
  void* b = ArrX_Buf_alloc(&buf, 8);
  ArrX_Buf_free(&buf, a, 8);
  EXPECT_EQ(mem + 16, buf.last);
  ArrX_Buf_free(&buf, b, 4);  // wrong size: not the last element
  EXPECT_EQ(mem + 16, buf.last);
  ArrX_Buf_free(&buf, b, 8);
  EXPECT_EQ(mem + 8, buf.last);
  EXPECT_EQ(b, ArrX_Buf_alloc(&buf, 8));
}

TEST(ArrXAble, FullArrayRaisesAndWalkSkipsFreeSlots) {
  struct Slot {
    uint8_t used;
    int value;
  };
  Slot slots[3];
  ArrX_Able able;
  ArrX_Able_init(&able, slots, sizeof slots, sizeof(Slot), offsetof(Slot, used));
  for (Slot& s : slots) {
    auto* p = static_cast<Slot*>(
        ArrX_Able_getFirstFree(&able, sizeof(Slot), offsetof(Slot, used)));
    EXPECT_EQ(&s, p);
    p->used = 1;
  }
  Raised r = catchRaise(
      [&] { ArrX_Able_getFirstFree(&able, sizeof(Slot), offsetof(Slot, used)); });
  EXPECT_EQ(ArrX_Err_Full, r.code);
  EXPECT_EQ(ArrX_Txt_AbleFull, r.msg);
  slots[1].used = 0;
  EXPECT_EQ(&slots[2], ArrX_Able_forEach(&able, &slots[1], sizeof(Slot), offsetof(Slot, used)));
  EXPECT_EQ(nullptr, ArrX_Able_forEach(&able, &slots[3], sizeof(Slot), offsetof(Slot, used)));
}
