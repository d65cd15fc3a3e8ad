// ByteScan: the first byte of a range that belongs to a small set of bytes,
// sixteen bytes at a time where the processor compares them at once. The
// scanners' searches spend most of their time here: text between two
// delimiters is long and holds none of them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define SCRIVO_BYTESCAN_SSE2 1
#endif

class ByteScan {
 public:
  // Sets of more than this many bytes are searched one byte at a time.
  static constexpr int kWide = 8;
  static constexpr int kBlock = 16;

  void add(unsigned char c) {
    if (table_[c]) return;
    table_[c] = 1;
    if (members_ < kWide) {
#ifdef SCRIVO_BYTESCAN_SSE2
      want_[members_] = _mm_set1_epi8(static_cast<char>(c));
#endif
    }
    ++members_;
  }
  bool has(unsigned char c) const { return table_[c] != 0; }

  // Bit i tells whether p[i] is in the set, for the kBlock bytes at p.
  unsigned maskOf(const char* p) const {
#ifdef SCRIVO_BYTESCAN_SSE2
    if (members_ > 0 && members_ <= kWide) {
      const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      __m128i hit = _mm_cmpeq_epi8(x, want_[0]);
      for (int k = 1; k < members_; ++k) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(x, want_[k]));
      return static_cast<unsigned>(_mm_movemask_epi8(hit));
    }
#endif
    unsigned bits = 0;
    for (int i = 0; i < kBlock; ++i)
      bits |= static_cast<unsigned>(table_[static_cast<unsigned char>(p[i])]) << i;
    return bits;
  }

  // The first byte of [p, lim) in the set, or lim.
  const char* find(const char* p, const char* lim) const {
    while (lim - p >= kBlock) {
      const unsigned bits = maskOf(p);
      if (bits != 0) return p + __builtin_ctz(bits);
      p += kBlock;
    }
    while (p < lim && !table_[static_cast<unsigned char>(*p)]) ++p;
    return p < lim ? p : lim;
  }

  // Calls f(i) for every i in [0, n) where p[i] is in the set, in order,
  // while f gives true; false when f stopped the walk.
  template <class F>
  bool forEach(const char* p, std::size_t n, F&& f) const {
    std::size_t i = 0;
    for (; i + kBlock <= n; i += kBlock) {
      for (unsigned bits = maskOf(p + i); bits != 0; bits &= bits - 1)
        if (!f(i + static_cast<std::size_t>(__builtin_ctz(bits)))) return false;
    }
    for (; i < n; ++i)
      if (table_[static_cast<unsigned char>(p[i])] && !f(i)) return false;
    return true;
  }

 private:
#ifdef SCRIVO_BYTESCAN_SSE2
  __m128i want_[kWide];
#endif
  unsigned char table_[256] = {};
  int members_ = 0;
};

// The line feeds in [p, lim); *afterLast (when not null) is set just after
// the last of them, and left alone when there is none.
inline std::size_t ByteScan_countLineFeeds(const char* p, const char* lim,
                                           const char** afterLast = nullptr) {
  std::size_t n = 0;
  for (;;) {
    const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(lim - p));
    if (nl == nullptr) return n;
    ++n;
    p = static_cast<const char*>(nl) + 1;
    if (afterLast != nullptr) *afterLast = p;
  }
}

// The length of the run of bytes below 0x80 at the start of [p, lim).
inline std::size_t ByteScan_asciiRun(const char* p, const char* lim) {
  const char* q = p;
#ifdef SCRIVO_BYTESCAN_SSE2
  while (lim - q >= 16) {
    const unsigned bits = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(q))));
    if (bits != 0) return static_cast<std::size_t>(q - p) + __builtin_ctz(bits);
    q += 16;
  }
#endif
  while (q < lim && static_cast<unsigned char>(*q) < 0x80) ++q;
  return static_cast<std::size_t>(q - p);
}

#ifdef SCRIVO_BYTESCAN_SSE2
// 0xFF in each byte of x that is an ASCII letter, 0 in the others.
inline __m128i ByteScan_letters(__m128i x) {
  const __m128i lower = _mm_or_si128(x, _mm_set1_epi8(0x20));
  return _mm_cmpeq_epi8(
      _mm_subs_epu8(_mm_sub_epi8(lower, _mm_set1_epi8('a')), _mm_set1_epi8(25)),
      _mm_setzero_si128());
}
#endif

inline bool ByteScan_isLetter(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }

// Bit i tells whether p[i] is a byte that an HTML listing writes as
// something else ("&", "<", ">" or the line feed), for the ByteScan::kBlock
// bytes at p.
inline unsigned ByteScan_htmlSpecialMask(const char* p) {
#ifdef SCRIVO_BYTESCAN_SSE2
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i hit = _mm_or_si128(
      _mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8('&')), _mm_cmpeq_epi8(x, _mm_set1_epi8('<'))),
      _mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8('>')), _mm_cmpeq_epi8(x, _mm_set1_epi8('\n'))));
  return static_cast<unsigned>(_mm_movemask_epi8(hit));
#else
  unsigned bits = 0;
  for (int i = 0; i < ByteScan::kBlock; ++i) {
    const char c = p[i];
    bits |= static_cast<unsigned>(c == '&' || c == '<' || c == '>' || c == '\n') << i;
  }
  return bits;
#endif
}

// Bit i tells whether p[i] may start a word of the keyword search: an ASCII
// letter, "_" or a byte above 0x7F (which may lead a character), for the
// ByteScan::kBlock bytes at p.
inline unsigned ByteScan_wordStartMask(const char* p) {
#ifdef SCRIVO_BYTESCAN_SSE2
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i under = _mm_cmpeq_epi8(x, _mm_set1_epi8('_'));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(ByteScan_letters(x), under))) |
         static_cast<unsigned>(_mm_movemask_epi8(x));
#else
  unsigned bits = 0;
  for (int i = 0; i < ByteScan::kBlock; ++i) {
    const unsigned char c = static_cast<unsigned char>(p[i]);
    bits |= static_cast<unsigned>(ByteScan_isLetter(c) || c == '_' || c >= 0x80) << i;
  }
  return bits;
#endif
}

// Bit i tells whether p[i] is no word byte (an ASCII letter, digit or "_"),
// for the ByteScan::kBlock bytes at p.
inline unsigned ByteScan_nonWordMask(const char* p) {
#ifdef SCRIVO_BYTESCAN_SSE2
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i digit = _mm_cmpeq_epi8(
      _mm_subs_epu8(_mm_sub_epi8(x, _mm_set1_epi8('0')), _mm_set1_epi8(9)), _mm_setzero_si128());
  const __m128i under = _mm_cmpeq_epi8(x, _mm_set1_epi8('_'));
  const __m128i word = _mm_or_si128(_mm_or_si128(ByteScan_letters(x), digit), under);
  return ~static_cast<unsigned>(_mm_movemask_epi8(word)) & 0xFFFFu;
#else
  unsigned bits = 0;
  for (int i = 0; i < ByteScan::kBlock; ++i) {
    const unsigned char c = static_cast<unsigned char>(p[i]);
    bits |= static_cast<unsigned>(!(ByteScan_isLetter(c) || (c >= '0' && c <= '9') || c == '_')) << i;
  }
  return bits;
#endif
}
