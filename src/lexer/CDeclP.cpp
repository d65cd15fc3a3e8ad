// CDeclP: a step either reports what an earlier step left for this position
// (an end code, the end of a typedef's name list) or, at the start of a top-
// level declaration, scans ahead to its ";", "=" or "{" and tells what it
// was. Everything between is skipped with one jump: white space, a comment,
// a body, a directive line.
#include "lexer/CDeclP.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string_view>

#include "lexer/BLex3Write.h"
#include "runtime/ByteClass.h"

namespace {

// The longest keyword ("#include", or "#define" with blanks after the "#")
// and the white space after it, with room.
constexpr int32_t kReadAhead = 16;
constexpr char kWhite[] = " \t\r\n";

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
  return std::memcmp(p, keyword, n) == 0 && ByteClass_isWhite(p[n]);
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

// Where the comment scanner copy, caught up to the cursor, places it inside
// a comment: moves past the comment's end and gives true.
bool passComment(BLex3* lx, CommentP* comments) {
  CommentP_catchUp(comments);
  if (!comments->inside) return false;
  BLex3_Pos after;
  CommentP_findEnd(comments, &after);
  BLex3_setPos(lx, after);
  return true;
}

bool isStop(const char* stops, char c) { return c != '\0' && std::strchr(stops, c) != nullptr; }

// To the next byte of code that is a letter, "_" or one of stops, outside
// comments; null at the end of the data.
char* toNextToken(BLex3* lx, CommentP* comments, const char* stops) {
  for (;;) {
    char* p = BLex3_fetch(lx, 0);
    if (p == nullptr) return nullptr;
    char* stop = BLex3_getEnd(lx);
    while (p < stop && !(isSingle(lx, p) && (isIdentStart(*p) || isStop(stops, *p)))) ++p;
    BLex3_setPtr(lx, p);
    if (p == stop) continue;
    if (passComment(lx, comments)) continue;
    return BLex3_fetch(lx, 0);
  }
}

// The next identifier that the comment scanner copy does not place inside
// a comment; the cursor ends after it. False at the end of the data.
bool readIdent(BLex3* lx, CommentP* comments, BLex3_Pos* start, BLex3_Pos* end) {
  if (toNextToken(lx, comments, "") == nullptr) return false;
  *start = curPos(lx);
  skipIdentChars(lx);
  *end = curPos(lx);
  return true;
}

// Ends the step at the cursor with nothing found.
void stopHere(CDeclP* r) {
  r->scanPos = curPos(r->lexer);
  r->event.result = CDeclP_Nothing;
}

// Words of C and C++ (with the common compiler extensions) that never name
// a definition: keywords and built-in type names.
constexpr std::string_view kReserved[] = {
    "_Alignas", "_Alignof", "_Atomic", "_BitInt", "_Bool", "_Complex", "_Decimal128", "_Decimal32",
    "_Decimal64", "_Generic", "_Imaginary", "_Noreturn", "_Pragma", "_Static_assert",
    "_Thread_local", "__asm", "__asm__", "__attribute__", "__cdecl", "__const", "__declspec",
    "__except", "__extension__", "__fastcall", "__finally", "__forceinline", "__inline",
    "__inline__", "__int128", "__int16", "__int32", "__int64", "__int8", "__leave", "__restrict",
    "__restrict__", "__signed__", "__stdcall", "__thiscall", "__try", "__typeof__", "__vectorcall",
    "__volatile__", "alignas", "alignof", "and", "and_eq", "asm", "auto", "bitand", "bitor", "bool",
    "break", "case", "catch", "char", "char16_t", "char32_t", "char8_t", "class", "co_await",
    "co_return", "co_yield", "compl", "concept", "const", "const_cast", "consteval", "constexpr",
    "constinit", "continue", "decltype", "default", "delete", "do", "double", "dynamic_cast",
    "else", "enum", "explicit", "export", "extern", "false", "float", "for", "friend", "goto", "if",
    "inline", "int", "long", "mutable", "namespace", "new", "noexcept", "not", "not_eq", "nullptr",
    "operator", "or", "or_eq", "private", "protected", "public", "register", "reinterpret_cast",
    "requires", "restrict", "return", "short", "signed", "sizeof", "static", "static_assert",
    "static_cast", "struct", "switch", "template", "this", "thread_local", "throw", "true", "try",
    "typedef", "typeid", "typename", "typeof", "typeof_unqual", "union", "unsigned", "using",
    "virtual", "void", "volatile", "wchar_t", "while", "xor", "xor_eq"};
constexpr std::size_t kLongestReserved = 16;

// kReserved in an open-addressing table, a quarter full: a word is found or
// refused after one or two comparisons.
class ReservedWords {
 public:
  ReservedWords() {
    for (std::string_view w : kReserved) {
      std::size_t h = hash(w);
      while (!slots_[h].empty()) h = (h + 1) % kSlots;
      slots_[h] = w;
    }
  }
  bool has(std::string_view w) const {
    if (w.empty() || w.size() > kLongestReserved) return false;
    for (std::size_t h = hash(w); !slots_[h].empty(); h = (h + 1) % kSlots)
      if (slots_[h] == w) return true;
    return false;
  }

