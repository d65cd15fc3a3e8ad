// KwordCollector: kword marks into the links file.
#include "engine/KwordCollector.h"

#include <cstdio>
#include <cstring>

#include "lexer/BLex3Write.h"
#include "runtime/StrX.h"

void KwordCollector_init(KwordCollector* collector, HtmlTagP* tags, LinksFile* links) {
  *collector = KwordCollector{};
  collector->tags = tags;
  collector->links = links;
}

void KwordCollector_step(KwordCollector* c) {
  int32_t state = HtmlTagP_getState(c->tags);
  BLex3* lexer = c->tags->lexer;
  if (state == HtmlTagP_kEnd && std::strcmp(c->tags->name, "kword") == 0) {
    ++c->count;
    BLex3_getPos(lexer, &c->textStart);
    return;
  }
  if (state != HtmlTagP_kStart || std::strcmp(c->tags->name, "/kword") != 0) return;
  if (c->links == nullptr || c->textStart.offset < 0) return;
  BLex3_Pos here;
  BLex3_getPos(lexer, &here);
  char text[KwordCollector_kTextSize];
  BLex3_copyRange(lexer, c->textStart, here, text, sizeof text);
  StrX_cutTag(text);
  StrX_trim(text);
  StrX_cutRet(text);
  char name[KwordCollector_kTextSize + 2];
  std::snprintf(name, sizeof name, "[%s]", text);
  char anchor[32];
  std::snprintf(anchor, sizeof anchor, "kword%d", c->count);
  LinksFile_add(c->links, anchor, name, "");
  c->textStart = {-1, 0};
}
