// PrintX: the warning sink.
#include "runtime/PrintX.h"

#include <cstdarg>
#include <cstring>
#include <string>

#include "platform/Os.h"

void PrintX_init(PrintX* px) {
  px->bufStart = px->bufEnd = px->bufPos = nullptr;
  px->flags = 0;
  px->extra = nullptr;
}

void PrintX_setFlags(PrintX* px, uint32_t flags) { px->flags = flags; }

void PrintX_setBuffer(PrintX* px, char* start, char* end) {
  px->bufStart = px->bufPos = start;
  px->bufEnd = end;
  if (start < end) *start = '\0';
}

void PrintX_printf(PrintX* px, const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  va_list copy;
  va_copy(copy, ap);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text(n > 0 ? static_cast<std::size_t>(n) + 1 : 1, '\0');
  if (n > 0) std::vsnprintf(&text[0], text.size(), format, ap);
  va_end(ap);
  text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);

  std::string out;
  if (px->flags & PrintX_LineBefore) out += '\n';
  out += text;
  if (px->flags & PrintX_LineAfter) out += '\n';
  if (px->flags & PrintX_Stdout) Os_consoleWrite(1, out.data(), out.size());
  if (px->flags & PrintX_Stderr) Os_consoleWrite(2, out.data(), out.size());
  if (px->extra != nullptr) std::fwrite(out.data(), 1, out.size(), px->extra);
  if (px->bufPos != nullptr && px->bufPos < px->bufEnd) {
    std::size_t room = static_cast<std::size_t>(px->bufEnd - px->bufPos) - 1;
    std::size_t k = out.size() < room ? out.size() : room;
    std::memcpy(px->bufPos, out.data(), k);
    px->bufPos += k;
    *px->bufPos = '\0';
  }
}
