// StrX: byte strings in code page 932.
#include "runtime/StrX.h"

#include <cstring>

#include "platform/Os.h"
#include "runtime/ByteClass.h"
#include "runtime/Errors.h"
#include "runtime/TextCode.h"

namespace {

constexpr char kModule[] = "strx";

unsigned char uc(char c) { return static_cast<unsigned char>(c); }

// Length of the character at p in the current text code (a lead byte
// right before the NUL stands alone).
std::size_t charLen(const char* p) { return TextCode_charLen(p); }

bool isWordStart(unsigned char c) { return StrX_isAlpha(c) || c == '_'; }
bool isWordByte(unsigned char c) { return isWordStart(c) || StrX_isDigit(c); }

// The next word at or after p, as [*start, return value), or null.
const char* findWord(const char* p, const char** start) {
  for (; *p != '\0'; ++p) {
    const unsigned char c = uc(*p);
    if (TextCode_isLead(c) && p[1] != '\0') {
      *start = p;
      return p + charLen(p);
    }
    if (isWordStart(c)) {
      *start = p;
      const char* q = p + 1;
      while (isWordByte(uc(*q))) ++q;
      return q;
    }
  }
  return nullptr;
}

// Appends to a caller buffer of size bytes, keeping room for the NUL; a
// piece that does not fit is refused whole, so a double-byte character or
// a doubled quote is never split.
class Out {
 public:
  Out(char* dst, std::size_t size) : dst_(dst), cap_(size == 0 ? 0 : size - 1) {}
  bool put(const char* bytes, std::size_t n) {
    if (full_ || n > cap_ - len_) {
      full_ = true;
      return false;
    }
    std::memcpy(dst_ + len_, bytes, n);
    len_ += n;
    return true;
  }
  bool put(char c) { return put(&c, 1); }
  std::size_t len() const { return len_; }
  void cutTo(std::size_t n) {
    if (n < len_) len_ = n;
  }
  bool full() const { return full_; }
  // Terminates the text (nothing for a buffer of 0 bytes).
  char* finish(std::size_t size) {
    if (size > 0) dst_[len_] = '\0';
    return dst_;
  }

 private:
  char* dst_;
  std::size_t cap_;
  std::size_t len_ = 0;
  bool full_ = false;
};

}  // namespace

// --- Copying and editing in place ---

void StrX_cpy(char* dst, const char* src, std::size_t size) {
  if (size == 0) return;
  std::size_t n = std::strlen(src);
  if (n > size - 1) n = size - 1;
  std::memmove(dst, src, n);
  dst[n] = '\0';
}

char* StrX_trim(char* text) {
  // No trail byte of code page 932 is white space, so byte-wise is safe.
  std::size_t len = std::strlen(text);
  while (len > 0 && StrX_isSpace(uc(text[len - 1]))) --len;
  std::size_t lead = 0;
  while (lead < len && StrX_isSpace(uc(text[lead]))) ++lead;
  std::memmove(text, text + lead, len - lead);
  text[len - lead] = '\0';
  return text;
}

char* StrX_cutRet(char* text) {
  char* w = text;
  for (const char* r = text; *r != '\0'; ++r)
    if (*r != '\r' && *r != '\n' && *r != '\t') *w++ = *r;
  *w = '\0';
  return text;
}

char* StrX_cutTag(char* text) {
  char* w = text;
  const char* r = text;
  while (*r != '\0') {
    if (*r != '<') {
      for (std::size_t n = charLen(r); n > 0; --n) *w++ = *r++;
      continue;
    }
    ++r;
    if (*r != '\0') r += charLen(r);  // never the closing ">"
    while (*r != '\0' && *r != '>') r += charLen(r);
    if (*r == '>') ++r;
  }
  *w = '\0';
  return text;
}

char* StrX_rep(char* text, std::size_t size, const char* from, const char* to) {
  if (size == 0 || *from == '\0') return text;
  const std::size_t limit = size - 1;
  std::size_t len = std::strlen(text);
  if (len > limit) {
    len = limit;
    text[len] = '\0';
  }
  const std::size_t nFrom = std::strlen(from);
  const std::size_t nTo = std::strlen(to);
  char* p = text;
  while (char* q = std::strstr(p, from)) {
    const std::size_t at = static_cast<std::size_t>(q - text);
    const std::size_t tail = len - at - nFrom;
    const std::size_t wrote = nTo < limit - at ? nTo : limit - at;
    const std::size_t room = limit - at - wrote;
    const std::size_t keep = tail < room ? tail : room;
    std::memmove(q + wrote, q + nFrom, keep);
    std::memcpy(q, to, wrote);
    len = at + wrote + keep;
    text[len] = '\0';
    p = q + wrote;
  }
  return text;
}

char* StrX_toLower(char* dst, const char* text, std::size_t size) {
  if (size == 0) return dst;
  std::size_t n = 0;
  while (*text != '\0') {
    const std::size_t k = charLen(text);
    if (n + k > size - 1) break;
    if (k == 1) {
      dst[n++] = static_cast<char>(ByteClass_lower(uc(*text++)));
    } else {
      dst[n++] = *text++;
      dst[n++] = *text++;
    }
  }
  dst[n] = '\0';
  return dst;
}

// --- Searching ---

char* StrX_chrLast(const char* text, char c) {
  const char* found = nullptr;
  for (const char* p = text; *p != '\0'; p += charLen(p))
    if (*p == c) found = p;
  return const_cast<char*>(found);
}

