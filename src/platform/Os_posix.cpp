// POSIX side of Os: text is code page 932 whatever the locale says; the
// locale only decides whether console lines are shown as UTF-8.
#include "platform/Os.h"

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <termios.h>
#include <unistd.h>

namespace {

iconv_t g_toUtf8 = reinterpret_cast<iconv_t>(-1);

void writeRaw(std::FILE* f, const char* p, std::size_t n) {
  if (n) std::fwrite(p, 1, n, f);
}

// Converts in pieces through a fixed buffer, handing each piece to put; a
// byte that CP932 cannot map is handed on unchanged rather than dropped.
template <class Put>
void convert(iconv_t cd, const char* p, std::size_t n, Put put) {
  char out[1024];
  char* in = const_cast<char*>(p);
  std::size_t left = n;
  while (left > 0) {
    char* o = out;
    std::size_t room = sizeof out;
    std::size_t r = iconv(cd, &in, &left, &o, &room);
    put(out, static_cast<std::size_t>(o - out));
    if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
      put(in, 1);
      ++in;
      --left;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
}

}  // namespace

bool Os_isLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

void Os_cp932ToUtf8(const char* p, std::size_t n, std::string* out) {
  static iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    out->append(p, n);
    return;
  }
  convert(cd, p, n, [&](const char* q, std::size_t k) { out->append(q, k); });
}

char Os_pathSep() { return '/'; }

bool Os_getcwd(char* buf, std::size_t size) {
  if (size == 0) return false;
  if (getcwd(buf, size) == nullptr) {
    buf[0] = '\0';
    return false;
  }
  return true;
}

void Os_consoleInit() {
  std::setlocale(LC_ALL, "");
  const char* cs = nl_langinfo(CODESET);
  if (cs && (std::strcmp(cs, "UTF-8") == 0 || std::strcmp(cs, "utf8") == 0))
    g_toUtf8 = iconv_open("UTF-8", "CP932");
  // Everything else about text stays byte-wise and locale-blind.
  std::setlocale(LC_CTYPE, "C");
  std::setlocale(LC_NUMERIC, "C");
}

void Os_consoleWrite(int stream, const char* bytes, std::size_t n) {
  std::FILE* f = stream == 2 ? stderr : stdout;
  if (g_toUtf8 == reinterpret_cast<iconv_t>(-1))
    writeRaw(f, bytes, n);
  else
    convert(g_toUtf8, bytes, n, [&](const char* q, std::size_t k) { writeRaw(f, q, k); });
  if (stream == 2) std::fflush(f);
}

bool Os_stdinIsTerminal() { return isatty(STDIN_FILENO) == 1; }

void Os_readKeyNoEcho() {
  termios old{};
  if (tcgetattr(STDIN_FILENO, &old) != 0) return;
  termios raw = old;
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  char c;
  ssize_t got = read(STDIN_FILENO, &c, 1);
  (void)got;
  tcsetattr(STDIN_FILENO, TCSANOW, &old);
}
