// Outline: outline lists, title anchors and title links entries.
#include "engine/Outline.h"

#include <cstring>

#include "lexer/BLex3Write.h"
#include "runtime/Errors.h"
#include "runtime/FileX.h"
#include "runtime/StrX.h"

namespace {

constexpr std::size_t kTitleText = 256;  // a title's links entry: 255 bytes

int32_t levelIndex(int32_t level) { return level < Outline_kLevels ? level : Outline_kLevels - 1; }

// A title's number, "1-2. ", into text; gives its length.
std::size_t formatNumber(char* text, std::size_t size, const int32_t* counters, int32_t level) {
  std::size_t n = static_cast<std::size_t>(std::snprintf(text, size, "%d", counters[0]));
  for (int32_t i = 1; i <= level && i < Outline_kLevels; ++i)
    n += static_cast<std::size_t>(std::snprintf(text + n, size - n, "-%d", counters[i]));
  n += static_cast<std::size_t>(std::snprintf(text + n, size - n, ". "));
  return n;
}

// Room for the number of every level: "-" and ten digits and a sign each.
constexpr std::size_t kNumberText = 12 * Outline_kLevels + 3;

void writeNumber(std::FILE* out, const int32_t* counters, int32_t level) {
  char text[kNumberText];
  std::fwrite(text, 1, formatNumber(text, sizeof text, counters, level), out);
}

void writeNumber(OutFile* out, const int32_t* counters, int32_t level) {
  char text[kNumberText];
  OutFile_write(out, text, formatNumber(text, sizeof text, counters, level));
}

// "1-2. Title</A>\r\n": the number, the escaped title text and the end.
void writeItemBody(Outline* o, const int32_t* counters, int32_t level, BLex3_Pos from,
                   BLex3_Pos to) {
  writeNumber(o->out, counters, level);
  uint32_t noNumbers = BLex3_kNoLineNumbers;
  BLex3_writeHtml(o->finder->lexer, from, to, &noNumbers, o->out);
  std::fputs("</A>\r\n", o->out);
}

void writePending(Outline* o, bool toFullOutline) {
  Outline_Pending& p = o->pending;
  std::fprintf(o->out, toFullOutline ? "%*s<LI><A href=\"#abst%d\">" : "%*s<LI><A href=\"#title%d\">",
               p.level, "", p.number);
  writeItemBody(o, p.counters, p.level, p.textStart, p.textEnd);
  p.number = 0;
}

void titleStart(Outline* o) {
  TitleFinder* f = o->finder;
  const int32_t level = f->level;
  const int32_t t = ++o->count;
  const int32_t li = levelIndex(level);
  ++o->counters[li];
  ++o->totals[li];
  while (o->depth < level) {
    ++o->depth;
    if (o->out && o->depth < o->limit) std::fprintf(o->out, "%*s<UL><FONT size=-1>\r\n", o->depth, "");
    o->counters[li] = 1;
  }
  while (o->depth > level) {
    if (o->out && o->depth < o->limit) std::fprintf(o->out, "%*s</FONT></UL>\r\n", o->depth, "");
    --o->depth;
  }
  if (o->out) {
    if (o->pending.number != 0) writePending(o, o->pending.level < level);
    if (o->depth < o->limit) {
      if (o->limit == Outline_kFullLimit) {
        std::fprintf(o->out, "%*s<LI><A name=\"abst%d\" href=\"#title%d\">", level, "", t, t);
        writeItemBody(o, o->counters, level, f->textStart, f->textEnd);
      } else {
        Outline_Pending& p = o->pending;
        p.level = level;
        p.number = t;
        std::memcpy(p.counters, o->counters, sizeof p.counters);
        p.textStart = f->textStart;
        p.textEnd = f->textEnd;
      }
    }
  }
  if (o->listing) {
    OutFile_printf(o->listing, "<A name=\"title%d\">", t);
    writeNumber(o->listing, o->counters, o->depth);
  }
  if (o->links && TitleFinder_hasKeyword(f)) {
    char text[kTitleText];
    BLex3_copyRange(f->lexer, f->textStart, f->textEnd, text, sizeof text);
    StrX_cutRet(text);
    char anchor[32];
    std::snprintf(anchor, sizeof anchor, "title%d", t);
    LinksFile_add(o->links, anchor, text, "");
  }
}

}  // namespace

void Outline_init(Outline* outline, TitleFinder* finder, int32_t limit, const char* outPath,
                  OutFile* listing, LinksFile* links) {
  *outline = Outline{};
  outline->finder = finder;
  outline->limit = limit;
  outline->listing = listing;
  outline->links = links;
  if (outPath != nullptr) {
    StrX_cpy(outline->path, outPath, sizeof outline->path);
    outline->out = FileX_open(outPath, "wb");
  }
}

void Outline_step(Outline* outline) {
  switch (TitleFinder_event(outline->finder)) {
    case TitleFinder_kTitleStart:
      titleStart(outline);
      break;
    case TitleFinder_kTitleEnd:
      if (outline->depth < outline->limit && outline->listing) OutFile_puts(outline->listing, "</A>");
      break;
    default:
      break;
  }
}

void Outline_finish(Outline* outline) {
  if (outline->out == nullptr) return;
  std::FILE* out = outline->out;
  if (outline->pending.number != 0) writePending(outline, true);
  while (outline->depth >= 1) {
    if (outline->depth < outline->limit) std::fprintf(out, "%*s</FONT></UL>\r\n", outline->depth, "");
    --outline->depth;
  }
  outline->out = nullptr;
  FileX_closeWritten(out, outline->path);
}

int32_t Outline_chooseDepth(const Outline* outline) {
  int32_t n = outline->count;
  for (int32_t level = Outline_kLevels - 1; level >= 1; --level) {
    n -= outline->totals[level];
    if (3 * n < outline->count && n >= 2 && n <= 30) return level;
  }
  return 0;
}
