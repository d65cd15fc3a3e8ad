// The analysis and writing passes over a source or text file.
#include "engine/SourcePasses.h"

#include "engine/DefIndex.h"
#include "engine/KeywordLinker.h"
#include "engine/KwordMarker.h"
#include "engine/ListingWriter.h"
#include "engine/Outline.h"
#include "engine/PassLoop.h"
#include "engine/PassParts.h"
#include "engine/TitleFinder.h"
#include "lexer/CDeclP.h"
#include "lexer/CommentP.h"
#include "lexer/HtmlTagP.h"
#include "lexer/LineCounter.h"
#include "runtime/Except3.h"

namespace {

constexpr char kModule[] = "scrivo";

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

  // Steps comment, literal scanner, tracker and recognizer, in this order,
  // each from the current position.
  void step(PassLoop& loop) {
    CommentP_step(&comments);
    loop.restore();
    CommentP_step(&literals);
    loop.restore();
    BracketP_step(&tracker);
    loop.restore();
    CDeclP_step(&decl);
  }

  // Offers their next positions: tracker, comments, literals, recognizer.
  void offer(PassLoop& loop) const;
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

void CScanners::offer(PassLoop& loop) const {
  loop.offer(nextOf(&tracker));
  loop.offer(nextOf(&comments));
  loop.offer(nextOf(&literals));
  loop.offer(nextOf(&decl));
}

}  // namespace

void Scrivo_analyzeSource(const char* source, LinksFile* links, const char* outlinePath,
                          int32_t* depth, BracketP_Errors* errors) {
  PassLexer pl;
  TitleFinder finder;
  CScanners s;
  Outline outline;
  DefIndex defs;
  bool outlineOpen = false, defsOpen = false;
  Except3_tryFinally(
      kModule, __LINE__,
      [&] {
        pl.open(source);
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
          s.step(loop);
          loop.restore();
          Outline_step(&outline);
          loop.restore();
          DefIndex_step(&defs);
          loop.offer(TitleFinder_nextPos(&finder));
          s.offer(loop);
          loop.advance();
        }
        *depth = Outline_chooseDepth(&outline);
        BracketP_finish(&s.tracker);
      },
      [&] {
        if (outlineOpen) Outline_finish(&outline);
        if (defsOpen) DefIndex_finish(&defs);
      });
}

void Scrivo_writeSourcePage(const char* source, const char* page, const char* text,
                            const char* listingPath, const char* majorPath, int32_t depth,
                            const char* typePath, const char* funcPath, const char* macroPath,
                            LinksIndex* keywords, TitleList* pages) {
  PassLexer pl;
  PassTags pt;
  HtmlTagP& tags = pt.tags;
  TitleFinder finder;
  KeywordLinker linker;
  CScanners s;
  ListingWriter listing;
  Outline outline;
  KwordMarker marker;
  DefIndex defs;
  bool listingOpen = false, outlineOpen = false, defsOpen = false;
  Except3_tryFinally(
      kModule, __LINE__,
      [&] {
        pl.open(text);
        BLex3* lexer = &pl.lexer;
        pt.init(lexer);
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
          s.step(loop);
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
          loop.offer(pt.next());
          loop.offer(TitleFinder_nextPos(&finder));
          loop.offer(KeywordLinker_nextPos(&linker));
          s.offer(loop);
          loop.advance();
        }
        ListingWriter_finish(&listing);
        KwordMarker_finish(&marker);
      },
      [&] {
        // The lexer closes after this: the short outline's last item is
        // written from the file's text.
        if (outlineOpen) Outline_finish(&outline);
        if (listingOpen) ListingWriter_close(&listing);
        if (defsOpen) DefIndex_finish(&defs);
      });
}
