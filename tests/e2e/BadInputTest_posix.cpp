// Runs that POSIX alone can set up: an input the program may not read, a
// work folder it may not write, a disk that fills (a file size limit, or a
// work file that is a link to /dev/full), inputs that are outputs by a
// link. Root reads and writes anything, so the permission cases are skipped
// when the tests run as root.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "E2e.h"

namespace {

namespace fs = std::filesystem;

std::string writeFailed(const TempDir& dir, const std::string& name) {
  return workFile(dir, name) + " の書きこみに失敗しました。";
}

// A thousand function definitions: their page holds the listing and the
// function list, so it is the largest file their run writes.
std::string thousandFunctions() {
  std::string text;
  for (int i = 1; i <= 1000; ++i) text += "int f" + std::to_string(i) + "(void) { return 0; }\n";
  return text;
}

// A document whose page holds its text with anchors and, at embed_index,
// the index of its headings: larger than any work file of its run.
std::string manyHeadings() {
  std::string text = "<html><body>\n<h1>Top</h1>\n<embed_index>\n";
  for (int i = 1; i <= 1000; ++i) text += "<h2>Part " + std::to_string(i) + "</h2>\n<p>text</p>\n";
  return text + "</body></html>\n";
}

// The size of page after a run of arg without limit; the work folder is
// removed again.
long long sizeWithoutLimit(const TempDir& dir, const std::string& arg, const std::string& page) {
  E2eRun r = runScrivo(dir, {arg});
  EXPECT_EQ(0, r.status) << r.err;
  const long long size = static_cast<long long>(fs::file_size(workFile(dir, page)));
  fs::remove_all(dir.file("scrivo2"));
  return size;
}

}  // namespace

// An input the program may not read is not there; a work folder it may
// not write is refused at its first file, the links file of every pipeline.
TEST(BadInputPosix, UnreadableInputOrReadOnlyWorkFolder) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads and writes every file";
  const std::string notThere = "ファイル \"<dir>/#\" が見つかりません\nカレント＝<dir>";
  const std::string readOnly = "ファイル \"<dir>/scrivo2/_out.kwf\" が書きこめません";
  const struct {
    const char* arg;
    const char* locked;  // the file or folder without permissions
    std::string msg;     // <dir>: the run's folder; #: arg
  } cases[] = {{"a.c", "a.c", notThere},           {"a.htm", "a.htm", notThere},
               {"a.c", "scrivo2", readOnly},       {"a.htm", "scrivo2", readOnly},
               {"site.scv", "scrivo2", readOnly}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.arg) + " " + c.locked);
    TempDir dir;
    writeFile(dir.file("a.c"), "int a;\n");
    writeFile(dir.file("a.htm"), "<p>a</p>\n");
    writeFile(dir.file("site.scv"), projectText({"File = a.c", "File = a.htm"}));
    const bool folder = std::string(c.locked) == "scrivo2";
    if (folder) fs::create_directory(dir.file("scrivo2"));
    ASSERT_EQ(0, chmod(dir.file(c.locked).c_str(), folder ? 0555 : 0));
    std::string msg = c.msg;
    for (const auto& mark : {std::make_pair(std::string("<dir>"), dir.path()),
                             std::make_pair(std::string("#"), std::string(c.arg))})
      for (std::size_t at; (at = msg.find(mark.first)) != std::string::npos;)
        msg.replace(at, mark.first.size(), mark.second);
    runOnBadInput(dir, c.arg, 14, msg);
    if (folder) {
      EXPECT_TRUE(listFolder(dir.file("scrivo2")).empty());
      chmod(dir.file("scrivo2").c_str(), 0755);
    }
  }
}

