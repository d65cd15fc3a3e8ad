// Inputs that are missing, not files, empty, binary, too long to name or
// too big for a capacity: each run ends with a clear message or a sane
// page, never a crash, and leaves every input as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "BadInput.h"
#include "PageParts.h"
#include "SiteParts.h"

namespace {

namespace fs = std::filesystem;

std::string notFound(const TempDir& dir, const std::string& name) {
  return "ファイル \"" + dir.file(name) + "\" が見つかりません\nカレント＝" + dir.path();
}

std::string templateNotFound(const TempDir& dir, const std::string& name) {
  return dir.file(name) + " ファイルが見つかりません";
}

// All 256 byte values up and down, NUL bytes among text, and a lead byte
// as the very last byte.
std::string binaryBytes() {
  std::string b;
  for (int i = 0; i < 256; ++i) b += static_cast<char>(i);
  b += std::string("\0\0\0abc\0", 7);
  for (int i = 255; i >= 0; --i) b += static_cast<char>(i);
  return b + "\x81";
}

// Separators as "/" in both texts: messages may join a path with either.
std::string slashes(std::string s) {
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

}  // namespace

TEST(BadInput, MissingInputOfEachKind) {
  TempDir dir;
  runOnBadInput(dir, "missing.c", 14, notFound(dir, "missing.c"));
  for (const char* name : {"missing.htm", "missing.hmt"}) {
    SCOPED_TRACE(name);
    runOnBadInput(dir, name, 14, templateNotFound(dir, name));
  }
}

TEST(BadInput, FolderAsInputIsNoFile) {
  TempDir dir;
  for (const char* name : {"dir.c", "dir.txt", "dir.htm", "dir.hmt"}) fs::create_directory(dir.file(name));
  for (const char* name : {"dir.c", "dir.txt"}) {
    SCOPED_TRACE(name);
    runOnBadInput(dir, name, 14, notFound(dir, name));
  }
  for (const char* name : {"dir.htm", "dir.hmt"}) {
    SCOPED_TRACE(name);
    runOnBadInput(dir, name, 14, templateNotFound(dir, name));
  }
}

TEST(BadInput, EmptyInputOfEachKindGivesAnEmptyPage) {
  struct Case {
    const char* name;
    const char* page;
    std::string expected;
  };
  const Case cases[] = {{"e.c", "e.htm", head("e.c") + listing("")},
                        {"e.htm", "e.htm", ""},
                        {"e.hmt", "e.htm", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    writeFile(dir.file(c.name), "");
    runOnBadInput(dir, c.name, 0);
    EXPECT_TRUE(fileExists(workFile(dir, c.page)));
    EXPECT_EQ(c.expected, readFile(workFile(dir, c.page)));
  }
}

TEST(BadInput, BinarySourceIsListedWhole) {
  TempDir dir;
  writeFile(dir.file("bin.c"), binaryBytes());
  runOnBadInput(dir, "bin.c", 0);
  std::string page = readFile(workFile(dir, "bin.htm"));
  const std::string start = head("bin.c") + "\r\n<HR><PRE>\r\n   1|";
  const std::string end = "\r\n</PRE>\r\n</BODY></HTML>\r\n";
  ASSERT_GT(page.size(), start.size() + end.size());
  EXPECT_EQ(start, page.substr(0, start.size()));
  EXPECT_EQ(end, page.substr(page.size() - end.size()));
  // The lead byte at the end stands alone: it reaches the page as it is.
  EXPECT_EQ('\x81', page[page.size() - end.size() - 1]);
  EXPECT_NE(std::string::npos, page.find(std::string("\0\0\0abc\0", 7)));
}

TEST(BadInput, BinaryDocumentWithoutElementsIsCopied) {
  // No tag name follows any "<" of the bytes: nothing for the template
  // passes to expand, anchor or link.
  TempDir dir;
  writeFile(dir.file("bin.htm"), binaryBytes());
  runOnBadInput(dir, "bin.htm", 0);
  EXPECT_EQ(binaryBytes(), readFile(workFile(dir, "bin.htm")));
}

TEST(BadInput, PathArgumentsAtAndPastTheBuffer) {
  // Absolute arguments of 259, 260 and 300 bytes naming existing files.
  TempDir dir;
  const std::string folder = dir.file(std::string(100, 'd'));
  fs::create_directory(folder);
  struct Case {
    std::size_t size;
    bool inputFits;
  };
  for (const Case& c : {Case{259, true}, Case{260, false}, Case{300, false}}) {
    SCOPED_TRACE(c.size);
    const std::string name = std::string(c.size - folder.size() - 1 - 2, 'f') + ".c";
    const std::string arg = folder + nativeSep() + name;
    ASSERT_EQ(c.size, arg.size());
    writeFile(arg, "int x;\n");
    // A fitting input still needs its page in the work folder, which does
    // not fit; an input that does not fit is named as far as it was kept.
    const std::string named =
        c.inputFits ? folder + nativeSep() + "scrivo2" + nativeSep() + name : arg.substr(0, 259);
    const InputSnapshot before = snapshotInputs(dir.path());
    E2eRun r = runScrivo(dir, {arg});
    EXPECT_EQ(14, r.status);
    EXPECT_EQ(slashes(uncaughtReport("パスが長すぎます（259 バイトまで）: " + named)),
              slashes(maskLines(r.err)));
    EXPECT_TRUE(r.browserCalls.empty());
    EXPECT_FALSE(fileExists(folder + nativeSep() + "scrivo2"));
    EXPECT_EQ("", changedInputs(before, snapshotInputs(dir.path())));
  }
}

TEST(BadInput, WorkFolderOrPagePastTheBuffer) {
  // In a folder of 252 bytes an input fits and its work folder (260 bytes)
  // does not; in a folder of 100 bytes a document of 259 bytes fits and so
  // does its work folder, but not its page. Nothing is written anywhere.
  TempDir dir;
  const std::string wide = dir.file(std::string(252 - dir.path().size() - 1, 'w'));
  const std::string narrow = dir.file(std::string(100, 'd'));
  ASSERT_EQ(252u, wide.size());
  fs::create_directory(wide);
  fs::create_directory(narrow);
  const std::string S(1, nativeSep());
  writeFile(dir.file("a.c"), "int a;\n");
  writeFile(wide + S + "a.c", "int a;\n");
  writeFile(wide + S + "a.htm", "<p>a</p>\n");
  // The project's file lies in the folder above, so only the work folder
  // is too long.
  writeFile(wide + S + "s.scv", projectText({"Folder = ..", "File = a.c"}));
  const std::string doc = std::string(259 - narrow.size() - 1 - 4, 'n');
  writeFile(narrow + S + doc + ".htm", "<p>b</p>\n");
  writeFile(narrow + S + doc + ".hmt", "<p>c</p>\n");
  struct Case {
    std::string input, named;
  };
  const Case cases[] = {
      {wide + S + "a.c", wide + S + "scrivo2"},
      {wide + S + "a.htm", wide + S + "scrivo2"},
      {wide + S + "s.scv", wide + S + "scrivo2"},
      {narrow + S + doc + ".htm", narrow + S + "scrivo2" + S + doc + ".htm"},
      {narrow + S + doc + ".hmt", narrow + S + "scrivo2" + S + doc + ".hmt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    ASSERT_LE(c.input.size(), 259u);
    ASSERT_GE(c.named.size(), 260u);
    const InputSnapshot before = snapshotInputs(dir.path());
    E2eRun r = runScrivo(dir, {c.input});
    EXPECT_EQ(14, r.status);
    EXPECT_EQ(slashes(uncaughtReport("パスが長すぎます（259 バイトまで）: " + c.named)),
              slashes(maskLines(r.err)));
    EXPECT_TRUE(r.browserCalls.empty());
    EXPECT_EQ("", changedInputs(before, snapshotInputs(dir.path())));
  }
  EXPECT_FALSE(fileExists(wide + S + "scrivo2"));
  EXPECT_FALSE(fileExists(narrow + S + "scrivo2"));
  EXPECT_FALSE(fileExists(dir.file("scrivo2")));
}

TEST(BadInput, WorkFolderThatIsAFile) {
  for (const char* name : {"a.c", "a.htm"}) {
    SCOPED_TRACE(name);
    TempDir dir;
    writeFile(dir.file(name), "<p>x</p>\n");
    writeFile(dir.file("scrivo2"), "not a folder");
    runOnBadInput(dir, name, 14,
                  "ファイルを格納するフォルダが無いので、ファイル \"" + workFile(dir, "_out.kwf") +
                      "\" が書きこめません");
  }
}

TEST(BadInputTemplates, ThirtyTwoNestedTemplatesFitAndThirtyThreeDoNot) {
  // Templates without href write their text unchanged.
  TempDir dir;
  std::string doc32, doc33;
  for (int i = 0; i < 32; ++i) doc32 = "<template>" + doc32 + "</template>";
  doc33 = "<template>" + doc32 + "</template>\n";
  doc32 += "\n";
  writeFile(dir.file("n32.htm"), doc32);
  writeFile(dir.file("n33.htm"), doc33);
  runOnBadInput(dir, "n32.htm", 0);
  EXPECT_EQ(doc32, readFile(workFile(dir, "n32.htm")));
  runOnBadInput(dir, "n33.htm", 14, "バッファが満杯です");
}

TEST(BadInputTemplates, DocumentThatPullsItselfIn) {
  TempDir dir;
  writeFile(dir.file("self.htm"), "<p>a</p>\n<var href=\"self.htm\">\n");
  runOnBadInput(dir, "self.htm", 14,
                "ファイル " + dir.file("self.htm") + "（line=2）の var が、書き出し中の " +
                    dir.file("self.htm") + " を取りこもうとしています");
  // Through a second file, which pulls the first one in again.
  writeFile(dir.file("one.htm"), "<p>1</p>\n<var href=\"two.htm#q\">\n");
  writeFile(dir.file("two.htm"), "<q>2 <var href=\"one.htm\"></q>\n");
  runOnBadInput(dir, "one.htm", 14,
                "ファイル " + dir.file("two.htm") + "（line=1）の var が、書き出し中の " +
                    dir.file("one.htm") + " を取りこもうとしています");
}

TEST(BadInputTemplates, VarNamingAFolderIsAMissingFile) {
  TempDir dir;
  fs::create_directory(dir.file("sub"));
  const std::string doc = "<var href=\"sub#x\">\n";
  writeFile(dir.file("folder.htm"), doc);
  E2eRun r = runOnBadInput(dir, "folder.htm", 0);
  EXPECT_EQ("\nファイル " + dir.file("folder.htm") + "（line=1）から参照しているファイル " +
                dir.file("sub") + " が見つかりません\n",
            r.out);
  // Unresolved, the var keeps its tag.
  EXPECT_EQ(doc, readFile(workFile(dir, "folder.htm")));
}

TEST(BadInputTemplates, UnbalancedElements) {
  TempDir dir;
  // Not one element is nested properly and some are never closed: with
  // nothing to expand the text is copied unchanged.
  const std::string plain = "<p><b><i>text</p></b>\n<ul><li>x\n</div></i>\n";
  writeFile(dir.file("plain.htm"), plain);
  runOnBadInput(dir, "plain.htm", 0);
  EXPECT_EQ(plain, readFile(workFile(dir, "plain.htm")));
  // A var pulls in b, whose end tag comes after its parent's: the body runs
  // to "</b>" and takes "</p>" along.
  writeFile(dir.file("u.htm"), "<p><b>x</p></b>\n");
  writeFile(dir.file("pull.htm"), "<var href=\"u.htm#p.b\">\n");
  runOnBadInput(dir, "pull.htm", 0);
  EXPECT_EQ("x</p>\n", readFile(workFile(dir, "pull.htm")));
}

TEST(BadInputTemplates, StrayTemplateEndTag) {
  TempDir dir;
  writeFile(dir.file("stray.htm"), "<p>x</p>\n</TEMPLATE>\n");
  runOnBadInput(dir, "stray.htm", 14,
                "</TEMPLATE> が多すぎます(file=" + dir.file("stray.htm") + ", line=2)");
  // In a file named by the document, the definition pass finds it.
  writeFile(dir.file("doc.htm"), "<var href=\"part.htm#p\">\n");
  writeFile(dir.file("part.htm"), "<p>x</p></template>\n");
  runOnBadInput(dir, "doc.htm", 14, "</TEMPLATE> が多すぎます");
}

TEST(BadInputSources, OneMegabyteLine) {
  TempDir dir;
  const std::string line(1 << 20, 'x');
  writeFile(dir.file("long.c"), line + "\ny\n");
  runOnBadInput(dir, "long.c", 0);
  EXPECT_EQ(head("long.c") + listing("   1|" + line + "\n   2|y\n   3|"),
            readFile(workFile(dir, "long.htm")));
}

TEST(BadInputSources, TenThousandNestedBrackets) {
  TempDir dir;
  const std::string nested = "x = " + std::string(10000, '(') + std::string(10000, ')') + ";\n";
  writeFile(dir.file("nest.c"), nested);
  E2eRun r = runOnBadInput(dir, "nest.c", 0);
  EXPECT_EQ("", r.out);
  EXPECT_EQ(head("nest.c") + listing("   1|" + nested + "   2|"),
            readFile(workFile(dir, "nest.htm")));
  // Never closed, they are one warning.
  writeFile(dir.file("open.c"), std::string(10000, '{') + "\n");
  r = runOnBadInput(dir, "open.c", 0);
  EXPECT_EQ("\n括弧 '{' が多すぎる。(line=1)\n\n", r.out);
}

TEST(BadInputSources, CommentAndStringOpenAtTheEnd) {
  struct Case {
    const char* name;
    std::string text;
    std::string listed;
  };
  const Case cases[] = {
      {"comment.c", "int a;\n/* open", "   1|int a;\n   2|/* open"},
      {"string.c", "int a;\nchar* s = \"open", "   1|int a;\n   2|char* s = \"open"},
      {"line.c", "int a; // open", "   1|int a; // open"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    writeFile(dir.file(c.name), c.text);
    runOnBadInput(dir, c.name, 0);
    std::string page = std::string(c.name);
    page.replace(page.size() - 1, 1, "htm");
    EXPECT_EQ(head(c.name) + listing(c.listed), readFile(workFile(dir, page)));
  }
}

TEST(BadInputSources, TwentyThousandDefinitions) {
  TempDir dir;
  std::string text;
  for (int i = 1; i <= 20000; ++i) text += "int f" + std::to_string(i) + "(void) { return 0; }\n";
  writeFile(dir.file("many.c"), text);
  runOnBadInput(dir, "many.c", 0);
  const std::string page = readFile(workFile(dir, "many.htm"));
  ASSERT_EQ(0u, page.find(head("many.c") + kFuncSection +
                          "<LI><A href=\"#func1\">f1 関数</A>\r\n"
                          "<LI><A href=\"#func2\">f2 関数</A>\r\n"));
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
