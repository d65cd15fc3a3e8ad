// A project file becomes a site: the frame page, navigation bar and page
// list byte for byte, the pages and their links into each other, the links
// file that stays, the progress line, and the names of pages and copies.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "E2e.h"

namespace {

const std::string S(1, nativeSep());

std::string sourcePage(const std::string& name, const std::string& funcs,
                       const std::string& body) {
  return head(name) + kFuncSection + funcs + kEndSection + listing(body);
}

// One report of the progress line: the line blanked, then its new text.
std::string progress(int step, int index, int count, const std::string& percent,
                     const std::string& text) {
  return "\r" + std::string(79, ' ') + "\rstep " + std::to_string(step) + "/3 [" +
         std::to_string(index) + "/" + std::to_string(count) + "] (" + percent + "%) " + text;
}

}  // namespace

TEST(Site, TwoSourcesAndACopyGiveTheWholeSite) {
  Site s;
  s.write("a.c", "int compute(void)\n{\n  return 0;\n}\n");
  s.write("b.c", "int main(void)\n{\n  return compute();\n}\n");
  s.write("pic.png", "\x89PNG\r\n");
  s.make(projectText({"Folder = .", "File = a.c", "File = b.c", "File = pic.png"}));
  ASSERT_EQ(0, s.run.status) << s.run.err;
  EXPECT_EQ("", s.run.err);

  EXPECT_EQ(frame("index2.htm"), s.page("index.html"));
  EXPECT_EQ(kBar, s.page("index0.htm"));
  // The copy is there but not listed.
  EXPECT_EQ(pageList(item("a.c.htm", "a.c") + item("b.c.htm", "b.c")), s.page("index2.htm"));
  EXPECT_EQ("\x89PNG\r\n", s.page("pic.png"));
  // A definition links to itself and a use in the other page links to it.
  EXPECT_EQ(sourcePage("a.c", "<LI><A href=\"#func1\">compute 関数</A>\r\n",
                       "   1|<A name=\"func1\">int <A href=\"a.c.htm#func1\">compute</A>(void)\n"
                       "   2|</A>{\n   3|  return 0;\n   4|}\n   5|"),
            s.page("a.c.htm"));
  EXPECT_EQ(sourcePage("b.c", "<LI><A href=\"#func1\">main 関数</A>\r\n",
                       "   1|<A name=\"func1\">int <A href=\"b.c.htm#func1\">main</A>(void)\n"
                       "   2|</A>{\n   3|  return <A href=\"a.c.htm#func1\">compute</A>();\n"
                       "   4|}\n   5|"),
            s.page("b.c.htm"));

  // The links file stays, its targets relative to its own folder.
  static const std::regex kLinks(
      "\\[main\\] \r\nApplication = Pervix\r\nVersion = 100\r\nbNewFile = 0\r\nBase = \\.\r\n"
      "Update = [0-9]{4}/[0-9]{2}/[0-9]{2}-[0-9]{2}:[0-9]{2}:[0-9]{2}\r\nbCanUpdate = 0\r\n"
      "DispURL = \\(default\\)\r\nDispTarget = main\r\n \r\n\\[links\\] \r\n"
      "A = \\{compute\\}, , a\\.c\\.htm#func1\r\nA = \\{main\\}, , b\\.c\\.htm#func1\r\n \r\n");
  EXPECT_TRUE(std::regex_match(s.page("_out.kwf"), kLinks)) << s.page("_out.kwf");
  const std::vector<std::string> left = {"_out.kwf",   "a.c.htm",    "b.c.htm", "index.html",
                                         "index0.htm", "index2.htm", "pic.png"};
  EXPECT_EQ(left, listFolder(s.folder()));
  EXPECT_EQ(std::vector<std::string>{browserForm(s.folder() + S + "index.html")},
            s.run.browserCalls);

  // Steps 1 and 2 count the two sources, step 3 all three files.
  const std::string up = ".." + S;
  EXPECT_EQ(progress(0, 0, 0, "  8", "") + progress(1, 1, 2, " 24", up + "a.c") +
                progress(1, 2, 2, " 33", up + "b.c") + progress(2, 1, 2, " 41", up + "a.c") +
                progress(2, 2, 2, " 50", up + "b.c") + progress(3, 1, 3, " 66", up + "a.c") +
                progress(3, 2, 3, " 83", up + "b.c") + progress(3, 3, 3, "100", up + "pic.png"),
            s.run.out);
}

