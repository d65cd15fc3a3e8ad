// Runs a block inside a try frame and tells whether it raised, with which
// code and message, the way a handler of the program sees the error.
#pragma once
#include <cstdint>
#include <string>

#include "runtime/Except3.h"

struct Raised {
  bool raised = false;
  int32_t code = 0;
  std::string msg;
};

template <class F>
Raised catchRaise(F&& block) {
  Raised r;
  Except3_tryCatch(
      "test", __LINE__, [&] { block(); },
      [&](const Errors_Msg& e) {
        r.raised = true;
        r.code = e.code;
        r.msg = e.msgPtr;
      },
      [] {});
  return r;
}
