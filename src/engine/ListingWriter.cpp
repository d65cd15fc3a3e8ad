// ListingWriter: the escaped, numbered listing.
#include "engine/ListingWriter.h"

#include <cstring>

#include "lexer/BLex3Write.h"
#include "runtime/Errors.h"
#include "runtime/FileX.h"

namespace {

// Writes from last up to `to`; gives the line at `to`.
int32_t writeEscaped(ListingWriter* w, BLex3_Pos to) {
  uint32_t line = w->lineState < 0 ? BLex3_kNoLineNumbers : static_cast<uint32_t>(w->lineState);
  BLex3_writeHtml(w->lexer, w->last, to, &line, &w->out);
  return w->lineState < 0 ? w->lineState : static_cast<int32_t>(line);
}

}  // namespace

void ListingWriter_init(ListingWriter* writer, const char* path, HtmlTagP* tags, bool numbered) {
  OutFile_close(&writer->out);
  writer->tags = tags;
  writer->lexer = tags->lexer;
  writer->lineState = numbered ? 0 : -1;
  writer->last = BLex3_Pos{0, 0};
  writer->raw = false;
  writer->rawStart = BLex3_Pos{0, 0};
  writer->rawLine = 0;
  OutFile_open(&writer->out, path);
}

void ListingWriter_step(ListingWriter* w) {
  BLex3_Pos cur;
  BLex3_getPos(w->lexer, &cur);
  int32_t state = HtmlTagP_getState(w->tags);
  if (w->lineState == 0) {
    OutFile_puts(&w->out, "   1|");
    w->lineState = 1;
  }
  // The line state follows the text as it is written: counted by the
  // escaping, or over an image tag's raw text when the tag has ended. Inside
  // the tag it stays the line where the tag began.
  if (!w->raw) {
    const int32_t lineHere = writeEscaped(w, cur);
    if (state == HtmlTagP_kStart && std::strcmp(w->tags->name, "img") == 0) {
      w->raw = true;
      w->rawStart = cur;
      w->rawLine = lineHere;
    }
    w->lineState = lineHere;
  } else if (state == HtmlTagP_kEnd) {
    if (w->lineState > 0)
      w->lineState += static_cast<int32_t>(BLex3_countLines(w->lexer, w->rawStart, cur));
    BLex3_writeRange(w->lexer, w->rawStart, cur, &w->out);
    w->raw = false;
  }
  w->last = cur;
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
  (void)writeEscaped(w, end);
  w->last = end;
}

void ListingWriter_close(ListingWriter* w) { OutFile_close(&w->out); }
