// The keyword-link finder driven as the writing pass drives it: stepped at
// the current position, which then moves to the finder's next position (or,
// as other scanners of a pass make it, to every byte). Links are written
// into the text the way the keyword marker writes them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../lexer/LexerFixture.h"
#include "LinksFixture.h"
#include "engine/KeywordLinker.h"

namespace {

struct Event {
  int32_t at;
  int32_t event;
  int32_t next;
  bool operator==(const Event& o) const { return at == o.at && event == o.event && next == o.next; }
};

std::ostream& operator<<(std::ostream& os, const Event& e) {
  return os << "{" << e.at << ", " << e.event << ", " << e.next << "}";
}

struct Run {
  std::string marked;  // the text with "<A href=...>" and "</A>" inserted
  std::vector<Event> events;
};

// Steps a linker over the file at path until the end of its data. With
// everyByte the position advances by at most one byte per cycle.
Run drive(LinksIndex* index, const std::string& path, bool everyByte) {
  const std::string text = readFile(path);
  OpenLexer lx(path);
  KeywordLinker k;
  KeywordLinker_init(&k, index);
  KeywordLinker_setLexer(&k, &lx.lx);
  Run run;
  std::size_t written = 0;
  BLex3_Pos cur = {0, 0};
  int repeats = 0;
  for (;;) {
    BLex3_setPos(&lx.lx, cur);
    if (BLex3_fetch(&lx.lx, 0) == nullptr) break;
    KeywordLinker_step(&k);
    const int32_t ev = KeywordLinker_event(&k);
    BLex3_Pos next = KeywordLinker_nextPos(&k);
    run.events.push_back({cur.offset, ev, next.offset});
    if (ev == KeywordLinker_kLinkStart || ev == KeywordLinker_kLinkEnd) {
      run.marked += text.substr(written, static_cast<std::size_t>(cur.offset) - written);
      written = static_cast<std::size_t>(cur.offset);
      run.marked += ev == KeywordLinker_kLinkStart
                        ? std::string("<A href=\"") + KeywordLinker_target(&k) + "\">"
                        : std::string("</A>");
    }
    if (everyByte && next.offset > cur.offset + 1) next = {cur.offset + 1, BLex3_kUnknown};
    repeats = next.offset == cur.offset ? repeats + 1 : 0;
    if (repeats > 2) {
      ADD_FAILURE() << "no progress at " << cur.offset;
      break;
    }
    cur = next;
  }
  run.marked += text.substr(written);
  if (KeywordLinker_isLinkOpen(&k)) run.marked += "</A>";
  return run;
}

const std::vector<LinkEntry> kEntries = {
    {"", "func1", "{Foo}"},
    {"", "kword1", "[two words]"},
    {"", "kword2", "[\x95\x5C]"},  // a double-byte character whose trail byte is "\"
    {"p.htm", "func2", "{A}"},
};

// The link as the keyword marker writes it.
std::string hrefTo(const std::string& target, const std::string& text) {
  return "<A href=\"" + target + "\">" + text + "</A>";
}

void expectMarked(const std::string& text, const std::string& marked) {
  OpenIndex ix(kEntries);
  const std::string path = ix.dir.file("text.c");
  writeFile(path, text);
  for (bool everyByte : {false, true}) {
    SCOPED_TRACE(everyByte ? "stepped at every byte" : "stepped at its own positions");
    EXPECT_EQ(marked, drive(&ix.index, path, everyByte).marked);
  }
}

}  // namespace

TEST(KeywordLinkerEvents, StepAtEachNextPosition) {
  OpenIndex ix(kEntries);
  const std::string path = ix.dir.file("text.c");
  writeFile(path, "a Foo b");
  const std::vector<Event> own = {
      {0, KeywordLinker_kNothing, 2},  // found ahead: the link starts at a later step
      {2, KeywordLinker_kLinkStart, 5},
      {5, KeywordLinker_kLinkEnd, 5},  // stays: another link may start here
      {5, KeywordLinker_kNothing, 7},  // nothing more up to the end of the file
  };
  EXPECT_EQ(own, drive(&ix.index, path, false).events);
  const std::vector<Event> everyByte = {
      {0, KeywordLinker_kNothing, 2},    {1, KeywordLinker_kNothingYet, 2},
      {2, KeywordLinker_kLinkStart, 5},  {3, KeywordLinker_kNothingYet, 5},
      {4, KeywordLinker_kNothingYet, 5}, {5, KeywordLinker_kLinkEnd, 5},
      {5, KeywordLinker_kNothing, 7},    {6, KeywordLinker_kNothingYet, 7},
  };
  EXPECT_EQ(everyByte, drive(&ix.index, path, true).events);
}

TEST(KeywordLinkerLinks, WhereLinksGo) {
  struct Case {
    std::string text;
    std::string marked;
  };
  const std::string foo = hrefTo("#func1", "Foo");
  const std::string hyo = hrefTo("#kword2", "\x95\x5C");
  const Case cases[] = {
      {"int xFoo = Foo;\n", "int x" + foo + " = " + foo + ";\n"},
      {"FooFoo Foobar\n", "Foo" + foo + " Foobar\n"},
      {"two words and two.\n", hrefTo("#kword1", "two words") + " and two.\n"},
      {"\x95\x5C\x95\x5C\n", hyo + hyo + "\n"},  // one link ends where the next starts
      // The trail byte of "ア" (0x83 0x41) is no "A".
      {"\x83\x41 A\n", "\x83\x41 " + hrefTo("p.htm#func2", "A") + "\n"},
      {"end Foo", "end " + foo},  // the link that ends the file is closed too
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    expectMarked(c.text, c.marked);
  }
}

TEST(KeywordLinkerLinks, AcrossWindows) {
  // A key every 769 bytes (three blocks and one byte), so at every offset
  // to the 256-byte blocks and farther apart than a window, after runs of
  // double-byte characters whose trail byte is "A" (itself a key), so that
  // characters also straddle the block ends.
  std::string filler;
  for (int n = 0; n < 383; ++n) filler += "\x83\x41";
  std::string text;
  std::string marked;
  for (int i = 0; i < 256; ++i) {
    text += filler + "Foo";
    marked += filler + hrefTo("#func1", "Foo");
  }
  expectMarked(text + "\n", marked + "\n");
}
