// BLex3: the sliding window, its kind map and the scans over it.
//
// The kind map is exact for every window byte: kinds come from the file's
// bytes, never from the kind a caller saved with a position. They are found
// as the file's chunks are read, following on from the bytes before; where a
// chunk is read away from the bytes held before, the kind of its first byte
// is found by counting the lead-range bytes just before it in the file: a
// byte outside the lead range cannot start a double-byte character, so the
// byte after it starts a character, and the parity of the run of lead-range
// bytes after that tells whether the first byte is a trail byte.
//
// In a UTF-8 file a byte's kind needs no context: ASCII is single, a
// continuation byte a trail byte, any other byte above 0x7F a lead byte.
#include "lexer/BLex3.h"

#include <algorithm>
#include <cstring>

#include "lexer/ByteScan.h"

#include "platform/Os.h"
#include "platform/OsFile.h"
#include "runtime/ByteClass.h"
#include "runtime/Errors.h"
#include "runtime/FileX.h"
#include "runtime/TextCode.h"

namespace {

constexpr char kModule[] = "Blex3";
constexpr int32_t kMaxFileSize = BLex3_kNoOffset - 1;  // the no-event offset stays free
constexpr int64_t kLookBehind = 64;                    // bytes read by the count's first step
constexpr int64_t kLongLookBehind = 4096;              // and by each further step

// Lead-byte answers for all 256 byte values, asked once: the per-byte test
// sits on the path of every byte read.
struct LeadTable {
  bool lead[256];
  bool asciiLeads = false;  // some byte below 0x80 is a lead byte
  LeadTable() {
    for (int c = 0; c < 256; ++c) {
      lead[c] = Os_isLeadByte(static_cast<unsigned char>(c));
      if (c < 0x80 && lead[c]) asciiLeads = true;
    }
  }
};

const LeadTable& leads() {
  static const LeadTable table;
  return table;
}

const bool* leadTable() { return leads().lead; }

inline unsigned char byteAt(const char* p) { return static_cast<unsigned char>(*p); }

using BLex3_detail::cursorDist;
using BLex3_detail::ptrDiff;
using BLex3_detail::shiftPtr;
using BLex3_detail::windowLen;

void raiseNotSupport(int line) {
  Errors_raise(kModule, line, Errors_NotSupport, "%s",
               Errors_Txt_NotSupport);
}

inline int8_t utf8Kind(unsigned char c) {
  return c < 0x80 ? BLex3_kSingleByte : TextCode_isUtf8Trail(c) ? BLex3_kTrailByte
                                                                 : BLex3_kLeadByte;
}

// The kind of a byte whose predecessor has kind prev (a kind of the data).
inline int8_t kindAfter(const BLex3* lx, int32_t prev, unsigned char c) {
  if (lx->utf8) return utf8Kind(c);
  if (prev == BLex3_kLeadByte) return BLex3_kTrailByte;
  return leadTable()[c] ? BLex3_kLeadByte : BLex3_kSingleByte;
}

void fillUtf8Kinds(int8_t* k, const char* b, int64_t n) {
  for (int64_t i = 0; i < n;) {
    if (byteAt(b + i) < 0x80) {
      const int64_t run = static_cast<int64_t>(ByteScan_asciiRun(b + i, b + n));
      std::memset(k + i, BLex3_kSingleByte, static_cast<std::size_t>(run));
      i += run;
      continue;
    }
    k[i] = utf8Kind(byteAt(b + i));
    ++i;
  }
}

// Kinds of n bytes whose first byte has kind first.
void fillKinds(const BLex3* lx, int8_t* k, const char* b, int64_t n, int32_t first) {
  if (n <= 0) return;
  if (lx->utf8) {
    fillUtf8Kinds(k, b, n);
    return;
  }
  const LeadTable& table = leads();
  const bool* lead = table.lead;
  const bool asciiRuns = !table.asciiLeads;
  int8_t prev = static_cast<int8_t>(first);
  k[0] = prev;
  for (int64_t i = 1; i < n;) {
    // A run of ASCII bytes after a byte that leads nothing is all single.
    if (asciiRuns && prev != BLex3_kLeadByte && byteAt(b + i) < 0x80) {
      const int64_t run = static_cast<int64_t>(ByteScan_asciiRun(b + i, b + n));
      std::memset(k + i, BLex3_kSingleByte, static_cast<std::size_t>(run));
      prev = BLex3_kSingleByte;
      i += run;
      continue;
    }
    // Without branches: text mixes single and double bytes too irregularly
    // for a branch to be predicted.
    int8_t trail = prev == BLex3_kLeadByte;
    prev = static_cast<int8_t>(trail ? BLex3_kTrailByte : lead[byteAt(b + i)]);
    k[i] = prev;
    ++i;
  }
}

// The kind of the byte at off (inside the file), whose value is self, by
// the parity of the run of lead-range bytes before it, read straight from
// the file.
int32_t kindByParity(BLex3* lx, int64_t off, unsigned char self) {
  if (lx->utf8) return utf8Kind(self);
  const bool* lead = leadTable();
  // Mostly the byte just before ends the run; a long run is read back in
  // larger steps.
  char chunk[kLongLookBehind];
  int64_t run = 0;
  for (int64_t hi = off, step = kLookBehind; hi > 0; step = kLongLookBehind) {
    const int64_t lo = std::max<int64_t>(0, hi - step);
    const std::size_t want = static_cast<std::size_t>(hi - lo);
    if (OsFile_readAt(lx->file, lo, chunk, want) != static_cast<int64_t>(want)) {
      run = 0;  // unreadable: taken as the start of a character, as at the file's start
      break;
    }
    int64_t i = static_cast<int64_t>(want) - 1;
    while (i >= 0 && lead[byteAt(chunk + i)]) {
      ++run;
      --i;
    }
    if (i >= 0) break;
    hi = lo;
  }
  if (run & 1) return BLex3_kTrailByte;
  return lead[self] ? BLex3_kLeadByte : BLex3_kSingleByte;
}

// Loads the cache from the half-chunk boundary at or before off, so that a
// read of up to half a chunk at off, and a step back to the boundary, hit it.
// Bytes already held there are kept rather than read again; the kinds of the
// bytes read follow on from the kept ones, or from the file before them.
// False after a failed read (raised).
bool loadChunk(BLex3* lx, int64_t off) {
  constexpr int64_t kHalf = static_cast<int64_t>(BLex3_kReadChunk / 2);
  const int64_t heldEnd = lx->cacheBase + static_cast<int64_t>(lx->cacheLen);
  int64_t start = off - off % kHalf;
  // Reading on just past the held bytes keeps their last half: the writer
  // that follows the cursor a little behind still finds its bytes.
  if (start == heldEnd && start - kHalf > lx->cacheBase) start -= kHalf;
  std::size_t kept = 0;
  if (start > lx->cacheBase && start < heldEnd) {
    kept = static_cast<std::size_t>(heldEnd - start);
    std::memmove(lx->cache, lx->cache + (start - lx->cacheBase), kept);
    std::memmove(lx->cacheKinds, lx->cacheKinds + (start - lx->cacheBase), kept);
  }
  lx->cacheBase = start;
  lx->cacheLen = kept;
  char* fresh = lx->cache + kept;
  const int64_t got = OsFile_readAt(lx->file, start + static_cast<int64_t>(kept), fresh,
                                    sizeof lx->cache - kept);
  if (got < 0) {
    lx->cacheLen = 0;
    if (lx->quiet) {
      lx->failed = true;
      return false;
    }
    Errors_raiseErrno();
  }
  if (got > 0) {
    const int32_t first =
        kept > 0 ? kindAfter(lx, lx->cacheKinds[kept - 1], byteAt(fresh))
                 : kindByParity(lx, start, byteAt(fresh));
    fillKinds(lx, lx->cacheKinds + kept, fresh, got, first);
  }
  lx->cacheLen = kept + static_cast<std::size_t>(got);
  return true;
}

// Reads up to n bytes at file offset off into dst, and their kinds into
// kinds, each when not null; fewer at the end of the file.
std::size_t readAt(BLex3* lx, int64_t off, char* dst, std::size_t n, int8_t* kinds = nullptr) {
  if (lx->file == nullptr || n == 0 || off < 0 || off >= lx->size) return 0;
  std::size_t done = 0;
  while (done < n) {
    const int64_t cacheEnd = lx->cacheBase + static_cast<int64_t>(lx->cacheLen);
    if (off < lx->cacheBase || off >= cacheEnd) {
      if (!loadChunk(lx, off)) return 0;
      if (lx->cacheLen == 0 || off >= lx->cacheBase + static_cast<int64_t>(lx->cacheLen))
        break;  // the file ends before off
      continue;
    }
    const std::size_t k =
        std::min(n - done, static_cast<std::size_t>(cacheEnd - off));
    if (dst != nullptr) std::memcpy(dst + done, lx->cache + (off - lx->cacheBase), k);
    if (kinds != nullptr) std::memcpy(kinds + done, lx->cacheKinds + (off - lx->cacheBase), k);
    done += k;
    off += static_cast<int64_t>(k);
  }
  return done;
}

// The kind of the file byte at off, from the file itself (3 past the data).
int32_t kindFromFile(BLex3* lx, int64_t off) {
  char c;
  if (readAt(lx, off, &c, 1) != 1) return BLex3_kUnknown;
  return lx->cacheKinds[off - lx->cacheBase];
}

// The kind of the byte at file offset off, wherever it lies.
int32_t kindAt(BLex3* lx, int64_t off) {
  if (lx->kinds == nullptr) return BLex3_kUnknown;
  int64_t rel = off - lx->base;
  int64_t win = windowLen(lx);
  if (rel >= 0 && rel < win) return lx->kinds[rel];
  if (rel == win && win > 0 && !lx->utf8) {
    int32_t last = lx->kinds[win - 1];
    if (last == BLex3_kLeadByte) return BLex3_kTrailByte;
    if (last == BLex3_kUnknown) return BLex3_kUnknown;
  }
  return kindFromFile(lx, off);
}

// Zero bytes and unknown kinds from data length dataLen to the window's end.
void clearTail(BLex3* lx, int64_t dataLen) {
  int64_t win = windowLen(lx);
  std::size_t rest = static_cast<std::size_t>(win - dataLen);
  std::memset(lx->buf + dataLen, 0, rest);
  if (lx->kinds) std::memset(lx->kinds + dataLen, BLex3_kUnknown, rest);
  lx->dataEnd = lx->buf + dataLen;
}

// Loads the window so that it starts at the block holding the cursor, which
// lies d bytes from buf.
void reload(BLex3* lx, int64_t d) {
  int64_t win = windowLen(lx);
  if (win <= 0) {
    lx->dataEnd = lx->buf;
    return;
  }
  int64_t bs = lx->blockSize;
  int64_t off = ((d % bs) + bs) % bs;
  int64_t rel = d - off;  // the cursor's block, relative to buf
  int64_t start = lx->base + rel;
  bool dataToEnd = lx->dataEnd == lx->bufEnd;  // the file may go on after the window
  int64_t dataLen = 0;
  if (rel > 0 && rel < win) {
    // Slide forward: keep the cursor's block and what follows it.
    int64_t keep = win - rel;
    dataLen = std::max<int64_t>(0, ptrDiff(lx->dataEnd, lx->buf) - rel);
    std::memmove(lx->buf, lx->buf + rel, static_cast<std::size_t>(keep));
    if (lx->kinds) std::memmove(lx->kinds, lx->kinds + rel, static_cast<std::size_t>(keep));
    if (dataToEnd) {
      std::size_t got = readAt(lx, lx->base + win, lx->buf + keep, static_cast<std::size_t>(rel),
                               lx->kinds ? lx->kinds + keep : nullptr);
      dataLen = keep + static_cast<int64_t>(got);
    }
  } else {
    std::size_t got = readAt(lx, start, lx->buf, static_cast<std::size_t>(win), lx->kinds);
    dataLen = static_cast<int64_t>(got);
  }
  clearTail(lx, dataLen);
  lx->base = static_cast<int32_t>(start);
  lx->cur = lx->buf + off;
}

// A set of bytes given as a NUL-terminated string.
class ByteSet {
 public:
  explicit ByteSet(const char* set) {
    for (; *set; ++set) {
      unsigned char c = byteAt(set);
      bits_[c >> 5] |= 1u << (c & 31);
    }
  }
  bool has(unsigned char c) const { return (bits_[c >> 5] >> (c & 31)) & 1u; }

