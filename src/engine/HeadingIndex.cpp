// HeadingIndex: heading anchors and the heading index.
#include "engine/HeadingIndex.h"

#include <cstring>

#include "lexer/BLex3Write.h"
#include "runtime/Errors.h"
#include "runtime/FileX.h"

namespace {

// The level of a name "h1".."h6" (after an optional "/"), or 0.
int headingLevel(const char* name, bool endTag) {
  if (endTag) {
    if (name[0] != '/') return 0;
    ++name;
  }
  if (name[0] == 'h' && name[1] >= '1' && name[1] <= '6' && name[2] == '\0') return name[1] - '0';
  return 0;
}

}  // namespace

void HeadingIndex_init(HeadingIndex* index, HtmlTagP* tags, const char* outPath,
                       OutFile* anchor) {
  *index = HeadingIndex{};
  index->tags = tags;
  index->anchor = anchor;
  StrX_cpy(index->path, outPath, sizeof index->path);
  index->out = FileX_open(outPath, "wb");
  std::fputs("<UL>\r\n", index->out);
}

void HeadingIndex_step(HeadingIndex* h) {
  int32_t state = HtmlTagP_getState(h->tags);
  const char* name = h->tags->name;
  BLex3* lexer = h->tags->lexer;
  if (state == HtmlTagP_kEnd && headingLevel(name, false) != 0) {
    ++h->count;
    const char* disp = HtmlTagP_getAttr(h->tags, "idx_disp");
    h->listed = disp == nullptr || std::strcmp(disp, "no") != 0;
    if (h->listed) {
      BLex3_getPos(lexer, &h->textStart);
      if (h->anchor) OutFile_printf(h->anchor, "<A name=\"%d\">", h->count);
    }
    return;
  }
  int level = state == HtmlTagP_kStart ? headingLevel(name, true) : 0;
  if (level == 0 || !h->listed || h->textStart.offset < 0) return;
  int32_t r = level - h->lowest;
  if (r < 0) {
    h->lowest = level;
    r = 0;
  }
  while (h->depth < r) {
    std::fprintf(h->out, "%*s<UL>\r\n", h->depth + 1, "");
    ++h->depth;
  }
  while (h->depth > r) {
    std::fprintf(h->out, "%*s</UL>\r\n", h->depth, "");
    --h->depth;
  }
  std::fprintf(h->out, "%*s<LI><A href=\"#%d\">", h->depth, "", h->count);
  BLex3_Pos here;
  BLex3_getPos(lexer, &here);
  BLex3_writeText(lexer, h->textStart, here, h->out);
  std::fputs("</A>\r\n", h->out);
  h->textStart = {-1, 0};
  if (h->anchor) OutFile_puts(h->anchor, "</A>");
}

void HeadingIndex_finish(HeadingIndex* h) {
  if (h->out == nullptr) return;
  std::FILE* out = h->out;
  h->out = nullptr;
  while (h->depth > 0) {
    std::fprintf(out, "%*s</UL>\r\n", h->depth, "");
    --h->depth;
  }
  std::fputs("</UL>\r\n", out);
  FileX_closeWritten(out, h->path);
}
