// HeadingIndex: the table of contents of a template document, made from its
// headings h1 to h6: every heading gets a numbered anchor in the page and an
// item in the index, nested by level relative to the lowest level seen (a
// document that starts with h3 has h3 as its outermost level). A heading
// with idx_disp="no" is counted but neither anchored nor listed.
#pragma once
#include <cstdint>
#include <cstdio>

#include "lexer/HtmlTagP.h"
#include "runtime/OutFile.h"
#include "runtime/StrX.h"

struct HeadingIndex {
  HtmlTagP* tags = nullptr;
  BLex3_Pos textStart{-1, 0};  // behind the start tag of a listed heading
  int32_t count = 0;
  int32_t depth = 0;
  int32_t lowest = 6;
  bool listed = true;
  std::FILE* out = nullptr;     // owned: the outline list
  OutFile* anchor = nullptr;    // the page's current output, or none
  char path[StrX_kPathSize] = {};
};

// Opens outPath ("wb") and writes "<UL>\r\n" at once.
void HeadingIndex_init(HeadingIndex* index, HtmlTagP* tags, const char* outPath,
                       OutFile* anchor);
void HeadingIndex_step(HeadingIndex* index);
// Closes the lists and the output; safe once after any init.
void HeadingIndex_finish(HeadingIndex* index);