 private:
  uint32_t bits_[8] = {};
};

inline bool isTrailAt(const BLex3* lx, const char* p) {
  return lx->kinds != nullptr && lx->kinds[p - lx->buf] == BLex3_kTrailByte;
}

// The window loop shared by the scans. find(p, end, resume) searches the
// window from the cursor p to the usable end and gives the hit, or null and
// (optionally) where the next window's search must resume (default: end).
// Without a hit the cursor ends at the end of the data.
template <class Find>
char* scanWindows(BLex3* lx, int32_t readAhead, Find&& find) {
  for (;;) {
    char* p = BLex3_fetch(lx, readAhead);
    if (p == nullptr) return nullptr;
    char* end = BLex3_getEnd(lx);
    char* resume = end;
    char* hit = find(p, end, resume);
    if (hit != nullptr) return hit;
    if (lx->dataEnd < lx->bufEnd) {
      BLex3_setPtr(lx, end);
      return nullptr;
    }
    BLex3_setPtr(lx, resume);
  }
}

}  // namespace

namespace {

// The part of an init before the file: false when bufSize and blockSize
// make no window.
bool setUp(BLex3* lx, char* buf, std::size_t bufSize, uint32_t blockSize) {
  lx->file = nullptr;
  lx->buf = lx->bufEnd = lx->dataEnd = lx->cur = buf;
  lx->blockSize = blockSize;
  lx->blockShift = 0;
  lx->kinds = nullptr;
  lx->base = 0;
  lx->curKind = 0;
  lx->size = 0;
  lx->cacheBase = 0;
  lx->cacheLen = 0;
  lx->utf8 = TextCode_current() == TextCode::Utf8;
  lx->quiet = false;
  lx->failed = false;
  bool powerOfTwo = blockSize != 0 && (blockSize & (blockSize - 1)) == 0;
  if (!powerOfTwo || bufSize < 2 * static_cast<std::size_t>(blockSize) + 1) return false;
  while ((1u << lx->blockShift) < blockSize) ++lx->blockShift;
  lx->bufEnd = buf + ((bufSize - 1) / blockSize) * blockSize;
  std::memset(buf, 0, bufSize);
  return true;
}

// Takes the open file f and reads the first window; false (f closed) when
// its size does not fit a position (ftell fails past 2 GB where long has
// 32 bits).
bool attach(BLex3* lx, std::FILE* f) {
  // The chunks above are the buffer: the stream keeps none of its own.
  std::setvbuf(f, nullptr, _IONBF, 0);
  long size = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
  if (size < 0 || size > kMaxFileSize) {
    std::fclose(f);
    return false;
  }
  lx->file = f;
  lx->size = static_cast<int32_t>(size);
  std::size_t got = readAt(lx, 0, lx->buf, static_cast<std::size_t>(windowLen(lx)));
  lx->dataEnd = lx->buf + got;
  return true;
}

}  // namespace