TEST(BadInputPosix, FullDiskFailsTheWriteAndLeavesNoPartialPage) {
  // A limit one byte below the size of the largest file of a run fails the
  // writing of that file only.
  struct Case {
    const char* what;
    std::string input, page;
    std::vector<std::pair<std::string, std::string>> files;
  };
  const std::string small = "int a;\n";
  const std::string doc = "<p>d</p>\n";
  const Case cases[] = {
      {"source page", "a.c", "a.htm", {{"a.c", thousandFunctions()}}},
      {"document page", "d.htm", "d.htm", {{"d.htm", manyHeadings()}}},
      {"site's source page", "site.scv", "a.c.htm", {{"a.c", thousandFunctions()}, {"d.htm", doc}}},
      {"site's document page", "site.scv", "d.htm", {{"a.c", small}, {"d.htm", manyHeadings()}}},
      {"site's copy", "site.scv", "pic.png",
       {{"a.c", small}, {"d.htm", doc}, {"pic.png", std::string(100000, 'p')}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    writeFile(dir.file("pic.png"), "png");
    for (const auto& f : c.files) writeFile(dir.file(f.first), f.second);
    writeFile(dir.file("site.scv"), projectText({"File = a.c", "File = d.htm", "File = pic.png"}));
    const long long size = sizeWithoutLimit(dir, c.input, c.page);
    runOnBadInput(dir, c.input, 14, writeFailed(dir, c.page), size - 1);
    EXPECT_FALSE(fileExists(workFile(dir, c.page)));
  }
}

TEST(BadInputPosix, FullDiskFailsTheOutlineOfASource) {
  // Two hundred titles give a full outline of more than 2000 bytes; titles
  // without "[" add nothing to the links file, which keeps its header only.
  TempDir dir;
  std::string text;
  for (int i = 1; i <= 200; ++i) text += "<<<Title " + std::to_string(i) + ">>>\n";
  writeFile(dir.file("t.txt"), text);
  runOnBadInput(dir, "t.txt", 14, writeFailed(dir, "_outIdx.txt"), 2000);
  EXPECT_FALSE(fileExists(workFile(dir, "t.htm")));
}

TEST(BadInputPosix, EveryOutputNamesItselfWhenItsWriteFails) {
  // One output at a time is a link to /dev/full, where every write fails.
  if (!fileExists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const std::string source =
      "/* <<<Part one>>> */\nstruct S { int v; };\n#define M 1\nint f(void) { return M; }\n";
  const std::string doc = "<h1>A</h1>\n<embed_index>\n<h2>B</h2>\n<p><kword>k</kword></p>\n";
  struct Case {
    const char* input;
    const char* output;
  };
  const Case cases[] = {
      {"a.c", "_out.kwf"},       {"a.c", "_outIdx.txt"},     {"a.c", "_outMain.txt"},
      {"a.c", "_outIdxS.txt"},   {"a.c", "_outIdxF.txt"},    {"a.c", "_outIdxM.txt"},
      {"a.c", "a.htm"},          {"d.htm", "_out.kwf"},      {"d.htm", "_middle.txt"},
      {"d.htm", "_outMain.txt"}, {"d.htm", "_outMain2.txt"}, {"d.htm", "_outIdx.txt"},
      {"d.htm", "d.htm"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.input) + " " + c.output);
    TempDir dir;
    writeFile(dir.file("a.c"), source);
    writeFile(dir.file("d.htm"), doc);
    fs::create_directory(dir.file("scrivo2"));
    fs::create_symlink("/dev/full", workFile(dir, c.output));
    runOnBadInput(dir, c.input, 14, writeFailed(dir, c.output));
  }
}

// Through a link a project file can lie in the work folder, which its work
// files would overwrite and the run delete, or the work folder can be the
// project's own folder, where a page would overwrite its own source or a
// copy the project file.
TEST(BadInputPosix, InputsThatAreOutputsThroughALinkAreRefused) {
  const std::string inWork = "\" は出力フォルダ \"<dir>scrivo2\" の中にあるので、プロジェクトのファイルにできません";
  const std::string over = "\" が出力ファイル \"<dir>scrivo2/";
  const struct {
    const char* link;    // a link to the folder target
    const char* target;  // "" for the project's folder
    std::vector<std::string> lines;
    std::string msg;  // <dir>: the project's folder and "/"
  } cases[] = {
      {"alias", "scrivo2", {"Folder = alias", "File = _outMain.txt"},
       "ファイル \"<dir>alias/_outMain.txt" + inWork},
      {"scrivo2", "real", {"Folder = real", "File = _outMain.txt"},
       "ファイル \"<dir>real/_outMain.txt" + inWork},
      {"scrivo2", "", {"File = doc.htm"}, "ファイル \"<dir>doc.htm" + over + "doc.htm\" で上書きされてしまいます"},
      {"scrivo2", "", {"File = other/site.scv"},
       "ファイル \"<dir>site.scv" + over + "site.scv\" で上書きされてしまいます"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines.back());
    Site s;
    const std::string real = s.dir.file(c.target);
    fs::create_directories(real);
    s.write(std::string(c.target) + "/_outMain.txt", "precious");
    s.write("doc.htm", "<p>doc</p>");
    s.write("other/site.scv", "other project");
    fs::create_directory_symlink(real, s.dir.file(c.link));
    s.write("site.scv", projectText(c.lines));
    std::string msg = c.msg;
    for (std::size_t at; (at = msg.find("<dir>")) != std::string::npos;) msg.replace(at, 5, s.dir.path() + "/");
    runOnBadInput(s.dir, "site.scv", 14, msg);
    EXPECT_EQ("precious", readFile(real + "/_outMain.txt"));
  }
}
