// HtmlTagP: the tag scanner.
#include "lexer/HtmlTagP.h"

#include <cstring>
#include <string>

#include "runtime/ByteClass.h"

namespace {

// White space between the parts of a tag. The name and attribute names end
// at any of it, not only at a blank, so that a tag broken over lines
// ("<img\nsrc=...>") keeps its name.
constexpr char kWhite[] = " \t\r\n";
constexpr char kNameEnd[] = " \t\r\n>";
constexpr char kAttrEnd[] = " \t\r\n=>";

inline unsigned char uc(char c) { return static_cast<unsigned char>(c); }

bool equalsNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    const unsigned char x = ByteClass_lower(uc(*a)), y = ByteClass_lower(uc(*b));
    if (x != y) return false;
    if (x == '\0') return true;
  }
}

void lower(char* text) { StrX_toLower(text, text, std::strlen(text) + 1); }

// Reads one field at the cursor into the pool's newest text. BLex3_readField
// cuts silently, so a field that comes within a character of the room left
// is read again into scratch memory to measure it; one that does not fit
// fills the pool, whose next allocation then reports the overflow itself.
char* readPooled(HtmlTagP* t, const char* delims, bool quoted) {
  StrX_Mem* pool = &t->pool;
  char* dst = pool->last;
  const std::size_t left = StrX_Mem_getLeftSize(pool);
  BLex3_Pos from;
  BLex3_getPos(t->lexer, &from);
  BLex3_readField(t->lexer, dst, left + 1, delims, quoted);
  // A cut keeps at least left - 1 bytes (never half a character).
  if (std::strlen(dst) + 2 <= left) return dst;
  BLex3_Pos after;
  BLex3_getPos(t->lexer, &after);
  std::string scratch(left + 3, '\0');
  BLex3_setPos(t->lexer, from);
  BLex3_readField(t->lexer, &scratch[0], scratch.size(), delims, quoted);
  BLex3_setPos(t->lexer, after);
  if (std::strlen(scratch.c_str()) <= left) return dst;
  std::memcpy(dst, scratch.data(), left);
  dst[left] = '\0';
  StrX_Mem_alloc(pool);  // raises StrX_Err_MemEmpty: no byte is left
  return dst;
}

void reportStart(HtmlTagP* t) {
  BLex3_getPos(t->lexer, &t->nextPos);
  t->state = HtmlTagP_kStart;
  t->open = true;
}

// Attributes up to the tag's ">", which the cursor is left on (or at the end
// of the data, or on the first byte that cannot begin an attribute name).
void readAttrs(HtmlTagP* t) {
  BLex3* lx = t->lexer;
  for (;;) {
    BLex3_skipSet(lx, kWhite);
    const char* p = BLex3_fetch(lx, 1);
    if (p == nullptr || *p == '>') return;
    if (*p == '/' && p[1] == '>') {  // "<br/>": the tag still ends after its ">"
      BLex3_next(lx, 1);
      return;
    }
    if (!StrX_isAlpha(uc(*p))) return;
    if (t->attrCount >= t->attrMax) {
      BLex3_skipToSet(lx, ">", 0);
      return;
    }
    StrX_Mem_alloc(&t->pool);
    char* name = readPooled(t, kAttrEnd, false);
    lower(name);
    t->attrNames[t->attrCount] = name;
    BLex3_skipSet(lx, kWhite);
    p = BLex3_fetch(lx, 0);
    const bool atEnd = p == nullptr || *p == '>';
    const bool hasValue = p != nullptr && *p == '=';
    char* value = StrX_Mem_alloc(&t->pool);
    if (hasValue) {
      BLex3_next(lx, 1);
      BLex3_skipSet(lx, kWhite);
      value = readPooled(t, kAttrEnd, true);
    }
    // An attribute without a value counts with the empty value, also when
    // it stands last before ">".
    t->attrValues[t->attrCount++] = value;
    if (atEnd) return;
  }
}

