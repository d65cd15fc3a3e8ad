// ListingWriter: writes a source text into the listing work file as the
// page shows it: HTML-escaped, a line number in front of every line, and
// image tags copied raw so that the page shows the image. It is stepped by
// the writing pass before the anchor writers, so that at every position the
// text before it is already written when an anchor is added; they write into
// its file.
#pragma once
#include <cstdint>
#include <cstdio>

#include "lexer/BLex3.h"
#include "lexer/HtmlTagP.h"
#include "runtime/OutFile.h"

struct ListingWriter {
  BLex3* lexer = nullptr;
  HtmlTagP* tags = nullptr;
  int32_t lineState = -1;  // -1 no numbers; 0 before the first; else the line at last
                           // (inside an image tag: at rawStart)
  BLex3_Pos last{0, 0};    // written up to here
  bool raw = false;        // inside an image tag, copied as it stands
  BLex3_Pos rawStart{0, 0};
  int32_t rawLine = 0;     // the line where the image tag begins
  OutFile out;             // the listing, and the anchors and links set into it
};

// Opens the listing path ("wb"); numbered: a line number before every line.
void ListingWriter_init(ListingWriter* writer, const char* path, HtmlTagP* tags, bool numbered);
void ListingWriter_step(ListingWriter* writer);
// Writes the rest of the text, up to the end of the file.
void ListingWriter_finish(ListingWriter* writer);
// Closes the file; a write that failed on the way is reported here, if not
// already when it failed.
void ListingWriter_close(ListingWriter* writer);
