// WinX on Windows: the http handler's command and DDE names from the
// registry, one DDE request for the page. When the handler has no DDE
// registration (the usual state of current Windows) its command is started
// with the page, so that a page of any extension opens in the browser; only
// without a command does the shell open the page with its default handler.
// Errors are given back as statuses; Browser decides what to raise.
#include "platform/WinX.h"

#include <windows.h>
#include <ddeml.h>
#include <shellapi.h>

#include <string>

namespace {

HKEY rootKey(WinX_Root root) {
  switch (root) {
    case WinX_Root::CurrentUser:
      return HKEY_CURRENT_USER;
    case WinX_Root::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case WinX_Root::ClassesRoot:
      break;
  }
  return HKEY_CLASSES_ROOT;
}

const char* ddeErrorName(UINT err) {
  static const char* const kNames[] = {
      "DMLERR_ADVACKTIMEOUT",    "DMLERR_BUSY",
      "DMLERR_DATAACKTIMEOUT",   "DMLERR_NOT_INITIALIZED",
      "DMLERR_DLL_USAGE",        "DMLERR_EXECACKTIMEOUT",
      "DMLERR_INVALIDPARAMETER", "DMLERR_LOW_MEMORY",
      "DMLERR_MEMORY_ERROR",     "DMLERR_NOTPROCESSED",
      "DMLERR_NO_CONV_ESTABLISHED", "DMLERR_POKEACKTIMEOUT",
      "DMLERR_POSTMSG_FAILED",   "DMLERR_REENTRANCY",
      "DMLERR_SERVER_DIED",      "DMLERR_SYS_ERROR",
      "DMLERR_UNADVACKTIMEOUT",  "DMLERR_UNFOUND_QUEUE_ID"};
  if (err >= 0x4000 && err <= 0x4011) return kNames[err - 0x4000];
  return "unknown";
}

// The name of the DDE library's last error.
const char* ddeError(DWORD inst) {
  return ddeErrorName(inst != 0 ? DdeGetLastError(inst) : 0x4003u);  // not initialised
}

HDDEDATA CALLBACK ddeCallback(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR,
                              ULONG_PTR) {
  return type == XTYP_ADVDATA ? reinterpret_cast<HDDEDATA>(DDE_FACK) : nullptr;
}

// The http handler's command line with the page in it: environment
// references (%ProgramFiles%) expanded as the shell expands them, then
// every "%1" replaced by the page, which the registered line quotes where
// it needs quotes; a command without "%1" gets the page appended, quoted.
// Built at its full length: a cut line would name another page.
std::string commandWithPage(const std::string& registered, const std::string& page) {
  std::string command = registered;
  // The ANSI call may want one byte more than the size it gives.
  DWORD need = ExpandEnvironmentStringsA(registered.c_str(), nullptr, 0) + 1;
  if (need > 1) {
    std::string expanded(need, '\0');
    DWORD got = ExpandEnvironmentStringsA(registered.c_str(), &expanded[0], need);
    if (got > 0 && got <= need) command.assign(expanded.c_str());
  }
  const std::string mark = "%1";
  std::size_t at = command.find(mark);
  if (at == std::string::npos) return command + " \"" + page + "\"";
  for (; at != std::string::npos; at = command.find(mark, at + page.size()))
    command.replace(at, mark.size(), page);
  return command;
}

// Starts the browser's command line. Like a DDE request, its answer is
// waited for at most WinX_kWaitMs; one that cannot be started is not
// reported.
void startCommand(std::string command) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi))
    return;
  WaitForSingleObject(pi.hProcess, WinX_kWaitMs);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

// The shell's default handler for the page. The shell hands the page on
// asynchronously; like a DDE request, its answer is waited for at most
// WinX_kWaitMs, so that the hand-over is not lost when the program ends.
void openWithShell(const char* path) {
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = "open";
  info.lpFile = path;
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExA(&info) || info.hProcess == nullptr) return;
  WaitForSingleObject(info.hProcess, WinX_kWaitMs);
  CloseHandle(info.hProcess);
}

}  // namespace