void BLex3_init(BLex3* lx, const char* path, char* buf, std::size_t bufSize,
                uint32_t blockSize) {
  if (!setUp(lx, buf, bufSize, blockSize)) {
    raiseNotSupport(__LINE__);
    return;
  }
  std::FILE* f = FileX_open(path, "rb");
  if (f == nullptr) return;
  // A file too large is refused before the lexer holds it.
  if (!attach(lx, f)) raiseNotSupport(__LINE__);
}

bool BLex3_initQuiet(BLex3* lx, const char* path, char* buf, std::size_t bufSize,
                     uint32_t blockSize) {
  if (!setUp(lx, buf, bufSize, blockSize)) return false;
  lx->quiet = true;
  std::FILE* f = std::fopen(path, "rb");
  return f != nullptr && attach(lx, f) && !lx->failed;
}

void BLex3_setKindMap(BLex3* lx, int8_t* kinds, std::size_t size) {
  int64_t win = windowLen(lx);
  if (kinds == nullptr || size < static_cast<std::size_t>(win)) {
    raiseNotSupport(__LINE__);
    return;
  }
  int64_t dataLen = ptrDiff(lx->dataEnd, lx->buf);
  lx->kinds = kinds;
  readAt(lx, lx->base, nullptr, static_cast<std::size_t>(dataLen), kinds);
  std::memset(kinds + dataLen, BLex3_kUnknown, static_cast<std::size_t>(win - dataLen));
}

