// One source, text file or (template) document becomes its page: the whole
// page's bytes worked out by hand from the page layout, the listing,
// definition, outline and keyword rules and the template and document
// rules, for ordinary inputs and for extreme ones.
#include <gtest/gtest.h>

#include <string>

#include "E2e.h"

namespace {

const std::string S(1, nativeSep());

// All 256 byte values up and down, NUL bytes among text, and a lead byte
// as the very last byte.
std::string binaryBytes() {
  std::string b;
  for (int i = 0; i < 256; ++i) b += static_cast<char>(i);
  b += std::string("\0\0\0abc\0", 7);
  for (int i = 255; i >= 0; --i) b += static_cast<char>(i);
  return b + "\x81";
}

std::string nested(int n) {
  std::string t;
  for (int i = 0; i < n; ++i) t = "<template>" + t + "</template>";
  return t + "\n";
}

// Ten lines of text with no tag, longer than the lexer's window.
const std::string kLongText = [] {
  std::string t;
  for (int i = 0; i < 10; ++i) t += std::string(70, 'x') + "\n";
  return t;
}();

const std::string kFuncNav = "<P>\r\n[<A href=\"#idxF\">関数</A> | <A href=\"#idxM\">マクロ</A>]\r\n</P>\r\n\r\n";
const std::string kTypeNav =
    "<P>\r\n[<A href=\"#idxS\">型・クラス・構造体</A> | <A href=\"#idxF\">関数</A>]\r\n</P>\r\n\r\n";
std::string funcs(const std::vector<std::string>& names) {
  std::string items;
  for (std::size_t i = 0; i < names.size(); ++i)
    items += "<LI><A href=\"#func" + std::to_string(i + 1) + "\">" + names[i] + " 関数</A>\r\n";
  return kFuncSection + items + kEndSection;
}

}  // namespace

