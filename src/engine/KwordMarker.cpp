// KwordMarker: kword anchors and keyword links.
#include "engine/KwordMarker.h"

#include <cstring>


namespace {

void writeLinkStart(OutFile* out, const char* target) {
  static constexpr char kOpen[] = "<A href=\"";
  static constexpr char kClose[] = "\">";
  OutFile_write(out, kOpen, sizeof kOpen - 1);
  OutFile_puts(out, target);
  OutFile_write(out, kClose, sizeof kClose - 1);
}

}  // namespace

void KwordMarker_init(KwordMarker* marker, HtmlTagP* tags, KeywordLinker* linker,
                      bool trackingOff, OutFile* out) {
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
    OutFile_printf(m->out, "<A name=\"kword%d\">", ++m->count);
    return;
  }
  if (state == HtmlTagP_kStart && std::strcmp(name, "/kword") == 0) {
    OutFile_puts(m->out, "</A>");
    return;
  }
  switch (KeywordLinker_event(m->linker)) {
    case KeywordLinker_kLinkStart:
      if (HtmlTagP_isInTag(m->tags) || m->inA) break;
      writeLinkStart(m->out, KeywordLinker_target(m->linker));
      m->linkOpen = true;
      break;
    case KeywordLinker_kLinkEnd:
      if (!m->linkOpen) break;
      OutFile_puts(m->out, "</A>");
      m->linkOpen = false;
      break;
    default:
      break;
  }
}

void KwordMarker_finish(KwordMarker* m) {
  if (m->out != nullptr && m->linkOpen) OutFile_puts(m->out, "</A>");
  m->linkOpen = false;
}
