// The analysis and writing passes over a source or text file.
#include "engine/SourcePasses.h"

#include "engine/DefIndex.h"
#include "engine/HtmlTagP.h"
#include "engine/KeywordLinker.h"
#include "engine/KwordMarker.h"
#include "engine/LineCounter.h"
#include "engine/ListingWriter.h"
#include "engine/Outline.h"
#include "engine/PassLoop.h"
#include "engine/TitleFinder.h"
#include "lexer/CDeclP.h"
#include "lexer/CommentP.h"
#include "runtime/Except3.h"

namespace {

constexpr char kModule[] = "scrivo";

// The lexer of a pass with its window and kind map.
struct PassLexer {
  char window[BLex3_kBufSize];
  int8_t kinds[BLex3_kKindMapSize];
  BLex3 lexer;
  void open(const char* path) {
    BLex3_init(&lexer, path, window, sizeof window, BLex3_kBlockSize);
    BLex3_setKindMap(&lexer, kinds, sizeof kinds);
  }
};

// The scanners both passes share: line counter, comment and literal
// scanners, bracket tracker and declaration recognizer.
struct CScanners {
  LineCounter lines;
  CommentP comments;
  CommentP literals;
  BracketP tracker;
  CDeclP decl;

  void init(BLex3* lexer, BracketP_Errors* errors) {
    LineCounter_init(&lines);
    LineCounter_setLexer(&lines, lexer);
    BracketP_init(&tracker, errors, &lines, &comments, &literals);
    BracketP_setLexer(&tracker, lexer);
    CommentP_init(&comments, &literals);
    CommentP_setCommentTable(&comments);
    CommentP_setLexer(&comments, lexer);
    CommentP_init(&literals, &comments);
    CommentP_setLiteralTable(&literals);
    CommentP_setLexer(&literals, lexer);
    CDeclP_init(&decl, lexer, &tracker, &comments);
  }
};

BLex3_Pos nextOf(const BracketP* t) {
  BLex3_Pos p;
  BracketP_getNextPos(t, &p);
  return p;
}
BLex3_Pos nextOf(const CommentP* c) {
  BLex3_Pos p;
  CommentP_getNextPos(c, &p);
  return p;
}
BLex3_Pos nextOf(const CDeclP* d) {
  BLex3_Pos p;
  CDeclP_getNextPos(d, &p);
  return p;
}
BLex3_Pos nextOf(const HtmlTagP* t) {
  BLex3_Pos p;
  HtmlTagP_getNextPos(t, &p);
  return p;
}

}  // namespace

void Scrivo_analyzeSource(const char* source, LinksFile* links, const char* outlinePath,
                          int32_t* depth, BracketP_Errors* errors) {
  PassLexer pl;
  TitleFinder finder;
  CScanners s;
  Outline outline;
  DefIndex defs;
  bool lexerOpen = false, outlineOpen = false, defsOpen = false;
  Except3_tryFinally(
      kModule, __LINE__,
      [&] {
        pl.open(source);
        lexerOpen = true;
        BLex3* lexer = &pl.lexer;
        TitleFinder_init(&finder, lexer);
        s.init(lexer, errors);
        Outline_init(&outline, &finder, Outline_kFullLimit, outlinePath, nullptr, links);
        outlineOpen = true;
        DefIndex_init(&defs, &s.decl, nullptr, nullptr, nullptr, links, nullptr);
        defsOpen = true;

        PassLoop loop(lexer);
        while (loop.cycle()) {
          LineCounter_step(&s.lines);
          loop.restore();
          TitleFinder_step(&finder);
          loop.restore();
          CommentP_step(&s.comments);
          loop.restore();
          CommentP_step(&s.literals);
          loop.restore();
          BracketP_step(&s.tracker);
          loop.restore();
          CDeclP_step(&s.decl);
          loop.restore();
          Outline_step(&outline);
          loop.restore();
          DefIndex_step(&defs);
          loop.offer(TitleFinder_nextPos(&finder));
          loop.offer(nextOf(&s.tracker));
          loop.offer(nextOf(&s.comments));
          loop.offer(nextOf(&s.literals));
          loop.offer(nextOf(&s.decl));
          loop.advance();
        }
        *depth = Outline_chooseDepth(&outline);
        BracketP_finish(&s.tracker);
      },
      [&] {
        // The outline is finished while the lexer is still open: its last
        // item's text is read from the file.
        if (outlineOpen) Outline_finish(&outline);
        if (lexerOpen) BLex3_finish(&pl.lexer);
        if (defsOpen) DefIndex_finish(&defs);
      });
}

