// BigStack: a mark-and-release arena of fixed size for short-lived scratch
// texts (paths, registry values). A function opens a mark, takes blocks, and
// releases them all by closing the mark. Blocks and marks are 4-byte aligned
// and a mark is one 4-byte word inside the arena, so marks count as used
// bytes. BigStack_main is the program's one arena of 32768 bytes.
#pragma once
#include <cstddef>
#include <cstdint>

inline constexpr uint32_t BigStack_kMainSize = 32768;

struct BigStack {
  uint8_t* base;
  uint32_t capacity;
  uint8_t* top;        // first free byte
  uint32_t* lastMark;  // newest open mark, or null
};

extern BigStack BigStack_main;

void BigStack_init(BigStack* bs, void* buffer, uint32_t size);
void BigStack_start(BigStack* bs);
// A block of at least size bytes; raises BigStack_Full when it does not fit.
void* BigStack_alloc(BigStack* bs, uint32_t size);
void BigStack_end(BigStack* bs);

// Opens a mark for the lifetime of a scope and closes it on every path.
class BigStack_Mark {
 public:
  explicit BigStack_Mark(BigStack* bs = &BigStack_main) : bs_(bs) { BigStack_start(bs_); }
  ~BigStack_Mark() { BigStack_end(bs_); }
  BigStack_Mark(const BigStack_Mark&) = delete;
  BigStack_Mark& operator=(const BigStack_Mark&) = delete;

 private:
  BigStack* bs_;
};
