// CDeclP: a step either reports what an earlier step left for this position
// (an end code, the end of a typedef's name list) or, at the start of a top-
// level declaration, scans ahead to its ";", "=" or "{" and tells what it
// was. Everything between is skipped with one jump: white space, a comment,
// a body, a directive line.
#include "lexer/CDeclP.h"

#include <cstring>

#include "lexer/BLex3Write.h"

namespace {

// The longest keyword ("#include") and the white space after it, with room.
constexpr int32_t kReadAhead = 10;
constexpr char kWhite[] = " \t\r\n";

inline bool isWhite(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
inline bool isIdentStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
inline bool isIdentChar(char c) { return isIdentStart(c) || (c >= '0' && c <= '9'); }

inline bool isSingle(const BLex3* lx, const char* p) {
  return lx->kinds == nullptr || lx->kinds[p - lx->buf] == BLex3_kSingleByte;
}

BLex3_Pos curPos(BLex3* lx) {
  BLex3_Pos pos;
  BLex3_getPos(lx, &pos);
  return pos;
}

// The position after the cursor byte (the cursor stays).
BLex3_Pos posAfter(BLex3* lx) {
  BLex3_Pos pos;
  BLex3_getPosAfter(lx, 1, &pos);
  return pos;
}

// The keyword at p, followed by one white-space character.
bool keywordAt(const char* p, const char* keyword) {
  if (*p != *keyword) return false;
  std::size_t n = std::strlen(keyword);
  return std::memcmp(p, keyword, n) == 0 && isWhite(p[n]);
}

void skipIdentChars(BLex3* lx) {
  for (;;) {
    char* p = BLex3_fetch(lx, 0);
    if (p == nullptr) return;
    char* end = BLex3_getEnd(lx);
    while (p < end && isIdentChar(*p)) ++p;
    BLex3_setPtr(lx, p);
    if (p < end) return;
  }
}

// Past a run of double-byte characters.
void skipDoubleBytes(BLex3* lx) {
  for (;;) {
    char* p = BLex3_fetch(lx, 0);
    if (p == nullptr) return;
    char* end = BLex3_getEnd(lx);
    while (p < end && !isSingle(lx, p)) ++p;
    BLex3_setPtr(lx, p);
    if (p < end) return;
  }
}

// Past the directive line and the lines that a backslash at a line's end
// joins to it (CR LF is one line end).
void skipDirectiveLine(BLex3* lx) {
  for (;;) {
    BLex3_skipToSet(lx, "\\\r\n", 0);
    char* p = BLex3_fetch(lx, 3);
    if (p == nullptr) return;
    if (*p == '\\') {
      if (p[1] == '\r' || p[1] == '\n')
        BLex3_next(lx, (p[1] == '\r' && p[2] == '\n') ? 3 : 2);
      else
        BLex3_next(lx, 1);
      continue;
    }
    BLex3_next(lx, (p[0] == '\r' && p[1] == '\n') ? 2 : 1);
    return;
  }
}

// The next identifier that the comment scanner copy does not place inside
// a comment; the cursor ends after it. False at the end of the data.
bool readIdent(BLex3* lx, CommentP* comments, BLex3_Pos* start, BLex3_Pos* end) {
  for (;;) {
    char* p = BLex3_fetch(lx, 0);
    if (p == nullptr) return false;
    char* stop = BLex3_getEnd(lx);
    while (p < stop && !(isIdentStart(*p) && isSingle(lx, p))) ++p;
    BLex3_setPtr(lx, p);
    if (p == stop) continue;
    CommentP_catchUp(comments);
    if (comments->inside) {
      BLex3_Pos after;
      CommentP_findEnd(comments, &after);
      BLex3_setPos(lx, after);
      continue;
    }
    *start = curPos(lx);
    skipIdentChars(lx);
    *end = curPos(lx);
    return true;
  }
}

void typedefRule(CDeclP* r, const CommentP& scan) {
  BLex3* lx = r->lexer;
  BracketP ahead;
  BracketP_copy(&ahead, r->tracker, nullptr);
  CommentP comments = scan;
  BLex3_next(lx, 8);
  r->scanPos = curPos(lx);
  bool named = false;
  bool ended = false;
  char terminator = ';';
  for (;;) {
    BLex3_Pos start, end;
    if (!readIdent(lx, &comments, &start, &end)) break;
    r->event.nameStart = start;
    r->event.nameEnd = end;
    named = true;
    BLex3_skipSet(lx, kWhite);
    if (BLex3_fetch(lx, 0) == nullptr) break;
    BracketP_step(&ahead);
    if (ahead.braceDepth - r->baseDepth != 0) continue;
    char* p = BLex3_fetch(lx, 0);
    if (isSingle(lx, p) && (*p == ',' || *p == ';')) {
      terminator = *p;
      BLex3_next(lx, 1);
      ended = true;
      break;
    }
  }
  if (!named) {
    // "typedef" at the end of the file names nothing.
    r->event.result = CDeclP_Nothing;
    return;
  }
  r->terminator = terminator;
  if (ended)
    r->listEnd = curPos(lx);
  else
    BLex3_getEOFPos(lx, &r->listEnd);
  r->event.result = CDeclP_TypedefStart;
}

void aggregateRule(CDeclP* r, const CommentP& scan, int32_t kind) {
  BLex3* lx = r->lexer;
  r->event.kind = kind;
  BracketP ahead;
  BracketP_copy(&ahead, r->tracker, nullptr);
  CommentP comments = scan;
  BLex3_next(lx, 6);
  BLex3_Pos start = curPos(lx), end = start;
  readIdent(lx, &comments, &start, &end);
  r->event.nameStart = start;
  r->event.nameEnd = end;
  for (;;) {
    BLex3_skipToSet(lx, "{;", 0);
    char* p = BLex3_fetch(lx, 0);
    if (p == nullptr) {
      r->scanPos = curPos(lx);
      r->event.result = CDeclP_Nothing;
      return;
    }
    bool body = *p == '{';
    r->scanPos = posAfter(lx);
    // Stepped on the "{" itself, the copy has not counted it yet.
    BracketP_step(&ahead);
    BLex3_setPos(lx, r->scanPos);
    if (ahead.braceDepth - r->baseDepth < 1) {
      if (body) {
        r->endPos = r->scanPos;
        r->event.result = CDeclP_AggregateStart;
        r->pending = CDeclP_AggregateEnd;
      } else {
        r->event.result = CDeclP_Nothing;
      }
      return;
    }
  }
}

void enumRule(CDeclP* r, const CommentP& scan) {
  BLex3* lx = r->lexer;
  CommentP comments = scan;
  BLex3_next(lx, 5);
  BLex3_skipSet(lx, kWhite);
  char* p = BLex3_fetch(lx, 0);
  r->event.result = CDeclP_Nothing;
  if (p == nullptr || *p == '{') {
    // Without a tag: nothing to name, and the members are not listed.
    r->event.nameStart = r->event.nameEnd = curPos(lx);
    r->scanPos = p == nullptr ? curPos(lx) : posAfter(lx);
    return;
  }
  BLex3_Pos start = curPos(lx), end = start;
  readIdent(lx, &comments, &start, &end);
  r->event.nameStart = start;
  r->event.nameEnd = end;
  BLex3_skipToSet(lx, "{;", 0);
  p = BLex3_fetch(lx, 0);
  if (p == nullptr || *p != '{') {
    r->scanPos = p == nullptr ? curPos(lx) : posAfter(lx);
    return;
  }
  r->event.result = CDeclP_EnumStart;
  r->scanPos = posAfter(lx);
  BLex3_skipToSet(lx, ";", 1);
  r->endPos = curPos(lx);
  r->pending = CDeclP_EnumEnd;
}

void externRule(CDeclP* r) {
  BLex3* lx = r->lexer;
  BLex3_next(lx, 7);
  BLex3_skipSet(lx, kWhite);
  char* p = BLex3_fetch(lx, 3);
  r->scanPos = curPos(lx);
  if (p != nullptr && p[0] == '"' && p[1] == 'C' && p[2] == '"') {
    BLex3_next(lx, 3);
    BLex3_skipSet(lx, kWhite);
    p = BLex3_fetch(lx, 0);
    if (p != nullptr && *p == '{') {
      r->scanPos = posAfter(lx);
      r->baseDepth = 1;
    } else {
      r->scanPos = curPos(lx);
    }
  }
  r->event.result = CDeclP_Nothing;
}

void macroRule(CDeclP* r, const CommentP& scan) {
  BLex3* lx = r->lexer;
  CommentP comments = scan;
  BLex3_next(lx, 8);
  BLex3_Pos start, end;
  if (!readIdent(lx, &comments, &start, &end)) {
    // "#define" at the end of the file names nothing.
    r->scanPos = curPos(lx);
    r->event.result = CDeclP_Nothing;
    return;
  }
  r->event.nameStart = start;
  r->event.nameEnd = end;
  skipDirectiveLine(lx);
  r->scanPos = curPos(lx);
  r->event.result = CDeclP_MacroStart;
  r->pending = CDeclP_MacroEnd;
}

// Ends the step at the cursor with nothing found.
void stopHere(CDeclP* r) {
  r->scanPos = curPos(r->lexer);
  r->event.result = CDeclP_Nothing;
}

// The general scan from the start of a top-level declaration.
void scan(CDeclP* r) {
  BLex3* lx = r->lexer;
  CommentP comments = *r->comments;
  bool parenSeen = false;
  for (;;) {
    CommentP_catchUp(&comments);
    if (comments.inside) {
      BLex3_Pos after;
      CommentP_findEnd(&comments, &after);
      BLex3_setPos(lx, after);
    }
    char* p = BLex3_fetch(lx, kReadAhead);
    if (p == nullptr) return stopHere(r);
    if (!isSingle(lx, p)) {
      skipDoubleBytes(lx);
      continue;
    }
    if (keywordAt(p, "typedef")) return typedefRule(r, comments);
    if (keywordAt(p, "struct")) return aggregateRule(r, comments, CDeclP_kStruct);
    if (keywordAt(p, "union")) return aggregateRule(r, comments, CDeclP_kUnion);
    if (keywordAt(p, "class")) return aggregateRule(r, comments, CDeclP_kClass);
    if (keywordAt(p, "enum")) return enumRule(r, comments);
    if (keywordAt(p, "extern")) return externRule(r);
    if (keywordAt(p, "#define")) return macroRule(r, comments);
    if (*p == '#') {  // "#include" and every other directive
      skipDirectiveLine(lx);
      return stopHere(r);
    }
    if (isIdentStart(*p)) {
      BLex3_Pos start = curPos(lx);
      skipIdentChars(lx);
      BLex3_Pos end = curPos(lx);
      char* q = BLex3_fetch(lx, 2);
      bool qualifier = q != nullptr && q[0] == ':' && q[1] == ':';  // A::f names f
      if (!parenSeen && !qualifier) {
        r->event.nameStart = start;
        r->event.nameEnd = end;
      }
      continue;
    }
    switch (*p) {
      case ' ':
      case '\t':
        BLex3_skipSet(lx, " \t");
        break;
      case '\r':
        // A CR that stands alone is one byte; the byte after it is code.
        BLex3_next(lx, p[1] == '\n' ? 2 : 1);
        break;
      case '(':
        parenSeen = true;
        BLex3_next(lx, 1);
        break;
      case ';':
      case '=':  // a declaration without body, or an initialiser
        BLex3_next(lx, 1);
        return stopHere(r);
      case '{':
        if (!parenSeen) {
          BLex3_skipToSet(lx, "}", 1);
          return stopHere(r);
        }
        r->scanPos = curPos(lx);
        r->event.result = CDeclP_FunctionStart;
        r->inFunction = 1;
        return;
      default:
        BLex3_next(lx, 1);
        break;
    }
  }
}

}  // namespace

void CDeclP_init(CDeclP* r, BLex3* lexer, BracketP* tracker, CommentP* comments) {
  const BLex3_Pos none{BLex3_kNoOffset, BLex3_kUnknown};
  r->lexer = lexer;
  r->tracker = tracker;
  r->comments = comments;
  r->scanPos = BLex3_Pos{0, 0};
  r->pending = CDeclP_Nothing;
  r->listEnd = none;
  r->terminator = ';';
  r->endPos = none;
  r->event.kind = 0;
  r->event.nameStart = r->event.nameEnd = BLex3_Pos{0, 0};
  r->event.result = CDeclP_Nothing;
  r->inFunction = 0;
  r->baseDepth = 0;
}

void CDeclP_step(CDeclP* r) {
  BLex3* lx = r->lexer;
  CDeclP_Event& ev = r->event;
  int32_t o = BLex3_getOffset(lx);
  if (o == r->listEnd.offset) {
    if (r->terminator != ';') {
      // The typedef names more types: its end is after the ";".
      BLex3_skipToSet(lx, ";", 1);
      r->listEnd = curPos(lx);
      r->terminator = ';';
      ev.result = CDeclP_Nothing;
    } else {
      r->listEnd.offset = BLex3_kNoOffset;
      ev.result = CDeclP_TypedefEnd;
    }
    return;
  }
  if (o == r->endPos.offset) {
    r->endPos.offset = BLex3_kNoOffset;
    ev.result = r->pending;
    r->pending = CDeclP_Nothing;
    return;
  }
  if (o < r->scanPos.offset) {
    ev.result = CDeclP_NotYet;
    return;
  }
  if (r->pending != CDeclP_Nothing) {
    ev.result = r->pending;
    r->pending = CDeclP_Nothing;
    return;
  }
  if (r->inFunction) {
    BLex3_skipToSet(lx, "}", 1);
    r->scanPos = curPos(lx);
    ev.result = CDeclP_FunctionEnd;
    r->inFunction = 0;
    return;
  }
  char* p = BLex3_fetch(lx, 8);
  if (p == nullptr) {
    ev.result = CDeclP_Nothing;
    return;
  }
  if (isWhite(*p) && isSingle(lx, p)) {
    BLex3_skipSet(lx, kWhite);
    return stopHere(r);
  }
  if (r->comments->inside) {
    CommentP_findEnd(r->comments, &r->scanPos);
    ev.result = CDeclP_Nothing;
    return;
  }
  if (r->tracker->braceDepth - r->baseDepth > 0) {  // inside a body
    BLex3_skipToSet(lx, "}", 1);
    return stopHere(r);
  }
  if (r->tracker->braceDepth == 0) r->baseDepth = 0;
  scan(r);
}

int32_t CDeclP_getResult(const CDeclP* r) { return r->event.result; }

const CDeclP_Event* CDeclP_getEvent(const CDeclP* r) { return &r->event; }

void CDeclP_getNextPos(const CDeclP* r, BLex3_Pos* pos) {
  *pos = r->scanPos;
  if (r->listEnd.offset < pos->offset) *pos = r->listEnd;
  if (r->endPos.offset < pos->offset) *pos = r->endPos;
}

bool CDeclP_nextEnumMember(CDeclP* r, char* buffer, std::size_t capacity) {
  BLex3* lx = r->lexer;
  if (capacity > 0) buffer[0] = '\0';
  BLex3_setPos(lx, r->scanPos);
  CommentP comments = *r->comments;
  bool found = false;
  for (;;) {
    BLex3_skipSet(lx, kWhite);
    if (BLex3_fetch(lx, 0) == nullptr) break;
    CommentP_catchUp(&comments);
    if (comments.inside) {
      BLex3_Pos after;
      CommentP_findEnd(&comments, &after);
      BLex3_setPos(lx, after);
      continue;
    }
    char* p = BLex3_fetch(lx, 0);
    if (*p == ',') {
      BLex3_next(lx, 1);
      continue;
    }
    if (*p == '}' || *p == ';') {
      BLex3_next(lx, 1);
      break;
    }
    BLex3_Pos start, end;
    if (readIdent(lx, &comments, &start, &end)) {
      BLex3_copyRange(lx, start, end, buffer, capacity);
      BLex3_setPos(lx, end);
      // A "," is passed; a "}" or ";" stays, so that the next call ends there.
      BLex3_skipToSet(lx, ",};", 0);
      char* q = BLex3_fetch(lx, 0);
      if (q != nullptr && *q == ',') BLex3_next(lx, 1);
      found = true;
    }
    break;
  }
  r->scanPos = curPos(lx);
  return found;
}
