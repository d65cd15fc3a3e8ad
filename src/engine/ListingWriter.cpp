// ListingWriter: the escaped, numbered listing.
#include "engine/ListingWriter.h"

#include <cstring>

#include "lexer/BLex3Write.h"
#include "runtime/Errors.h"
#include "runtime/FileX.h"

namespace {

void writeEscaped(ListingWriter* w, BLex3_Pos to) {
  uint32_t line = w->lineState < 0 ? BLex3_kNoLineNumbers : static_cast<uint32_t>(w->lineState);
  BLex3_writeHtml(w->lexer, w->last, to, &line, w->out);
}

}  // namespace

void ListingWriter_init(ListingWriter* writer, const char* path, HtmlTagP* tags,
                        const int32_t* line) {
  *writer = ListingWriter{};
  writer->tags = tags;
  writer->lexer = tags->lexer;
  writer->line = line;
  writer->lineState = line != nullptr ? 0 : -1;
  StrX_cpy(writer->path, path, sizeof writer->path);
  writer->out = FileX_open(path, "wb");
  writer->outBuffer.attach(writer->out);
}

void ListingWriter_step(ListingWriter* w) {
  BLex3_Pos cur;
  BLex3_getPos(w->lexer, &cur);
  int32_t state = HtmlTagP_getState(w->tags);
  if (w->lineState == 0) {
    std::fputs("   1|", w->out);
    w->lineState = 1;
  }
  if (!w->raw) {
    writeEscaped(w, cur);
    if (state == HtmlTagP_kStart && std::strcmp(w->tags->name, "img") == 0) {
      w->raw = true;
      w->rawStart = cur;
      w->rawLine = w->lineState;
    }
  } else if (state == HtmlTagP_kEnd) {
    BLex3_writeRange(w->lexer, w->rawStart, cur, w->out);
    w->raw = false;
  }
  w->last = cur;
  if (w->line != nullptr) w->lineState = *w->line;
}

void ListingWriter_finish(ListingWriter* w) {
  BLex3_Pos end;
  BLex3_getEOFPos(w->lexer, &end);
  if (w->raw) {
    // An image tag left open at the end of the file is shown as text.
    w->raw = false;
    w->last = w->rawStart;
    w->lineState = w->rawLine;
  }
  writeEscaped(w, end);
  w->last = end;
}

void ListingWriter_close(ListingWriter* w) {
  if (w->out == nullptr) return;
  std::FILE* out = w->out;
  w->out = nullptr;
  FileX_closeWritten(out, w->path);
}
