// The keyword-link finder driven as the writing pass drives it: stepped at
// the current position, which then moves to the finder's next position (or,
// as the other scanners of a pass make it, to every byte). Links are written
// into the text the way the keyword marker writes them.
#include <gtest/gtest.h>

#include <string>

#include "../lexer/LexerFixture.h"
#include "LinksFixture.h"
#include "engine/KeywordLinker.h"

namespace {

struct Run {
  std::string marked;  // the text with "<A href=...>" and "</A>" inserted
  std::string events;  // "offset:event>next " per step
};

Run drive(LinksIndex* index, const std::string& path, bool everyByte) {
  const std::string text = readFile(path);
  OpenLexer lx(path);
  KeywordLinker k;
  KeywordLinker_init(&k, index);
  KeywordLinker_setLexer(&k, &lx.lx);
  Run run;
  std::size_t written = 0;
  bool open = false;  // a link at the end of the file gets no end event
  BLex3_Pos cur = {0, 0};
  for (int repeats = 0; repeats < 3;) {
    BLex3_setPos(&lx.lx, cur);
    if (BLex3_fetch(&lx.lx, 0) == nullptr) break;
    KeywordLinker_step(&k);
    const int32_t ev = KeywordLinker_event(&k);
    BLex3_Pos next = KeywordLinker_nextPos(&k);
    run.events += std::to_string(cur.offset) + ":" + std::to_string(ev) + ">" +
                  std::to_string(next.offset) + " ";
    if (ev == KeywordLinker_kLinkStart || ev == KeywordLinker_kLinkEnd) {
      run.marked += text.substr(written, static_cast<std::size_t>(cur.offset) - written);
      written = static_cast<std::size_t>(cur.offset);
      open = ev == KeywordLinker_kLinkStart;
      run.marked += ev == KeywordLinker_kLinkStart
                        ? std::string("<A href=\"") + KeywordLinker_target(&k) + "\">"
                        : "</A>";
    }
    if (everyByte && next.offset > cur.offset + 1) next = {cur.offset + 1, BLex3_kUnknown};
    repeats = next.offset == cur.offset ? repeats + 1 : 0;
    cur = next;
  }
  run.marked += text.substr(written);
  if (open) run.marked += "</A>";
  return run;
}

std::string hrefTo(const std::string& target, const std::string& text) {
  return "<A href=\"" + target + "\">" + text + "</A>";
}

struct Linked {
  Linked()
      : ix({
            {"", "func1", "{Foo}"},
            {"", "kword1", "[two words]"},
            {"", "kword2", "[\x95\x5C]"},  // a double-byte character with the trail byte "\"
            {"p.htm", "func2", "{A}"},
        }),
        path(ix.dir.file("text.c")) {}
  Run run(const std::string& text, bool everyByte) {
    writeFile(path, text);
    return drive(&ix.index, path, everyByte);
  }
  void expectMarked(const std::string& text, const std::string& marked) {
    SCOPED_TRACE(text.substr(0, 40));
    EXPECT_EQ(marked, run(text, false).marked);
    EXPECT_EQ(marked, run(text, true).marked) << "stepped at every byte";
  }
  OpenIndex ix;
  std::string path;
};

}  // namespace

TEST(KeywordLinkerEvents, StepAtEachNextPosition) {
  Linked l;
  // Found ahead, the link starts at a later step; at its end the finder
  // stays, since another link may start there.
  EXPECT_EQ("0:-2>2 2:7991>5 5:7992>5 5:-2>7 ", l.run("a Foo b", false).events);
  EXPECT_EQ("0:-2>2 1:-3>2 2:7991>5 3:-3>5 4:-3>5 5:7992>5 5:-2>7 6:-3>7 ",
            l.run("a Foo b", true).events);
}

TEST(KeywordLinkerLinks, WhereLinksGo) {
  const std::string foo = hrefTo("#func1", "Foo");
  const std::string hyo = hrefTo("#kword2", "\x95\x5C");
  const std::string cases[][2] = {
      {"int xFoo = Foo;\n", "int x" + foo + " = " + foo + ";\n"},
      {"two words and two.\n", hrefTo("#kword1", "two words") + " and two.\n"},
      {"\x95\x5C\x95\x5C\n", hyo + hyo + "\n"},  // one link ends where the next starts
      {"\x83\x41 A\n", "\x83\x41 " + hrefTo("p.htm#func2", "A") + "\n"},  // trail byte "A"
      {"end Foo", "end " + foo},  // the link that ends the file is closed too
  };
  Linked l;
  for (const auto& c : cases) l.expectMarked(c[0], c[1]);
}

TEST(KeywordLinkerLinks, AcrossWindows) {
  // A key every 769 bytes (three blocks and one byte), so at every offset
  // to the 256-byte blocks and farther apart than a window, after runs of
  // "\x83\x41", whose trail byte "A" is a key too.
  std::string filler;
  for (int n = 0; n < 383; ++n) filler += "\x83\x41";
  std::string text;
  std::string marked;
  for (int i = 0; i < 256; ++i) {
    text += filler + "Foo";
    marked += filler + hrefTo("#func1", "Foo");
  }
  Linked().expectMarked(text + "\n", marked + "\n");
}
