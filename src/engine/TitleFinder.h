// TitleFinder: finds the titles that authors mark in text and source files:
// "<<<" or "<<<<", the title text (a keyword may stand in "[" "]"), ">>>" or
// ">>>>" (also followed by a backquote), then level marks up to the end of
// the line: each backquote one level deeper, each apostrophe one level up.
// A title opened with "<<<<" makes the titles after it one level deeper; one
// closed with ">>>>" returns one level up. Stepped by the passes' lockstep
// loop; its next position tells the loop where the next "<<<" may stand.
#pragma once
#include <cstdint>

#include "lexer/BLex3.h"

// Events.
inline constexpr int32_t TitleFinder_kNothingHere = -3;
inline constexpr int32_t TitleFinder_kNone = -2;
inline constexpr int32_t TitleFinder_kTitleStart = 1844;
inline constexpr int32_t TitleFinder_kTitleEnd = 1847;

inline constexpr BLex3_Pos TitleFinder_kNoPos{-1, 0};

struct TitleFinder {
  BLex3* lexer = nullptr;
  BLex3_Pos next{0, 0};         // the position up to which no step is needed
  bool prevOpenedWith4 = false;  // the previous title opened with "<<<<"
  int32_t event = TitleFinder_kNone;
  bool endDue = false;           // a title has started; its end event is due
  BLex3_Pos textStart{0, 0};     // the title text
  BLex3_Pos textEnd{0, 0};
  BLex3_Pos keyStart = TitleFinder_kNoPos;  // just behind a "[" in the title
  BLex3_Pos keyEnd = TitleFinder_kNoPos;    // at its "]"
  int32_t level = 0;
  bool unread = true;  // cleared by a "-" mark; nothing reads it
};

void TitleFinder_init(TitleFinder* finder, BLex3* lexer);
void TitleFinder_step(TitleFinder* finder);
inline int32_t TitleFinder_event(const TitleFinder* finder) { return finder->event; }
inline BLex3_Pos TitleFinder_nextPos(const TitleFinder* finder) { return finder->next; }
// True when the current title holds a "[".
inline bool TitleFinder_hasKeyword(const TitleFinder* finder) {
  return finder->keyStart.offset >= 0;
}
