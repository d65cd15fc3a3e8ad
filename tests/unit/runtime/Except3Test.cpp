// Try frames: the order of handler, clean-up and propagation.
#include <gtest/gtest.h>

#include <string>

#include "Raise.h"
#include "runtime/Except3.h"

namespace {

void raiseCode(int32_t code) { Errors_raise("t", 1, code, "raised %d", code); }

}  // namespace

TEST(Except3Frames, ErrorInHandlerTravelsOutwardWithoutReEntering) {
  std::string trace;
  int handlerRuns = 0;
  Except3_tryCatch(
      "t", __LINE__,
      [&] {
        Except3_tryCatch(
            "t", __LINE__, [&] { raiseCode(102); },
            [&](const Errors_Msg&) {
              ++handlerRuns;
              trace += "inner handler;";
              raiseCode(901);
            },
            [&] { trace += "inner clean-up;"; });
        trace += "not here;";
      },
      [&](const Errors_Msg& e) { trace += "outer handler " + std::to_string(e.code) + ";"; },
      [&] { trace += "outer clean-up;"; });
  EXPECT_EQ(1, handlerRuns);
  EXPECT_EQ("inner handler;inner clean-up;outer handler 901;outer clean-up;", trace);
}

TEST(Except3Frames, TryInsideCleanUpSwallowsThePendingError) {
  // A frame opened in clean-up while an error is pending clears the pending
  // state, so the enclosing frame closes as if nothing had happened.
  std::string trace;
  Except3_tryCatch(
      "t", __LINE__,
      [&] {
        Except3_tryFinally(
            "t", __LINE__, [&] { raiseCode(102); },
            [&] { Except3_tryFinally("t", __LINE__, [&] { trace += "nested;"; }, [] {}); });
        trace += "went on;";
      },
      [&](const Errors_Msg&) { trace += "outer handler;"; }, [] {});
  EXPECT_EQ("nested;went on;", trace);
}
