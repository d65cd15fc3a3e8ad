// BLex3 listing writer: one range walk over the lexer's windows, four ways
// of handling the pieces it gives.
#include "lexer/BLex3Write.h"

#include <cstring>

#include "runtime/Errors.h"

namespace {

constexpr char kModule[] = "Blex3";

void put(std::FILE* out, const char* p, std::size_t n) {
  if (n == 0) return;
  if (std::fwrite(p, 1, n, out) != n)
    Errors_raise(kModule, __LINE__, FileX_Err_CannotWrite, "FileX_Err_CannotWrite", "%s",
                 FileX_Txt_WriteFailed);
}

// Hands the bytes from `from` to `to` to piece(p, n) one window piece at a
// time, until the range or the data ends or piece gives false. The cursor
// ends after the last byte handed over.
template <class Piece>
void walkRange(BLex3* lx, BLex3_Pos from, BLex3_Pos to, Piece&& piece) {
  if (to.offset <= from.offset) return;
  BLex3_setPos(lx, from);
  for (;;) {
    char* p = BLex3_fetch(lx, 0);
    if (p == nullptr) return;
    char* end = BLex3_getEnd(lx);
    int32_t left = to.offset - BLex3_getOffset(lx);
    if (left <= end - p) {
      piece(p, static_cast<std::size_t>(left));
      BLex3_setPtr(lx, p + left);
      return;
    }
    bool more = piece(p, static_cast<std::size_t>(end - p));
    BLex3_setPtr(lx, end);
    if (!more) return;
  }
}

inline bool isWhite(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

void BLex3_writeRange(BLex3* lx, BLex3_Pos from, BLex3_Pos to, std::FILE* out) {
  walkRange(lx, from, to, [out](const char* p, std::size_t n) {
    put(out, p, n);
    return true;
  });
}

void BLex3_writeHtml(BLex3* lx, BLex3_Pos from, BLex3_Pos to, uint32_t* line,
                     std::FILE* out) {
  walkRange(lx, from, to, [out, line](const char* p, std::size_t n) {
    const char* run = p;
    for (const char* q = p; q < p + n; ++q) {
      const char* text = nullptr;
      char number[24];
      switch (*q) {
        case '&': text = "&amp;"; break;
        case '<': text = "&lt;"; break;
        case '>': text = "&gt;"; break;
        case '\n':
          if (*line == BLex3_kNoLineNumbers) continue;
          ++*line;
          std::snprintf(number, sizeof number, BLex3_kLinePrefixFormat, *line);
          text = number;
          break;
        default: continue;
      }
      put(out, run, static_cast<std::size_t>(q - run));
      put(out, text, std::strlen(text));
      run = q + 1;
    }
    put(out, run, static_cast<std::size_t>(p + n - run));
    return true;
  });
}

void BLex3_writeText(BLex3* lx, BLex3_Pos from, BLex3_Pos to, std::FILE* out) {
  BLex3_setPos(lx, from);
  for (;;) {
    if (BLex3_getOffset(lx) >= to.offset) return;
    char* p = BLex3_fetch(lx, 0);
    if (p == nullptr) return;
    if (isWhite(*p))
      BLex3_next(lx, 1);
    else if (*p == '<')
      BLex3_skipHtmlTag(lx);
    else
      break;
  }
  BLex3_Pos pending;  // start of the text not yet written
  BLex3_getPos(lx, &pending);
  bool gap = false;  // white space or a tag since the last word
  for (;;) {
    if (BLex3_getOffset(lx) >= to.offset) break;
    char* p = BLex3_fetch(lx, 0);
    if (p == nullptr) break;
    char c = *p;
    if (!isWhite(c) && c != '<') {
      gap = false;
      BLex3_next(lx, 1);
      continue;
    }
    if (!gap) {
      BLex3_Pos here;
      BLex3_getPos(lx, &here);
      BLex3_writeRange(lx, pending, here, out);
      BLex3_setPos(lx, here);
      pending = here;
      gap = true;
    }
    if (c == '<') {
      BLex3_skipHtmlTag(lx);
      BLex3_getPos(lx, &pending);
    } else {
      BLex3_next(lx, 1);
    }
  }
  if (!gap) BLex3_writeRange(lx, pending, to, out);
}

void BLex3_copyRange(BLex3* lx, BLex3_Pos from, BLex3_Pos to, char* dst,
                     std::size_t capacity) {
  if (capacity == 0) return;
  std::size_t len = 0;
  dst[0] = '\0';
  walkRange(lx, from, to, [&](const char* p, std::size_t n) {
    return BLex3_appendBounded(lx, p, n, dst, capacity, &len);
  });
}
