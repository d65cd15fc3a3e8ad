// Windows side of Os: the active code page decides lead bytes, and the
// console streams are binary so that both builds write the same bytes.
#include "platform/Os.h"

#include <conio.h>
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <clocale>
#include <cstdio>

bool Os_isLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != 0; }

void Os_cp932ToUtf8(const char* in, std::size_t n, std::string* out) {
  if (n == 0) return;
  const int len = static_cast<int>(n);
  int wide = MultiByteToWideChar(932, 0, in, len, nullptr, 0);
  if (wide <= 0) {
    out->append(in, n);
    return;
  }
  std::wstring w(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(932, 0, in, len, &w[0], wide);
  int bytes = WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) {
    out->append(in, n);
    return;
  }
  std::string u(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, &u[0], bytes, nullptr, nullptr);
  out->append(u);
}

char Os_pathSep() { return '\\'; }

bool Os_getcwd(char* buf, std::size_t size) {
  if (size == 0) return false;
  if (_getcwd(buf, static_cast<int>(size)) == nullptr) {
    buf[0] = '\0';
    return false;
  }
  return true;
}

void Os_consoleInit() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

void Os_consoleWrite(int stream, const char* bytes, std::size_t n) {
  std::FILE* f = stream == 2 ? stderr : stdout;
  if (n) std::fwrite(bytes, 1, n, f);
  if (stream == 2) std::fflush(f);
}

bool Os_stdinIsTerminal() { return _isatty(_fileno(stdin)) != 0; }

void Os_readKeyNoEcho() { (void)_getch(); }
