// The two passes over one source: the analysis pass registers definitions
// with numbers per kind, and the writing pass, with its own counting, gives
// the same numbers to the list items and anchors.
#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"
#include "engine/LinksFile.h"
#include "engine/LinksIndex.h"
#include "engine/SourcePasses.h"

namespace {

const char kSource[] =
    "#define M 1\n"
    "typedef int T;\n"
    "union U { int a; };\n"
    "class K { int b; };\n"
    "enum E0 { Z };\n"
    "enum E { A, B };\n"
    "int first(void)\n"
    "{\n"
    "  return A + B;\n"
    "}\n";

struct Passes {
  TempDir dir;
  std::string links, listing, types, funcs, macros, outline;
  explicit Passes(const std::string& source) {
    const std::string src = dir.file("s.c");
    writeFile(src, source);
    PageFiles f;
    PageFiles_init(&f, PageFiles_Kind::Source, src.c_str(), false, dir.path().c_str(), "",
                   "idx.txt");
    LinksFile lf;
    LinksFile_open(&lf, f.links);
    LinksFile_writeHeader(&lf, ".");
    LinksFile_setPage(&lf, "");
    BracketP_Errors errors;
    BracketP_Errors_clear(&errors);
    int32_t depth = -1;
    Scrivo_analyzeSource(f, &lf, &depth, &errors);
    LinksFile_close(&lf);
    links = readFile(f.links);
    LinksIndex index;
    LinksIndex_open(&index, f.links);
    Scrivo_writeSourcePage(f, depth, &index, nullptr);
    LinksIndex_close(&index);
    listing = readFile(f.main);
    types = readFile(f.types);
    funcs = readFile(f.funcs);
    macros = readFile(f.macros);
    outline = readFile(f.outline);
  }
};

}  // namespace

TEST(SourcePasses, EachKindCountsOnItsOwnInBothPasses) {
  Passes p(kSource);
  const std::string entries =
      "A = {M}, , #def1\r\n"
      "A = {T}, , #type1\r\n"
      "A = {U}, , #struct1\r\n"
      "A = {K}, , #struct2\r\n"
      "A = {E0}, , #enum1\r\n"
      "A = {Z}, , #enum1\r\n"
      "A = {E}, , #enum2\r\n"
      "A = {A}, , #enum2\r\n"
      "A = {B}, , #enum2\r\n"
      "A = {first}, , #func1\r\n";
  EXPECT_NE(std::string::npos, p.links.find("[links] \r\n" + entries + " \r\n")) << p.links;
  EXPECT_EQ(
      "<LI><A href=\"#type1\">T 型</A>\r\n"
      "<LI><A href=\"#struct1\">U 共用体</A>\r\n"
      "<LI><A href=\"#struct2\">K クラス</A>\r\n"
      "<LI><A href=\"#enum1\">E0 列挙型</A>\r\n"
      "<LI><A href=\"#enum2\">E 列挙型</A>\r\n",
      p.types);
  EXPECT_EQ("<LI><A href=\"#func1\">first 関数</A>\r\n", p.funcs);
  EXPECT_EQ("<LI><A href=\"#def1\">M マクロ</A>\r\n", p.macros);
  // The anchors the lists point at, and uses linked to the definitions.
  for (const char* part : {"<A name=\"def1\">#define", "<A name=\"struct2\">class",
                           "<A name=\"enum2\">enum", "<A name=\"func1\">int",
                           "return <A href=\"#enum2\">A</A> + <A href=\"#enum2\">B</A>;"}) {
    SCOPED_TRACE(part);
    EXPECT_NE(std::string::npos, p.listing.find(part));
  }
  EXPECT_EQ("", p.outline);
}

TEST(SourcePasses, KeywordsInsideAnAElementOfASourceAreStillLinked) {
  // Source pages do not track A elements: every keyword found is linked.
  Passes p("/* <<<About [gear]>>> */\n/* <a href=\"x\">gear</a> */\n");
  EXPECT_NE(std::string::npos, p.listing.find("&lt;a href=\"x\"&gt;<A href=\"#title1\">gear</A>"))
      << p.listing;
}
