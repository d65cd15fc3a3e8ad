// TextCode: the UTF-8 check follows the table of well-formed byte
// sequences: no overlong forms (C0, C1, E0 80..9F, F0 80..8F), no
// surrogates (ED A0..BF), nothing above U+10FFFF (F4 90.., F5..FF).
#include "runtime/TextCode.h"

#include <cstdio>
#include <cstring>
#include <map>

#include "platform/Os.h"

namespace {

TextCode g_current = TextCode::Cp932;
TextCode g_page = TextCode::Cp932;

inline unsigned char uc(char c) { return static_cast<unsigned char>(c); }

}  // namespace

namespace {

// One byte of the scan.
inline void step(TextCode_Scan* s, unsigned char c) {
  if (s->seen < 3) {
    static const unsigned char kBom[] = {0xEF, 0xBB, 0xBF};
    s->bom = c == kBom[s->seen] && (s->seen == 0 || s->bom);
  }
  if (s->need > 0) {
    if (c < s->lo || c > s->hi) {
      s->bad = true;
      return;
    }
    --s->need;
    s->lo = 0x80;
    s->hi = 0xBF;
    return;
  }
  if (c < 0x80) return;
  s->high = true;
  if (c >= 0xC2 && c <= 0xDF) {
    s->need = 1;
  } else if (c >= 0xE0 && c <= 0xEF) {
    s->need = 2;
    if (c == 0xE0) s->lo = 0xA0;
    if (c == 0xED) s->hi = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    s->need = 3;
    if (c == 0xF0) s->lo = 0x90;
    if (c == 0xF4) s->hi = 0x8F;
  } else {
    s->bad = true;
  }
}

}  // namespace

void TextCode_feed(TextCode_Scan* s, const char* bytes, std::size_t n) {
  constexpr uint64_t kHighBits = 0x8080808080808080u;
  std::size_t i = 0;
  while (i < n && !s->bad) {
    // ASCII bytes between characters need no look each: thirty-two, then
    // eight at a time.
    if (s->need == 0 && s->seen >= 3 && i + 8 <= n) {
      const std::size_t from = i;
      for (; i + 32 <= n; i += 32) {
        uint64_t w[4];
        std::memcpy(w, bytes + i, sizeof w);
        if (((w[0] | w[1] | w[2] | w[3]) & kHighBits) != 0) break;
      }
      uint64_t w;
      for (; i + 8 <= n; i += 8) {
        std::memcpy(&w, bytes + i, sizeof w);
        if ((w & kHighBits) != 0) break;
      }
      s->seen += i - from;
      if (i != from) continue;
    }
    step(s, uc(bytes[i]));
    if (s->bad) break;
    ++i;
    ++s->seen;
  }
}

TextCode TextCode_result(const TextCode_Scan* s) {
  if (s->bom && s->seen >= 3) return TextCode::Utf8;
  return s->high && !s->bad && s->need == 0 ? TextCode::Utf8 : TextCode::Cp932;
}

TextCode TextCode_ofFile(const char* path) {
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return TextCode::Cp932;
  TextCode_Scan scan;
  char buf[65536];
  std::size_t got;
  while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) {
    TextCode_feed(&scan, buf, got);
    if (scan.bad && !scan.bom) break;
  }
  std::fclose(f);
  return TextCode_result(&scan);
}

void TextCode_setCurrent(TextCode code) { g_current = code; }
TextCode TextCode_current() { return g_current; }

std::size_t TextCode_charLen(const char* p) {
  const unsigned char c = uc(p[0]);
  if (g_current == TextCode::Cp932) return (Os_isLeadByte(c) && p[1] != '\0') ? 2 : 1;
  if (c < 0xC0) return 1;
  const std::size_t want = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
  std::size_t n = 1;
  while (n < want && TextCode_isUtf8Trail(uc(p[n]))) ++n;
  return n;
}

std::size_t TextCode_charLenIn(const char* p, std::size_t avail) {
  const unsigned char c = uc(p[0]);
  if (g_current == TextCode::Cp932) return (Os_isLeadByte(c) && avail > 1) ? 2 : 1;
  if (c < 0xC0) return 1;
  const std::size_t want = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
  std::size_t n = 1;
  while (n < want && n < avail && TextCode_isUtf8Trail(uc(p[n]))) ++n;
  return n;
}

bool TextCode_isLead(unsigned char c) {
  return g_current == TextCode::Cp932 ? Os_isLeadByte(c) : c >= 0xC0;
}

TextCode_Scope::TextCode_Scope(TextCode current, TextCode page)
    : current_(g_current), page_(g_page) {
  g_current = current;
  g_page = page;
}

TextCode_Scope::~TextCode_Scope() {
  g_current = current_;
  g_page = page_;
}

TextCode TextCode_page() { return g_page; }

const char* TextCode_text(const char* cp932) {
  if (g_page == TextCode::Cp932) return cp932;
  static std::map<const char*, std::string> converted;
  auto it = converted.find(cp932);
  if (it == converted.end()) {
    std::string utf8;
    Os_cp932ToUtf8(cp932, std::char_traits<char>::length(cp932), &utf8);
    it = converted.emplace(cp932, std::move(utf8)).first;
  }
  return it->second.c_str();
}

std::string TextCode_forPage(const char* text, TextCode from) {
  const std::size_t n = std::char_traits<char>::length(text);
  if (from == g_page || g_page == TextCode::Cp932) return std::string(text, n);
  std::string utf8;
  Os_cp932ToUtf8(text, n, &utf8);
  return utf8;
}
