// Runs that POSIX alone can set up: an input the program may not read, a
// work folder it may not write, a disk that fills (an output that is a link
// to /dev/full), inputs that are outputs by a link. Root reads and writes
// anything, so the permission cases are skipped when the tests run as root.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "E2e.h"

namespace fs = std::filesystem;

// An input the program may not read is not there; a work folder it may
// not write is refused at its first file, the links file of every pipeline.
TEST(BadInputPosix, UnreadableInputOrReadOnlyWorkFolder) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads and writes every file";
  const std::string notThere = "ファイル \"<dir><arg>\" が見つかりません\nカレント＝<cwd>";
  const std::string readOnly = "ファイル \"<dir>scrivo2/_out.kwf\" が書きこめません";
  const struct {
    const char* arg;
    const char* locked;  // the file or folder without permissions
    std::string msg;
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
    runOnBadInput(dir, c.arg, 14, c.msg);
    if (folder) {
      EXPECT_TRUE(listFolder(dir.file("scrivo2")).empty());
      chmod(dir.file("scrivo2").c_str(), 0755);
    }
  }
}

TEST(BadInputPosix, EveryOutputNamesItselfWhenItsWriteFails) {
  // One output at a time is a link to /dev/full, where every write fails,
  // as on a full disk. A page or copy is deleted, so no partial one stays.
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
      {"d.htm", "d.htm"},        {"site.scv", "a.c.htm"},    {"site.scv", "d.htm"},
      {"site.scv", "pic.png"},   {"big.c", "_outMain.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.input) + " " + c.output);
    TempDir dir;
    writeFile(dir.file("a.c"), source);
    // A listing larger than the buffer fails while it is written, not at its close.
    std::string big;
    while (big.size() < 200000) big += source;
    writeFile(dir.file("big.c"), big);
    writeFile(dir.file("d.htm"), doc);
    writeFile(dir.file("pic.png"), "png");
    writeFile(dir.file("site.scv"), projectText({"File = a.c", "File = d.htm", "File = pic.png"}));
    fs::create_directory(dir.file("scrivo2"));
    fs::create_symlink("/dev/full", workFile(dir, c.output));
    runOnBadInput(dir, c.input, 14, workFile(dir, c.output) + " の書きこみに失敗しました。");
    if (c.output[0] != '_') {
      EXPECT_FALSE(fs::is_symlink(workFile(dir, c.output)));
    }
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
    std::string msg;
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
    runOnBadInput(s.dir, "site.scv", 14, c.msg);
    EXPECT_EQ("precious", readFile(real + "/_outMain.txt"));
  }
}
