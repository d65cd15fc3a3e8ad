// PassLoop: the lockstep loop that every pass over a file shares. The pass
// keeps one current position; each cycle it checks that the loop advances,
// fetches, steps its objects with the lexer restored to the current position
// before each one, and moves to the smallest next-event position among its
// scanners (on equal offsets the one offered first wins). The guard ends a
// pass whose position stays the same for 10000 cycles.
#pragma once
#include <cstdint>

#include "lexer/BLex3.h"

inline constexpr int32_t PassLoop_kMaxRepeats = 10000;

class PassLoop {
 public:
  explicit PassLoop(BLex3* lexer) : lexer_(lexer) {}

  // Starts a cycle: the guard, then a fetch at the current position. False
  // when there is no data there (the loop ends).
  bool cycle();
  // Puts the lexer back at the current position (before each step but the
  // first of a cycle).
  void restore() { BLex3_setPos(lexer_, cur_); }
  // Offers a scanner's next-event position: the first offer of a cycle is
  // the candidate, a later one replaces it only when its offset is smaller.
  void offer(BLex3_Pos next) {
    if (!offered_ || next.offset < candidate_.offset) candidate_ = next;
    offered_ = true;
  }
  // Ends the cycle: the candidate becomes the current position and the
  // lexer is set there.
  void advance() {
    if (offered_) cur_ = candidate_;
    BLex3_setPos(lexer_, cur_);
  }

  const BLex3_Pos& pos() const { return cur_; }
  BLex3* lexer() const { return lexer_; }

 private:
  BLex3* lexer_;
  BLex3_Pos cur_{0, 0};
  BLex3_Pos candidate_{0, 0};
  bool offered_ = false;
  int32_t prevOffset_ = -1;
  int32_t repeats_ = 0;
};