void BLex3_finish(BLex3* lx) {
  if (lx->file != nullptr) std::fclose(lx->file);
  lx->file = nullptr;
}


char* BLex3_detail::fetchSlow(BLex3* lx, int32_t n) {
  if (n < 0 || static_cast<uint32_t>(n) >= lx->blockSize) {
    raiseNotSupport(__LINE__);
    n = 0;
  }
  int64_t d = cursorDist(lx);
  int64_t win = windowLen(lx);
  if (d < 0 || d >= win || d + n > win) reload(lx, d);
  return lx->cur < lx->dataEnd ? lx->cur : nullptr;
}

void BLex3_detail::getPosSlow(BLex3* lx, BLex3_Pos* pos) {
  BLex3_fetch(lx, 0);
  int64_t d = cursorDist(lx);
  int64_t win = windowLen(lx);
  pos->offset = static_cast<int32_t>(lx->base + d);
  pos->kind = (lx->kinds && d >= 0 && d < win) ? lx->kinds[d] : BLex3_kUnknown;
}

const int8_t* BLex3_getKindPtr(const BLex3* lx) {
  if (lx->kinds == nullptr) return nullptr;
  return reinterpret_cast<const int8_t*>(
      shiftPtr(reinterpret_cast<char*>(lx->kinds), cursorDist(lx)));
}

