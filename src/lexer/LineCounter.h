// LineCounter: the line number of a pass's current position. Stepped first
// in every cycle, it counts the line feeds from where it last stood up to
// the lexer's cursor, so other scanners read the line of the current
// position from its line field at no cost.
#pragma once
#include <cstdint>

#include "lexer/BLex3.h"

struct LineCounter {
  BLex3* lexer;
  int32_t line;       // from 1
  int32_t column;     // from 1; every byte counts one
  BLex3_Pos counted;  // counted up to here (not including it)
};

// Line 1, column 1, counted position (0, 0), no lexer.
void LineCounter_init(LineCounter* counter);
void LineCounter_setLexer(LineCounter* counter, BLex3* lexer);
// Counts from the counted position up to the lexer's cursor; the cursor is
// left where it was. A cursor at or before the counted position counts
// nothing.
void LineCounter_step(LineCounter* counter);
