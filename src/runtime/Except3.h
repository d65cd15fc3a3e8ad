// Except3: try frames. An error thrown by the application's hook resumes the
// innermost open frame, where a handler may claim it and clean-up code runs;
// closing the frame finishes a claimed error or passes it to the next outer
// frame. The frame stack Except3_globalSys (10 frames) keeps the state
// (pending, caught, thrown in catch) of the innermost frame; the jump itself
// is a C++ exception, so destructors release what a block owned.
//
// Every try site in the program is one call:
//
//   Except3_tryCatch("filex", __LINE__,
//       [&] { ...guarded block... },
//       [&](const Errors_Msg& err) { ...handler: test err.code... },
//       [&] { ...clean-up, runs on both paths... });
//
//   Except3_tryFinally("filex", __LINE__, [&] { ... }, [&] { ...clean-up... });
//
// A site whose handler returns has claimed the error: execution goes on after
// the call; a handler that wants only some codes calls Except3_rethrow() for
// the others. Without a handler (or when the handler itself raised) the error
// travels on to the enclosing site once the clean-up has run.
#pragma once
#include <cstdint>

#include "runtime/Errors.h"

inline constexpr int Except3_kFrames = 10;

struct Except3_Frame {
  const char* module;
  int32_t line;
};

struct Except3_Sys {
  Errors_Msg* thrown;    // the record of the error last thrown
  uint8_t pending;       // an error was thrown in the innermost frame
  uint8_t thrownInCatch; // ...while a handler of that frame ran
  uint8_t caught;        // ...and a handler has claimed it
  int32_t count;         // open frames
  int32_t capacity;
  Except3_Frame* frames;
};

extern Except3_Sys Except3_globalSys;

// The C++ exception that carries control to the innermost open frame.
struct Except3_Resume {};

void Except3_Sys_init(Except3_Sys* sys, Except3_Frame* buffer, std::size_t bufferSize);
// Records a new innermost frame. An eleventh frame ends the run with the
// fatal report ("try 用スタック領域がいっぱいになりました。").
void Except3_Sys_pushTry(Except3_Sys* sys, const char* module, int line);
// Claims the pending error for a handler; false when the error was thrown by
// a handler of this frame.
[[nodiscard]] bool Except3_Sys_catch(Except3_Sys* sys);
// Closes the innermost frame: finishes a claimed error, or resumes the next
// outer frame, or makes the fatal report when none is left.
void Except3_Sys_endTry(Except3_Sys* sys);
[[noreturn]] void Except3_Sys_throw(Except3_Sys* sys, Errors_Msg* record);
[[noreturn]] void Except3_fatal(int32_t code, const char* message, const char* module, int line);

// Inside a handler: passes the error being handled on to the enclosing frame
// (after this site's clean-up), for a handler that claims only some codes.
[[noreturn]] inline void Except3_rethrow() {
  Except3_Sys_throw(&Except3_globalSys, Except3_globalSys.thrown);
}

template <class Body, class Handler, class Cleanup>
void Except3_tryCatch(const char* module, int line, Body&& body, Handler&& handler,
                      Cleanup&& cleanup) {
  Except3_Sys* sys = &Except3_globalSys;
  Except3_Sys_pushTry(sys, module, line);
  bool resumed = false;
  try {
    body();
  } catch (const Except3_Resume&) {
    resumed = true;
  }
  if (resumed) {
    try {
      if (Except3_Sys_catch(sys)) handler(*sys->thrown);
    } catch (const Except3_Resume&) {
      // An error in the handler: the clean-up still runs, then it travels on.
    }
  }
  try {
    cleanup();
  } catch (const Except3_Resume&) {
    // An error in the clean-up travels on when the frame closes.
  }
  Except3_Sys_endTry(sys);
}

template <class Body, class Cleanup>
void Except3_tryFinally(const char* module, int line, Body&& body, Cleanup&& cleanup) {
  Except3_Sys* sys = &Except3_globalSys;
  Except3_Sys_pushTry(sys, module, line);
  try {
    body();
  } catch (const Except3_Resume&) {
  }
  try {
    cleanup();
  } catch (const Except3_Resume&) {
  }
  Except3_Sys_endTry(sys);
}

// Runs an owner's release from its destructor. An error it raises stays
// pending in the innermost open frame and travels on when that frame
// closes, as one raised in the clean-up of Except3_tryFinally; only the
// jump ends here, since it may not leave a destructor.
template <class Release>
void Except3_release(Release&& release) noexcept {
  try {
    release();
  } catch (const Except3_Resume&) {
  }
}
