// Except3: the frame stack and the uncaught-exception report.
#include "runtime/Except3.h"

#include <cstdio>

#include "runtime/ArrX.h"

Except3_Sys Except3_globalSys;

namespace {

constexpr char kModule[] = "Except3";
int32_t g_fatals = 0, g_listings = 0;  // the report and the list happen once per run

void fillCurMsg(int32_t code, const char* message, const char* module, int line) {
  Errors_Msg& m = Errors_curMsg;
  m.inUse = 0;
  m.id = -1;
  m.code = code;
  std::snprintf(m.msg, sizeof m.msg, "%s", message);
  m.msgPtr = m.msg;
  std::snprintf(m.module, sizeof m.module, "%s", module);
  m.line = line;
}

}  // namespace

void Except3_Sys_init(Except3_Sys* sys, Except3_Frame* buffer, std::size_t bufferSize) {
  sys->frames = buffer;
  sys->capacity = static_cast<int32_t>(bufferSize / sizeof(Except3_Frame));
  sys->pending = 0;
}

void Except3_Sys_pushTry(Except3_Sys* sys, const char* module, int line) {
  if (sys->count >= sys->capacity) {
    // No frame left to record: the report cannot go through a frame either.
    fillCurMsg(Except3_Err_Uncaught, Except3_Txt_StackFull, kModule, __LINE__);
    Except3_fatal(Except3_Err_Uncaught, Except3_Txt_StackFull, kModule, __LINE__);
  }
  sys->frames[sys->count].module = module;
  sys->frames[sys->count].line = line;
  ++sys->count;
  sys->pending = 0;
  sys->thrownInCatch = 0;
  sys->caught = 0;
}

bool Except3_Sys_catch(Except3_Sys* sys) {
  if (sys->thrownInCatch) return false;
  sys->caught = 1;
  return true;
}

void Except3_Sys_endTry(Except3_Sys* sys) {
  if (sys->pending) {
    if (sys->thrownInCatch) {
      --sys->count;
      sys->thrownInCatch = 0;
      sys->caught = 0;
      if (sys->count > 0) throw Except3_Resume{};
      Except3_fatal(Except3_Err_Uncaught, Except3_Txt_Uncaught, kModule, __LINE__);
    } else if (sys->caught) {
      --sys->count;
      sys->pending = 0;
      sys->caught = 0;
    } else {
      --sys->count;
      if (sys->count > 0) throw Except3_Resume{};
      Except3_fatal(Except3_Err_Uncaught, Except3_Txt_Uncaught, kModule, __LINE__);
    }
    return;
  }
  if (sys->count <= 0)
    Except3_fatal(Except3_Err_Uncaught, Except3_Txt_Uncaught, kModule, __LINE__);
  --sys->count;
}

void Except3_Sys_throw(Except3_Sys* sys, Errors_Msg* record) {
  Errors_clearNest();
  sys->thrown = record;
  if (sys->count <= 0)
    Except3_fatal(Except3_Err_Uncaught, Except3_Txt_Uncaught, kModule, __LINE__);
  if (sys->caught) sys->thrownInCatch = 1;
  sys->pending = 1;
  throw Except3_Resume{};
}

void Except3_fatal(int32_t code, const char* message, const char* module, int line) {
  ++g_fatals;
  if (g_fatals == 1) {
    // Taken through ArrX, which raises ArrX_Err_Full when no record is free.
    ArrX_Able records{reinterpret_cast<uint8_t*>(Errors_MsgPool.first),
                      reinterpret_cast<uint8_t*>(Errors_MsgPool.over)};
    Errors_Msg* slot = static_cast<Errors_Msg*>(
        ArrX_Able_getFirstFree(&records, sizeof(Errors_Msg), offsetof(Errors_Msg, inUse)));
    if (slot != nullptr) {
      *slot = Errors_curMsg;
      slot->msgPtr = slot->msg;
      slot->inUse = 1;
    }
    fillCurMsg(code, message, module, line);
    if (Errors_hook != nullptr) {
      Except3_Sys* sys = &Except3_globalSys;
      sys->pending = 0;
      if (sys->count >= sys->capacity - 1) {
        Errors_printf("%s", Except3_Txt_NoRoomForReport);
      } else {
        Except3_tryCatch(
            kModule, __LINE__,
            [&] { (void)Errors_hook(-1, code, Errors_curMsg.msg); },
            [](const Errors_Msg&) {}, [] {});
      }
    }
  } else {
    Errors_puts(message);
  }
  ++g_listings;
  if (g_listings == 1) Errors_putsPool(&Errors_MsgPool);
  Errors_exit(module, line);
}
