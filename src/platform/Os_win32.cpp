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