// "/" separates on every platform; on Windows "\\" as well, in any mix. The
// site is the same whichever is written, and paths are shown with the
// native separator.
TEST(Site, FolderLinesWithEitherSeparatorGiveTheSameSite) {
  std::vector<std::string> folders = {"src/deep"};
  if (S == "\\") folders.insert(folders.end(), {"src\\deep", "src/x/..\\deep/"});
  for (const std::string& folder : folders) {
    SCOPED_TRACE(folder);
    Site s;
    s.write("src" + S + "deep" + S + "a.c", "int compute(void)\n{\n  return 0;\n}\n");
    s.make(projectText({"Folder = " + folder, "File = a.c"}, "FirstPage",
                       "FirstPage = src/deep/a.c"));
    ASSERT_EQ(0, s.run.status) << s.run.err;
    EXPECT_EQ(frame("a.c.htm"), s.page("index.html"));
    EXPECT_EQ(pageList(item("a.c.htm", "a.c")), s.page("index2.htm"));
    EXPECT_NE(std::string::npos, s.page("_out.kwf").find("\nA = {compute}, , a.c.htm#func1\r\n"));
    const std::string a = ".." + S + "src" + S + "deep" + S + "a.c";
    EXPECT_EQ(progress(0, 0, 0, "  8", "") + progress(1, 1, 1, " 33", a) +
                  progress(2, 1, 1, " 50", a) + progress(3, 1, 1, "100", a),
              s.run.out);
  }
}

// Pages of the same name are numbered in project order, each with its own
// outline. The site's own names go to no page or copy, and a project that
// names itself is a file to copy ("scv" is no extension of a kind that is
// read).
TEST(Site, PageNamesNeverClash) {
  Site s;
  std::vector<std::string> files;
  for (const char* name : {"one", "two", "six"}) {
    const std::string d = name;
    s.write(d + S + "x.c", "/* <<<Title " + d + ">>> */\nint " + d + "(void);\n");
    files.insert(files.end(), {"Folder = " + d, "File = x.c"});
  }
  s.write("Abc.txt", "plain\n");
  s.write("index.html", "old frame");
  s.write("index0.htm", "<p>bar</p>");
  s.write("_out.kwf", "not links");
  files.insert(files.end(), {"Folder = .", "File = Abc.txt", "File = index.html", "File = index0.htm",
                             "File = _out.kwf", "File = site.scv"});
  const std::string project = projectText(files, "FirstPage", "FirstPage = index.html");
  s.make(project);
  ASSERT_EQ(0, s.run.status) << s.run.err;
  // Sorted without regard to case, the equal names in project order.
  EXPECT_EQ(pageList(item("Abc.txt.htm", "Abc.txt") + item("index0(2).htm", "index0.htm") +
                     item("x.c.htm", "x.c", "Title one") + item("x.c(2).htm", "x.c", "Title two") +
                     item("x.c(3).htm", "x.c", "Title six")),
            s.page("index2.htm"));
  EXPECT_EQ("old frame", s.page("index(2).html"));
  EXPECT_EQ("<p>bar</p>", s.page("index0(2).htm"));
  EXPECT_EQ("not links", s.page("_out(2).kwf"));
  EXPECT_EQ(project, s.page("site.scv"));
  EXPECT_EQ(kBar, s.page("index0.htm"));
  EXPECT_EQ(frame("index(2).html"), s.page("index.html"));
  EXPECT_EQ(12u, listFolder(s.folder()).size());  // eight pages and copies, three site files, links
}

TEST(Site, DocumentsOnly) {
  Site s;
  const std::string second = "<html><head><title>Second</title></head><body>plain</body></html>\n";
  s.write("doc1.htm",
          "<html><head><title>First</title></head><body>\n<h2>Intro</h2>\n<embed_index>\n"
          "</body></html>\n");
  s.write("Doc2.htm", second);
  s.make(projectText({"File = doc1.htm", "File = Doc2.htm"},
                     "FirstPage", "FirstPage = Doc2.htm"));
  ASSERT_EQ(0, s.run.status) << s.run.err;
  EXPECT_EQ("<html><head><title>First</title></head><body>\n<h2><A name=\"1\">Intro</A></h2>\n"
            "<embed_index><UL>\r\n<LI><A href=\"#1\">Intro</A>\r\n</UL>\r\n\n</body></html>\n",
            s.page("doc1.htm"));
  EXPECT_EQ(second, s.page("Doc2.htm"));
  EXPECT_EQ(pageList(item("doc1.htm", "doc1.htm", "First") + item("Doc2.htm", "Doc2.htm", "Second")),
            s.page("index2.htm"));
  EXPECT_EQ(frame("Doc2.htm"), s.page("index.html"));
  EXPECT_EQ(std::string::npos, s.run.out.find('\n'));  // no analysis, no warning
}

// Warnings go to standard output: a bracket warning right after the
// progress of its source, a first page that is no project file at the end;
// the main frame then shows the page list.
TEST(Site, WarningsAmongTheProgress) {
  Site s;
  s.write("b.c", "int f(void) {\n");
  s.make(projectText({"File = b.c"}, "FirstPage", "FirstPage = gone.htm"));
  ASSERT_EQ(0, s.run.status) << s.run.err;
  EXPECT_EQ(frame("index2.htm"), s.page("index.html"));
  const std::string b = ".." + S + "b.c";
  EXPECT_EQ(progress(0, 0, 0, "  8", "") + progress(1, 1, 1, " 33", b) +
                "\n括弧 '{' が多すぎる。(line=1)\n" + progress(2, 1, 1, " 50", b) +
                progress(3, 1, 1, "100", b) + "\n最初のページ " + s.dir.file("gone.htm") +
                " がプロジェクトのファイルにありません。ページ一覧を表示します\n",
            s.run.out);
}
