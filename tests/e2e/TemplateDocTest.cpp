// An HTML (template) document becomes its page: expansion, heading anchors
// and index, keyword links, worked out by hand from the template and
// document rules.
#include <gtest/gtest.h>

#include <string>

#include "E2e.h"

namespace {

struct DocRun {
  E2eRun run;
  std::string page;
  std::vector<std::string> workFolder;
};

DocRun makeDoc(const TempDir& dir, const std::string& name, const std::string& text,
               const std::string& pageName) {
  writeFile(dir.file(name), text);
  DocRun r;
  r.run = runScrivo(dir, {name});
  r.page = readFile(dir.file("scrivo2") + nativeSep() + pageName);
  r.workFolder = listFolder(dir.file("scrivo2"));
  return r;
}

}  // namespace

TEST(TemplateDoc, PlainDocumentGetsHeadingAnchorsOnly) {
  TempDir dir;
  DocRun r = makeDoc(dir, "page.HTM",
                     "<html><body>\r\n<h2>Intro</h2>\r\n<p>日本語の表</p>\r\n</body></html>\r\n",
                     "page.HTM");
  EXPECT_EQ(0, r.run.status) << r.run.err;
  EXPECT_EQ("<html><body>\r\n<h2><A name=\"1\">Intro</A></h2>\r\n<p>日本語の表</p>\r\n</body></html>\r\n",
            r.page);
  EXPECT_EQ(std::vector<std::string>{"page.HTM"}, r.workFolder);
  EXPECT_EQ(1u, r.run.browserCalls.size());
}

TEST(TemplateDoc, HeadingIndexStandsAtEmbedIndex) {
  TempDir dir;
  DocRun r = makeDoc(dir, "doc.hmt",
                     "<h1>A</h1>\r\n<embed_index>\r\n<h2 idx_disp=\"no\">Skip</h2>\r\n<H2>B</H2>\r\n",
                     "doc.htm");
  EXPECT_EQ(0, r.run.status) << r.run.err;
  // The hidden heading is counted: B is heading 3.
  EXPECT_EQ(
      "<h1><A name=\"1\">A</A></h1>\r\n<embed_index>"
      "<UL>\r\n<LI><A href=\"#1\">A</A>\r\n <UL>\r\n <LI><A href=\"#3\">B</A>\r\n </UL>\r\n</UL>\r\n"
      "\r\n<h2 idx_disp=\"no\">Skip</h2>\r\n<H2><A name=\"3\">B</A></H2>\r\n",
      r.page);
  EXPECT_EQ(std::vector<std::string>{"doc.htm"}, r.workFolder);
}

TEST(TemplateDoc, KeywordLinkedLaterButNotInsideAnAElement) {
  TempDir dir;
  DocRun r = makeDoc(dir, "k.htm",
                     "<kword>gadget</kword> and a gadget, <a href=\"x\">gadget</a>\r\n", "k.htm");
  EXPECT_EQ(
      "<kword><A name=\"kword1\">gadget</A></kword> and a <A href=\"#kword1\">gadget</A>, "
      "<a href=\"x\">gadget</a>\r\n",
      r.page);
}

TEST(TemplateDoc, VarIncludesAFileAndAMissingFileIsWarned) {
  TempDir dir;
  writeFile(dir.file("part.htm"), "PART");
  DocRun r = makeDoc(dir, "v.htm", "<p><var href=\"part.htm\"></p>\r\n<var href=\"gone.htm#x\">\r\n",
                     "v.htm");
  EXPECT_EQ(0, r.run.status) << r.run.err;
  EXPECT_EQ("\nファイル " + dir.file("v.htm") + "（line=2）から参照しているファイル " +
                dir.file("gone.htm") + " が見つかりません\n",
            r.run.out);
  // An unresolvable var keeps its start tag.
  EXPECT_EQ("<p>PART</p>\r\n<var href=\"gone.htm#x\">\r\n", r.page);
}

TEST(TemplateDoc, StrayEndOfTemplateEndsTheRun) {
  TempDir dir;
  writeFile(dir.file("s.htm"), "<p>x</p>\r\n</TEMPLATE>\r\n");
  E2eRun r = runScrivo(dir, {"s.htm"});
  EXPECT_EQ(14, r.status);
  EXPECT_NE(std::string::npos, r.err.find("</TEMPLATE> が多すぎます"));
  EXPECT_TRUE(r.browserCalls.empty());
  EXPECT_EQ("<p>x</p>\r\n</TEMPLATE>\r\n", readFile(dir.file("s.htm")));
}

TEST(TemplateDoc, MissingDocumentEndsTheRun) {
  TempDir dir;
  E2eRun r = runScrivo(dir, {"none.hmt"});
  EXPECT_EQ(14, r.status);
  EXPECT_NE(std::string::npos, r.err.find("ファイルが見つかりません"));
  EXPECT_TRUE(r.browserCalls.empty());
}

TEST(TemplateDoc, FirstHeadingSetsTheOuterLevelUntilAHigherOneComes) {
  TempDir dir;
  DocRun r = makeDoc(dir, "h.htm",
                     "<h3>Top</h3>\r\n<embed_index>\r\n<h4>Sub <i>x</i></h4>\r\n<h2>Up</h2>\r\n",
                     "h.htm");
  EXPECT_EQ(
      "<h3><A name=\"1\">Top</A></h3>\r\n<embed_index>"
      "<UL>\r\n<LI><A href=\"#1\">Top</A>\r\n <UL>\r\n <LI><A href=\"#2\">Subx</A>\r\n"
      " </UL>\r\n<LI><A href=\"#3\">Up</A>\r\n</UL>\r\n"
      "\r\n<h4><A name=\"2\">Sub <i>x</i></A></h4>\r\n<h2><A name=\"3\">Up</A></h2>\r\n",
      r.page);
}
