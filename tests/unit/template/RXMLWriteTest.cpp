// Expansion: a repeated template, each kind of var, vanishing lines, the
// read pieces' edges, recursion and the nesting limit. Expected texts are
// worked out by hand.
#include <gtest/gtest.h>

#include <string>

#include "Raise.h"
#include "TemplateFixture.h"

// The template's start and end tag lines vanish; each repetition writes the
// body with the var's indentation; the interval goes between items only.
TEST(RXMLWriteTemplate, RepeatsItsBodyPerItemWithIntervalsBetween) {
  Engine e;
  e.put("list.htm",
        "<ul>\n<li><b>Apple</b></li>\n<li><b>Pear</b></li>\n<li><b>Fig</b></li>\n</ul>\n");
  e.put("doc.htm",
        "<p>\n"
        "  <template href=\"list.htm#ul.li\" arg=\"it\">\n"
        "    <var href=\"it.b\"><var interval=\"it\" value=\", \">\n"
        "  </template>\n"
        "</p>\n");
  EXPECT_EQ("<p>\n    Apple, \n    Pear, \n    Fig\n</p>\n", e.expand("doc.htm"));
}

TEST(RXMLWriteVar, EachKindOfVarAndTheLinesThatVanish) {
  struct Case {
    const char* doc;
    const char* out;
  };
  const Case cases[] = {
      {"a <var value=\"V\"> b", "a V b"},
      // Neither href nor value: the start tag stays.
      {"a <var name=\"n\"> b", "a <var name=\"n\"> b"},
      // An href that finds nothing and names no file: the start tag stays,
      // and the text after it, a closing tag included, follows.
      {"a <var href=\"#nothing\">tail</var>\n", "a <var href=\"#nothing\">tail</var>\n"},
      // The body of the element found, without its own tags; quoted ">"
      // inside its start tag does not end it.
      {"<var href=\"#span\">|<span title=\"a>b\">S</span>", "S|<span title=\"a>b\">S</span>"},
      // An element of the same tag inside the one found does not end it.
      {"<var href=\"#div\">|<div>out<div>in</div>er</div>",
       "out<div>in</div>er|<div>out<div>in</div>er</div>"},
      // Double-byte text passes through unchanged.
      {"表<var value=\"ソ\">示", "表ソ示"},
      // The line of an element that writes nothing vanishes.
      {"a\n  <var interval=\"x\">\nb\n", "a\nb\n"},
      {"a\n  <var interval=\"x\">", "a\n"},
      // Indentation stays before what an element writes.
      {"a\n  <var value=\"v\">\nb\n", "a\n  v\nb\n"},
      // A blank line of the text is text.
      {"a\n  <var interval=\"x\">\n\nb", "a\n\nb"},
      // Text after an element on its line keeps the line.
      {"  <var interval=\"x\"> b\n", "   b\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.doc);
    Engine e;
    e.put("doc.htm", c.doc);
    EXPECT_EQ(c.out, e.expand("doc.htm"));
  }
}

// The text is read in pieces of 4 KB: held indentation, a vanishing line
// and a line longer than a piece come out the same across a piece's end.
TEST(RXMLWriteText, LinesAcrossTheReadPieces) {
  const std::string filler(4090, 'x');
  const std::string longLine(9000, 'y');
  for (std::size_t shift : {0u, 1u, 2u, 3u, 5u, 8u}) {
    SCOPED_TRACE(shift);
    // The blanks before the vars begin near offset 4092 + shift.
    const std::string head = std::string(shift, 'h') + filler + "\n";
    Engine e;
    e.put("doc.htm", head + "    <var interval=\"x\">\n" + "    <var value=\"v\">\n" +
                         longLine + "\n  tail");
    EXPECT_EQ(head + "    v\n" + longLine + "\n  tail", e.expand("doc.htm"));
  }
}

TEST(RXMLWriteRecursion, SelfInclusionIsAnErrorNamingTheFile) {
  struct Case {
    const char* doc;
    const char* other;  // b.htm, or null
    const char* from;   // the file whose var (on line 1) closes the circle
  };
  const Case cases[] = {
      {"x<var href=\"doc.htm\">y", nullptr, "doc.htm"},
      {"x<var href=\"b.htm\">y", "<var href=\"doc.htm\">", "b.htm"},
      // An element whose body pulls in the element itself.
      {"<div><var href=\"#div\"></div>", nullptr, "doc.htm"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.doc);
    Engine e;
    e.put("doc.htm", c.doc);
    if (c.other != nullptr) e.put("b.htm", c.other);
    Raised r = catchRaise([&] { e.expand("doc.htm"); });
    EXPECT_EQ(RXML_Err_Recursive, r.code);
    EXPECT_EQ("ファイル " + e.path(c.from) + "（line=1）の var が、書き出し中の " +
                  e.path("doc.htm") + " を取りこもうとしています",
              r.msg);
  }
}

// The document counts as one level: 31 files included one in the next fit,
// 32 do not.
TEST(RXMLWriteRecursion, NestingIsBounded) {
  for (std::size_t files : {RXML_kMaxNesting, RXML_kMaxNesting + 1}) {
    SCOPED_TRACE(files);
    Engine e;
    for (std::size_t i = 0; i < files; ++i) {
      const std::string next =
          i + 1 < files ? "<var href=\"f" + std::to_string(i + 1) + ".htm\">" : "end";
      e.put("f" + std::to_string(i) + ".htm", next);
    }
    for (std::size_t i = 1; i < files; ++i) e.add("f" + std::to_string(i) + ".htm");
    std::string out;
    Raised r = catchRaise([&] { out = e.expand("f0.htm"); });
    if (files == RXML_kMaxNesting) {
      EXPECT_FALSE(r.raised) << r.msg;
      EXPECT_EQ("end", out);
    } else {
      EXPECT_EQ(ArrX_Err_Full, r.code);
    }
  }
}
