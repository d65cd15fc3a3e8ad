// A source or text file becomes its page: the whole page's bytes for small
// inputs, worked out by hand from the page layout, the listing rules and the
// definition, outline and keyword rules.
#include <gtest/gtest.h>

#include <string>

#include "E2e.h"
#include "PageParts.h"

namespace {

// Runs scrivo on name (written with text) and gives the run and the page.
struct PageRun {
  E2eRun run;
  std::string page;
  std::string pagePath;
  std::vector<std::string> workFolder;
};

PageRun makePage(const TempDir& dir, const std::string& name, const std::string& text,
                 const std::string& pageName) {
  writeFile(dir.file(name), text);
  PageRun r;
  r.run = runScrivo(dir, {name});
  r.pagePath = dir.file("scrivo2") + nativeSep() + pageName;
  r.page = readFile(r.pagePath);
  r.workFolder = listFolder(dir.file("scrivo2"));
  return r;
}

}  // namespace

TEST(SourcePage, NoDefinitionsGiveTitleHeadingAndListingOnly) {
  TempDir dir;
  PageRun r = makePage(dir, "plain.c", "x = 1;\r\ny = a < b && c > d;\r\n", "plain.htm");
  EXPECT_EQ(0, r.run.status) << r.run.err;
  EXPECT_EQ("", r.run.out);
  EXPECT_EQ(head("plain.c") +
                listing("   1|x = 1;\r\n   2|y = a &lt; b &amp;&amp; c &gt; d;\r\n   3|"),
            r.page);
  // The work files are gone; the page stays and is shown once.
  EXPECT_EQ(std::vector<std::string>{"plain.htm"}, r.workFolder);
  EXPECT_EQ(std::vector<std::string>{browserForm(r.pagePath)}, r.run.browserCalls);
}

TEST(SourcePage, OneFunctionGivesItsSectionWithoutNavigationLine) {
  TempDir dir;
  PageRun r = makePage(dir, "f.c", "int compute(void)\n{\n  return 0;\n}\n", "f.htm");
  EXPECT_EQ(0, r.run.status) << r.run.err;
  EXPECT_EQ(head("f.c") + kFuncSection + "<LI><A href=\"#func1\">compute 関数</A>\r\n" +
                kEndSection +
                listing("   1|<A name=\"func1\">int <A href=\"#func1\">compute</A>(void)\n"
                        "   2|</A>{\n   3|  return 0;\n   4|}\n   5|"),
            r.page);
}

TEST(SourcePage, OutlineAndFunctionListGetTheNavigationLine) {
  TempDir dir;
  PageRun r = makePage(dir, "t.c",
                       "/* <<<Intro [widget]>>> */\nint compute(void)\n{\n  return widget;\n}\n",
                       "t.htm");
  EXPECT_EQ(0, r.run.status) << r.run.err;
  // One title only: the short outline is empty (depth 0), so the title's
  // anchor in the listing stays open, as titles at the depth limit do.
  EXPECT_EQ(head("t.c") +
                "<P>\r\n[<A href=\"#idx\">目次</A> | <A href=\"#idxF\">関数</A>]\r\n</P>\r\n\r\n" +
                kOutlineSection + "<LI><A name=\"abst1\" href=\"#title1\">1. Intro [widget]</A>\r\n" +
                kEndSection + kFuncSection + "<LI><A href=\"#func1\">compute 関数</A>\r\n" +
                kEndSection +
                listing("   1|/* <A name=\"title1\">1. &lt;&lt;&lt;Intro [<A href=\"#title1\">widget</A>]"
                        "&gt;&gt;&gt; */\n"
                        "   2|<A name=\"func1\">int <A href=\"#func1\">compute</A>(void)\n"
                        "   3|</A>{\n   4|  return <A href=\"#title1\">widget</A>;\n   5|}\n   6|"),
            r.page);
}

