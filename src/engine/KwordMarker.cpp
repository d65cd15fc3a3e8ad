// KwordMarker: kword anchors and keyword links.
#include "engine/KwordMarker.h"

#include <cstring>

#include "runtime/StrX.h"

namespace {

// The start tag of a keyword link, handed to the file in one piece.
void writeLinkStart(std::FILE* out, const char* target) {
  static constexpr char kOpen[] = "<A href=\"";
  static constexpr char kClose[] = "\">";
  char tag[sizeof kOpen + StrX_kPathSize + sizeof kClose];
  const std::size_t n = std::strlen(target);
  if (n >= StrX_kPathSize) {
    std::fputs(kOpen, out);
    std::fputs(target, out);
    std::fputs(kClose, out);
    return;
  }
  std::size_t len = 0;
  std::memcpy(tag, kOpen, sizeof kOpen - 1);
  len += sizeof kOpen - 1;
  std::memcpy(tag + len, target, n);
  len += n;
  std::memcpy(tag + len, kClose, sizeof kClose - 1);
  len += sizeof kClose - 1;
  std::fwrite(tag, 1, len, out);
}

}  // namespace

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
      writeLinkStart(m->out, KeywordLinker_target(m->linker));
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