void BLex3_next(BLex3* lx, int32_t n) {
  lx->cur = shiftPtr(lx->cur, n);
  lx->curKind = BLex3_kUnknown;
}

void BLex3_setPtr(BLex3* lx, char* p) {
  lx->cur = p;
  lx->curKind = BLex3_kUnknown;
}




void BLex3_getPosOfPtr(BLex3* lx, const char* p, BLex3_Pos* pos) {
  int64_t off = lx->base + ptrDiff(p, lx->buf);
  pos->offset = static_cast<int32_t>(off);
  pos->kind = kindAt(lx, off);
}

void BLex3_getPosAfter(BLex3* lx, int32_t n, BLex3_Pos* pos) {
  int64_t win = windowLen(lx);
  int64_t d = cursorDist(lx);
  if (d < 0 || d >= win) {
    BLex3_fetch(lx, 0);
    d = cursorDist(lx);
  }
  int64_t t = d + n;
  if (t == win && n >= 0 && static_cast<uint32_t>(n) + 1 < lx->blockSize) {
    BLex3_fetch(lx, n + 1);
    d = cursorDist(lx);
    t = d + n;
  }
  if (t >= 0 && t < win && win > 0) {
    pos->offset = static_cast<int32_t>(lx->base + t);
    pos->kind = lx->kinds ? lx->kinds[t] : BLex3_kUnknown;
    return;
  }
  raiseNotSupport(__LINE__);
  BLex3_Pos saved;
  BLex3_getPos(lx, &saved);
  BLex3_next(lx, n);
  BLex3_getPos(lx, pos);
  BLex3_setPos(lx, saved);
}

void BLex3_getEOFPos(const BLex3* lx, BLex3_Pos* pos) {
  pos->offset = lx->size;
  pos->kind = BLex3_kUnknown;
}


void BLex3_skipSet(BLex3* lx, const char* set) {
  ByteSet s(set);
  char* hit = scanWindows(lx, 0, [&](char* p, char* end, char*&) -> char* {
    while (p < end && s.has(byteAt(p))) ++p;
    return p < end ? p : nullptr;
  });
  if (hit) BLex3_setPtr(lx, hit);
}

void BLex3_skipToSet(BLex3* lx, const char* set, int32_t add) {
  ByteScan s;
  for (; *set; ++set) s.add(byteAt(set));
  char* hit = scanWindows(lx, 2, [&](char* p, char* end, char*&) -> char* {
    for (; p < end; ++p) {
      p = const_cast<char*>(s.find(p, end));
      if (p < end && !isTrailAt(lx, p)) return p;
    }
    return nullptr;
  });
  if (hit) BLex3_setPtr(lx, shiftPtr(hit, add));
}

