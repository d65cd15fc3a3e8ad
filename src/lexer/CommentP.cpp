// CommentP: a step either reports a delimiter at the cursor or searches the
// window for the next one. A search never looks at a delimiter that the
// window's end could cut: it stops there and wakes the scanner again at that
// byte, and the next fetch slides the window over it.
#include "lexer/CommentP.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "lexer/ByteScan.h"
#include "runtime/ByteClass.h"

namespace {

// The bytes that can begin one of some delimiters, in both ASCII cases: the
// searches test every byte of the text against it first.
class ByteSet {
 public:
  void add(const char* delim) {
    if (*delim == '\0') return;
    unsigned char c = static_cast<unsigned char>(*delim);
    scan_.add(c);
    if (c >= 'a' && c <= 'z') scan_.add(static_cast<unsigned char>(c - ('a' - 'A')));
    if (c >= 'A' && c <= 'Z') scan_.add(ByteClass_lower(c));
  }
  bool has(char c) const { return scan_.has(static_cast<unsigned char>(c)); }
  // The first byte of [p, lim) in the set, or lim.
  const char* findIn(const char* p, const char* lim) const {
    if (p >= lim) return lim;
    return scan_.find(p, lim);
  }

 private:
  ByteScan scan_;
};

}  // namespace

struct CommentP_Table {
  CommentP_Delim delims[CommentP_kTableRecords];
  ByteSet starts;                          // first bytes of the starts
  ByteSet inside[CommentP_kTableRecords];  // of each record's end and escapes
  int32_t maxLen;

  explicit CommentP_Table(std::initializer_list<CommentP_Delim> records) : maxLen(1) {
    int32_t i = 0;
    for (const CommentP_Delim& d : records) {
      if (i == CommentP_kTableRecords) break;
      delims[i] = d;
      starts.add(d.start);
      inside[i].add(d.end);
      inside[i].add(d.escape1);
      inside[i].add(d.escape2);
      if (d.endAtLoneLf) inside[i].add("\n");
      for (const char* f : {d.start, d.end, d.escape1, d.escape2})
        maxLen = std::max(maxLen, static_cast<int32_t>(std::strlen(f)));
      ++i;
    }
  }
};

