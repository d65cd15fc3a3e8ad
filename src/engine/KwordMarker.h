// KwordMarker: the keyword anchors and links of the writing passes. Each
// "kword" element of the text gets a numbered anchor (kword1, kword2, ... in
// the order the analysis pass registered them), and every keyword occurrence
// that the keyword-link finder reports outside a tag becomes a link to its
// definition. With tracking on (templates) text inside an existing A element
// is not linked again; source pages turn tracking off. A link whose start
// was written always gets its end, so links never stay open.
#pragma once
#include <cstdint>
#include <cstdio>

#include "engine/KeywordLinker.h"
#include "lexer/HtmlTagP.h"
#include "runtime/OutFile.h"

struct KwordMarker {
  HtmlTagP* tags = nullptr;
  KeywordLinker* linker = nullptr;
  bool inA = false;
  bool trackingOff = false;
  int32_t count = 0;
  bool linkOpen = false;  // a link start was written and its end not yet
  OutFile* out = nullptr;  // the page's current output (may be replaced between steps)
};

void KwordMarker_init(KwordMarker* marker, HtmlTagP* tags, KeywordLinker* linker,
                      bool trackingOff, OutFile* out);
void KwordMarker_step(KwordMarker* marker);
// After the pass's last text: closes a link that ended with the file (the
// loop stops before it steps at the end of the file).
void KwordMarker_finish(KwordMarker* marker);
