// PassLoop: guard, fetch and the choice of the next position.
#include "engine/PassLoop.h"

#include "runtime/Errors.h"

bool PassLoop::cycle() {
  if (cur_.offset == prevOffset_) {
    ++repeats_;
    if (repeats_ >= PassLoop_kMaxRepeats) {
      Errors_raise("scrivo", __LINE__, Scrivo_Err_InfinityLoop,
                   Scrivo_Txt_InfinityLoop, static_cast<int>(repeats_),
                   static_cast<long>(cur_.offset));
    }
  } else {
    prevOffset_ = cur_.offset;
    repeats_ = 0;
  }
  offered_ = false;
  BLex3_setPos(lexer_, cur_);
  return BLex3_fetch(lexer_, 0) != nullptr;
}
