// BLex3: random access by file offset to a text file of any length through
// a small sliding window, with the code page 932 byte kind of every window
// byte. The window is a whole number of blocks and slides by blocks, keeping
// the cursor's block, so that a read-ahead of a few bytes never splits; the
// bytes behind it are a zero guard. A position is (offset, kind), cheap to
// save and restore even after the window has moved on.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

// The one configuration the passes use: two blocks of 256 bytes, four guard
// bytes, and one kind byte per window byte.
inline constexpr std::size_t BLex3_kBufSize = 516;
inline constexpr uint32_t BLex3_kBlockSize = 256;
inline constexpr std::size_t BLex3_kKindMapSize = 512;
// The lexer reads its file in chunks of this size, at multiples of half of it.
inline constexpr std::size_t BLex3_kReadChunk = 64 * 1024;

// Byte kinds.
inline constexpr int32_t BLex3_kSingleByte = 0;
inline constexpr int32_t BLex3_kLeadByte = 1;   // first byte of a double-byte character
inline constexpr int32_t BLex3_kTrailByte = 2;  // second byte, whatever its value
inline constexpr int32_t BLex3_kUnknown = 3;    // past the data, or moved by a byte count

// The offset of a position that stands for "no event".
inline constexpr int32_t BLex3_kNoOffset = 0x7FFFFFFF;

struct BLex3_Pos {
  int32_t offset;
  int32_t kind;
};

// Positions compare by offset alone.
constexpr bool operator<(BLex3_Pos a, BLex3_Pos b) { return a.offset < b.offset; }
constexpr bool operator>(BLex3_Pos a, BLex3_Pos b) { return a.offset > b.offset; }
constexpr bool operator<=(BLex3_Pos a, BLex3_Pos b) { return a.offset <= b.offset; }
constexpr bool operator>=(BLex3_Pos a, BLex3_Pos b) { return a.offset >= b.offset; }
constexpr bool operator==(BLex3_Pos a, BLex3_Pos b) { return a.offset == b.offset; }
constexpr bool operator!=(BLex3_Pos a, BLex3_Pos b) { return a.offset != b.offset; }

// One open input file. The caller owns the record, the window memory and the
// kind map; the record is not copyable (it owns the file handle).
struct BLex3 {
  std::FILE* file = nullptr;
  char* buf = nullptr;      // window: buf..bufEnd mirrors file bytes base..
  char* bufEnd = nullptr;   // bufEnd..buf + bufSize: zero guard, never filled
  char* dataEnd = nullptr;  // end of the file's data in the window (<= bufEnd)
  uint32_t blockSize = 0;   // a power of two
  int32_t blockShift = 0;
  int8_t* kinds = nullptr;  // kind of every window byte; null: no tracking
  int32_t base = 0;         // file offset of buf[0], a multiple of blockSize
  int32_t curKind = 0;      // kind given by the last seek; 3 after a byte-count move
  char* cur = nullptr;      // cursor; may lie outside the window until a fetch
  int32_t size = 0;         // file size, read once at the start
  bool utf8 = false;        // the file is UTF-8 (the current text code at the start)
  // The file is read unbuffered in aligned chunks kept here: the passes move
  // the window back and forth by a block or two, and each such move would
  // otherwise be a seek and a read of the system.
  int64_t cacheBase = 0;    // file offset of cache[0], a multiple of half its size
  std::size_t cacheLen = 0; // bytes of the file held from cacheBase
  char cache[BLex3_kReadChunk];
  // The kind of every byte held, found once as the bytes are read: a byte's
  // kind depends on the file alone, and the window, moved back and forth,
  // would otherwise find the kinds of the same bytes again and again.
  int8_t cacheKinds[BLex3_kReadChunk];
  // A lexer of a helper thread never raises (see BLex3_initQuiet).
  bool quiet = false;
  bool failed = false;  // a read failed; the data was taken to end there

  BLex3() = default;
  BLex3(const BLex3&) = delete;
  BLex3& operator=(const BLex3&) = delete;
};

