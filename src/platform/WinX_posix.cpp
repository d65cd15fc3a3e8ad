// WinX on POSIX: $BROWSER PAGE (an empty BROWSER opens nothing), else the
// desktop's opener when it is on the PATH; no registry and no DDE.
#include "platform/WinX.h"

#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

extern char** environ;

namespace {

#ifdef __APPLE__
constexpr char kOpener[] = "open";
#else
constexpr char kOpener[] = "xdg-open";
#endif

bool onPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return false;
  std::string all(path);
  std::size_t start = 0;
  while (start <= all.size()) {
    std::size_t end = all.find(':', start);
    if (end == std::string::npos) end = all.size();
    std::string dir = all.substr(start, end - start);
    if (dir.empty()) dir = ".";
    if (access((dir + "/" + name).c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

WinX_RegStatus WinX_readReg(WinX_Root, const char*, const char*, char* buf, uint32_t size,
                            uint32_t*) {
  if (size > 0) buf[0] = '\0';
  return WinX_RegStatus::NoKey;
}

bool WinX_requestDde(const char*, const char*, const char*, const char*, const char**) {
  return true;
}

std::string WinX_fullPath(const char* path) { return path; }

void WinX_startBrowser(const std::string&, const std::string& page) {
  const char* browser = std::getenv("BROWSER");
  std::string command;
  if (browser != nullptr) {
    command = browser;
    if (command.empty()) return;
  } else {
    if (!onPath(kOpener)) return;
    command = kOpener;
  }
  char* argv[] = {const_cast<char*>(command.c_str()), const_cast<char*>(page.c_str()), nullptr};
  pid_t pid;
  if (posix_spawnp(&pid, command.c_str(), nullptr, nullptr, argv, environ) != 0) return;
  for (int waited = 0; waited < WinX_kWaitMs; waited += 10) {
    int status;
    if (waitpid(pid, &status, WNOHANG) != 0) return;
    timespec ts{0, 10 * 1000 * 1000};
    nanosleep(&ts, nullptr);
  }
}

const char* WinX_browserRule() {
#ifdef __APPLE__
  return "ブラウザ: 環境変数 BROWSER のコマンド（空なら開かない）、未設定なら open\n";
#else
  return "ブラウザ: 環境変数 BROWSER のコマンド（空なら開かない）、未設定なら xdg-open\n";
#endif
}