namespace {

const CommentP_Table kCommentTable{
    {"/*", "*/", "", "", false},
    {"//", "\r\n", "", "", true},
};

const CommentP_Table kLiteralTable{
    {"\"", "\"", "\\\"", "\\\\", false},
    {"'", "'", "\\'", "\\\\", false},
};

// matchAt once the first bytes agree.
int32_t matchRest(const BLex3* lx, const char* p, const char* d) {
  int32_t i = 1;
  for (; d[i] != '\0'; ++i)
    if (ByteClass_lower(static_cast<unsigned char>(p[i])) !=
        ByteClass_lower(static_cast<unsigned char>(d[i])))
      return 0;
  return BLex3_isTrailPtr(lx, p) ? 0 : i;
}

// The length of d when the text at p matches it (ASCII case ignored), else
// 0. An empty delimiter never matches; nothing begins on a trail byte. Most
// calls are refused by the first byte.
inline int32_t matchAt(const BLex3* lx, const char* p, const char* d) {
  if (*d == '\0') return 0;
  if (ByteClass_lower(static_cast<unsigned char>(*p)) != ByteClass_lower(static_cast<unsigned char>(*d)))
    return 0;
  return matchRest(lx, p, d);
}

// The length of the span's end at p (0: none).
int32_t endAt(const BLex3* lx, const CommentP_Delim* d, const char* p) {
  int32_t n = matchAt(lx, p, d->end);
  if (n > 0) return n;
  if (d->endAtLoneLf && *p == '\n' && !(p > lx->buf && p[-1] == '\r')) return 1;
  return 0;
}

const CommentP_Delim* startAt(const CommentP* s, const char* p) {
  if (s->table == nullptr || !s->table->starts.has(*p)) return nullptr;
  for (int32_t i = 0; i < s->count; ++i)
    if (matchAt(s->lexer, p, s->table->delims[i].start) > 0) return &s->table->delims[i];
  return nullptr;
}

int32_t offsetOf(const BLex3* lx, const char* p) {
  return static_cast<int32_t>(lx->base + (p - lx->buf));
}

BLex3_Pos posOf(BLex3* lx, const char* p) {
  BLex3_Pos pos;
  BLex3_getPosOfPtr(lx, p, &pos);
  return pos;
}

// Where a search of the window stops. With the end of the data inside the
// window every byte is searched (the zeros behind the data match nothing);
// otherwise the search stops where a delimiter could run past the window.
const char* searchLimit(const CommentP* s) {
  const BLex3* lx = s->lexer;
  if (lx->dataEnd < lx->bufEnd) return lx->dataEnd;
  return lx->bufEnd - s->maxLen + 1;
}

// The next event when the search reached its limit at p.
BLex3_Pos resumeAt(const CommentP* s, const char* p) {
  BLex3* lx = s->lexer;
  BLex3_Pos pos;
  if (lx->dataEnd < lx->bufEnd)
    BLex3_getEOFPos(lx, &pos);
  else
    pos = posOf(lx, p);
  return pos;
}

// The partner's span covers the cursor. A partner that has reported its end
// is still marked inside until its own step at the byte after the end; from
// that byte on its span is over, even when it has not been stepped there yet
// (the comment scanner steps before the literal scanner, and a comment may
// begin right after a literal).
bool partnerInside(const CommentP* s, int32_t offset) {
  const CommentP* q = s->partner;
  if (q == nullptr || !q->inside) return false;
  return !(q->prevState == CommentP_EndOfComment && offset >= q->next.offset);
}

// Outside a span: the next byte after the cursor where a span starts.
BLex3_Pos searchStart(const CommentP* s, const char* from) {
  const char* lim = searchLimit(s);
  const char* p = from;
  if (s->table == nullptr) return resumeAt(s, p < lim ? lim : p);
  // Most bytes begin no delimiter: the first-byte test alone rejects them.
  const ByteSet& starts = s->table->starts;
  while (p < lim) {
    p = starts.findIn(p, lim);
    if (p >= lim) break;
    if (startAt(s, p) != nullptr) return posOf(s->lexer, p);
    ++p;
  }
  return resumeAt(s, p);
}

// Inside a span: the next end from the cursor, over the escapes. The end at
// the cursor itself was already refused by the caller (escaped, or the
// partner's span covers it).
BLex3_Pos searchEnd(CommentP* s, const char* cursor) {
  BLex3* lx = s->lexer;
  const CommentP_Delim* d = s->span;
  const ByteSet& interesting = s->table->inside[d - s->table->delims];
  const char* lim = searchLimit(s);
  const char* p = cursor;
  while (p < lim) {
    p = interesting.findIn(p, lim);
    if (p >= lim) break;
    if (int32_t n = matchAt(lx, p, d->escape2)) {
      p += n;
      continue;
    }
    if (matchAt(lx, p, d->escape1) > 0) {
      const char* k = d->end[0] ? std::strstr(d->escape1, d->end) : nullptr;
      if (k != nullptr) {
        int32_t off = offsetOf(lx, p);
        if (off != s->ignoreAt) s->ignoreAt = off + static_cast<int32_t>(k - d->escape1);
        ++p;
        continue;
      }
    }
    if (p != cursor && endAt(lx, d, p) > 0 && offsetOf(lx, p) != s->ignoreAt)
      return posOf(lx, p);
    ++p;
  }
  return resumeAt(s, p);
}

void setTable(CommentP* s, const CommentP_Table* table) {
  s->table = table;
  s->count = CommentP_kTableRecords;
  s->ignoreAt = -1;
  s->maxLen = table->maxLen;
}

}  // namespace

