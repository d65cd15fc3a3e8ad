// Drives the runtime into situations that end the process, for the tests
// that check what such an ending writes. The first argument names the
// situation.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/ScrivoApp.h"
#include "platform/Os.h"
#include "runtime/BigStack.h"
#include "runtime/Errors.h"
#include "runtime/Except3.h"

namespace {

int32_t raisingHook(int32_t, int32_t code, const char*) {
  if (code == Errors_Unofficial)
    Errors_raise("probe", 20, ArrX_Err_Full, "%s", "second");
  return 0;
}

void openFrames(int left) {
  if (left == 0) return;
  Except3_tryFinally("probe", __LINE__, [&] { openFrames(left - 1); }, [] {});
}

}  // namespace

int main(int argc, char** argv) {
  Os_consoleInit();
  std::string what = argc > 1 ? argv[1] : "";
  if (what == "before-hook") {
    Errors_raise("probe", 10, Errors_Unofficial, "%s", "early");
  }
  alignas(8) static uint8_t area[BigStack_kMainSize];
  ScrivoApp_setUpRuntime(area, sizeof area);
  if (what == "uncaught-in-frames") {
    Except3_tryFinally(
        "probe", __LINE__,
        [] {
          Except3_tryFinally(
              "probe", __LINE__,
              [] { Errors_raise("probe", 40, FileX_Err_EOF, "%s", "deep"); },
              [] { Errors_puts("inner clean-up"); });
        },
        [] { Errors_puts("outer clean-up"); });
  } else if (what == "double") {
    Errors_hook = raisingHook;
    Errors_raise("probe", 50, Errors_Unofficial, "%s", "first");
  } else if (what == "frames") {
    openFrames(std::atoi(argv[2]));
    Errors_puts("frames closed");
  } else if (what == "printf-long") {
    std::string text(std::atoi(argv[2]), 'x');
    Errors_printf("%s", text.c_str());
  } else if (what == "log-errno") {
    errno = ENOENT;
    Errors_logErrno();
    errno = 5;
    Errors_logErrno();
  } else if (what == "raise-errno") {
    errno = 5;
    Errors_raiseErrno();
  }
  return 0;
}