// --- Hashing ---

uint32_t StrX_getHash(const char* text, uint32_t width) {
  uint32_t sum = 0;
  for (uint32_t i = 0; text[i] != '\0'; ++i) sum += uint32_t{uc(text[i])} * (i + 1);
  return width == 0 ? 0 : sum % width;
}

uint32_t StrX_getHashI(const char* text, uint32_t width) {
  uint32_t sum = 0;
  for (uint32_t i = 0; text[i] != '\0'; ++i) {
    const auto v = static_cast<signed char>(ByteClass_lower(uc(text[i])));
    sum += static_cast<uint32_t>(static_cast<int32_t>(v)) * (i + 1);  // wraps like the sum
  }
  return width == 0 ? 0 : sum % width;
}

// --- Character classes ---

bool StrX_isSpace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool StrX_isAlpha(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool StrX_isDigit(int c) { return c >= '0' && c <= '9'; }
bool StrX_isWhite(int c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

bool StrX_isBlank(const char* text) {
  for (; *text != '\0'; ++text)
    if (!StrX_isSpace(uc(*text))) return false;
  return true;
}

// --- Comparing and scanning ---

const char* StrX_getWord(const char* text, char* dst, std::size_t size) {
  const char* start = nullptr;
  const char* end = findWord(text, &start);
  Out out(dst, size);
  if (end != nullptr) {
    const std::size_t n = static_cast<std::size_t>(end - start);
    if (TextCode_isLead(uc(*start))) {
      out.put(start, n);
    } else {
      const std::size_t room = size == 0 ? 0 : size - 1;
      out.put(start, n < room ? n : room);
    }
  }
  out.finish(size);
  return end;
}

const char* StrX_cpyWords(const char* text, int* count, char* dst, std::size_t size) {
  Out out(dst, size);
  const char* p = text;
  const char* end = nullptr;
  int n = 0;
  bool blank = false;
  while (n < *count) {
    // Whatever this round adds is taken back unless a whole word follows.
    const std::size_t mark = out.len();
    if (blank) out.put(' ');
    for (; StrX_isDigit(uc(*p)); ++p) out.put(*p);
    const char* start = nullptr;
    const char* wordEnd = findWord(p, &start);
    if (wordEnd == nullptr ||
        !out.put(start, static_cast<std::size_t>(wordEnd - start)) || out.full()) {
      out.cutTo(mark);
      break;
    }
    ++n;
    p = end = wordEnd;
    const unsigned char c = uc(*p);
    blank = c == ' ';
    if (blank) {
      while (*p == ' ') ++p;
    } else if (!isWordByte(c) && !TextCode_isLead(c)) {
      break;
    }
  }
  out.finish(size);
  *count = n;
  return end;
}

// --- Comma-separated fields ---

// --- Time ---

bool StrX_makeTime(const int fields[6], std::time_t* time) {
  std::tm t{};
  t.tm_year = fields[0] - 1900;
  t.tm_mon = fields[1] - 1;
  t.tm_mday = fields[2];
  t.tm_hour = fields[3];
  t.tm_min = fields[4];
  t.tm_sec = fields[5];
  t.tm_isdst = -1;
  const std::time_t r = std::mktime(&t);
  if (r == static_cast<std::time_t>(-1)) return false;
  *time = r;
  return true;
}

// --- StrX_Mem ---

namespace {

void raiseMemEmpty(int line) {
  Errors_raise(kModule, line, StrX_Err_MemEmpty, "%s", StrX_Txt_MemEmpty);
}

// Length of the text at p, never reading past the buffer (a text that runs
// to the end counts up to bufOver).
std::size_t poolLen(const StrX_Mem* mem, const char* p) {
  const void* nul = std::memchr(p, '\0', static_cast<std::size_t>(mem->bufOver - p));
  return nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - p)
             : static_cast<std::size_t>(mem->bufOver - p);
}

}  // namespace

void StrX_Mem_init(StrX_Mem* mem, char* buffer, std::size_t size) {
  mem->buf = mem->last = buffer;
  mem->bufOver = buffer + size;
  if (size == 0) {
    raiseMemEmpty(__LINE__);
    return;
  }
  buffer[0] = '\0';
}

void StrX_Mem_toEmpty(StrX_Mem* mem) {
  mem->last = mem->buf;
  if (mem->buf < mem->bufOver) mem->buf[0] = '\0';
}

char* StrX_Mem_alloc(StrX_Mem* mem) {
  if (mem->last >= mem->bufOver) {
    raiseMemEmpty(__LINE__);
    return nullptr;
  }
  const std::size_t used = poolLen(mem, mem->last) + 1;
  if (used >= static_cast<std::size_t>(mem->bufOver - mem->last)) {
    raiseMemEmpty(__LINE__);
    return nullptr;
  }
  mem->last += used;
  mem->last[0] = '\0';
  return mem->last;
}

void StrX_Mem_free(StrX_Mem* mem) {
  // Back onto the NUL that ends the previous text: the text there reads as
  // empty, so the next text starts at the freed position again.
  if (mem->last > mem->buf) --mem->last;
}

std::size_t StrX_Mem_getLeftSize(const StrX_Mem* mem) {
  if (mem->last >= mem->bufOver) return 0;
  const std::size_t room = static_cast<std::size_t>(mem->bufOver - mem->last);
  const std::size_t len = poolLen(mem, mem->last);
  return len + 1 >= room ? 0 : room - len - 1;
}
