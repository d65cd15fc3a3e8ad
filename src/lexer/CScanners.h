// CScanners: the C scanners that both source passes step together: comment
// and literal scanners, bracket tracker and declaration recognizer, wired
// to one another. A cycle steps only the scanners whose
// next event is at the cycle's position; the others get the state that a
// step before their event would give, without a call and without moving the
// lexer. Most cycles of a pass belong to other objects, so this is most of
// what the scanners cost.
#pragma once

#include "lexer/BLex3.h"
#include "lexer/BracketP.h"
#include "lexer/CDeclP.h"
#include "lexer/CommentP.h"

struct CScanners {
  BLex3* lexer;
  CommentP comments;
  CommentP literals;
  BracketP tracker;
  CDeclP decl;
};

// errors: where the tracker records bracket errors, or null.
void CScanners_init(CScanners* scanners, BLex3* lexer, BracketP_Errors* errors);

// One cycle at `at` (the lexer's cursor): the line counter, then comment
// scanner, literal scanner, tracker and recognizer, in this order,
// each that is due from `at`. The tracker follows the comment state and the
// recognizer reads the tracker, so the tracker is stepped whenever one of
// the other three is. Gives true when the lexer may have moved.
bool CScanners_step(CScanners* scanners, BLex3_Pos at);

// The smallest next-event position of tracker, comments, literals and
// recognizer; on equal offsets the first of them in this order.
BLex3_Pos CScanners_nextPos(const CScanners* scanners);
