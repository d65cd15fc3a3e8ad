// The analysis and writing passes over a source or text file.
#include "engine/SourcePasses.h"

#include <memory>
#include <new>

#include "engine/DeclRecord.h"
#include "engine/DefIndex.h"
#include "engine/KeywordLinker.h"
#include "engine/KwordMarker.h"
#include "engine/LinkAhead.h"
#include "engine/ListingWriter.h"
#include "engine/Outline.h"
#include "engine/PassLoop.h"
#include "engine/PassParts.h"
#include "engine/TitleFinder.h"
#include "lexer/CScanners.h"
#include "runtime/Except3.h"

namespace {

constexpr char kModule[] = "scrivo";

// One cycle's steps: an object whose next event lies beyond the cycle's
// position is not called (a call would do nothing but set its state to
// "not yet", which is set here instead), and the lexer is put back at the
// position only after a step that may have moved it.
class CycleSteps {
 public:
  explicit CycleSteps(PassLoop& loop) : loop_(loop), at_(loop.pos().offset) {}
  int32_t at() const { return at_; }
  template <class Step>
  void run(Step&& step) {
    if (moved_) loop_.restore();
    step();
    moved_ = true;
  }
  void scanners(CScanners* s) {
    if (moved_) loop_.restore();
    moved_ = CScanners_step(s, loop_.pos());
  }

 private:
  PassLoop& loop_;
  int32_t at_;
  bool moved_ = false;
};

// Offers the scanners' smallest next position (they come after the pass's
// own objects, so ties keep the order of the single offers).
void offer(PassLoop& loop, const CScanners& s) { loop.offer(CScanners_nextPos(&s)); }

// The writing pass's source of definition events: the C scanners, run
// again over the text.
class ScannedDecls {
 public:
  explicit ScannedDecls(BLex3* lexer) { CScanners_init(&s_, lexer, nullptr); }
  CDeclP* recognizer() { return &s_.decl; }
  // Steps the scanners; true when the recognizer reported.
  bool step(CycleSteps& steps) {
    steps.scanners(&s_);
    return s_.decl.event.result != CDeclP_NotYet;
  }
  void offer(PassLoop& loop) const { ::offer(loop, s_); }

 private:
  CScanners s_;
};

// The same events replayed from the analysis pass's record: a report at
// each offset and repeat where the recognizer reported, and CDeclP_Nothing
// for the reports that the record leaves out, so that every event falls
// into the same cycle as when scanned.
class ReplayedDecls {
 public:
  ReplayedDecls(BLex3* lexer, const DeclRecord* record) : record_(record) {
    decl_.lexer = lexer;
    decl_.event.result = CDeclP_NotYet;
  }
  CDeclP* recognizer() { return &decl_; }
  bool step(CycleSteps& steps) {
    const int32_t at = steps.at();
    if (next_ >= record_->entries.size() || at < record_->entries[next_].at) {
      decl_.event.result = CDeclP_NotYet;
      return false;
    }
    const DeclRecord_Entry& e = record_->entries[next_];
    if (e.repeat == repeats_.note(at)) {
      decl_.event = DeclRecord_event(e);
      ++next_;
    } else {
      decl_.event.result = CDeclP_Nothing;
    }
    return true;
  }
  void offer(PassLoop& loop) const {
    if (next_ < record_->entries.size())
      loop.offer(DeclRecord_at(record_->entries[next_]));
  }

 private:
  const DeclRecord* record_;
  std::size_t next_ = 0;
  DeclRecord_Repeats repeats_;
  CDeclP decl_{};
};

}  // namespace

