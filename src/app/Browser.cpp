// Browser: the registry keys, the DDE request and the fallback, over WinX.
#include "app/Browser.h"

#include <cstring>
#include <string>

#include "platform/WinX.h"
#include "runtime/BigStack.h"
#include "runtime/Errors.h"
#include "runtime/StrX.h"

namespace {

constexpr char kModule[] = "Winx";

// Reads one key of the http handler into buf; false when it is missing.
bool readKey(const char* keyPath, char* buf) {
  uint32_t result = 0;
  switch (WinX_readReg(WinX_Root::ClassesRoot, keyPath, nullptr, buf, WinX_kTextSize,
                       &result)) {
    case WinX_RegStatus::Ok:
      return true;
    case WinX_RegStatus::NoKey:
      return false;
    case WinX_RegStatus::Failed:
      break;
  }
  Errors_raise(kModule, __LINE__, Errors_Unofficial, WinX_Txt_AllCode,
               static_cast<unsigned>(result), static_cast<int>((result >> 16) & 0xFFF),
               static_cast<int>(result & 0xFFFF));
}

}  // namespace

void Browser_openHtml(const char* path) {
  if (path == nullptr || path[0] == '\0') return;
  const std::string page = WinX_fullPath(path);
  std::string command;  // the http handler's, when the registry has one
  {
    BigStack_Mark mark;
    char* registered = static_cast<char*>(BigStack_alloc(&BigStack_main, WinX_kTextSize));
    char* request = static_cast<char*>(BigStack_alloc(&BigStack_main, WinX_kTextSize));
    char* service = static_cast<char*>(BigStack_alloc(&BigStack_main, WinX_kTextSize));
    char* topic = static_cast<char*>(BigStack_alloc(&BigStack_main, WinX_kTextSize));
    bool dde = readKey(WinX_kKeyCommand, registered);
    if (dde) command = registered;
    dde = dde && readKey(WinX_kKeyDdeExec, request) &&
          readKey(WinX_kKeyApplication, service) && readKey(WinX_kKeyTopic, topic);
    if (dde) {
      StrX_rep(request, WinX_kTextSize, "%1", page.c_str());
      const char* error = nullptr;
      if (!WinX_requestDde(registered, service, topic, request, &error))
        Errors_raise(kModule, __LINE__, Errors_Unofficial,
                     WinX_Txt_DdeError, error, kModule, __LINE__);
      return;
    }
  }
  WinX_startBrowser(command, page);
}