void BLex3_skipToStr(BLex3* lx, const char* str, int32_t add, bool caseSensitive) {
  std::size_t len = std::strlen(str);
  if (len >= lx->blockSize) {
    raiseNotSupport(__LINE__);
    return;
  }
  const int64_t n = static_cast<int64_t>(len);
  auto same = [caseSensitive](unsigned char a, unsigned char b) {
    return caseSensitive ? a == b : ByteClass_lower(a) == ByteClass_lower(b);
  };
  char* hit = scanWindows(lx, static_cast<int32_t>(len), [&](char* p, char* end,
                                                             char*& resume) -> char* {
    for (; ptrDiff(end, p) >= n; ++p) {
      if (isTrailAt(lx, p)) continue;
      int64_t i = 0;
      while (i < n && same(byteAt(p + i), byteAt(str + i))) ++i;
      if (i == n) return p;
    }
    // A match may begin in the last len - 1 bytes and go on in the next
    // block: the search resumes there, and the fetch keeps that block.
    if (n > 1) resume = p;
    return nullptr;
  });
  if (hit) BLex3_setPtr(lx, shiftPtr(hit, add));
}

void BLex3_skipHtmlTag(BLex3* lx) {
  char* p = BLex3_fetch(lx, 4);
  if (p == nullptr) return;
  if (p[1] == '!' && p[2] == '-' && p[3] == '-') {
    BLex3_next(lx, 4);
    BLex3_skipToStr(lx, "-->", 3, true);
  } else {
    BLex3_skipToSet(lx, ">", 1);
  }
}

void BLex3_readField(BLex3* lx, char* mem, std::size_t capacity, const char* delims,
                     bool quoted) {
  std::size_t len = 0;
  if (capacity > 0) mem[0] = '\0';
  bool room = capacity > 0;
  char* p = BLex3_fetch(lx, 0);
  if (p == nullptr) return;
  bool inQuotes = quoted && *p == '"';
  if (inQuotes) BLex3_next(lx, 1);
  ByteSet s(inQuotes ? "\"" : delims);
  auto append = [&](const char* from, const char* to) {
    if (room && to > from)
      room = BLex3_appendBounded(lx, from, static_cast<std::size_t>(to - from), mem,
                                 capacity, &len);
  };
  char* hit = scanWindows(lx, 2, [&](char* from, char* end, char*& resume) -> char* {
    for (char* q = from; q < end; ++q) {
      if (!s.has(byteAt(q)) || isTrailAt(lx, q)) continue;
      if (inQuotes && q + 1 == end && end == lx->dataEnd && lx->dataEnd == lx->bufEnd) {
        // Whether this quote is doubled shows in the next block.
        append(from, q);
        resume = q;
        return nullptr;
      }
      if (inQuotes && q + 1 < end && q[1] == '"') {
        ++q;
        continue;
      }
      append(from, q);
      return q;
    }
    append(from, end);
    return nullptr;
  });
  if (hit) BLex3_setPtr(lx, inQuotes ? hit + 1 : hit);
}

bool BLex3_appendBounded(const BLex3* lx, const char* p, std::size_t n, char* dst,
                         std::size_t cap, std::size_t* len) {
  if (cap == 0) return n == 0;
  std::size_t room = cap - 1 - std::min(*len, cap - 1);
  std::size_t take = std::min(n, room);
  if (take < n && lx->utf8) {
    // The cut falls inside a character when the byte after it continues
    // one: the character stays out whole, also the part an earlier append
    // stored. Backing up over the continuation bytes stops at the lead
    // byte, which is then the first byte left out.
    while (take > 0 && TextCode_isUtf8Trail(byteAt(p + take))) --take;
    if (take == 0 && TextCode_isUtf8Trail(byteAt(p))) {
      while (*len > 0 && TextCode_isUtf8Trail(byteAt(dst + *len - 1))) --*len;
      if (*len > 0 && byteAt(dst + *len - 1) >= 0xC0) --*len;
    }
  } else if (take < n && BLex3_isTrailPtr(lx, p + take)) {
    // The cut falls inside a character: its lead byte stays out too, also
    // when an earlier append stored it.
    if (take > 0)
      --take;
    else if (*len > 0)
      --*len;
  }
  std::memcpy(dst + *len, p, take);
  *len += take;
  dst[*len] = '\0';
  return take == n;
}
