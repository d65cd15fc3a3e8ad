// CScanners: set-up and the due-only cycle.
#include "lexer/CScanners.h"

namespace {

bool due(const CommentP& s, int32_t at) { return at >= s.next.offset; }

bool due(const CDeclP& d, int32_t at) {
  BLex3_Pos next;
  CDeclP_getNextPos(&d, &next);
  return at >= next.offset;
}

}  // namespace

void CScanners_init(CScanners* s, BLex3* lexer, BracketP_Errors* errors) {
  s->lexer = lexer;
  BracketP_init(&s->tracker, errors, &s->comments, &s->literals);
  BracketP_setLexer(&s->tracker, lexer);
  CommentP_init(&s->comments, &s->literals);
  CommentP_setCommentTable(&s->comments);
  CommentP_setLexer(&s->comments, lexer);
  CommentP_init(&s->literals, &s->comments);
  CommentP_setLiteralTable(&s->literals);
  CommentP_setLexer(&s->literals, lexer);
  CDeclP_init(&s->decl, lexer, &s->tracker, &s->comments);
}

bool CScanners_step(CScanners* s, BLex3_Pos at) {
  BLex3* lx = s->lexer;
  bool moved = false;
  auto restore = [&] {
    if (moved) BLex3_setPos(lx, at);
  };
  bool any = false;
  if (due(s->comments, at.offset)) {
    CommentP_step(&s->comments);
    moved = any = true;
  } else {
    s->comments.state = CommentP_NotYet;
  }
  if (due(s->literals, at.offset)) {
    restore();
    CommentP_step(&s->literals);
    moved = any = true;
  } else {
    s->literals.state = CommentP_NotYet;
  }
  const bool declDue = due(s->decl, at.offset);
  if (any || declDue) {
    // The tracker counts up to the cursor and reads the line counter's line.
    restore();
    BracketP_step(&s->tracker);
    moved = false;  // it leaves the cursor where it was
  }
  if (declDue) {
    restore();
    CDeclP_step(&s->decl);
    moved = true;
  } else {
    s->decl.event.result = CDeclP_NotYet;
  }
  return moved;
}

BLex3_Pos CScanners_nextPos(const CScanners* s) {
  BLex3_Pos best;
  BracketP_getNextPos(&s->tracker, &best);
  BLex3_Pos p;
  CommentP_getNextPos(&s->comments, &p);
  if (p.offset < best.offset) best = p;
  CommentP_getNextPos(&s->literals, &p);
  if (p.offset < best.offset) best = p;
  CDeclP_getNextPos(&s->decl, &p);
  if (p.offset < best.offset) best = p;
  return best;
}