// The cursor stands on "<" at position at; cur is its window pointer.
void parseTag(HtmlTagP* t, BLex3_Pos at, const char* cur) {
  BLex3* lx = t->lexer;
  BLex3_Pos afterLt;
  BLex3_getPosOfPtr(lx, cur + 1, &afterLt);
  StrX_Mem_toEmpty(&t->pool);
  t->attrCount = 0;
  t->name = t->pool.last;

  // A comment is recognised before its name is read: "<!--" followed by a
  // long run without blanks must not fill the pool.
  const char* p = BLex3_fetch(lx, 4);
  if (p != nullptr && p[1] == '!' && p[2] == '-' && p[3] == '-') {
    std::memcpy(t->name, "!--", 4);
    BLex3_setPos(lx, at);
    BLex3_next(lx, 4);
    BLex3_skipToStr(lx, "-->", 3, true);
    reportStart(t);
    return;
  }

  BLex3_next(lx, 1);
  char* name = readPooled(t, kNameEnd, false);
  lower(name);
  const unsigned char c = uc(name[0]);
  if (!StrX_isAlpha(c) && c != '/' && c != '!') {
    // "a < b" and the like: no tag; the search goes on after the "<".
    t->nextPos = afterLt;
    t->state = HtmlTagP_kNone;
    return;
  }
  readAttrs(t);
  if (BLex3_fetch(lx, 0) != nullptr) BLex3_next(lx, 1);
  reportStart(t);
}

}  // namespace

void HtmlTagP_init(HtmlTagP* t, char* pool, std::size_t poolSize, void* table,
                   std::size_t tableSize) {
  t->lexer = nullptr;
  t->nextPos = BLex3_Pos{0, BLex3_kSingleByte};
  t->state = HtmlTagP_kNone;
  t->open = false;
  t->attrCount = 0;
  const std::size_t places = tableSize / (2 * sizeof(const char*));
  t->attrMax = static_cast<int32_t>(places);
  t->attrNames = static_cast<const char**>(table);
  t->attrValues = t->attrNames + places;
  StrX_Mem_init(&t->pool, pool, poolSize);
  t->name = pool;
}

void HtmlTagP_setLexer(HtmlTagP* t, BLex3* lexer) { t->lexer = lexer; }

void HtmlTagP_step(HtmlTagP* t) {
  BLex3* lx = t->lexer;
  BLex3_Pos at;
  BLex3_getPos(lx, &at);
  if (at < t->nextPos) {
    t->state = HtmlTagP_kBefore;
    return;
  }
  if (t->open) {
    t->state = HtmlTagP_kEnd;
    t->open = false;
    return;
  }
  const char* cur = BLex3_fetch(lx, 0);
  if (cur == nullptr) {
    BLex3_getEOFPos(lx, &t->nextPos);
    t->state = HtmlTagP_kNone;
    return;
  }
  const char* end = BLex3_getEnd(lx);
  const char* q = cur;
  while (q < end) {
    const void* lt = std::memchr(q, '<', static_cast<std::size_t>(end - q));
    q = lt != nullptr ? static_cast<const char*>(lt) : end;
    if (q == end || !BLex3_isTrailPtr(lx, q)) break;
    ++q;
  }
  if (q != cur) {
    BLex3_getPosOfPtr(lx, q, &t->nextPos);
    t->state = HtmlTagP_kNone;
    return;
  }
  parseTag(t, at, cur);
}

int32_t HtmlTagP_getState(const HtmlTagP* t) { return t->state; }

bool HtmlTagP_isInTag(const HtmlTagP* t) { return t->open && t->state != HtmlTagP_kStart; }

void HtmlTagP_getNextPos(const HtmlTagP* t, BLex3_Pos* pos) { *pos = t->nextPos; }

const char* HtmlTagP_getAttr(const HtmlTagP* t, const char* name) {
  for (int32_t i = 0; i < t->attrCount; ++i)
    if (equalsNoCase(t->attrNames[i], name)) return t->attrValues[i];
  return nullptr;
}
