// KwordCollector: registers the keywords that a template document marks
// with "kword" elements: the text between the tags, without tags and blanks
// at its ends, in brackets, under the anchor kword1, kword2, ... that the
// writing pass gives the same elements.
#pragma once
#include <cstdint>

#include "engine/LinksFile.h"
#include "lexer/HtmlTagP.h"

inline constexpr std::size_t KwordCollector_kTextSize = 254;  // at most 253 bytes of text

struct KwordCollector {
  HtmlTagP* tags = nullptr;
  BLex3_Pos textStart{-1, 0};
  int32_t count = 0;
  LinksFile* links = nullptr;
};

void KwordCollector_init(KwordCollector* collector, HtmlTagP* tags, LinksFile* links);
void KwordCollector_step(KwordCollector* collector);