TEST(Page, OfEachInput) {
  const std::string compute = "<A name=\"func1\">int <A href=\"#func1\">compute</A>(void)\n";
  const std::string mega(1 << 20, 'x');
  const std::string brackets = "x = " + std::string(10000, '(') + std::string(10000, ')') + ";\n";
  struct Case {
    const char* name;
    std::string text, page;
    std::string out = "";  // "<dir>": the input's folder and a separator
    std::vector<std::pair<std::string, std::string>> more = {};  // other files; "/": a folder
  };
  const Case cases[] = {
      {"plain.c", "x = 1;\r\ny = a < b && c > d;\r\n",
       head("plain.c") + listing("   1|x = 1;\r\n   2|y = a &lt; b &amp;&amp; c &gt; d;\r\n   3|")},
      // An empty text writes an empty listing: not even the first number.
      {"main.C", "", head("main.C") + listing("")},
      // The second byte of a double-byte character starts no link, even
      // where it is a letter that begins a name: "\x83\x41" is one character.
      {"trail.c", "\x83\x41" "BC;\n#define ABC 1\n",
       head("trail.c") + kMacroSection + "<LI><A href=\"#def1\">ABC マクロ</A>\r\n" + kEndSection +
           listing("   1|\x83\x41" "BC;\n   2|<A name=\"def1\">#define <A href=\"#def1\">ABC</A> 1\n   3|")},
      // A name at the end of a word too long for the lengths' own bits.
      {"long.c", std::string(70, 'x') + "F;\n#define F 1\n",
       head("long.c") + kMacroSection + "<LI><A href=\"#def1\">F マクロ</A>\r\n" + kEndSection +
           listing("   1|" + std::string(70, 'x') + "<A href=\"#def1\">F</A>;\n"
                   "   2|<A name=\"def1\">#define <A href=\"#def1\">F</A> 1\n   3|")},
      // One title only: the short outline is empty (depth 0), so the title's
      // anchor in the listing stays open, as titles at the depth limit do.
      {"t.c", "/* <<<Intro [widget]>>> */\nint compute(void)\n{\n  return widget;\n}\n",
       head("t.c") + "<P>\r\n[<A href=\"#idx\">目次</A> | <A href=\"#idxF\">関数</A>]\r\n</P>\r\n\r\n" +
           kOutlineSection + "<LI><A name=\"abst1\" href=\"#title1\">1. Intro [widget]</A>\r\n" +
           kEndSection + funcs({"compute"}) +
           listing("   1|/* <A name=\"title1\">1. &lt;&lt;&lt;Intro [<A href=\"#title1\">widget</A>]"
                   "&gt;&gt;&gt; */\n   2|" + compute +
                   "   3|</A>{\n   4|  return <A href=\"#title1\">widget</A>;\n   5|}\n   6|")},
      // Code as real projects write it (heads in both branches of a
      // conditional group, a body that ends with a block, declarations whose
      // first words are keywords): each definition is listed once, its
      // anchor opens at its first word, no keyword becomes a name.
      {"branches.c",
       "#ifdef WIDE\nint f(long v) {\n#else\nint f(int v) {\n#endif\n  return (int)v;\n}\n\n"
       "int g(void) { return 1; }\n#define LIMIT 10\n",
       head("branches.c") + kFuncNav + funcs({"f", "g"}) + kMacroSection +
           "<LI><A href=\"#def1\">LIMIT マクロ</A>\r\n" + kEndSection +
           // A macro's end lies at the end of the file: its anchor stays open.
           listing("   1|#ifde<A href=\"#func1\">f</A> WIDE\n"
                   "   2|<A name=\"func1\">int <A href=\"#func1\">f</A>(lon<A href=\"#func2\">g</A> v) </A>{\n"
                   "   3|#else\n   4|int <A href=\"#func1\">f</A>(int v) {\n"
                   "   5|#endi<A href=\"#func1\">f</A>\n   6|  return (int)v;\n   7|}\n   8|\n"
                   "   9|<A name=\"func2\">int <A href=\"#func2\">g</A>(void) </A>{ return 1; }\n"
                   "  10|<A name=\"def1\">#define <A href=\"#def1\">LIMIT</A> 10\n  11|")},
      {"blocks.c", "int a(int x)\n{\n  if (x) {\n    x++;\n  }\n}\n\nint b(void)\n{\n  return 0;\n}\n",
       head("blocks.c") + funcs({"a", "b"}) +
           listing("   1|<A name=\"func1\">int <A href=\"#func1\">a</A>(int x)\n   2|</A>{\n"
                   "   3|  if (x) {\n   4|    x++;\n   5|  }\n   6|}\n   7|\n"
                   "   8|<A name=\"func2\">int <A href=\"#func2\">b</A>(void)\n   9|</A>{\n"
                   "  10|  return 0;\n  11|}\n  12|")},
      {"keywords.c",
       "typedef int (*callback)(void *, int);\n"
       "void (*lookup(const char *name))(void) { return 0; }\n"
       "static const union { char c[4]; int i; } order = { { 1, 0, 0, 0 } };\n"
       "int use(callback cb) { return order.i; }\n",
       head("keywords.c") + kTypeNav + kTypeSection + "<LI><A href=\"#type1\">callback 型</A>\r\n" +
           kEndSection + funcs({"lookup", "use"}) +
           listing("   1|<A name=\"type1\">typedef int (*<A href=\"#type1\">callback</A>)(void *, int);</A>\n"
                   "   2|<A name=\"func1\">void (*<A href=\"#func1\">lookup</A>(const char *name))"
                   "(void) </A>{ return 0; }\n"
                   "   3|static const union { char c[4]; int i; } order = { { 1, 0, 0, 0 } };\n"
                   "   4|<A name=\"func2\">int <A href=\"#func2\">use</A>(<A href=\"#type1\">"
                   "callback</A> cb) </A>{ return order.i; }\n   5|")},
      {"img.txt", "/* <img src=\"a.png\"> <IMG src=b.png> <IMAGE x> */\n",
       head("img.txt") + listing("   1|/* <img src=\"a.png\"> <IMG src=b.png> &lt;IMAGE x&gt; */\n   2|")},
      // An image tag left open at the end is text, numbered on from its line.
      {"open.txt", "a\n<img\nb\n", head("open.txt") + listing("   1|a\n   2|&lt;img\n   3|b\n   4|")},
      {"kw.txt", "see <kword>gizmo</kword> here\n",
       head("kw.txt") +
           listing("   1|see &lt;kword&gt;<A name=\"kword1\">gizmo</A>&lt;/kword&gt; here\n   2|")},
      // A name inside a tag is not linked.
      {"k.c", "/* <b title=\"compute\">x</b> */\nint compute(void)\n{\n}\n",
       head("k.c") + funcs({"compute"}) +
           listing("   1|/* &lt;b title=\"compute\"&gt;x&lt;/b&gt; */\n   2|" + compute +
                   "   3|</A>{\n   4|}\n   5|")},
      {"long.c", mega + "\ny\n", head("long.c") + listing("   1|" + mega + "\n   2|y\n   3|")},
      {"nest.c", brackets, head("nest.c") + listing("   1|" + brackets + "   2|")},
      // Brackets left open or mismatched are reported on standard output.
      {"open.c", std::string(10000, '{') + "\n",
       head("open.c") + listing("   1|" + std::string(10000, '{') + "\n   2|"),
       "\n括弧 '{' が多すぎる。(line=1)\n\n"},
      {"b.c", "int a = (1];\n", head("b.c") + listing("   1|int a = (1];\n   2|"),
       "\n括弧の対応がおかしい。'('～']'(line=1～1)\n括弧 ']' が多すぎる。(line=1)\n\n"},
      {"q.c", "/* ( */ char* s = \"[\";\n",
       head("q.c") + listing("   1|/* ( */ char* s = \"[\";\n   2|")},
      // A comment or string open at the end of the file.
      {"comment.c", "int a;\n/* open", head("comment.c") + listing("   1|int a;\n   2|/* open")},
      {"string.c", "int a;\nchar* s = \"open",
       head("string.c") + listing("   1|int a;\n   2|char* s = \"open")},
      {"line.c", "int a; // open", head("line.c") + listing("   1|int a; // open")},

      {"page.HTM", "<html><body>\r\n<h2>Intro</h2>\r\n<p>日本語の表</p>\r\n</body></html>\r\n",
       "<html><body>\r\n<h2><A name=\"1\">Intro</A></h2>\r\n<p>日本語の表</p>\r\n</body></html>\r\n"},
      // The hidden heading is counted: B is heading 3.
      {"doc.hmt", "<h1>A</h1>\r\n<embed_index>\r\n<h2 idx_disp=\"no\">Skip</h2>\r\n<H2>B</H2>\r\n",
       "<h1><A name=\"1\">A</A></h1>\r\n<embed_index><UL>\r\n<LI><A href=\"#1\">A</A>\r\n <UL>\r\n"
       " <LI><A href=\"#3\">B</A>\r\n </UL>\r\n</UL>\r\n\r\n<h2 idx_disp=\"no\">Skip</h2>\r\n"
       "<H2><A name=\"3\">B</A></H2>\r\n"},
      // The first heading sets the outer level until a higher one comes.
      {"h.htm", "<h3>Top</h3>\r\n<embed_index>\r\n<h4>Sub <i>x</i></h4>\r\n<h2>Up</h2>\r\n",
       "<h3><A name=\"1\">Top</A></h3>\r\n<embed_index><UL>\r\n<LI><A href=\"#1\">Top</A>\r\n"
       " <UL>\r\n <LI><A href=\"#2\">Subx</A>\r\n </UL>\r\n<LI><A href=\"#3\">Up</A>\r\n</UL>\r\n"
       "\r\n<h4><A name=\"2\">Sub <i>x</i></A></h4>\r\n<h2><A name=\"3\">Up</A></h2>\r\n"},
      // A keyword is linked after its mark, but not inside an A element.
      {"k.htm", "<kword>gadget</kword> and a gadget, <a href=\"x\">gadget</a>\r\n",
       "<kword><A name=\"kword1\">gadget</A></kword> and a <A href=\"#kword1\">gadget</A>, "
       "<a href=\"x\">gadget</a>\r\n"},
      // A var that cannot be resolved (no file, a folder) keeps its tag.
      {"v.htm", "<p><var href=\"part.htm\"></p>\r\n<var href=\"gone.htm#x\">\r\n",
       "<p>PART</p>\r\n<var href=\"gone.htm#x\">\r\n",
       "\nファイル <dir>v.htm（line=2）から参照しているファイル <dir>gone.htm が見つかりません\n",
       {{"part.htm", "PART"}}},
      // Its line is counted over text longer than the lexer's window.
      {"long.htm", kLongText + "<var href=\"gone.htm\">\n", kLongText + "<var href=\"gone.htm\">\n",
       "\nファイル <dir>long.htm（line=11）から参照しているファイル <dir>gone.htm が見つかりません\n"},
      {"folder.htm", "<var href=\"sub#x\">\n", "<var href=\"sub#x\">\n",
       "\nファイル <dir>folder.htm（line=1）から参照しているファイル <dir>sub が見つかりません\n",
       {{"sub", "/"}}},
      {"e.htm", "", ""},
      {"e.hmt", "", ""},
      // Nothing to expand: binary bytes, elements nested wrongly and never
      // closed, 32 nested templates without href, are copied as they are.
      {"bin.htm", binaryBytes(), binaryBytes()},
      {"plain.htm", "<p><b><i>text</p></b>\n<ul><li>x\n</div></i>\n",
       "<p><b><i>text</p></b>\n<ul><li>x\n</div></i>\n"},
      {"n32.htm", nested(32), nested(32)},
      // A var pulls in b, whose end tag comes after its parent's: the body
      // runs to "</b>" and takes "</p>" along.
      {"pull.htm", "<var href=\"u.htm#p.b\">\n", "x</p>\n", "", {{"u.htm", "<p><b>x</p></b>\n"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    writeFile(dir.file(c.name), c.text);
    for (const auto& f : c.more) {
      if (f.second == "/") std::filesystem::create_directory(dir.file(f.first));
      else writeFile(dir.file(f.first), f.second);
    }
    std::string name = c.name, out = c.out;
    // A source's or a .hmt document's page is NAME.htm.
    const std::string ext = name.substr(name.rfind('.') + 1);
    if (ext != "htm" && ext != "HTM") name = name.substr(0, name.rfind('.')) + ".htm";
    for (std::size_t at; (at = out.find("<dir>")) != std::string::npos;)
      out.replace(at, 5, dir.path() + S);
    const E2eRun r = runOnBadInput(dir, c.name, 0);
    EXPECT_EQ(out, r.out);
    EXPECT_EQ(c.page, readFile(workFile(dir, name)));
    // The work files are gone; the page stays and is shown once.
    EXPECT_EQ(std::vector<std::string>{name}, listFolder(dir.file("scrivo2")));
    EXPECT_EQ(std::vector<std::string>{browserForm(workFile(dir, name))}, r.browserCalls);
  }
}

// Each kind of definition has its own index line.
TEST(Page, EveryKindOfDefinition) {
  TempDir dir;
  writeFile(dir.file("defs.h"),
            "#define LIMIT 10\ntypedef int Count;\nstruct Node { int v; };\n"
            "union Word { int i; };\nenum Mode { ON, OFF };\n");
  runOnBadInput(dir, "defs.h", 0);
  EXPECT_EQ(0u, readFile(workFile(dir, "defs.htm")).find(
      head("defs.h") +
      "<P>\r\n[<A href=\"#idxS\">型・クラス・構造体</A> | <A href=\"#idxM\">マクロ</A>]\r\n</P>\r\n\r\n" +
      kTypeSection + "<LI><A href=\"#type1\">Count 型</A>\r\n<LI><A href=\"#struct1\">Node 構造体</A>\r\n"
      "<LI><A href=\"#struct2\">Word 共用体</A>\r\n<LI><A href=\"#enum1\">Mode 列挙型</A>\r\n" +
      kEndSection + kMacroSection + "<LI><A href=\"#def1\">LIMIT マクロ</A>\r\n" + kEndSection +
      "\r\n<HR><PRE>\r\n"));
}

// The members of an enumeration are read ahead for the links file, and
// the definitions after it are still found there: a member that is no name
// (here a double-byte character) once made the reading run on past the
// macro, which then had an anchor but no links.
TEST(Page, DefinitionAfterAnEnumerationIsLinked) {
  TempDir dir;
  writeFile(dir.file("e.c"), "enum c { A, \x90\xd4 };\n#define M 1\nint x = M;\n");
  runOnBadInput(dir, "e.c", 0);
  EXPECT_NE(std::string::npos,
            readFile(workFile(dir, "e.htm")).find("   3|</A>int x = <A href=\"#def1\">M</A>;\n"));
}

// A byte that may lead a character starts no link where it is the second
// byte of one: "\x81\x95" is one character, and "\x95\x5C" is a keyword.
TEST(Page, SecondByteOfACharacterStartsNoLink) {
  TempDir dir;
  writeFile(dir.file("k.c"), "/* <<<A [\x95\x5C]>>> */\nint x = \x81\x95\x5C;\nint y = \x95\x5C;\n");
  runOnBadInput(dir, "k.c", 0);
  EXPECT_NE(std::string::npos,
            readFile(workFile(dir, "k.htm"))
                .find("   2|int x = \x81\x95\x5C;\n   3|int y = <A href=\"#title1\">\x95\x5C</A>;\n"));
}

TEST(Page, TwentyThousandDefinitions) {
  TempDir dir;
  std::string text;
  for (int i = 1; i <= 20000; ++i) text += "int f" + std::to_string(i) + "(void) { return 0; }\n";
  writeFile(dir.file("many.c"), text);
  runOnBadInput(dir, "many.c", 0);
  const std::string page = readFile(workFile(dir, "many.htm"));
  EXPECT_EQ(0u, page.find(head("many.c") + kFuncSection + "<LI><A href=\"#func1\">f1 関数</A>\r\n"));
  EXPECT_NE(std::string::npos,
            page.find("<LI><A href=\"#func20000\">f20000 関数</A>\r\n" + kEndSection));
  std::size_t items = 0;
  for (std::size_t at = page.find("<LI>"); at != std::string::npos; at = page.find("<LI>", at + 1))
    ++items;
  EXPECT_EQ(20000u, items);
  // The last definition is linked in the listing like the first.
  EXPECT_NE(std::string::npos,
            page.find("20000|<A name=\"func20000\">int <A href=\"#func20000\">f20000</A>(void) "));
}
