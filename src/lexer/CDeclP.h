// CDeclP: the declaration recognizer. As one of the lockstep scanners of a
// pass it finds, at top level, the definitions that go into the definition
// indexes: macros, function definitions, typedef'd types, structures,
// unions, classes and enumerations with a body, and the members of an
// enumeration. It reads ahead from where a declaration begins with copies of
// the comment scanner and of the bracket tracker, and reports each
// definition as a start code at the declaration and an end code after its
// head, so that both passes see the same events in the same order.
#pragma once
#include <cstddef>
#include <cstdint>

#include "lexer/BLex3.h"
#include "lexer/BracketP.h"
#include "lexer/CommentP.h"

// Result codes.
inline constexpr int32_t CDeclP_FunctionStart = 7272;   // name: the function
inline constexpr int32_t CDeclP_FunctionEnd = 7273;     // at the body's "{"
inline constexpr int32_t CDeclP_MacroStart = 7275;      // "#define"; name: the macro
inline constexpr int32_t CDeclP_MacroEnd = 7276;        // after the directive's lines
inline constexpr int32_t CDeclP_TypedefStart = 7278;    // name: the first type named
inline constexpr int32_t CDeclP_TypedefEnd = 7279;      // after the ";"
inline constexpr int32_t CDeclP_AggregateStart = 7280;  // name: the tag; kind set
inline constexpr int32_t CDeclP_AggregateEnd = 7281;    // after the "{"
inline constexpr int32_t CDeclP_EnumStart = 7283;       // name: the tag
inline constexpr int32_t CDeclP_EnumEnd = 7284;
inline constexpr int32_t CDeclP_Nothing = -2;
inline constexpr int32_t CDeclP_NotYet = -3;  // stepped before the next scan position

// The keyword that opened an aggregate.
inline constexpr int32_t CDeclP_kStruct = 1;
inline constexpr int32_t CDeclP_kUnion = 2;
inline constexpr int32_t CDeclP_kClass = 3;

// The current event, read by the definition index after every step. The
// name runs from nameStart up to (not including) nameEnd.
struct CDeclP_Event {
  int32_t kind;  // CDeclP_kStruct, _kUnion or _kClass for an aggregate start
  BLex3_Pos nameStart;
  BLex3_Pos nameEnd;
  int32_t result;  // the code of the last step
};

struct CDeclP {
  BLex3* lexer;
  BracketP* tracker;   // its brace depth tells top level; copied to scan ahead
  CommentP* comments;  // the comment scanner; copied to scan ahead
  BLex3_Pos scanPos;   // where the next general scan starts
  int32_t pending;     // a code waiting to be reported, -2: none
  BLex3_Pos listEnd;   // just after the character that ended a typedef
  char terminator;     // ';' or ',': that character
  BLex3_Pos endPos;    // where the pending code is reported
  CDeclP_Event event;
  uint8_t inFunction;  // from a function start up to its end
  int32_t baseDepth;   // the brace depth of top level: 1 inside extern "C" { }
};

void CDeclP_init(CDeclP* recognizer, BLex3* lexer, BracketP* tracker, CommentP* comments);
// One step at the lexer's cursor; moves the cursor (the pass restores it).
void CDeclP_step(CDeclP* recognizer);
int32_t CDeclP_getResult(const CDeclP* recognizer);
const CDeclP_Event* CDeclP_getEvent(const CDeclP* recognizer);
// The smallest of scanPos, listEnd and endPos (ties: in that order).
void CDeclP_getNextPos(const CDeclP* recognizer, BLex3_Pos* pos);
// After an enumeration start: copies the next member's name into buffer (at
// most capacity - 1 bytes, NUL-terminated) and gives true; false when the
// members are done. Moves the lexer's cursor.
bool CDeclP_nextEnumMember(CDeclP* recognizer, char* buffer, std::size_t capacity);
