// The template document passes.
#include "template/TemplatePasses.h"

#include <cstdio>
#include <cstring>

#include "engine/HeadingIndex.h"
#include "engine/KeywordLinker.h"
#include "engine/KwordCollector.h"
#include "engine/KwordMarker.h"
#include "engine/PassLoop.h"
#include "engine/PassParts.h"
#include "lexer/BLex3Write.h"
#include "lexer/HtmlTagP.h"
#include "lexer/LineCounter.h"
#include "runtime/Errors.h"
#include "runtime/Except3.h"
#include "runtime/FileX.h"
#include "template/RXMLRead.h"
#include "template/RXMLWrite.h"

namespace {

constexpr char kModule[] = "scrivo";

}  // namespace

void Scrivo_scanTemplates(const char* path, RXML_File* file, LinksFile* links) {
  PassLexer pl;
  PassTags ts;
  LineCounter lines;
  KwordCollector collector;
  RXML_ReadRefs refs;
  Except3_tryFinally(
      kModule, __LINE__,
      [&] {
        pl.open(path);
        ts.init(&pl.lexer);
        LineCounter_init(&lines);
        LineCounter_setLexer(&lines, &pl.lexer);
        KwordCollector_init(&collector, &ts.tags, links);
        RXML_readRefs_init(&refs, &ts.tags, &lines.line, file, file->owner);
        PassLoop loop(&pl.lexer);
        while (loop.cycle()) {
          HtmlTagP_step(&ts.tags);
          loop.restore();
          LineCounter_step(&lines);
          loop.restore();
          KwordCollector_step(&collector);
          loop.restore();
          RXML_readRefs_step(&refs);
          loop.offer(ts.next());
          loop.advance();
        }
      },
      [&] {
      });
}

void Scrivo_scanTemplateUses(RXML_File* file) {
  PassLexer pl;
  PassTags ts;
  RXML_ReadDefs defs;
  Except3_tryFinally(
      kModule, __LINE__,
      [&] {
        pl.open(file->path);
        ts.init(&pl.lexer);
        RXML_readDefs_init(&defs, &ts.tags, file);
        PassLoop loop(&pl.lexer);
        while (loop.cycle()) {
          HtmlTagP_step(&ts.tags);
          loop.restore();
          RXML_readDefs_step(&defs);
          loop.offer(ts.next());
          loop.advance();
        }
      },
      [&] {
      });
}

void Scrivo_writeMiddle(RXML_File* file, const char* outPath) {
  FileX_writeFile(outPath, [&](std::FILE* out) { RXML_writeFile(file, out); });
}

void Scrivo_embedIndex(const PageFiles& files, LinksIndex* keywords, TitleList* pages) {
  PassLexer pl;
  PassTags ts;
  KeywordLinker linker;
  HeadingIndex headings;
  KwordMarker marker;
  OutFile first;
  OutFile second;
  bool headingsOpen = false;
  Except3_tryFinally(
      kModule, __LINE__,
      [&] {
        pl.open(files.middle);
        BLex3* lexer = &pl.lexer;
        ts.init(lexer);
        KeywordLinker_init(&linker, keywords);
        KeywordLinker_setLexer(&linker, lexer);
        OutFile_open(&first, files.main);
        OutFile_open(&second, files.second);
        OutFile* current = &first;
        HeadingIndex_init(&headings, &ts.tags, files.outline, current);
        headingsOpen = true;
        KwordMarker_init(&marker, &ts.tags, &linker, false, current);
        if (pages != nullptr) TitleList_addPage(pages, files.source, &ts.tags, nullptr, files.page);

        BLex3_Pos last{0, 0};
        PassLoop loop(lexer);
        while (loop.cycle()) {
          HtmlTagP_step(&ts.tags);
          loop.restore();
          KeywordLinker_step(&linker);
          BLex3_writeRange(lexer, last, loop.pos(), current);
          if (current == &first && HtmlTagP_getState(&ts.tags) == HtmlTagP_kEnd &&
              std::strcmp(ts.tags.name, "embed_index") == 0) {
            current = &second;
            headings.anchor = current;
            marker.out = current;
          }
          loop.restore();
          HeadingIndex_step(&headings);
          loop.restore();
          KwordMarker_step(&marker);
          if (pages != nullptr) {
            loop.restore();
            TitleList_stepTemplate(pages);
          }
          last = loop.pos();
          loop.offer(ts.next());
          loop.offer(KeywordLinker_nextPos(&linker));
          loop.advance();
        }
        BLex3_Pos end;
        BLex3_getEOFPos(lexer, &end);
        BLex3_writeRange(lexer, last, end, current);
        KwordMarker_finish(&marker);
      },
      [&] {
        OutFile_close(&first);
        OutFile_close(&second);
        if (headingsOpen) HeadingIndex_finish(&headings);
      });
}