void Scrivo_writeSourcePage(const char* source, const char* page, const char* text,
                            const char* listingPath, const char* majorPath, int32_t depth,
                            const char* typePath, const char* funcPath, const char* macroPath,
                            LinksIndex* keywords, TitleList* pages) {
  PassLexer pl;
  HtmlTagP tags;
  char pool[HtmlTagP_kPoolSize];
  const char* table[2 * HtmlTagP_kMaxAttrs];
  TitleFinder finder;
  KeywordLinker linker;
  CScanners s;
  ListingWriter listing;
  Outline outline;
  KwordMarker marker;
  DefIndex defs;
  bool lexerOpen = false, listingOpen = false, outlineOpen = false, defsOpen = false;
  Except3_tryFinally(
      kModule, __LINE__,
      [&] {
        pl.open(text);
        lexerOpen = true;
        BLex3* lexer = &pl.lexer;
        HtmlTagP_init(&tags, pool, sizeof pool, table, sizeof table);
        HtmlTagP_setLexer(&tags, lexer);
        TitleFinder_init(&finder, lexer);
        KeywordLinker_init(&linker, keywords);
        KeywordLinker_setLexer(&linker, lexer);
        s.init(lexer, nullptr);
        ListingWriter_init(&listing, listingPath, &tags, &s.lines.line);
        listingOpen = true;
        Outline_init(&outline, &finder, depth, majorPath, listing.out, nullptr);
        outlineOpen = true;
        KwordMarker_init(&marker, &tags, &linker, true, listing.out);
        DefIndex_init(&defs, &s.decl, typePath, funcPath, macroPath, nullptr, listing.out);
        defsOpen = true;
        if (pages != nullptr) TitleList_addPage(pages, source, nullptr, &finder, page);

        PassLoop loop(lexer);
        while (loop.cycle()) {
          LineCounter_step(&s.lines);
          loop.restore();
          HtmlTagP_step(&tags);
          loop.restore();
          TitleFinder_step(&finder);
          loop.restore();
          KeywordLinker_step(&linker);
          loop.restore();
          CommentP_step(&s.comments);
          loop.restore();
          CommentP_step(&s.literals);
          loop.restore();
          BracketP_step(&s.tracker);
          loop.restore();
          CDeclP_step(&s.decl);
          loop.restore();
          ListingWriter_step(&listing);
          loop.restore();
          Outline_step(&outline);
          loop.restore();
          KwordMarker_step(&marker);
          loop.restore();
          DefIndex_step(&defs);
          if (pages != nullptr) {
            loop.restore();
            TitleList_stepText(pages);
          }
          loop.offer(nextOf(&tags));
          loop.offer(TitleFinder_nextPos(&finder));
          loop.offer(KeywordLinker_nextPos(&linker));
          loop.offer(nextOf(&s.tracker));
          loop.offer(nextOf(&s.comments));
          loop.offer(nextOf(&s.literals));
          loop.offer(nextOf(&s.decl));
          loop.advance();
        }
        ListingWriter_finish(&listing);
        KwordMarker_finish(&marker);
      },
      [&] {
        // The short outline's last item is written from the file's text,
        // so the outline is finished before the lexer closes.
        if (outlineOpen) Outline_finish(&outline);
        if (lexerOpen) BLex3_finish(&pl.lexer);
        if (listingOpen) ListingWriter_close(&listing);
        if (defsOpen) DefIndex_finish(&defs);
      });
}