TEST(SourcePage, EveryKindOfDefinition) {
  TempDir dir;
  const std::string text =
      "#define LIMIT 10\n"
      "typedef int Count;\n"
      "struct Node { int v; };\n"
      "union Word { int i; };\n"
      "enum Mode { ON, OFF };\n";
  PageRun r = makePage(dir, "defs.h", text, "defs.htm");
  EXPECT_EQ(0, r.run.status) << r.run.err;
  const std::string types =
      "<LI><A href=\"#type1\">Count 型</A>\r\n"
      "<LI><A href=\"#struct1\">Node 構造体</A>\r\n"
      "<LI><A href=\"#struct2\">Word 共用体</A>\r\n"
      "<LI><A href=\"#enum1\">Mode 列挙型</A>\r\n";
  const std::string macros = "<LI><A href=\"#def1\">LIMIT マクロ</A>\r\n";
  std::string expectedHead =
      head("defs.h") +
      "<P>\r\n[<A href=\"#idxS\">型・クラス・構造体</A> | <A href=\"#idxM\">マクロ</A>]\r\n</P>\r\n\r\n" +
      kTypeSection + types + kEndSection + kMacroSection + macros + kEndSection;
  ASSERT_GE(r.page.size(), expectedHead.size());
  EXPECT_EQ(expectedHead, r.page.substr(0, expectedHead.size()));
  // Every name is linked where it is used, the enumerators too.
  for (const char* anchor : {"<A name=\"def1\">", "<A name=\"type1\">", "<A name=\"struct1\">",
                             "<A name=\"struct2\">", "<A name=\"enum1\">",
                             "<A href=\"#enum1\">ON</A>", "<A href=\"#enum1\">OFF</A>"}) {
    SCOPED_TRACE(anchor);
    EXPECT_NE(std::string::npos, r.page.find(anchor));
  }
}

