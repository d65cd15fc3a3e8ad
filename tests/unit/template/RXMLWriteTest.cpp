// Expansion: the three passes over a document and the files it names, and
// the bytes written. Expected texts are worked out from the rules by hand.
#include <gtest/gtest.h>

#include <string>

#include "Raise.h"
#include "TemplateFixture.h"

namespace {

const char kList[] =
    "<ul>\n"
    "<li><b>Apple</b></li>\n"
    "<li><b>Pear</b></li>\n"
    "<li><b>Fig</b></li>\n"
    "</ul>\n";

}  // namespace

// The template's start and end tag lines vanish; each repetition writes the
// body with the var's indentation; the interval goes between items only.
TEST(RXMLWriteTemplate, RepeatsItsBodyPerItemWithIntervalsBetween) {
  Engine e;
  e.put("list.htm", kList);
  e.put("doc.htm",
        "<p>\n"
        "  <template href=\"list.htm#ul.li\" arg=\"it\">\n"
        "    <var href=\"it.b\"><var interval=\"it\" value=\", \">\n"
        "  </template>\n"
        "</p>\n");
  EXPECT_EQ(
      "<p>\n"
      "    Apple, \n"
      "    Pear, \n"
      "    Fig\n"
      "</p>\n",
      e.expand("doc.htm"));
}

TEST(RXMLWriteTemplate, NestedLoopNamesResolveThroughTheirTemplates) {
  Engine e;
  e.put("data.htm", "<g><n>A</n><m>a1</m><m>a2</m></g>\n<g><n>B</n><m>b1</m></g>\n");
  e.put("doc.htm",
        "<template href=\"data.htm#g\" arg=\"grp\">[<var href=\"grp.n\">:"
        "<template href=\"grp.m\" arg=\"it\"> <var href=\"it\"></template>]</template>");
  EXPECT_EQ("[A: a1 a2][B: b1]", e.expand("doc.htm"));
}

TEST(RXMLWriteTemplate, WithoutArgTheLoopIsNamedByALeadingDot) {
  Engine e;
  e.put("list.htm", kList);
  e.put("doc.htm", "<template href=\"list.htm#ul.li\">(<var href=\".b\">)</template>");
  EXPECT_EQ("(Apple)(Pear)(Fig)", e.expand("doc.htm"));
}

// Names of tags, attributes and path parts compare without regard to case.
TEST(RXMLWriteTemplate, CapitalsInTagsAttributesAndPaths) {
  Engine e;
  e.put("list.htm", kList);
  e.put("doc.htm",
        "<TEMPLATE HREF=\"list.htm#UL.LI\" ARG=\"It\"><VAR HREF=\"it.B\"> </TEMPLATE>.");
  EXPECT_EQ("Apple Pear Fig .", e.expand("doc.htm"));
}

TEST(RXMLWriteTemplate, UnresolvableTemplateIsCopiedAsItStands) {
  Engine e;
  e.put("doc.htm", "a<template href=\"#nothing\">b<var value=\"v\">c</template>d");
  EXPECT_EQ("a<template href=\"#nothing\">bvc</template>d", e.expand("doc.htm"));
}

TEST(RXMLWriteVar, EachKindOfVar) {
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
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.doc);
    Engine e;
    e.put("doc.htm", c.doc);
    EXPECT_EQ(c.out, e.expand("doc.htm"));
  }
}

TEST(RXMLWriteVar, BareFileNameIncludesThatFileExpanded) {
  Engine e;
  e.put("inc.htm", "<i><var value=\"x\"></i>\n");
  e.put("doc.htm", "a\n<var href=\"inc.htm\">\nb\n");
  EXPECT_EQ("a\n<i>x</i>\nb\n", e.expand("doc.htm"));
  EXPECT_STREQ("", e.warnings);
}

