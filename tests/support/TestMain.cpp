// The unit tests run with the runtime set up as a run of the program has it:
// error list, try frames, the application's error hook and BigStack_main.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/ScrivoApp.h"
#include "runtime/BigStack.h"

int main(int argc, char** argv) {
  // An over-long message waits for a key press when standard input is a
  // terminal; the tests never wait.
#ifdef _WIN32
  (void)std::freopen("NUL", "r", stdin);
#else
  (void)std::freopen("/dev/null", "r", stdin);
#endif
  alignas(8) static uint8_t area[BigStack_kMainSize];
  ScrivoApp_setUpRuntime(area, sizeof area);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
