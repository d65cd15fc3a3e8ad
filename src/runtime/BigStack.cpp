// BigStack: the arena. A mark word stores the previous mark as its offset
// from base plus one (0 for none), since a pointer need not fit in 4 bytes.
#include "runtime/BigStack.h"

#include "runtime/Errors.h"

BigStack BigStack_main;

void BigStack_init(BigStack* bs, void* buffer, uint32_t size) {
  bs->base = static_cast<uint8_t*>(buffer);
  bs->top = bs->base;
  bs->capacity = size;
  bs->lastMark = nullptr;
}

void BigStack_start(BigStack* bs) {
  uint32_t* word = static_cast<uint32_t*>(BigStack_alloc(bs, 4));
  *word = bs->lastMark == nullptr
              ? 0
              : static_cast<uint32_t>(reinterpret_cast<uint8_t*>(bs->lastMark) - bs->base) + 1;
  bs->lastMark = word;
}

void* BigStack_alloc(BigStack* bs, uint32_t size) {
  uint32_t grown = (size + 3u) & ~3u;
  uint32_t used = static_cast<uint32_t>(bs->top - bs->base);
  if (grown < size || grown > bs->capacity - used) {
    Errors_raise("Bigstack", __LINE__, BigStack_Full, BigStack_Txt_Full,
                 static_cast<int>(bs->capacity - used), static_cast<int>(grown));
  }
  void* block = bs->top;
  bs->top += grown;
  return block;
}

void BigStack_end(BigStack* bs) {
  if (bs->lastMark == nullptr) return;
  uint32_t prev = *bs->lastMark;
  bs->top = reinterpret_cast<uint8_t*>(bs->lastMark);
  bs->lastMark = prev == 0 ? nullptr : reinterpret_cast<uint32_t*>(bs->base + prev - 1);
}
