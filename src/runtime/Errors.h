// Errors: the one error facility. A failing module calls Errors_raise with
// its module name, line, code and a printf-style message; the
// message becomes Errors_curMsg and goes to the hook that the application
// installs, which turns it into an exception to the innermost try frame
// (Except3). Console lines go through Os_consoleWrite; errno failures can be
// described on the console and appended to "errlog4.txt".
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/ErrorCodes.h"

inline constexpr std::size_t Errors_kTextSize = 1024;  // formatted message text
inline constexpr std::size_t Errors_kMsgSize = 512;    // message kept in a record
inline constexpr std::size_t Errors_kModuleSize = 256;
inline constexpr std::size_t Errors_kPoolRecords = 5;
inline constexpr char Errors_kLogName[] = "errlog4.txt";
inline constexpr int Errors_kExitStatus = 14;

// One reported error.
struct Errors_Msg {
  uint8_t inUse;  // 1 while the record occupies a slot of Errors_MsgPool
  int32_t id;     // running number of the error; -1 for a fatal report
  int32_t code;
  char msg[Errors_kMsgSize];  // at most 511 bytes and a NUL
  char* msgPtr;               // points at msg
  char module[Errors_kModuleSize];
  int32_t line;
};

// The records of errors kept for the final report: first..over, a record
// in use when its inUse flag is set.
struct Errors_Pool {
  Errors_Msg* first;
  Errors_Msg* over;
};

using Errors_HookFn = int32_t (*)(int32_t id, int32_t code, const char* msg);

extern Errors_Msg Errors_curMsg;
extern Errors_Pool Errors_MsgPool;
extern Errors_HookFn Errors_hook;

// Sets up Errors_MsgPool over records (every in-use flag cleared).
void Errors_initPool(Errors_Msg* records, std::size_t count);

// Raises an error: the hook turns it into an exception; when there is no
// hook, or the hook returns, the run ends through Errors_exit.
[[noreturn]] void Errors_raise(const char* module, int line, int32_t code, const char* format,
                               ...) __attribute__((format(printf, 4, 5)));
// Raises Errors_Err_Errno with the long description of the current errno.
[[noreturn]] void Errors_raiseErrno();
// Logs "errno = %d : %s" with the short description of the current errno.
int Errors_logErrno();
// Formats one line, echoes it on standard error and appends it with CR LF to
// errlog4.txt in the current folder (deleted first at the first write of a run).
int Errors_log(const char* format, ...) __attribute__((format(printf, 1, 2)));
// One line on standard error, ended by "\r\n".
int Errors_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The text and "\n" on standard output.
void Errors_puts(const char* text);
[[noreturn]] void Errors_exit(const char* module, int line);
// Waits for a key press when standard input is a terminal. Returns 1.
int Errors_break();
void Errors_printPool(const Errors_Pool* pool);
void Errors_putsPool(const Errors_Pool* pool);
void Errors_clearNest();

// Descriptions of an errno value ("Unknown Error" when not listed).
const char* Errors_errnoLong(int err);
const char* Errors_errnoShort(int err);
