// KwordMarker: kword anchors and keyword links.
#include "engine/KwordMarker.h"

#include <cstring>

void KwordMarker_init(KwordMarker* marker, HtmlTagP* tags, KeywordLinker* linker,
                      bool trackingOff, std::FILE* out) {
  *marker = KwordMarker{};
  marker->tags = tags;
  marker->linker = linker;
  marker->trackingOff = trackingOff;
  marker->out = out;
}

void KwordMarker_step(KwordMarker* m) {
  if (m->out == nullptr) return;
  int32_t state = HtmlTagP_getState(m->tags);
  const char* name = m->tags->name;
  if (!m->trackingOff && state == HtmlTagP_kStart) {
    if (std::strcmp(name, "a") == 0) m->inA = true;
    if (std::strcmp(name, "/a") == 0) m->inA = false;
  }
  if (state == HtmlTagP_kEnd && std::strcmp(name, "kword") == 0) {
    std::fprintf(m->out, "<A name=\"kword%d\">", ++m->count);
    return;
  }
  if (state == HtmlTagP_kStart && std::strcmp(name, "/kword") == 0) {
    std::fputs("</A>", m->out);
    return;
  }
  switch (KeywordLinker_event(m->linker)) {
    case KeywordLinker_kLinkStart:
      if (HtmlTagP_isInTag(m->tags) || m->inA) break;
      std::fputs("<A href=\"", m->out);
      std::fputs(KeywordLinker_target(m->linker), m->out);
      std::fputs("\">", m->out);
      m->linkOpen = true;
      break;
    case KeywordLinker_kLinkEnd:
      if (!m->linkOpen) break;
      std::fputs("</A>", m->out);
      m->linkOpen = false;
      break;
    default:
      break;
  }
}

void KwordMarker_finish(KwordMarker* m) {
  if (m->out != nullptr && m->linkOpen) std::fputs("</A>", m->out);
  m->linkOpen = false;
}