WinX_RegStatus WinX_readReg(WinX_Root root, const char* keyPath, const char* valueName,
                            char* buf, uint32_t size, uint32_t* result) {
  if (size > 0) buf[0] = '\0';
  HKEY key = nullptr;
  LONG r = RegOpenKeyExA(rootKey(root), keyPath, 0, KEY_READ, &key);
  if (r == ERROR_FILE_NOT_FOUND) return WinX_RegStatus::NoKey;
  if (r != ERROR_SUCCESS) {
    *result = static_cast<uint32_t>(r);
    return WinX_RegStatus::Failed;
  }
  DWORD type = 0;
  DWORD got = size > 0 ? size - 1 : 0;  // room for the NUL a stored text may lack
  r = RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buf), &got);
  if (r != ERROR_SUCCESS) {
    RegCloseKey(key);
    if (r == ERROR_FILE_NOT_FOUND) return WinX_RegStatus::NoKey;
    *result = static_cast<uint32_t>(r);
    return WinX_RegStatus::Failed;
  }
  if (size > 0) buf[got < size ? got : size - 1] = '\0';
  r = RegCloseKey(key);
  if (r != ERROR_SUCCESS) {
    *result = static_cast<uint32_t>(r);
    return WinX_RegStatus::Failed;
  }
  return WinX_RegStatus::Ok;
}

bool WinX_requestDde(const char* command, const char* service, const char* topic,
                     const char* request, const char** error) {
  DWORD inst = 0;
  HSZ hService = nullptr, hTopic = nullptr, hItem = nullptr;
  HCONV conv = nullptr;
  // Every path releases what exists.
  struct Release {
    DWORD& inst;
    HSZ& hService;
    HSZ& hTopic;
    HSZ& hItem;
    HCONV& conv;
    ~Release() {
      if (hItem != nullptr) DdeFreeStringHandle(inst, hItem);
      if (conv != nullptr) DdeDisconnect(conv);
      if (hService != nullptr) DdeFreeStringHandle(inst, hService);
      if (hTopic != nullptr) DdeFreeStringHandle(inst, hTopic);
      if (inst != 0) DdeUninitialize(inst);
    }
  } release{inst, hService, hTopic, hItem, conv};
  if (DdeInitializeA(&inst, ddeCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
    inst = 0;
    *error = ddeError(inst);
    return false;
  }
  hService = DdeCreateStringHandleA(inst, service, CP_WINANSI);
  hTopic = DdeCreateStringHandleA(inst, topic, CP_WINANSI);
  if (hService == nullptr || hTopic == nullptr) {
    *error = ddeError(inst);
    return false;
  }
  conv = DdeConnect(inst, hService, hTopic, nullptr);
  if (conv == nullptr) {
    WinExec(command, SW_SHOWNORMAL);
    conv = DdeConnect(inst, hService, hTopic, nullptr);
  }
  hItem = DdeCreateStringHandleA(inst, request, CP_WINANSI);
  if (conv != nullptr && hItem != nullptr) {
    DWORD result = 0;
    (void)DdeClientTransaction(nullptr, 0, conv, hItem, CF_TEXT, XTYP_REQUEST, WinX_kWaitMs,
                               &result);
  }
  return true;
}

std::string WinX_fullPath(const char* path) {
  DWORD need = GetFullPathNameA(path, 0, nullptr, nullptr);
  if (need == 0) return path;
  std::string full(need, '\0');
  DWORD got = GetFullPathNameA(path, need, &full[0], nullptr);
  if (got == 0 || got >= need) return path;
  full.resize(got);
  return full;
}

// Asked to open the page itself, the shell would look for a handler of its
// extension, and a page such as "f.htmx" has none.
void WinX_startBrowser(const std::string& registered, const std::string& page) {
  if (!registered.empty())
    startCommand(commandWithPage(registered, page));
  else
    openWithShell(page.c_str());
}

const char* WinX_browserRule() {
  return "ブラウザ: レジストリの http の関連付けにある既定のブラウザ\n";
}
