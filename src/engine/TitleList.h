// TitleList: the page list of a project site. Every page written adds an
// entry (source path, file name, page path) and the first title of the page
// (the first title mark of a text, the "title" element of a document); the
// list is written sorted by file name without regard to case, with links
// relative to the page that holds it.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/TitleFinder.h"
#include "lexer/HtmlTagP.h"
#include "runtime/TextCode.h"

inline constexpr std::size_t TitleList_kTitleSize = 128;  // at most 127 bytes

struct TitleEntry {
  std::string source;
  std::string fileName;
  std::string page;
  std::string title;
  TextCode code;  // of the title: the current code when the page was added
};

struct TitleList {
  std::vector<TitleEntry> entries;
  bool found = false;  // the current page's title is known
  BLex3_Pos titleStart{-1, 0};
  HtmlTagP* tags = nullptr;
  TitleFinder* finder = nullptr;
  TextCode pathCode = TextCode::Cp932;  // of the file names and page paths
};

void TitleList_init(TitleList* list);
// A page made from a text (finder) or a document (tags); the other is null.
void TitleList_addPage(TitleList* list, const char* source, HtmlTagP* tags,
                       TitleFinder* finder, const char* page);
void TitleList_stepText(TitleList* list);
void TitleList_stepTemplate(TitleList* list);
// Writes the sorted list; listPage is the path of the page that holds it.
void TitleList_write(TitleList* list, std::FILE* out, const char* listPage);
void TitleList_finish(TitleList* list);
