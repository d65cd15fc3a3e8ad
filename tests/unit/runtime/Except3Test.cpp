// Try frames: the order of handler, clean-up and propagation.
#include <gtest/gtest.h>

#include <string>

#include "Raise.h"
#include "runtime/Except3.h"

namespace {

void raiseCode(int32_t code) { Errors_raise("t", 1, code, "raised %d", code); }

}  // namespace

TEST(Except3Frames, HandlerThenCleanUpThenGoOn) {
  std::string trace;
  int32_t before = Except3_globalSys.count;
  Except3_tryCatch(
      "t", __LINE__,
      [&] {
        trace += "body;";
        raiseCode(102);
        trace += "not here;";
      },
      [&](const Errors_Msg& e) { trace += "handler " + std::to_string(e.code) + ";"; },
      [&] { trace += "clean-up;"; });
  trace += "after;";
  EXPECT_EQ("body;handler 102;clean-up;after;", trace);
  EXPECT_EQ(before, Except3_globalSys.count);
  EXPECT_EQ(0, Except3_globalSys.pending);
}

TEST(Except3Frames, NoErrorRunsOnlyBodyAndCleanUp) {
  std::string trace;
  Except3_tryCatch(
      "t", __LINE__, [&] { trace += "body;"; }, [&](const Errors_Msg&) { trace += "handler;"; },
      [&] { trace += "clean-up;"; });
  EXPECT_EQ("body;clean-up;", trace);
}

TEST(Except3Frames, InnerCleanUpOuterHandlerOuterCleanUp) {
  std::string trace;
  int32_t before = Except3_globalSys.count;
  Except3_tryCatch(
      "t", __LINE__,
      [&] {
        Except3_tryFinally(
            "t", __LINE__, [&] { raiseCode(363); }, [&] { trace += "inner clean-up;"; });
        trace += "not here;";
      },
      [&](const Errors_Msg& e) { trace += "outer handler " + std::to_string(e.code) + ";"; },
      [&] { trace += "outer clean-up;"; });
  EXPECT_EQ("inner clean-up;outer handler 363;outer clean-up;", trace);
  EXPECT_EQ(before, Except3_globalSys.count);
}

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

TEST(Except3Frames, CountReturnsAfterManySites) {
  int32_t before = Except3_globalSys.count;
  for (int i = 0; i < 50; ++i) {
    Raised r = catchRaise([&] { raiseCode(102); });
    EXPECT_TRUE(r.raised);
  }
  EXPECT_EQ(before, Except3_globalSys.count);
  EXPECT_EQ(10, Except3_globalSys.capacity);
}

TEST(Except3Frames, RethrowFromAHandlerReachesTheOuterFrame) {
  std::string trace;
  Except3_tryCatch(
      "t", __LINE__,
      [&] {
        Except3_tryCatch(
            "t", __LINE__, [&] { raiseCode(365); },
            [&](const Errors_Msg& e) {
              if (e.code != 992) Except3_rethrow();
              trace += "claimed;";
            },
            [&] { trace += "inner clean-up;"; });
      },
      [&](const Errors_Msg& e) { trace += "outer " + std::to_string(e.code) + ";"; }, [] {});
  EXPECT_EQ("inner clean-up;outer 365;", trace);
}
