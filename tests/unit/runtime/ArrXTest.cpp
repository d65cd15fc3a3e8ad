// Fixed-buffer arrays: the growing buffer at and past its end, key searches
// and the dictionary whose buckets fill up one by one.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "Raise.h"
#include "runtime/ArrX.h"
#include "runtime/StrX.h"

namespace {

struct Rec {
  char name[8];
  const char* text;
};

Offset_Key keyOf(std::size_t offset, int32_t type) {
  return Offset_Key{static_cast<int32_t>(offset), type, 1};
}

}  // namespace

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

TEST(ArrXBufAdd, TextThatDoesNotFitIsCutAndTerminated) {
  char mem[8];
  ArrX_Buf buf;
  ArrX_Buf_init(&buf, mem, sizeof mem);
  ArrX_Buf_addStr(&buf, "abcd");
  EXPECT_EQ(4, buf.last - buf.first);  // no NUL when it fits
  ArrX_Buf_addStr(&buf, "efghij");     // six letters into 4 free bytes
  EXPECT_EQ(buf.bufOver, buf.last);
  EXPECT_STREQ("abcdefg", mem);
  ArrX_Buf_addChr(&buf, 'x');
  ArrX_Buf_addStr(&buf, "");
  EXPECT_STREQ("abcdefg", mem);
  EXPECT_EQ(buf.bufOver, buf.last);

  ArrX_Buf_init(&buf, mem, 4);
  ArrX_Buf_addStr(&buf, "wxyz");  // exactly the free size: stored whole
  EXPECT_EQ(0, std::memcmp(mem, "wxyzefg", 8));
  EXPECT_EQ(buf.bufOver, buf.last);
}

TEST(ArrXBufAdd, BytesAreCutAtTheEndAndAnEmptyBufferTakesNothing) {
  char mem[5];
  ArrX_Buf buf;
  ArrX_Buf_init(&buf, mem, sizeof mem);
  ArrX_Buf_addChr(&buf, '1');
  ArrX_Buf_addMem(&buf, "a\0bcdef", 7);
  EXPECT_EQ(buf.bufOver, buf.last);
  EXPECT_EQ(0, std::memcmp(mem, "1a\0bc", 5));

  ArrX_Buf_init(&buf, mem, 0);
  ArrX_Buf_addStr(&buf, "xyz");  // no last byte to put a NUL in
  ArrX_Buf_addMem(&buf, "xyz", 3);
  EXPECT_EQ('1', mem[0]);
  EXPECT_EQ(buf.first, buf.last);
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

TEST(ArrXSearch, KeyTypes) {
  Rec recs[3] = {{"Abc", "Abc"}, {"x", nullptr}, {"y", "a*.c"}};
  ArrX arr;
  ArrX_init(&arr, recs, sizeof recs);
  struct Case {
    int32_t type;
    std::size_t offset;
    const char* text;
    int index;  // -1: none
  };
  const Case cases[] = {
      {2, offsetof(Rec, name), "Abc", 0},  {2, offsetof(Rec, name), "abc", -1},
      {2, offsetof(Rec, name), "y", 2},    {3, offsetof(Rec, text), "Abc", 0},
      {3, offsetof(Rec, text), "ABC", -1}, {6, offsetof(Rec, text), "Abc", 0},
      {6, offsetof(Rec, text), "abc", -1}, {4, offsetof(Rec, text), "aBC", 0},
      {4, offsetof(Rec, text), "a*.c", 2}, {7, offsetof(Rec, text), "ab.c", 2},
      {0, offsetof(Rec, text), "Abc", 0},  {0, offsetof(Rec, text), "ab.h", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.type) + " " + c.text);
    Offset_Key key = keyOf(c.offset, c.type);
    void* found = ArrX_search(&arr, &key, c.text, sizeof(Rec));
    EXPECT_EQ(c.index < 0 ? nullptr : &recs[c.index], found);
  }
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

namespace {

struct Entry {
  const char* key;
  int32_t value;
};

// Three buckets over 100 bytes: 33 bytes each, rounded down to 32 so that
// every share starts aligned; two 16-byte entries per bucket.
struct Dic {
  alignas(ArrX_kDicAlign) uint8_t mem[100];
  ArrX_Buf buckets[3];
  Offset_Key key{static_cast<int32_t>(offsetof(Entry, key)), 3, 1};
  ArrX_Dic dic;
  Dic() { ArrX_Dic_init(&dic, 3, buckets, &key, mem, sizeof mem); }
  Entry* add(const char* k) {
    auto* e = static_cast<Entry*>(ArrX_Dic_alloc(&dic, k, sizeof(Entry)));
    if (e != nullptr) e->key = k;
    return e;
  }
};

}  // namespace

TEST(ArrXDic, BucketsShareTheBufferInOrder) {
  static_assert(sizeof(Entry) == 16);
  Dic d;
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(d.mem + 32 * i, d.buckets[i].first);
    EXPECT_EQ(d.buckets[i].first, d.buckets[i].last);
    EXPECT_EQ(d.mem + 32 * i + 32, d.buckets[i].bufOver);
  }
}

TEST(ArrXDic, DuplicateKeyGivesNoneAndUsesNoSpace) {
  Dic d;
  // "a" (97) and "d" (100) share bucket 1 of 3; "b" (98) is in bucket 2.
  ASSERT_EQ(1u, StrX_getHash("a", 3));
  ASSERT_EQ(1u, StrX_getHash("d", 3));
  Entry* a = d.add("a");
  ASSERT_NE(nullptr, a);
  EXPECT_EQ(d.mem + 32, reinterpret_cast<uint8_t*>(a));
  EXPECT_EQ(nullptr, d.add("a"));
  EXPECT_EQ(d.mem + 48, d.buckets[1].last);
  Entry* b = d.add("b");
  EXPECT_EQ(d.mem + 64, reinterpret_cast<uint8_t*>(b));
  EXPECT_EQ(a, ArrX_Dic_search(&d.dic, "a", sizeof(Entry)));
  EXPECT_EQ(b, ArrX_Dic_search(&d.dic, "b", sizeof(Entry)));
  EXPECT_EQ(nullptr, ArrX_Dic_search(&d.dic, "d", sizeof(Entry)));
}

TEST(ArrXDic, FullBucketRaisesWhileOthersHaveRoom) {
  Dic d;
  d.add("a");
  d.add("d");
  Raised r = catchRaise([&] { d.add("g"); });  // 103 % 3 == 1 as well
  EXPECT_EQ(ArrX_Err_Full, r.code);
  EXPECT_NE(nullptr, d.add("b"));
  EXPECT_NE(nullptr, d.add("c"));
}

TEST(ArrXDic, WidthZeroIsRefused) {
  uint8_t mem[16];
  Offset_Key key{0, 3, 1};
  ArrX_Dic dic;
  Raised r = catchRaise([&] { ArrX_Dic_init(&dic, 0, nullptr, &key, mem, sizeof mem); });
  EXPECT_EQ(Errors_Unofficial, r.code);
}
