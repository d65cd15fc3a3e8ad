// BLex3 listing writer: one range walk over the lexer's windows, four ways
// of handling the pieces it gives.
#include "lexer/BLex3Write.h"

#include <cstring>

#include "lexer/ByteScan.h"
#include "runtime/ByteClass.h"
#include "runtime/Errors.h"

namespace {

constexpr char kModule[] = "Blex3";

void put(std::FILE* out, const char* p, std::size_t n) {
  if (n == 0) return;
  if (std::fwrite(p, 1, n, out) != n)
    Errors_raise(kModule, __LINE__, FileX_Err_CannotWrite, "%s",
                 FileX_Txt_WriteFailed);
}

// Gathers escaped output and hands it to the file in large writes: the
// escape fills the room it is given itself.
class Gather {
 public:
  explicit Gather(std::FILE* out) : out_(out) {}
  Gather(const Gather&) = delete;
  Gather& operator=(const Gather&) = delete;
  static constexpr std::size_t kSize = 4096;
  char* room(std::size_t n) {
    if (n > kSize - len_) flush();
    return buf_ + len_;
  }
  void filled(const char* end) { len_ = static_cast<std::size_t>(end - buf_); }
  // Called on the normal path only: a raised error drops what is gathered,
  // as the file is not written on after that.
  void flush() {
    put(out_, buf_, len_);
    len_ = 0;
  }

 private:
  std::FILE* out_;
  std::size_t len_ = 0;
  char buf_[kSize];
};

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


// BLex3_kLinePrefixFormat ("\n%4u|") for line n, formatted by hand into
// out, which has room for kLinePrefixRoom bytes (its end is written on):
// the listing writes one per line. Gives the length, at most 12. The lines
// come one after another, so the digits of the last number are counted up
// rather than made again.
constexpr std::size_t kLinePrefixRoom = 13;
struct LastLine {
  uint32_t n = 0;     // 0: no number yet
  std::size_t k = 1;  // its digits
  // Ten places, right-aligned with spaces, "|", and room to copy a whole
  // prefix from.
  char places[20] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', '|'};
};
LastLine g_last;
std::size_t linePrefix(char* out, uint32_t n) {
  constexpr std::size_t kPlaces = 10;
  char* const digits = g_last.places;
  if (g_last.n != 0 && n == g_last.n + 1) {
    std::size_t i = kPlaces - 1;
    while (digits[i] == '9') digits[i--] = '0';
    digits[i] = digits[i] == ' ' ? '1' : static_cast<char>(digits[i] + 1);
    if (i < kPlaces - g_last.k) g_last.k = kPlaces - i;
  } else {
    std::memset(digits, ' ', kPlaces);
    uint32_t rest = n;
    std::size_t i = kPlaces;
    do {
      digits[--i] = static_cast<char>('0' + rest % 10);
      rest /= 10;
    } while (rest != 0);
    g_last.k = kPlaces - i;
  }
  g_last.n = n;
  const std::size_t width = g_last.k < 4 ? 4 : g_last.k;
  out[0] = '\n';
  std::memcpy(out + 1, digits + kPlaces - width, kLinePrefixRoom - 1);
  return width + 2;
}

// The escaped bytes of [p, p + n) written from d on, which has room for
// kGrowth bytes a byte and a block more; gives their end. A block is copied
// whole before its first special byte is looked at, so that the text in
// between costs no copy of its own.
constexpr std::size_t kGrowth = kLinePrefixRoom;
struct Entity {
  char text[8];
  std::size_t len;
};
constexpr Entity kAmp = {"&amp;", 5}, kLt = {"&lt;", 4}, kGt = {"&gt;", 4};
// Blocks are read from the text itself up to readable, past the end of
// [p, p + n) if need be.
char* escapeInto(char* d, const char* p, std::size_t n, const char* readable, uint32_t* line) {
  constexpr std::size_t kBlock = ByteScan::kBlock;
  const char* q = p;
  const char* const end = p + n;
  while (q < end) {
    const std::size_t left = static_cast<std::size_t>(end - q);
    const char* src = q;
    char last[kBlock];  // the last bytes, where a block would be read past readable
    unsigned valid = 0xFFFFu;
    if (left < kBlock) {
      valid = (1u << left) - 1;
      if (readable - q < static_cast<std::ptrdiff_t>(kBlock)) {
        std::memset(last, 0, kBlock);
        std::memcpy(last, q, left);
        src = last;
      }
    }
    const unsigned bits = ByteScan_htmlSpecialMask(src) & valid;
    std::memcpy(d, src, kBlock);
    if (bits == 0) {
      const std::size_t k = left < kBlock ? left : kBlock;
      d += k;
      q += k;
      continue;
    }
    const unsigned i = static_cast<unsigned>(__builtin_ctz(bits));
    d += i;
    q += i;
    const Entity* e = *q == '&' ? &kAmp : *q == '<' ? &kLt : *q == '>' ? &kGt : nullptr;
    if (e != nullptr) {
      std::memcpy(d, e->text, sizeof e->text);
      d += e->len;
    } else if (*line == BLex3_kNoLineNumbers) {
      ++d;  // the line feed as it is, copied already
    } else {
      ++*line;
      d += linePrefix(d, *line);
    }
    ++q;
  }
  return d;
}

// The escaped bytes of the range, written into the room that room(n) gives
// (n at most capacity) and handed back by their end to filled(end).
template <class Room, class Filled>
void escapeRange(BLex3* lx, BLex3_Pos from, BLex3_Pos to, uint32_t* line, std::size_t capacity,
                 Room&& room, Filled&& filled) {
  // Pieces small enough for their room to fit.
  const std::size_t most = (capacity - ByteScan::kBlock) / kGrowth;
  walkRange(lx, from, to, [&](const char* p, std::size_t n) {
    for (std::size_t done = 0; done < n;) {
      const std::size_t k = n - done < most ? n - done : most;
      filled(escapeInto(room(k * kGrowth + ByteScan::kBlock), p + done, k, lx->bufEnd, line));
      done += k;
    }
    return true;
  });
}

}  // namespace

