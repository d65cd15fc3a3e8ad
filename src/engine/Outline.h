// Outline: turns the titles that TitleFinder reports into an outline list
// and the title anchors of the listing. The analysis pass writes the full
// outline (every level, each item with an "abst" anchor of its own) and
// registers titles that hold a keyword in the links file; the writing pass
// writes the short outline (levels below the chosen depth), whose items link
// either to the full outline or to the listing, and puts a numbered anchor
// at every title of the listing. Numbering follows the levels: the second
// subsection of the first chapter is 1-2.
#pragma once
#include <cstdint>
#include <cstdio>

#include "engine/LinksFile.h"
#include "engine/TitleFinder.h"
#include "runtime/OutFile.h"
#include "runtime/StrX.h"

inline constexpr int32_t Outline_kLevels = 10;
// The depth limit of the full outline.
inline constexpr int32_t Outline_kFullLimit = 10;

struct Outline_Pending {
  int32_t level = 0;
  int32_t number = 0;  // 0: no item is pending
  int32_t counters[Outline_kLevels] = {};
  BLex3_Pos textStart{0, 0};
  BLex3_Pos textEnd{0, 0};
};

struct Outline {
  TitleFinder* finder = nullptr;
  int32_t count = 0;  // titles so far
  int32_t counters[Outline_kLevels] = {};
  int32_t totals[Outline_kLevels] = {};
  int32_t depth = 0;
  int32_t limit = 0;          // titles at a depth below it are listed
  std::FILE* out = nullptr;   // owned
  char path[StrX_kPathSize] = {};  // of out, for the report of a failed write
  OutFile* listing = nullptr;    // the listing, for title anchors
  LinksFile* links = nullptr;
  Outline_Pending pending;
};

// Opens outPath ("wb") when given; listing and links may be null.
void Outline_init(Outline* outline, TitleFinder* finder, int32_t limit, const char* outPath,
                  OutFile* listing, LinksFile* links);
void Outline_step(Outline* outline);
// Writes what is still open and closes the output; safe to call once after
// any init, also on the error path.
void Outline_finish(Outline* outline);
// The depth for the short outline, from the totals of a full pass: the
// deepest level L for which the titles above L are between 2 and 30 and fewer
// than a third of all titles; 0 when none is.
int32_t Outline_chooseDepth(const Outline* outline);