 private:
  static constexpr std::size_t kSlots = 512;
  static std::size_t hash(std::string_view w) {
    auto at = [&](std::size_t i) { return std::size_t{static_cast<unsigned char>(w[i])}; };
    return (w.size() * 31 + at(0) * 7 + at(w.size() / 2) * 17 + at(w.size() - 1) * 131) % kSlots;
  }
  std::string_view slots_[kSlots];
};
const ReservedWords kReservedWords;

// The identifier at the cursor: its extent, moving the cursor past it, and
// whether it is a reserved word.
bool readWordAt(BLex3* lx, BLex3_Pos* start, BLex3_Pos* end) {
  char* p = BLex3_fetch(lx, kLongestReserved + 1);
  std::size_t n = 0;
  while (n <= kLongestReserved && isIdentChar(p[n])) ++n;
  const bool reserved = kReservedWords.has(std::string_view(p, n));
  *start = curPos(lx);
  if (n <= kLongestReserved)
    BLex3_setPtr(lx, p + n);
  else
    skipIdentChars(lx);
  *end = curPos(lx);
  return reserved;
}

// A typedef names the last identifier that stands outside all brackets
// (typedef unsigned long u32; typedef char Name[8]; typedef int Fn(int);),
// or, when the declarator is a bracketed pointer, the last identifier in
// that first bracket (typedef int (*callback)(void *); typedef void
// (WINAPI *Proc)(void);). It ends at its own "," or ";" outside brackets
// and bodies.
void typedefRule(CDeclP* r, const CommentP& scan) {
  BLex3* lx = r->lexer;
  BracketP ahead;
  BracketP_copy(&ahead, r->tracker);
  CommentP comments = scan;
  BLex3_next(lx, 8);
  r->scanPos = curPos(lx);
  const int32_t paren0 = ahead.parenDepth, square0 = ahead.squareDepth;
  BLex3_Pos outer[2] = {}, inner[2] = {};
  bool hasOuter = false, hasInner = false;
  // The first bracket at the top: 0 not yet met, 1 inside (a pointer
  // declarator when a "*" or "^" is met first), 2 done.
  int group = 0;
  bool pointer = false, nested = false, afterName = false;
  bool ended = false;
  char terminator = ';';
  for (;;) {
    char* p = toNextToken(lx, &comments, "(),;[]{}*^");
    if (p == nullptr) break;
    BracketP_step(&ahead);  // counts up to the token; a closer there too
    const bool word = isIdentStart(*p);
    if (ahead.braceDepth - r->baseDepth > 0) {  // inside a body
      if (word)
        skipIdentChars(lx);
      else
        BLex3_next(lx, 1);
      continue;
    }
    const int32_t paren = ahead.parenDepth - paren0;
    const bool outside = paren == 0 && ahead.squareDepth == square0;
    if (word) {
      BLex3_Pos start, end;
      if (readWordAt(lx, &start, &end)) {
        afterName = false;
        continue;
      }
      if (outside) {
        outer[0] = start;
        outer[1] = end;
        hasOuter = true;
      } else if (group == 1 && pointer && !nested && paren == 1 &&
                 ahead.squareDepth == square0) {
        inner[0] = start;
        inner[1] = end;
        hasInner = true;
      }
      afterName = true;
      continue;
    }
    const char c = *p;
    BLex3_next(lx, 1);
    if (c == '(') {
      if (paren == 0 && group == 0 && !afterName) group = 1;
      else if (paren == 1 && group == 1) nested = true;
    } else if (c == ')') {
      if (paren == 0 && group == 1) group = 2;
    } else if (c == '*' || c == '^') {
      if (group == 1 && paren == 1 && !hasInner) pointer = true;
    } else if ((c == ',' || c == ';') && outside) {
      terminator = c;
      ended = true;
      break;
    }
    afterName = false;
  }
  const bool fromInner = hasInner && group == 2;
  if (!fromInner && !hasOuter) {
    r->event.result = CDeclP_Nothing;
    return;
  }
  r->event.nameStart = fromInner ? inner[0] : outer[0];
  r->event.nameEnd = fromInner ? inner[1] : outer[1];
  r->terminator = terminator;
  if (ended)
    r->listEnd = curPos(lx);
  else
    BLex3_getEOFPos(lx, &r->listEnd);
  r->event.result = CDeclP_TypedefStart;
}

// After the tag of a struct, union, class or enum: true when a body
// follows, the cursor then on its "{" (a base list or an underlying type
// after ":" is passed over); false when the words only name a type, the
// cursor then after the tag.
bool bodyFollows(BLex3* lx, CommentP* comments) {
  BLex3_Pos back = curPos(lx);
  char* p = toNextToken(lx, comments, "{:;(),=*&[");
  if (p == nullptr || (*p != '{' && *p != ':')) {
    BLex3_setPos(lx, back);
    return false;
  }
  if (*p == ':') {
    if (BLex3_fetch(lx, 1)[1] == ':') {  // a qualified name: S::T
      BLex3_setPos(lx, back);
      return false;
    }
    BLex3_skipToSet(lx, "{;(=", 0);
    p = BLex3_fetch(lx, 0);
    if (p == nullptr || *p != '{') {
      BLex3_setPos(lx, back);
      return false;
    }
  }
  return true;
}

// The tag after "struct", "union", "class" or "enum" (and after "class" or
// "struct" in "enum class"): false when a body or nothing follows at once.
bool readTag(BLex3* lx, CommentP* comments, BLex3_Pos* start, BLex3_Pos* end) {
  for (;;) {
    char* p = toNextToken(lx, comments, "{:;(),=*&[");
    if (p == nullptr || !isIdentStart(*p)) return false;
    if (!readWordAt(lx, start, end)) return true;
    // A reserved word: "enum class" goes on to the tag, others name none.
    const char* w = BLex3_getPtrOfOffset(lx, start->offset);
    int32_t n = end->offset - start->offset;
    if (!((n == 5 && std::memcmp(w, "class", 5) == 0) ||
          (n == 6 && std::memcmp(w, "struct", 6) == 0)))
      return false;
  }
}

enum class Rule { Done, NotADefinition };

// A structure, union or class with a body is reported with its tag; one
// without a tag names nothing, and its body is skipped as any other.
Rule aggregateRule(CDeclP* r, const CommentP& scan, int32_t kind) {
  BLex3* lx = r->lexer;
  BracketP ahead;
  BracketP_copy(&ahead, r->tracker);
  CommentP comments = scan;
  BLex3_next(lx, kind == CDeclP_kStruct ? 6 : 5);
  BLex3_Pos start, end;
  if (!readTag(lx, &comments, &start, &end)) {
    char* p = toNextToken(lx, &comments, "{;(),=*&[");
    if (p != nullptr && *p == '{') {
      r->scanPos = posAfter(lx);
      r->event.result = CDeclP_Nothing;
      return Rule::Done;
    }
    return Rule::NotADefinition;
  }
  if (!bodyFollows(lx, &comments)) return Rule::NotADefinition;
  r->event.kind = kind;
  r->event.nameStart = start;
  r->event.nameEnd = end;
  for (;;) {
    BLex3_skipToSet(lx, "{;", 0);
    char* p = BLex3_fetch(lx, 0);
    if (p == nullptr) {
      r->scanPos = curPos(lx);
      r->event.result = CDeclP_Nothing;
      return Rule::Done;
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
      return Rule::Done;
    }
  }
}

Rule enumRule(CDeclP* r, const CommentP& scan) {
  BLex3* lx = r->lexer;
  CommentP comments = scan;
  BLex3_next(lx, 5);
  BLex3_Pos start, end;
  if (!readTag(lx, &comments, &start, &end)) {
    // Without a tag: nothing to name, and the members are not listed.
    char* p = toNextToken(lx, &comments, "{;(),=*&[");
    if (p == nullptr || *p == '{') {
      r->event.nameStart = r->event.nameEnd = curPos(lx);
      r->scanPos = p == nullptr ? curPos(lx) : posAfter(lx);
      r->event.result = CDeclP_Nothing;
      return Rule::Done;
    }
    return Rule::NotADefinition;
  }
  if (!bodyFollows(lx, &comments)) return Rule::NotADefinition;
  r->event.nameStart = start;
  r->event.nameEnd = end;
  r->event.result = CDeclP_EnumStart;
  r->scanPos = posAfter(lx);
  BLex3_skipToSet(lx, ";", 1);
  r->endPos = curPos(lx);
  r->pending = CDeclP_EnumEnd;
  return Rule::Done;
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

// "#define" at p, also written with blanks after the "#": the length up to
// the blank after "define", else 0.
int32_t defineAt(const char* p) {
  if (*p != '#') return 0;
  int32_t n = 1;
  while (n < kReadAhead - 7 && (p[n] == ' ' || p[n] == '\t')) ++n;
  return keywordAt(p + n, "define") ? n + 6 : 0;
}

// The macro's name is the identifier after "#define" on the directive's own
// line (comments between are passed over); without one the line names
// nothing.
void macroRule(CDeclP* r, const CommentP& scan, int32_t length) {
  BLex3* lx = r->lexer;
  CommentP comments = scan;
  BLex3_next(lx, length);
  for (;;) {
    BLex3_skipSet(lx, " \t");
    char* p = BLex3_fetch(lx, 0);
    if (p == nullptr) return stopHere(r);
    if (passComment(lx, &comments)) continue;
    if (isIdentStart(*p) && isSingle(lx, p)) break;
    skipDirectiveLine(lx);
    return stopHere(r);
  }
  BLex3_Pos start, end;
  const bool reserved = readWordAt(lx, &start, &end);
  skipDirectiveLine(lx);
  r->scanPos = curPos(lx);
  if (reserved) {
    r->event.result = CDeclP_Nothing;
    return;
  }
  r->event.nameStart = start;
  r->event.nameEnd = end;
  r->event.result = CDeclP_MacroStart;
  r->pending = CDeclP_MacroEnd;
}

// The general scan from the start of a top-level declaration. A function's
// name is the identifier before the "(" of its parameters: the last one
// outside brackets (or right after a "*" or "(") before the first "(" that
// follows an identifier (int main(void), void (*lookup(const char *))
// (void)), or one bracketed alone before that "(" (int (f)(void)).
void scan(CDeclP* r) {
  BLex3* lx = r->lexer;
  CommentP comments = *r->comments;
  bool parenSeen = false;
  bool named = false, fixed = false, afterName = false;
  bool bracketed = false;  // a name bracketed alone: fixed if a "(" follows
  int32_t paren = 0, nameParen = 0;
  char prev = ' ';  // the last byte of code before the cursor that matters
  for (;;) {
    (void)passComment(lx, &comments);
    char* p = BLex3_fetch(lx, kReadAhead);
    if (p == nullptr) return stopHere(r);
    if (!isSingle(lx, p)) {
      skipDoubleBytes(lx);
      prev = ' ';
      afterName = false;
      continue;
    }
    if (keywordAt(p, "typedef")) return typedefRule(r, comments);
    if (keywordAt(p, "struct") || keywordAt(p, "union") || keywordAt(p, "class") ||
        keywordAt(p, "enum")) {
      const Rule rule = *p == 'e'   ? enumRule(r, comments)
                        : *p == 's' ? aggregateRule(r, comments, CDeclP_kStruct)
                        : *p == 'u' ? aggregateRule(r, comments, CDeclP_kUnion)
                                    : aggregateRule(r, comments, CDeclP_kClass);
      if (rule == Rule::Done) return;
      prev = ' ';  // the words only named a type: the scan goes on after them
      afterName = false;
      continue;
    }
    if (keywordAt(p, "extern")) return externRule(r);
    if (int32_t n = defineAt(p)) return macroRule(r, comments, n);
    if (*p == '#') {  // "#include" and every other directive
      skipDirectiveLine(lx);
      if (paren > 0) continue;  // a parameter list that differs by branch
      return stopHere(r);
    }
    if (bracketed && *p != ' ' && *p != '\t' && *p != '\r' && *p != '\n') {
      bracketed = false;
      if (*p == '(')
        fixed = true;
      else
        named = false;
    }
    if (isIdentStart(*p)) {
      BLex3_Pos start, end;
      bool reserved = readWordAt(lx, &start, &end);
      char* q = BLex3_fetch(lx, 2);
      bool qualifier = q != nullptr && q[0] == ':' && q[1] == ':';  // A::f names f
      afterName = false;
      if (!reserved && !qualifier && !fixed &&
          (paren == 0 || prev == '*' || (paren == 1 && prev == '('))) {
        r->event.nameStart = start;
        r->event.nameEnd = end;
        named = true;
        nameParen = paren;
        afterName = true;
      }
      prev = 'a';
      continue;
    }
    switch (*p) {
      case ' ':
      case '\t':
        BLex3_skipSet(lx, " \t");
        continue;
      case '\r':
        // A CR that stands alone is one byte; the byte after it is code.
        BLex3_next(lx, p[1] == '\n' ? 2 : 1);
        continue;
      case '\n':
        BLex3_next(lx, 1);
        continue;
      case '(':
        parenSeen = true;
        if (afterName) fixed = true;
        ++paren;
        BLex3_next(lx, 1);
        break;
      case ')':
        if (paren > 0 && --paren == 0 && named && !fixed && nameParen > 0) bracketed = true;
        BLex3_next(lx, 1);
        break;
      case ';':
      case '=':  // a declaration without body, or an initialiser
        BLex3_next(lx, 1);
        return stopHere(r);
      case '{':
        if (!parenSeen || !named) {
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
    prev = *p;
    afterName = false;
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
  if (ByteClass_isWhite(*p) && isSingle(lx, p)) {
    BLex3_skipSet(lx, kWhite);
    return stopHere(r);
  }
  // A UTF-8 file's byte order mark is not text: the first declaration
  // starts after it, not at the mark.
  if (o == 0 && lx->utf8 && BLex3_getEnd(lx) - p >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0) {
    BLex3_next(lx, 3);
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
  if (*p == '}' && isSingle(lx, p)) {  // the end of a body: the next one starts after it
    BLex3_next(lx, 1);
    return stopHere(r);
  }
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
    if (passComment(lx, &comments)) continue;
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