void BLex3_writeRange(BLex3* lx, BLex3_Pos from, BLex3_Pos to, std::FILE* out) {
  walkRange(lx, from, to, [out](const char* p, std::size_t n) {
    put(out, p, n);
    return true;
  });
}

void BLex3_writeRange(BLex3* lx, BLex3_Pos from, BLex3_Pos to, OutFile* out) {
  walkRange(lx, from, to, [out](const char* p, std::size_t n) {
    OutFile_write(out, p, n);
    return true;
  });
}

uint32_t BLex3_countLines(BLex3* lx, BLex3_Pos from, BLex3_Pos to) {
  uint32_t n = 0;
  walkRange(lx, from, to, [&n](const char* p, std::size_t len) {
    n += static_cast<uint32_t>(ByteScan_countLineFeeds(p, p + len));
    return true;
  });
  return n;
}

void BLex3_writeHtml(BLex3* lx, BLex3_Pos from, BLex3_Pos to, uint32_t* line,
                     std::FILE* out) {
  Gather g(out);
  escapeRange(
      lx, from, to, line, Gather::kSize, [&g](std::size_t n) { return g.room(n); },
      [&g](const char* end) { g.filled(end); });
  g.flush();
}

void BLex3_writeHtml(BLex3* lx, BLex3_Pos from, BLex3_Pos to, uint32_t* line,
                     OutFile* out) {
  escapeRange(
      lx, from, to, line, FileX_kStreamBuffer,
      [out](std::size_t n) { return OutFile_room(out, n); },
      [out](const char* end) { OutFile_filled(out, end); });
}

void BLex3_writeText(BLex3* lx, BLex3_Pos from, BLex3_Pos to, std::FILE* out) {
  BLex3_setPos(lx, from);
  for (;;) {
    if (BLex3_getOffset(lx) >= to.offset) return;
    char* p = BLex3_fetch(lx, 0);
    if (p == nullptr) return;
    if (ByteClass_isWhite(*p))
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
    if (!ByteClass_isWhite(c) && c != '<') {
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