// Opens path for binary reading (FileX_open reports a missing file) and
// reads the first window. bufSize must hold at least two blocks and a guard
// byte; blockSize must be a power of two; a file of 2 GB or more cannot be
// addressed by a position and is refused (Errors_NotSupport).
void BLex3_init(BLex3* lexer, const char* path, char* buf, std::size_t bufSize,
                uint32_t blockSize);
// BLex3_init for a lexer that a helper thread reads, which must never
// raise: false when the file cannot be opened, addressed or read. A read
// that fails later sets failed, and the data reads as ending there. (A
// request the lexer cannot serve still raises: such a reader makes none.)
bool BLex3_initQuiet(BLex3* lexer, const char* path, char* buf, std::size_t bufSize,
                     uint32_t blockSize);
// Attaches the kind map (at least one byte per window byte) and builds it.
void BLex3_setKindMap(BLex3* lexer, int8_t* kinds, std::size_t size);
// Closes the file; calling it again does nothing.
void BLex3_finish(BLex3* lexer);

// Makes the window hold the cursor and the n bytes after it (n below one
// block). Returns the cursor, or null when it is at or past the end of data.
// After any fetch the cursor lies inside the window, and bytes past the data
// read as zero up to n bytes ahead.
inline char* BLex3_fetch(BLex3* lexer, int32_t n);
// Where a scan of the current window must stop: min(dataEnd, bufEnd).
inline char* BLex3_getEnd(const BLex3* lexer) {
  return lexer->dataEnd < lexer->bufEnd ? lexer->dataEnd : lexer->bufEnd;
}
// True when the file ends inside the window and p is past its last byte.
inline bool BLex3_isEndPtr(const BLex3* lexer, const char* p) {
  return lexer->dataEnd < lexer->bufEnd && p >= lexer->dataEnd;
}
// Kinds of the cursor byte and the bytes after it (valid after a fetch);
// null without a kind map.
const int8_t* BLex3_getKindPtr(const BLex3* lexer);
// True when p (inside the window) is the second byte of a double-byte
// character: such a byte never counts as a delimiter or an escape, whatever
// its value (a 0x5C trail byte is not a backslash).
inline bool BLex3_isTrailPtr(const BLex3* lexer, const char* p) {
  return lexer->kinds != nullptr && p >= lexer->buf && p < lexer->bufEnd &&
         lexer->kinds[p - lexer->buf] == BLex3_kTrailByte;
}

void BLex3_next(BLex3* lexer, int32_t n);  // cursor += n; kind unknown
void BLex3_setPtr(BLex3* lexer, char* p);  // kind unknown
inline int32_t BLex3_getOffset(const BLex3* lexer);
// The cursor position; fetches first when the cursor is outside the window.
inline void BLex3_getPos(BLex3* lexer, BLex3_Pos* pos);
// buf + (offset - base); may lie outside the window.
inline char* BLex3_getPtrOfOffset(const BLex3* lexer, int32_t offset);
// Position of any pointer: kinds outside the window are found from the file.
void BLex3_getPosOfPtr(BLex3* lexer, const char* p, BLex3_Pos* pos);
// Position of the byte n after the cursor, cursor unchanged. Raises
// Errors_NotSupport when that byte is past the window's end.
void BLex3_getPosAfter(BLex3* lexer, int32_t n, BLex3_Pos* pos);
// (file size, 3).
void BLex3_getEOFPos(const BLex3* lexer, BLex3_Pos* pos);
// Moves the cursor; nothing is read until the next fetch.
inline void BLex3_setPos(BLex3* lexer, BLex3_Pos pos);