// Code as it is written in real projects: a head in each branch of a
// conditional group, a body that ends with a block, and declarations whose
// first words are keywords. Each definition is listed once, its anchor
// opens at its first word, and no keyword becomes a name.
TEST(SourcePage, RealCodeDefinitions) {
  const std::string funcAndMacroNav =
      "<P>\r\n[<A href=\"#idxF\">関数</A> | <A href=\"#idxM\">マクロ</A>]\r\n</P>\r\n\r\n";
  const std::string typeAndFuncNav =
      "<P>\r\n[<A href=\"#idxS\">型・クラス・構造体</A> | <A href=\"#idxF\">関数</A>]\r\n</P>\r\n\r\n";
  struct Case {
    const char* name;
    std::string text;
    std::string page;
  };
  const Case cases[] = {
      {"branches.c",
       "#ifdef WIDE\nint f(long v) {\n#else\nint f(int v) {\n#endif\n  return (int)v;\n}\n\n"
       "int g(void) { return 1; }\n#define LIMIT 10\n",
       head("branches.c") + funcAndMacroNav + kFuncSection +
           "<LI><A href=\"#func1\">f 関数</A>\r\n<LI><A href=\"#func2\">g 関数</A>\r\n" +
           kEndSection + kMacroSection + "<LI><A href=\"#def1\">LIMIT マクロ</A>\r\n" +
           kEndSection +
           // A macro's end lies at the end of the file: its anchor stays open.
           listing("   1|#ifde<A href=\"#func1\">f</A> WIDE\n"
                   "   2|<A name=\"func1\">int <A href=\"#func1\">f</A>(lon<A href=\"#func2\">g</A>"
                   " v) </A>{\n"
                   "   3|#else\n"
                   "   4|int <A href=\"#func1\">f</A>(int v) {\n"
                   "   5|#endi<A href=\"#func1\">f</A>\n"
                   "   6|  return (int)v;\n   7|}\n   8|\n"
                   "   9|<A name=\"func2\">int <A href=\"#func2\">g</A>(void) </A>{ return 1; }\n"
                   "  10|<A name=\"def1\">#define <A href=\"#def1\">LIMIT</A> 10\n  11|")},
      {"blocks.c",
       "int a(int x)\n{\n  if (x) {\n    x++;\n  }\n}\n\nint b(void)\n{\n  return 0;\n}\n",
       head("blocks.c") + kFuncSection +
           "<LI><A href=\"#func1\">a 関数</A>\r\n<LI><A href=\"#func2\">b 関数</A>\r\n" +
           kEndSection +
           listing("   1|<A name=\"func1\">int <A href=\"#func1\">a</A>(int x)\n   2|</A>{\n"
                   "   3|  if (x) {\n   4|    x++;\n   5|  }\n   6|}\n   7|\n"
                   "   8|<A name=\"func2\">int <A href=\"#func2\">b</A>(void)\n   9|</A>{\n"
                   "  10|  return 0;\n  11|}\n  12|")},
      {"keywords.c",
       "typedef int (*callback)(void *, int);\n"
       "void (*lookup(const char *name))(void) { return 0; }\n"
       "static const union { char c[4]; int i; } order = { { 1, 0, 0, 0 } };\n"
       "int use(callback cb) { return order.i; }\n",
       head("keywords.c") + typeAndFuncNav + kTypeSection +
           "<LI><A href=\"#type1\">callback 型</A>\r\n" + kEndSection + kFuncSection +
           "<LI><A href=\"#func1\">lookup 関数</A>\r\n<LI><A href=\"#func2\">use 関数</A>\r\n" +
           kEndSection +
           listing("   1|<A name=\"type1\">typedef int (*<A href=\"#type1\">callback</A>)"
                   "(void *, int);</A>\n"
                   "   2|<A name=\"func1\">void (*<A href=\"#func1\">lookup</A>(const char *name))"
                   "(void) </A>{ return 0; }\n"
                   "   3|static const union { char c[4]; int i; } order = { { 1, 0, 0, 0 } };\n"
                   "   4|<A name=\"func2\">int <A href=\"#func2\">use</A>(<A href=\"#type1\">"
                   "callback</A> cb) </A>{ return order.i; }\n   5|")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    std::string page = c.name;
    page.replace(page.size() - 2, 2, ".htm");
    PageRun r = makePage(dir, c.name, c.text, page);
    EXPECT_EQ(0, r.run.status) << r.run.err;
    EXPECT_EQ("", r.run.out);  // no bracket warning
    EXPECT_EQ(c.page, r.page);
  }
}

TEST(SourcePage, ImageTagsAreRawAndOtherTagsEscaped) {
  TempDir dir;
  PageRun r = makePage(dir, "img.txt",
                       "/* <img src=\"a.png\"> <IMG src=b.png> <IMAGE x> */\n", "img.htm");
  EXPECT_EQ(head("img.txt") +
                listing("   1|/* <img src=\"a.png\"> <IMG src=b.png> &lt;IMAGE x&gt; */\n   2|"),
            r.page);
}

TEST(SourcePage, KeywordInsideATagIsNotLinked) {
  TempDir dir;
  PageRun r = makePage(dir, "k.c", "/* <b title=\"compute\">x</b> */\nint compute(void)\n{\n}\n",
                       "k.htm");
  EXPECT_NE(std::string::npos,
            r.page.find("   1|/* &lt;b title=\"compute\"&gt;x&lt;/b&gt; */\n"
                        "   2|<A name=\"func1\">int <A href=\"#func1\">compute</A>(void)\n"));
}

TEST(SourcePage, KwordElementGetsItsAnchor) {
  TempDir dir;
  PageRun r = makePage(dir, "kw.txt", "see <kword>gizmo</kword> here\n", "kw.htm");
  EXPECT_EQ(head("kw.txt") + listing("   1|see &lt;kword&gt;<A name=\"kword1\">gizmo</A>"
                                     "&lt;/kword&gt; here\n   2|"),
            r.page);
}

TEST(SourcePage, CapitalExtensionAndEmptyFile) {
  TempDir dir;
  PageRun r = makePage(dir, "main.C", "", "main.htm");
  EXPECT_EQ(0, r.run.status) << r.run.err;
  // An empty text writes an empty listing: not even the first number.
  EXPECT_EQ(head("main.C") + listing(""), r.page);
}

TEST(SourcePage, MissingInputEndsTheRunAndLeavesTheLinksFile) {
  TempDir dir;
  E2eRun r = runScrivo(dir, {"missing.c"});
  EXPECT_EQ(14, r.status);
  EXPECT_NE(std::string::npos, r.err.find("キャッチできない例外が発生しました\r\n[1] ファイル \""));
  EXPECT_TRUE(r.browserCalls.empty());
  EXPECT_TRUE(fileExists(dir.file("scrivo2") + nativeSep() + "_out.kwf"));
}

TEST(SourcePage, WorkFolderThatIsAFileEndsTheRun) {
  TempDir dir;
  writeFile(dir.file("a.c"), "int x;\n");
  writeFile(dir.file("scrivo2"), "not a folder");
  E2eRun r = runScrivo(dir, {"a.c"});
  EXPECT_EQ(14, r.status);
  EXPECT_EQ("not a folder", readFile(dir.file("scrivo2")));
  EXPECT_TRUE(r.browserCalls.empty());
}

TEST(SourcePage, BracketWarningsGoToStandardOutput) {
  struct Case {
    const char* text;
    std::string out;
  };
  const Case cases[] = {
      {"int a = (1];\n",
       "\n括弧の対応がおかしい。'('～']'(line=1～1)\n括弧 ']' が多すぎる。(line=1)\n\n"},
      {"int x;\n\n{\n", "\n括弧 '{' が多すぎる。(line=3)\n\n"},
      {"/* ( */ char* s = \"[\";\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TempDir dir;
    PageRun r = makePage(dir, "b.c", c.text, "b.htm");
    EXPECT_EQ(0, r.run.status);
    EXPECT_EQ(c.out, r.run.out);
  }
}
