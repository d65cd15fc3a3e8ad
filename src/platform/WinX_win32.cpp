// WinX on Windows: until the registry and DDE path is in place, the shell
// opens the page with its default handler.
#include "platform/WinX.h"

#include <windows.h>
#include <shellapi.h>

void WinX_openHtml(const char* path) {
  if (path == nullptr || path[0] == '\0') return;
  ShellExecuteA(nullptr, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
}
