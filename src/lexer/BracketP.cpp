// BracketP: counting walks the lexer's window from the last position to the
// cursor; only single-byte characters count, so a "}" that is the second
// byte of a double-byte character never does.
//
// The repairs of a mismatch (the innermost bracket of the other kind counts
// as closed, a depth below 0 goes back to 0) happen whether or not the
// tracker records errors: the analysis pass (with an error list), the
// writing pass (without) and the recognizer's copies must see the same brace
// depths, or the two passes would number the declarations differently.
#include "lexer/BracketP.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <cstdio>
#include <initializer_list>
#include <iterator>
#include <string_view>

#include "lexer/BLex3Write.h"
#include "lexer/ByteScan.h"
#include "runtime/ErrorCodes.h"

namespace {

int32_t* depthOf(BracketP* t, char closer) {
  switch (closer) {
    case ')': return &t->parenDepth;
    case ']': return &t->squareDepth;
    case '}': return &t->braceDepth;
    default: return nullptr;
  }
}

char openerOf(char closer) {
  switch (closer) {
    case ')': return '(';
    case ']': return '[';
    case '}': return '{';
    default: return closer;
  }
}

int32_t totalDepth(const BracketP* t) { return t->parenDepth + t->braceDepth + t->squareDepth; }

void record(BracketP* t, int32_t openLine, char expected, char found) {
  BracketP_Errors* e = t->errors;
  if (e == nullptr || e->count < 0 || e->count >= BracketP_kMaxErrors) return;
  e->openLine[e->count] = openLine;
  e->closeLine[e->count] = t->line;
  e->expected[e->count] = expected;
  e->found[e->count] = found;
  ++e->count;
}

void open(BracketP* t, int32_t* depth, char closer) {
  ++*depth;
  int32_t i = totalDepth(t) - 1;
  if (i >= 0 && i < BracketP_kMaxLevels) {
    t->openLines[i] = t->line;
    t->closers[i] = closer;
  }
}

void close(BracketP* t, int32_t* depth, char c) {
  --*depth;
  int32_t i = totalDepth(t);
  if (i >= 0 && i < BracketP_kMaxLevels && t->closers[i] != c) {
    // The innermost open bracket is of another kind: it counts as closed.
    record(t, t->openLines[i], t->closers[i], c);
    int32_t* other = depthOf(t, t->closers[i]);
    if (other != nullptr && *other > 0) --*other;
  }
  if (*depth < 0) {
    record(t, 0, BracketP_kNoBracket, c);
    *depth = 0;
  }
}

bool isCloser(char c) { return c == ')' || c == ']' || c == '}'; }

void save(const BracketP* t, BracketP_State* s) {
  s->parenDepth = t->parenDepth;
  s->braceDepth = t->braceDepth;
  s->squareDepth = t->squareDepth;
  std::copy(std::begin(t->openLines), std::end(t->openLines), std::begin(s->openLines));
  std::copy(std::begin(t->closers), std::end(t->closers), std::begin(s->closers));
}

void restore(BracketP* t, const BracketP_State& s) {
  t->parenDepth = s.parenDepth;
  t->braceDepth = s.braceDepth;
  t->squareDepth = s.squareDepth;
  std::copy(std::begin(s.openLines), std::end(s.openLines), std::begin(t->openLines));
  std::copy(std::begin(s.closers), std::end(s.closers), std::begin(t->closers));
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }

// True when only blanks stand between the start of the line and offset o.
// Blanks and line feeds are never part of a double-byte character.
bool atLineStart(BLex3* lx, int32_t o) {
  int32_t off = o;
  while (off > 0) {
    BLex3_setPos(lx, BLex3_Pos{off - 1, BLex3_kUnknown});
    char* p = BLex3_fetch(lx, 0);
    if (p == nullptr) return false;
    for (;;) {
      if (*p == '\n') return true;
      if (!isBlank(*p)) return false;
      if (p == lx->buf) break;
      --p;
    }
    off = lx->base;  // the window's first byte is blank: look in the one before
  }
  return true;
}

enum class Directive { Other, If, Else, EndIf };

// The conditional directive whose "#" is at offset o.
Directive directiveAt(BLex3* lx, int32_t o) {
  BLex3_setPos(lx, BLex3_Pos{o + 1, BLex3_kUnknown});
  BLex3_skipSet(lx, " \t");
  const char* p = BLex3_fetch(lx, 8);
  if (p == nullptr) return Directive::Other;
  std::size_t n = 0;
  while (n < 8 && p[n] >= 'a' && p[n] <= 'z') ++n;
  char c = p[n];
  if (n == 8 || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')
    return Directive::Other;
  const std::string_view word(p, n);
  if (word == "if" || word == "ifdef" || word == "ifndef") return Directive::If;
  if (word == "elif" || word == "else" || word == "elifdef" || word == "elifndef")
    return Directive::Else;
  if (word == "endif") return Directive::EndIf;
  return Directive::Other;
}

// The "#" at offset o, when it begins a directive line.
void directive(BracketP* t, int32_t o) {
  if (!atLineStart(t->lexer, o)) return;
  switch (directiveAt(t->lexer, o)) {
    case Directive::If:
      if (t->condLevel < BracketP_kMaxCondLevels) {
        BracketP_Cond& g = t->conds[t->condLevel];
        save(t, &g.atStart);
        g.hasElse = 0;
      }
      ++t->condLevel;
      break;
    case Directive::Else:
      if (t->condLevel > 0 && t->condLevel <= BracketP_kMaxCondLevels) {
        BracketP_Cond& g = t->conds[t->condLevel - 1];
        if (!g.hasElse) {
          save(t, &g.firstEnd);
          g.hasElse = 1;
        }
        restore(t, g.atStart);
      }
      break;
    case Directive::EndIf:
      if (t->condLevel > 0) {
        --t->condLevel;
        if (t->condLevel < BracketP_kMaxCondLevels && t->conds[t->condLevel].hasElse)
          restore(t, t->conds[t->condLevel].firstEnd);
      }
      break;
    case Directive::Other:
      break;
  }
}

// The bytes that count does anything with: the walk skips the others
// without a call.
struct CountedBytes {
  ByteScan counted;
  CountedBytes() {
    for (unsigned char c : {'\n', '(', ')', '[', ']', '{', '}', '#'}) counted.add(c);
  }
};
const CountedBytes kCounted;

// Counts one single-byte character.
void count(BracketP* t, char c) {
  switch (c) {
    case '(': open(t, &t->parenDepth, ')'); break;
    case '[': open(t, &t->squareDepth, ']'); break;
    case '{': open(t, &t->braceDepth, '}'); break;
    case ')':
    case ']':
    case '}': close(t, depthOf(t, c), c); break;
    default: break;
  }
}

bool inSpan(const BracketP* t) {
  return (t->comments != nullptr && t->comments->inside) ||
         (t->literals != nullptr && t->literals->inside);
}

// Counts the bytes from `from` to `to` (both included): the byte at `from`
// only when it is a line feed, an opening bracket or a "#" (its closing part
// was counted when it was reached) if fromPassed, the byte at `to` only when
// it is a closing bracket.
void countRange(BracketP* t, int32_t from, bool fromPassed, int32_t to) {
  BLex3* lx = t->lexer;
  BLex3_setPos(lx, BLex3_Pos{from, BLex3_kUnknown});
  int32_t off = from;
  while (off <= to) {
    char* p = BLex3_fetch(lx, 0);
    if (p == nullptr) return;
    const int8_t* kinds = BLex3_getKindPtr(lx);
    int32_t n = static_cast<int32_t>(std::min<int64_t>(BLex3_getEnd(lx) - p, to - off + 1));
    int32_t hash = -1;
    kCounted.counted.forEach(p, static_cast<std::size_t>(n), [&](std::size_t at) {
      const int32_t i = static_cast<int32_t>(at);
      char c = p[i];
      const int32_t o = off + i;
      // A line feed ends its line even after a stray lead byte: no code
      // makes it the second byte of a character.
      if (c == '\n') {
        if (o != to) ++t->line;
        return true;
      }
      if (kinds != nullptr && kinds[i] != BLex3_kSingleByte) return true;
      if (o == to) {
        if (isCloser(c)) count(t, c);
      } else if (c == '#') {
        hash = o;  // read from the file, so the walk goes on after it
        return false;
      } else if (o == from && fromPassed) {
        if (!isCloser(c)) count(t, c);
      } else {
        count(t, c);
      }
      return true;
    });
    if (hash >= 0) {
      directive(t, hash);
      off = hash + 1;
      BLex3_setPos(lx, BLex3_Pos{off, BLex3_kUnknown});
      continue;
    }
    off += n;
    BLex3_setPtr(lx, p + n);
  }
}

}  // namespace

void BracketP_init(BracketP* t, BracketP_Errors* errors, const CommentP* comments,
                   const CommentP* literals) {
  t->lexer = nullptr;
  t->followsLines = true;
  t->comments = comments;
  t->literals = literals;
  t->lastOffset = -1;
  t->lastKind = BLex3_kSingleByte;
  t->counting = 1;
  t->parenDepth = t->braceDepth = t->squareDepth = 0;
  t->line = 1;
  std::fill(std::begin(t->openLines), std::end(t->openLines), 0);
  std::fill(std::begin(t->closers), std::end(t->closers), '\0');
  t->errors = errors;
  t->condLevel = 0;
}

void BracketP_setLexer(BracketP* t, BLex3* lexer) { t->lexer = lexer; }

void BracketP_step(BracketP* t) {
  BLex3* lx = t->lexer;
  BLex3_Pos p;
  BLex3_getPos(lx, &p);
  if (p.offset <= t->lastOffset) return;
  if (!t->counting) {
    if (inSpan(t)) {
      // Inside a comment or literal only the line goes on.
      if (t->followsLines) {
        const BLex3_Pos from{t->lastOffset < 0 ? 0 : t->lastOffset, BLex3_kUnknown};
        t->line += static_cast<int32_t>(BLex3_countLines(lx, from, p));
        BLex3_setPos(lx, p);
      }
      t->lastOffset = p.offset;
      t->lastKind = p.kind;
      return;
    }
    t->counting = 1;
  }
  if (t->lastOffset < 0)
    countRange(t, 0, false, p.offset);
  else
    countRange(t, t->lastOffset, true, p.offset);
  if (inSpan(t)) t->counting = 0;
  t->lastOffset = p.offset;
  t->lastKind = p.kind;
  BLex3_setPos(lx, p);
}

void BracketP_getNextPos(const BracketP*, BLex3_Pos* pos) {
  *pos = BLex3_Pos{BLex3_kNoOffset, BLex3_kUnknown};
}

void BracketP_finish(BracketP* t) {
  // The pass stops at the end of the data without stepping there: the bytes
  // after its last event are counted now.
  if (t->lexer != nullptr) {
    BLex3_Pos eof;
    BLex3_getEOFPos(t->lexer, &eof);
    BLex3_setPos(t->lexer, eof);
    BracketP_step(t);
  }
  if (t->errors == nullptr) return;
  for (char closer : {')', '}', ']'}) {
    if (*depthOf(t, closer) <= 0 || t->errors->count >= BracketP_kMaxErrors) continue;
    int32_t openLine = 0;
    for (int32_t i = std::min(totalDepth(t), BracketP_kMaxLevels) - 1; i >= 0; --i) {
      if (t->closers[i] == closer) {
        openLine = t->openLines[i];
        break;
      }
    }
    record(t, openLine, closer, BracketP_kNoBracket);
  }
}

void BracketP_copy(BracketP* dst, const BracketP* src) {
  // The groups not open are left out: the recognizer copies the tracker at
  // every typedef and aggregate.
  const std::size_t used = offsetof(BracketP, conds) +
                           sizeof(BracketP_Cond) *
                               static_cast<std::size_t>(
                                   std::clamp(src->condLevel, 0, BracketP_kMaxCondLevels));
  std::memcpy(static_cast<void*>(dst), src, used);
  dst->followsLines = false;
  dst->errors = nullptr;
}

void BracketP_Errors_clear(BracketP_Errors* e) { e->count = 0; }

int32_t BracketP_Errors_format(const BracketP_Errors* e, char* buffer, std::size_t capacity) {
  if (capacity > 0) buffer[0] = '\0';
  int32_t n = std::clamp(e->count, 0, BracketP_kMaxErrors);
  std::size_t len = 0;
  std::size_t room = capacity;
  for (int32_t i = 0; i < n; ++i) {
    bool mismatch = e->expected[i] != BracketP_kNoBracket && e->found[i] != BracketP_kNoBracket;
    if (room <= (mismatch ? BracketP_kRoomForMismatch : BracketP_kRoomForMessage)) continue;
    int w;
    if (e->expected[i] == BracketP_kNoBracket)
      w = std::snprintf(buffer + len, room, BracketP_Txt_TooMany, e->found[i], e->closeLine[i]);
    else if (e->found[i] == BracketP_kNoBracket)
      w = std::snprintf(buffer + len, room, BracketP_Txt_TooMany, openerOf(e->expected[i]),
                        e->openLine[i]);
    else
      w = std::snprintf(buffer + len, room, BracketP_Txt_Mismatch, openerOf(e->expected[i]),
                        e->found[i], e->openLine[i], e->closeLine[i]);
    if (w < 0) continue;
    // A message longer than the room is cut there; the room is then spent.
    std::size_t written = std::min(static_cast<std::size_t>(w), room - 1);
    len += written;
    room -= written;
  }
  return e->count;
}
