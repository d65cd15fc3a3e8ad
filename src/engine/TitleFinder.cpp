// TitleFinder: title marks and their levels.
#include "engine/TitleFinder.h"

#include <cstring>

namespace {

constexpr int32_t kReadAhead = 4;

// The bytes at the cursor after a fetch with room for n more.
const char* bytesAt(BLex3* lexer, int32_t n) { return BLex3_fetch(lexer, n); }

bool startsWith(BLex3* lexer, const char* text) {
  const char* p = bytesAt(lexer, static_cast<int32_t>(std::strlen(text)));
  return p != nullptr && std::strncmp(p, text, std::strlen(text)) == 0;
}

BLex3_Pos here(BLex3* lexer) {
  BLex3_Pos pos;
  BLex3_getPos(lexer, &pos);
  return pos;
}

// Moves the cursor to the next byte of set; false at the end of the data.
bool skipTo(BLex3* lexer, const char* set) {
  BLex3_skipToSet(lexer, set, 0);
  return BLex3_fetch(lexer, 0) != nullptr;
}

// Where the next "<<<" stands in the window from the cursor, or null.
const char* findOpen(const char* from, const char* end) {
  for (const char* p = from; p + 3 <= end; ++p) {
    p = static_cast<const char*>(std::memchr(p, '<', static_cast<std::size_t>(end - p)));
    if (p == nullptr || p + 3 > end) return nullptr;
    if (p[1] == '<' && p[2] == '<') return p;
  }
  return nullptr;
}

}  // namespace

void TitleFinder_init(TitleFinder* finder, BLex3* lexer) {
  *finder = TitleFinder{};
  finder->lexer = lexer;
}

void TitleFinder_step(TitleFinder* f) {
  BLex3* lexer = f->lexer;
  BLex3_Pos p = here(lexer);
  if (p.offset < f->next.offset) {
    f->event = TitleFinder_kNothingHere;
    return;
  }
  if (f->endDue) {
    f->endDue = false;
    f->event = TitleFinder_kTitleEnd;
    return;
  }
  const char* cur = BLex3_fetch(lexer, kReadAhead);
  if (cur == nullptr) {
    f->next = {p.offset + 1, BLex3_kUnknown};
    f->event = TitleFinder_kNothingHere;
    return;
  }
  const char* end = BLex3_getEnd(lexer);
  const char* open = findOpen(cur, end);
  if (open == nullptr) {
    // A "<<<" cut by the window's end is found from two bytes before it.
    const char* stop = BLex3_isEndPtr(lexer, end) ? end : end - 2;
    BLex3_getPosOfPtr(lexer, stop, &f->next);
    f->event = TitleFinder_kNone;
    return;
  }
  if (open != cur) {
    BLex3_getPosOfPtr(lexer, open, &f->next);
    f->event = TitleFinder_kNone;
    return;
  }

  // A title starts here.
  bool openedWith4 = cur[3] == '<';
  BLex3_next(lexer, openedWith4 ? 4 : 3);
  f->textStart = here(lexer);
  f->keyStart = f->keyEnd = TitleFinder_kNoPos;
  bool atEnd = false;
  for (;;) {
    if (!skipTo(lexer, "[>")) {
      atEnd = true;
      break;
    }
    if (*BLex3_fetch(lexer, 0) == '[') {
      BLex3_next(lexer, 1);
      f->keyStart = here(lexer);
      if (!skipTo(lexer, "]>")) {
        atEnd = true;
        break;
      }
      if (*BLex3_fetch(lexer, 0) == ']') {
        f->keyEnd = here(lexer);
        if (!skipTo(lexer, ">")) {
          atEnd = true;
          break;
        }
      }
    }
    if (startsWith(lexer, ">>>")) break;
    BLex3_next(lexer, 1);
  }
  f->textEnd = here(lexer);

  int32_t c = 0;
  if (!atEnd) {
    const char* q = BLex3_fetch(lexer, 5);
    if (std::strncmp(q, ">>>>`", 5) == 0) {
      BLex3_next(lexer, 5);
    } else if (std::strncmp(q, ">>>>", 4) == 0) {
      c = f->prevOpenedWith4 ? 0 : -1;
      BLex3_next(lexer, 4);
    } else {
      BLex3_next(lexer, 3);
    }
    // Level marks up to the end of the line (a CR, or a lone LF).
    while (skipTo(lexer, "'`-\r\n")) {
      char m = *BLex3_fetch(lexer, 0);
      if (m == '\'')
        --c;
      else if (m == '`')
        ++c;
      else if (m == '-')
        f->unread = false;
      else
        break;
      BLex3_next(lexer, 1);
    }
  }
  int32_t level = f->level + c + (f->prevOpenedWith4 ? 1 : 0);
  f->level = level < 0 ? 0 : level;
  f->prevOpenedWith4 = openedWith4;
  f->next = here(lexer);
  f->endDue = true;
  f->event = TitleFinder_kTitleStart;
}
