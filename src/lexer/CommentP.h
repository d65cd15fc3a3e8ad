// CommentP: follows spans between delimiters as one of the lockstep scanners
// of a pass: once with the comment table (comments) and once with the
// literal table (string and character literals), each scanner the other's
// partner so that a quote in a comment opens no literal and a "/*" in a
// literal opens no comment. A scanner sleeps until its next event (a start,
// an end, or the window's end), so a step before it costs one comparison.
// The record is plain: a copy made by assignment scans ahead on its own.
#pragma once
#include <cstddef>
#include <cstdint>

#include "lexer/BLex3.h"

// A delimiter holds at most 3 characters and its NUL.
inline constexpr std::size_t CommentP_kDelimSize = 4;
// Records in each table.
inline constexpr int32_t CommentP_kTableRecords = 2;

// One kind of span.
struct CommentP_Delim {
  char start[CommentP_kDelimSize];
  char end[CommentP_kDelimSize];
  char escape1[CommentP_kDelimSize];  // holds the end delimiter: that end does not close
  char escape2[CommentP_kDelimSize];  // passed over whole (two backslashes)
  bool endAtLoneLf;  // a line feed not preceded by CR also ends the span
};

// A table of CommentP_kTableRecords delimiter records, tried in order, with
// what its searches need; constant and shared by every scanner.
struct CommentP_Table;

// States (the result of a step).
inline constexpr int32_t CommentP_OutOfComment = 0;
inline constexpr int32_t CommentP_StartOfComment = 1;  // a start begins at the cursor
inline constexpr int32_t CommentP_InComment = 2;
inline constexpr int32_t CommentP_EndOfComment = 3;    // the end begins at the cursor
inline constexpr int32_t CommentP_AfterComment = 4;    // the step right after an end
inline constexpr int32_t CommentP_EndOfData = -2;
inline constexpr int32_t CommentP_NotYet = -3;         // stepped before the next event

struct CommentP {
  BLex3* lexer;
  BLex3_Pos next;            // the next event
  const CommentP* partner;   // the other scanner of the pair, or null
  int32_t state;
  int32_t prevState;         // 3 after an end was reported, else -2
  int32_t inside;            // from the start step up to the step after the end
  const CommentP_Delim* span;  // the span being scanned, or null
  const CommentP_Table* table;
  int32_t count;
  int32_t maxLen;            // the longest delimiter of the table, at least 1
  // Offset of an end delimiter that belongs to an escape and must not close
  // the span (-1: none). Kept by each scanner, so a copy scanning ahead
  // never disturbs the scanner it came from.
  int32_t ignoreAt;
};

// Next (0, 0), state 0, outside, no table.
void CommentP_init(CommentP* scanner, const CommentP* partner);
void CommentP_setLexer(CommentP* scanner, BLex3* lexer);
// "/*" to "*/"; "//" to the first CR LF or to a line feed that stands alone.
void CommentP_setCommentTable(CommentP* scanner);
// Double-quoted and single-quoted literals with backslash escapes. A 0x5C
// that is the trail byte of a double-byte character is never an escape: no
// delimiter begins on a trail byte.
void CommentP_setLiteralTable(CommentP* scanner);

// One step at the lexer's cursor; moves the cursor (the pass restores it).
void CommentP_step(CommentP* scanner);
void CommentP_getNextPos(const CommentP* scanner, BLex3_Pos* pos);
// Steps the scanner from event to event up to the lexer's cursor, so that
// its inside flag tells the state there; the cursor is left where it was.
void CommentP_catchUp(CommentP* scanner);
// The position just after the end of the span the scanner is in, found on a
// copy (the end of the data when the span never ends); cursor restored.
void CommentP_findEnd(const CommentP* scanner, BLex3_Pos* pos);