void Scrivo_analyzeSource(const PageFiles& files, LinksFile* links, int32_t* depth,
                          BracketP_Errors* errors, DeclRecord* record) {
  PassLexer pl;
  TitleFinder finder;
  CScanners s;
  Outline outline;
  DefIndex defs;
  bool outlineOpen = false, defsOpen = false;
  Except3_tryFinally(
      kModule, __LINE__,
      [&] {
        pl.open(files.source);
        BLex3* lexer = &pl.lexer;
        TitleFinder_init(&finder, lexer);
        CScanners_init(&s, lexer, errors);
        Outline_init(&outline, &finder, Outline_kFullLimit, files.outline, nullptr, links);
        outlineOpen = true;
        DefIndex_init(&defs, &s.decl, nullptr, nullptr, nullptr, links, nullptr);
        defsOpen = true;

        PassLoop loop(lexer);
        while (loop.cycle()) {
          CycleSteps steps(loop);
          const bool titleDue = steps.at() >= finder.next.offset;
          if (titleDue)
            steps.run([&] { TitleFinder_step(&finder); });
          else
            finder.event = TitleFinder_kNothingHere;
          steps.scanners(&s);
          if (titleDue) steps.run([&] { Outline_step(&outline); });
          if (s.decl.event.result != CDeclP_NotYet) {
            if (record != nullptr) DeclRecord_add(record, loop.pos(), s.decl.event);
            steps.run([&] { DefIndex_step(&defs); });
          }
          loop.offer(TitleFinder_nextPos(&finder));
          offer(loop, s);
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

namespace {

// The writing pass with its definition events from decls, a ScannedDecls
// or a ReplayedDecls made on the pass's lexer.
template <class Decls, class... Args>
void writePage(const PageFiles& files, int32_t depth, LinksIndex* keywords, TitleList* pages,
               Args... declArgs) {
  PassLexer pl;
  PassTags pt;
  HtmlTagP& tags = pt.tags;
  TitleFinder finder;
  KeywordLinker linker;
  ListingWriter listing;
  Outline outline;
  KwordMarker marker;
  DefIndex defs;
  std::unique_ptr<LinkAhead> ahead;
  bool listingOpen = false, outlineOpen = false, defsOpen = false;
  Except3_tryFinally(
      kModule, __LINE__,
      [&] {
        const char* text = files.expanded ? files.middle : files.source;
        pl.open(text);
        BLex3* lexer = &pl.lexer;
        pt.init(lexer);
        TitleFinder_init(&finder, lexer);
        KeywordLinker_init(&linker, keywords);
        KeywordLinker_setLexer(&linker, lexer);
        if (keywords != nullptr && lexer->size >= LinkAhead_kMinFileSize) {
          // Without the memory for it the pass searches alone.
          ahead.reset(new (std::nothrow) LinkAhead);
          if (ahead && LinkAhead_start(ahead.get(), text, keywords)) linker.ahead = ahead.get();
        }
        Decls decls(lexer, declArgs...);
        ListingWriter_init(&listing, files.main, &tags, true);
        listingOpen = true;
        Outline_init(&outline, &finder, depth, files.major, &listing.out, nullptr);
        outlineOpen = true;
        KwordMarker_init(&marker, &tags, &linker, true, &listing.out);
        DefIndex_init(&defs, decls.recognizer(), files.types, files.funcs, files.macros, nullptr,
                      &listing.out);
        defsOpen = true;
        if (pages != nullptr)
          TitleList_addPage(pages, files.source, nullptr, &finder, files.page);

        PassLoop loop(lexer);
        while (loop.cycle()) {
          CycleSteps steps(loop);
          const int32_t at = steps.at();
          const bool tagDue = at >= tags.nextPos.offset;
          const bool titleDue = at >= finder.next.offset;
          const bool linkDue = at >= linker.next.offset;
          if (tagDue)
            steps.run([&] { HtmlTagP_step(&tags); });
          else
            tags.state = HtmlTagP_kBefore;
          if (titleDue)
            steps.run([&] { TitleFinder_step(&finder); });
          else
            finder.event = TitleFinder_kNothingHere;
          if (linkDue)
            steps.run([&] { KeywordLinker_step(&linker); });
          else
            linker.event = KeywordLinker_kNothingYet;
          const bool declDue = decls.step(steps);
          // The listing is written up to here before any anchor or link
          // that the objects after it add at this position.
          if (tagDue || titleDue || linkDue || declDue) {
            steps.run([&] { ListingWriter_step(&listing); });
          }
          if (titleDue) steps.run([&] { Outline_step(&outline); });
          if (tagDue || linkDue) steps.run([&] { KwordMarker_step(&marker); });
          if (declDue) steps.run([&] { DefIndex_step(&defs); });
          if (pages != nullptr && titleDue) steps.run([&] { TitleList_stepText(pages); });
          loop.offer(pt.next());
          loop.offer(TitleFinder_nextPos(&finder));
          loop.offer(KeywordLinker_nextPos(&linker));
          decls.offer(loop);
          loop.advance();
        }
        ListingWriter_finish(&listing);
        KwordMarker_finish(&marker);
      },
      [&] {
        ahead.reset();
        // The lexer closes after this: the short outline's last item is
        // written from the file's text.
        if (outlineOpen) Outline_finish(&outline);
        if (listingOpen) ListingWriter_close(&listing);
        if (defsOpen) DefIndex_finish(&defs);
      });
}

}  // namespace

void Scrivo_writeSourcePage(const PageFiles& files, int32_t depth, LinksIndex* keywords,
                            TitleList* pages, const DeclRecord* record) {
  // A record is of the source's text; an expanded text is scanned.
  if (record != nullptr && record->usable && !files.expanded)
    writePage<ReplayedDecls>(files, depth, keywords, pages, record);
  else
    writePage<ScannedDecls>(files, depth, keywords, pages);
}