TEST(RXMLWriteVar, AllNamesTheFirstTopLevelElementOfAnyFile) {
  Engine e;
  e.put("lib.htm", "<x>X1</x><x>X2</x>");
  e.put("doc.htm", "<var href=\"ALL#x\">!");
  RXML_File* doc = e.add("doc.htm");
  e.add("lib.htm");
  e.readRefs(doc);
  e.readAllDefs();
  EXPECT_EQ("X1!", e.write(doc));
}

TEST(RXMLWriteText, DocumentWithoutTemplatesIsCopiedUnchanged) {
  const char* docs[] = {
      "",
      "\n\nplain\n",
      "<html>\r\n  <body>\r\n\r\n   text  \r\n</body>\r\n  ",
      "  \t",
      "<p a=\"1\">x</p><!-- <var value=\"v\"> -->",
  };
  for (const char* d : docs) {
    SCOPED_TRACE(d);
    Engine e;
    e.put("doc.htm", d);
    EXPECT_EQ(d, e.expand("doc.htm"));
  }
}

TEST(RXMLWriteText, LinesOfElementsThatWriteNothingVanish) {
  struct Case {
    const char* doc;
    const char* out;
  };
  const Case cases[] = {
      {"a\n  <var interval=\"x\">\nb\n", "a\nb\n"},
      {"a\n  <var interval=\"x\">\r\n\t<var interval=\"y\">\r\nb\n", "a\nb\n"},
      {"a\n  <var interval=\"x\">", "a\n"},
      // Indentation stays before what an element writes.
      {"a\n  <var value=\"v\">\nb\n", "a\n  v\nb\n"},
      {"a\n  <var interval=\"x\"><var value=\"v\">\n", "a\n  v\n"},
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

TEST(RXMLWriteText, BodyOnItsOwnLinesKeepsItsIndentation) {
  Engine e;
  e.put("list.htm",
        "<ul>\n"
        "  <li>\n"
        "    <b>Apple</b>\n"
        "  </li>\n"
        "  <li>\n"
        "    <b>Pear</b>\n"
        "  </li>\n"
        "</ul>\n");
  e.put("doc.htm",
        "<div>\n"
        "\t<template href=\"list.htm#ul.li\" arg=\"it\">\n"
        "\t\t<p><var href=\"it.b\"></p>\n"
        "\t</template>\n"
        "</div>\n");
  EXPECT_EQ(
      "<div>\n"
      "\t\t<p>Apple</p>\n"
      "\t\t<p>Pear</p>\n"
      "</div>\n",
      e.expand("doc.htm"));
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

TEST(RXMLResolve, PathsToElements) {
  Engine e;
  e.put("list.htm", kList);
  e.put("doc.htm", "<var href=\"list.htm#ul.li.b\">");
  RXML_File* doc = e.read("doc.htm");
  const char* base = doc->path;
  RXML_Elem* b = RXML_resolve(&e.rx, "list.htm#ul.li.b", base, nullptr);
  ASSERT_NE(nullptr, b);
  EXPECT_STREQ("b", b->tag);
  EXPECT_EQ(b->parent, RXML_resolve(&e.rx, "list.htm#ul.li.", base, nullptr));
  EXPECT_EQ(b->parent, RXML_resolve(&e.rx, "all#ul.li", base, nullptr));
  for (const char* none : {"", "list.htm", "list.htm#", "list.htm#li", "list.htm#ul..b",
                           "list.htm#ul.li.i", "gone.htm#ul", "#ul", "it.b", "ul"}) {
    SCOPED_TRACE(none);
    EXPECT_EQ(nullptr, RXML_resolve(&e.rx, none, base, nullptr));
  }
  // The three li of the list, in order.
  RXML_Elem* li = b->parent;
  ASSERT_NE(nullptr, RXML_nextSibling(li));
  ASSERT_NE(nullptr, RXML_nextSibling(RXML_nextSibling(li)));
  EXPECT_EQ(nullptr, RXML_nextSibling(RXML_nextSibling(RXML_nextSibling(li))));
}
