// Fixed-buffer arrays: the growing buffer at and past its end, and the
// array of flagged slots at its last slot.
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

  ArrX_Buf_init(&buf, mem, sizeof mem);
  ArrX_Buf_alloc(&buf, 10);
  Raised r = catchRaise([&] { ArrX_Buf_alloc(&buf, 7); });
  EXPECT_EQ(ArrX_Err_Full, r.code);
  EXPECT_EQ(ArrX_Txt_BufFull, r.msg);
  EXPECT_EQ(mem + 10, buf.last);  // nothing handed out
}

TEST(ArrXAble, TheFirstFreeSlotOrRaisesWhenAllAreUsed) {
  struct Slot {
    uint8_t used;
    int value;
  };
  Slot slots[3] = {{1, 0}, {1, 0}, {0, 0}};
  ArrX_Able able{reinterpret_cast<uint8_t*>(slots), reinterpret_cast<uint8_t*>(slots + 3)};
  EXPECT_EQ(&slots[2], ArrX_Able_getFirstFree(&able, sizeof(Slot), offsetof(Slot, used)));
  slots[2].used = 1;
  Raised r = catchRaise(
      [&] { ArrX_Able_getFirstFree(&able, sizeof(Slot), offsetof(Slot, used)); });
  EXPECT_EQ(ArrX_Err_Full, r.code);
  EXPECT_EQ(ArrX_Txt_AbleFull, r.msg);
}
