// BracketP: follows the nesting of "(", "[" and "{" and the line number
// through C and C++ source outside comments and literals, as one of the
// lockstep scanners of a pass. The declaration recognizer reads its brace
// depth and steps copies of it to scan ahead; the real tracker records up to
// five bracket errors, which the pipeline prints as warnings. A bracket at an
// event position is counted once: a closing one when it is reached, an
// opening one (and a line feed) when it is passed.
//
// Conditional compilation: the depths after an #if/#ifdef/#ifndef ... #endif
// group are those that its first branch leaves. Every other branch (#elif,
// #else) is counted from the state at the group's start, so a function in
// an #else branch is followed as well, and branches that each open a brace
// closed by one "}" after the group leave one brace, not two.
#pragma once
#include <cstddef>
#include <cstdint>

#include "lexer/BLex3.h"
#include "lexer/CommentP.h"

inline constexpr int32_t BracketP_kMaxErrors = 5;
// Open levels whose line and closer are recorded; deeper ones are counted.
inline constexpr int32_t BracketP_kMaxLevels = 20;
// Stands for no bracket in an error entry.
inline constexpr char BracketP_kNoBracket = '_';
// A message is written only while more than this room is left in the
// buffer (a mismatch message needs more).
inline constexpr std::size_t BracketP_kRoomForMessage = 35;
inline constexpr std::size_t BracketP_kRoomForMismatch = 50;
// The buffer the pipelines format into.
inline constexpr std::size_t BracketP_kFormatSize = 4096;
// Nested conditional groups whose branches are followed; deeper groups are
// counted straight through.
inline constexpr int32_t BracketP_kMaxCondLevels = 16;

// Owned by the pipeline, cleared before each file. In an entry, expected "_"
// marks a closing bracket without opener, found "_" an opener never closed.
struct BracketP_Errors {
  int32_t count;
  int32_t openLine[BracketP_kMaxErrors];
  int32_t closeLine[BracketP_kMaxErrors];
  char expected[BracketP_kMaxErrors];  // ")", "]", "}" or "_"
  char found[BracketP_kMaxErrors];
};

// The bracket state at one point: depths and the open levels' records.
struct BracketP_State {
  int32_t parenDepth;
  int32_t braceDepth;
  int32_t squareDepth;
  int32_t openLines[BracketP_kMaxLevels];
  char closers[BracketP_kMaxLevels];
};

// One open conditional group.
struct BracketP_Cond {
  BracketP_State atStart;   // where the group began
  BracketP_State firstEnd;  // where its first branch ended (once hasElse)
  uint8_t hasElse;
};

struct BracketP {
  BLex3* lexer;
  bool followsLines;   // counts the lines of comments and literals too; not in copies
  const CommentP* comments;
  const CommentP* literals;
  int32_t lastOffset;  // counted up to here; -1 before the first step
  int32_t lastKind;
  int32_t counting;    // 0 while the last step ended inside a comment or literal
  int32_t parenDepth;
  int32_t braceDepth;
  int32_t squareDepth;
  int32_t line;
  int32_t openLines[BracketP_kMaxLevels];  // by total depth - 1
  char closers[BracketP_kMaxLevels];
  BracketP_Errors* errors;  // null: nothing is recorded
  int32_t condLevel;        // open conditional groups
  BracketP_Cond conds[BracketP_kMaxCondLevels];
};

void BracketP_init(BracketP* tracker, BracketP_Errors* errors, const CommentP* comments,
                   const CommentP* literals);
void BracketP_setLexer(BracketP* tracker, BLex3* lexer);
// Counts from where the last step stood up to the lexer's cursor; the cursor
// is left where it was.
void BracketP_step(BracketP* tracker);
// Always offset 0x7FFFFFFF: the tracker has no events of its own.
void BracketP_getNextPos(const BracketP* tracker, BLex3_Pos* pos);
// Counts the rest of the file (the pass stops at the end of the data without
// a step there), then records one entry for each kind still open (round,
// curly, square). Moves the lexer's cursor.
void BracketP_finish(BracketP* tracker);
// A whole copy, which scans ahead for the recognizer: it records no errors,
// so that each warning is reported once, by the tracker that really passes
// the bracket, and does not follow the lines of comments and literals.
void BracketP_copy(BracketP* dst, const BracketP* src);

void BracketP_Errors_clear(BracketP_Errors* errors);
// Writes the messages into buffer (NUL-terminated, never more than capacity
// bytes); gives the count.
int32_t BracketP_Errors_format(const BracketP_Errors* errors, char* buffer,
                               std::size_t capacity);
