// KeywordLinker: the keyword-link finder of the writing passes. Stepped at
// the lexer's current position, it looks ahead through the window for the
// next place where a key of the LinksIndex starts, at every byte that is not
// the second byte of a double-byte character (also inside a longer word:
// "xFoo" links its "Foo"), and reports the start and the end of that link as
// events; the keyword marker writes the link around the text.
#pragma once
#include <cstdint>

#include "engine/LinksIndex.h"
#include "lexer/BLex3.h"
#include "runtime/StrX.h"

// Events.
inline constexpr int32_t KeywordLinker_kNothingYet = -3;  // stepped before its next position
inline constexpr int32_t KeywordLinker_kNothing = -2;     // nothing up to the next position
inline constexpr int32_t KeywordLinker_kLinkStart = 7991;
inline constexpr int32_t KeywordLinker_kLinkEnd = 7992;

// The bytes of text that a search needs behind a position: the scan of a
// window stops this far before its end unless the file ends in it.
inline constexpr int32_t KeywordLinker_kReadAhead = 128;

struct LinkAhead;

struct KeywordLinker {
  BLex3* lexer = nullptr;
  LinksIndex* index = nullptr;
  BLex3_Pos next = {0, 0};  // the next position that needs a step
  int32_t event = KeywordLinker_kNothingYet;
  BLex3_Pos linkStart = {BLex3_kNoOffset, BLex3_kUnknown};
  BLex3_Pos linkEnd = {BLex3_kNoOffset, BLex3_kUnknown};  // no offset: no link open
  char target[StrX_kPathSize] = {};                       // the target of the link found
  bool inLink = false;                                    // between a link's start and end events
  LinkAhead* ahead = nullptr;  // the helper that searches ahead, when one does
};

void KeywordLinker_init(KeywordLinker* linker, LinksIndex* index);
void KeywordLinker_setLexer(KeywordLinker* linker, BLex3* lexer);
// One step at the lexer's cursor; moves the cursor (the pass restores it).
void KeywordLinker_step(KeywordLinker* linker);
// Where the search of the window from the cursor must stop: the read-ahead
// before the window's end, or the end of the file.
char* KeywordLinker_stop(const BLex3* lexer);
// The search of one step, from the cursor p (fetched with the read-ahead)
// to stop: the length of the first key found, its start in *found and the
// key in *match; 0 when none starts before stop. It reads no file but the
// lexer's and raises nothing when the lexer is quiet.
std::size_t KeywordLinker_search(BLex3* lexer, LinksIndex* index, char* p, char* stop,
                                 char** found, LinksIndex_Match* match);
int32_t KeywordLinker_event(const KeywordLinker* linker);
BLex3_Pos KeywordLinker_nextPos(const KeywordLinker* linker);
// The target of the link that starts (event 7991) or is pending.
const char* KeywordLinker_target(const KeywordLinker* linker);