void CommentP_init(CommentP* s, const CommentP* partner) {
  s->lexer = nullptr;
  s->next = BLex3_Pos{0, 0};
  s->partner = partner;
  s->state = CommentP_OutOfComment;
  s->prevState = CommentP_EndOfData;
  s->inside = 0;
  s->span = nullptr;
  s->table = nullptr;
  s->count = 0;
  s->maxLen = 1;
  s->ignoreAt = -1;
}

void CommentP_setLexer(CommentP* s, BLex3* lexer) { s->lexer = lexer; }

void CommentP_setCommentTable(CommentP* s) { setTable(s, &kCommentTable); }

void CommentP_setLiteralTable(CommentP* s) { setTable(s, &kLiteralTable); }

void CommentP_step(CommentP* s) {
  BLex3* lx = s->lexer;
  int32_t offset = BLex3_getOffset(lx);
  if (offset < s->next.offset) {
    s->state = CommentP_NotYet;
    return;
  }
  char* p = BLex3_fetch(lx, s->maxLen);
  if (p == nullptr) {
    s->state = CommentP_EndOfData;
    return;
  }
  if (s->prevState == CommentP_EndOfComment) {
    // next stays here: the scanner is stepped again at this byte, where
    // another span may begin.
    s->state = CommentP_AfterComment;
    s->prevState = CommentP_EndOfData;
    s->inside = 0;
    return;
  }
  bool partnerIn = partnerInside(s, offset);
  if (!s->inside) {
    if (!partnerIn) {
      if (const CommentP_Delim* d = startAt(s, p)) {
        s->span = d;
        s->state = CommentP_StartOfComment;
        s->inside = 1;
        s->next = posOf(lx, p + std::strlen(d->start));
        return;
      }
    }
    s->span = nullptr;
    s->state = CommentP_OutOfComment;
    s->next = searchStart(s, p + 1);
    return;
  }
  if (!partnerIn && offset != s->ignoreAt) {
    if (int32_t n = endAt(lx, s->span, p)) {
      s->state = CommentP_EndOfComment;
      s->prevState = CommentP_EndOfComment;
      s->next = posOf(lx, p + n);
      return;
    }
  }
  s->state = CommentP_InComment;
  s->next = searchEnd(s, p);
}

void CommentP_getNextPos(const CommentP* s, BLex3_Pos* pos) { *pos = s->next; }

void CommentP_catchUp(CommentP* s) {
  BLex3* lx = s->lexer;
  BLex3_Pos c;
  BLex3_getPos(lx, &c);
  while (s->next.offset < c.offset) {
    BLex3_setPos(lx, s->next);
    CommentP_step(s);
    if (s->state == CommentP_EndOfData) break;
  }
  if (s->next.offset == c.offset) {
    BLex3_setPos(lx, c);
    CommentP_step(s);
  } else if (s->next.offset > c.offset) {
    // The start or end reported last lies before c and reaches past it.
    if (s->state == CommentP_StartOfComment) s->state = CommentP_OutOfComment;
    if (s->state == CommentP_EndOfComment) s->state = CommentP_InComment;
  }
  BLex3_setPos(lx, c);
}

void CommentP_findEnd(const CommentP* s, BLex3_Pos* pos) {
  BLex3* lx = s->lexer;
  BLex3_Pos saved;
  BLex3_getPos(lx, &saved);
  CommentP copy = *s;
  // prevState tells an end reported and not yet passed, also when a catch-up
  // has since renamed its state.
  while (copy.prevState != CommentP_EndOfComment && copy.state != CommentP_EndOfData) {
    BLex3_setPos(lx, copy.next);
    CommentP_step(&copy);
  }
  if (copy.state == CommentP_EndOfData)
    BLex3_getEOFPos(lx, pos);
  else
    *pos = copy.next;
  BLex3_setPos(lx, saved);
}
