// LineCounter: counts window by window straight from the lexer's window.
#include "lexer/LineCounter.h"

#include "lexer/ByteScan.h"

namespace {

// Every byte moves the column on; a line feed starts the next line at
// column 1.
void countBytes(LineCounter* c, const char* p, const char* end) {
  const char* lineStart = nullptr;
  c->line += static_cast<int32_t>(ByteScan_countLineFeeds(p, end, &lineStart));
  if (lineStart != nullptr)
    c->column = 1 + static_cast<int32_t>(end - lineStart);
  else
    c->column += static_cast<int32_t>(end - p);
}

}  // namespace

void LineCounter_init(LineCounter* c) {
  c->lexer = nullptr;
  c->line = 1;
  c->column = 1;
  c->counted = BLex3_Pos{0, 0};
}

void LineCounter_setLexer(LineCounter* c, BLex3* lexer) { c->lexer = lexer; }

void LineCounter_step(LineCounter* c) {
  BLex3* lx = c->lexer;
  BLex3_Pos to;
  BLex3_getPos(lx, &to);
  if (to.offset <= c->counted.offset) return;
  // Mostly the bytes since the last count are all still in the window's
  // data, and the cursor need not move.
  const int64_t dataLen = BLex3_getEnd(lx) - lx->buf;
  if (c->counted.offset >= lx->base && to.offset - lx->base <= dataLen) {
    countBytes(c, BLex3_getPtrOfOffset(lx, c->counted.offset), BLex3_getPtrOfOffset(lx, to.offset));
    c->counted = to;
    return;
  }
  BLex3_setPos(lx, c->counted);
  int32_t left = to.offset - c->counted.offset;
  while (left > 0) {
    char* p = BLex3_fetch(lx, 0);
    if (p == nullptr) break;
    char* end = BLex3_getEnd(lx);
    if (end - p > left) end = p + left;
    countBytes(c, p, end);
    left -= static_cast<int32_t>(end - p);
    BLex3_setPtr(lx, end);
  }
  c->counted = to;
  BLex3_setPos(lx, to);
}