// The scans cross windows. When nothing is found they leave the cursor at the
// end of the data (offset = file size); a cursor already there stays.
//
// To the first byte at or after the cursor that is not in set.
void BLex3_skipSet(BLex3* lexer, const char* set);
// To the first byte at or after the cursor that is in set and is not a trail
// byte, plus add bytes.
void BLex3_skipToSet(BLex3* lexer, const char* set, int32_t add);
// To the first occurrence of str (shorter than a block) that does not begin
// on a trail byte, plus add bytes; ASCII case is ignored unless
// caseSensitive. An occurrence split by the window's end is found.
void BLex3_skipToStr(BLex3* lexer, const char* str, int32_t add, bool caseSensitive);
// The cursor stands on "<": to just after the next "-->" when "!--" follows
// (searched from after "<!--"), else to just after the next ">".
void BLex3_skipHtmlTag(BLex3* lexer);
// Reads one field up to the first byte of delims (trail bytes never count)
// into mem, cut silently to capacity - 1 bytes and always NUL-terminated
// (nothing is written when capacity is 0). With quoted set and the cursor on
// a double quote, the field runs to the closing quote, a doubled quote
// belonging to the field (both bytes kept), and the cursor ends just past the
// closing quote; otherwise the cursor ends on the delimiter. At the end of
// the data the cursor stays there.
void BLex3_readField(BLex3* lexer, char* mem, std::size_t capacity, const char* delims,
                     bool quoted);

// Appends the n window bytes at p to the NUL-terminated text dst (capacity
// cap, current length *len), keeping at most cap - 1 bytes; a cut never
// separates a lead byte from its trail byte. False when not all bytes fitted:
// the text is then full and the caller appends nothing more.
bool BLex3_appendBounded(const BLex3* lexer, const char* p, std::size_t n, char* dst,
                         std::size_t cap, std::size_t* len);

// The cursor moves of the passes' every step, inline; what loads the window
// lies in BLex3.cpp.
namespace BLex3_detail {
// The cursor and pointers handed out may lie outside the window; arithmetic
// on them goes through integers so that it stays defined.
inline char* shiftPtr(char* p, int64_t d) {
  return reinterpret_cast<char*>(reinterpret_cast<uintptr_t>(p) + static_cast<uintptr_t>(d));
}
inline int64_t ptrDiff(const char* a, const char* b) {
  return static_cast<int64_t>(reinterpret_cast<uintptr_t>(a) - reinterpret_cast<uintptr_t>(b));
}
inline int64_t cursorDist(const BLex3* lx) { return ptrDiff(lx->cur, lx->buf); }
inline int64_t windowLen(const BLex3* lx) { return lx->bufEnd - lx->buf; }
// BLex3_fetch when the window must be loaded or n is out of range.
char* fetchSlow(BLex3* lexer, int32_t n);
// BLex3_getPos when the cursor lies outside the window.
void getPosSlow(BLex3* lexer, BLex3_Pos* pos);
}  // namespace BLex3_detail

inline char* BLex3_fetch(BLex3* lx, int32_t n) {
  const int64_t d = BLex3_detail::cursorDist(lx);
  const int64_t win = BLex3_detail::windowLen(lx);
  if (n < 0 || static_cast<uint32_t>(n) >= lx->blockSize || d < 0 || d >= win || d + n > win)
    return BLex3_detail::fetchSlow(lx, n);
  return lx->cur < lx->dataEnd ? lx->cur : nullptr;
}

inline int32_t BLex3_getOffset(const BLex3* lx) {
  return static_cast<int32_t>(lx->base + BLex3_detail::cursorDist(lx));
}

inline void BLex3_getPos(BLex3* lx, BLex3_Pos* pos) {
  const int64_t d = BLex3_detail::cursorDist(lx);
  if (d < 0 || d >= BLex3_detail::windowLen(lx)) {
    BLex3_detail::getPosSlow(lx, pos);
    return;
  }
  pos->offset = static_cast<int32_t>(lx->base + d);
  pos->kind = lx->kinds ? lx->kinds[d] : BLex3_kUnknown;
}

inline char* BLex3_getPtrOfOffset(const BLex3* lx, int32_t offset) {
  return BLex3_detail::shiftPtr(lx->buf, static_cast<int64_t>(offset) - lx->base);
}

inline void BLex3_setPos(BLex3* lx, BLex3_Pos pos) {
  lx->cur = BLex3_getPtrOfOffset(lx, pos.offset);
  lx->curKind = pos.kind;
}
