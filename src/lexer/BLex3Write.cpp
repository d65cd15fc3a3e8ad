// BLex3 listing writer: one range walk over the lexer's windows, four ways
// of handling the pieces it gives.
#include "lexer/BLex3Write.h"

#include <cstring>
#include <initializer_list>

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

// Gathers small pieces of output and hands them to the file in one write:
// an escaped listing is mostly short runs between special bytes.
class Gather {
 public:
  explicit Gather(std::FILE* out) : out_(out) {}
  Gather(const Gather&) = delete;
  Gather& operator=(const Gather&) = delete;
  void add(const char* p, std::size_t n) {
    if (n > sizeof buf_ - len_) {
      flush();
      if (n >= sizeof buf_) {
        put(out_, p, n);
        return;
      }
    }
    std::memcpy(buf_ + len_, p, n);
    len_ += n;
  }
  // Called on the normal path only: a raised error drops what is gathered,
  // as the file is not written on after that.
  void flush() {
    put(out_, buf_, len_);
    len_ = 0;
  }

 private:
  std::FILE* out_;
  std::size_t len_ = 0;
  char buf_[4096];
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


// "00" to "99", for two digits at a time.
struct DigitPairs {
  char text[200];
  DigitPairs() {
    for (int i = 0; i < 100; ++i) {
      text[2 * i] = static_cast<char>('0' + i / 10);
      text[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
  }
};
const DigitPairs kPairs;

// BLex3_kLinePrefixFormat ("\n%4u|") for line n, formatted by hand: the
// listing writes one per line. Gives the length.
std::size_t linePrefix(char* out, uint32_t n) {
  char digits[10];
  char* d = digits + sizeof digits;  // filled from the end
  while (n >= 100) {
    d -= 2;
    std::memcpy(d, kPairs.text + 2 * (n % 100), 2);
    n /= 100;
  }
  if (n >= 10) {
    d -= 2;
    std::memcpy(d, kPairs.text + 2 * n, 2);
  } else {
    *--d = static_cast<char>('0' + n);
  }
  const std::size_t k = static_cast<std::size_t>(digits + sizeof digits - d);
  const std::size_t pad = k < 4 ? 4 - k : 0;
  std::memcpy(out, "\n    ", 1 + pad);
  std::memcpy(out + 1 + pad, d, k);
  out[1 + pad + k] = '|';
  return 2 + pad + k;
}

// The bytes that the HTML listing writes as something else.
struct SpecialBytes {
  ByteScan special;
  SpecialBytes() {
    for (unsigned char c : {'&', '<', '>', '\n'}) special.add(c);
  }
};
const SpecialBytes kSpecial;

// The escaped bytes of the range, handed to add(p, n) piece by piece.
template <class Add>
void escapeRange(BLex3* lx, BLex3_Pos from, BLex3_Pos to, uint32_t* line, Add&& add) {
  walkRange(lx, from, to, [&add, line](const char* p, std::size_t n) {
    const char* run = p;
    kSpecial.special.forEach(p, n, [&](std::size_t i) {
      const char* q = p + i;
      const char* text = nullptr;
      std::size_t len = 0;
      char number[24];
      switch (*q) {
        case '&': text = "&amp;"; len = 5; break;
        case '<': text = "&lt;"; len = 4; break;
        case '>': text = "&gt;"; len = 4; break;
        default:  // the line feed
          if (*line == BLex3_kNoLineNumbers) return true;
          ++*line;
          len = linePrefix(number, *line);
          text = number;
          break;
      }
      add(run, static_cast<std::size_t>(q - run));
      add(text, len);
      run = q + 1;
      return true;
    });
    add(run, static_cast<std::size_t>(p + n - run));
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
  escapeRange(lx, from, to, line, [&g](const char* p, std::size_t n) { g.add(p, n); });
  g.flush();
}

void BLex3_writeHtml(BLex3* lx, BLex3_Pos from, BLex3_Pos to, uint32_t* line,
                     OutFile* out) {
  escapeRange(lx, from, to, line,
              [out](const char* p, std::size_t n) { OutFile_write(out, p, n); });
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
