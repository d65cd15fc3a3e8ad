// Project files that are cut short, have other line ends, overlong lines,
// thousands of files, or name themselves, files in their own work folder,
// files that are not there or paths that do not fit: each run makes its site
// or ends with the message of what is wrong, and leaves every input as it
// was.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "BadInput.h"
#include "SiteParts.h"

namespace {

namespace fs = std::filesystem;

const std::string S(1, nativeSep());

// A project "site.scv" in a fresh folder, run as a bad input.
struct BadSite {
  TempDir dir;
  std::string folder() const { return dir.file("scrivo2"); }
  std::string page(const std::string& name) const { return readFile(folder() + S + name); }
  void write(const std::string& name, const std::string& bytes) {
    fs::create_directories(fs::path(dir.file(name)).parent_path());
    writeFile(dir.file(name), bytes);
  }
  E2eRun run(const std::string& project, int status, const std::string& message = "") {
    write("site.scv", project);
    return runOnBadInput(dir, "site.scv", status, message);
  }
};

std::string badAttr(const std::string& name, const std::string& cut, const std::string& path) {
  return "属性名が異なる（アプリ=" + name + ", ファイル=" + cut + " in " + path + "）";
}

std::string tooLong(int max, const std::string& path) {
  return "パスが長すぎます（" + std::to_string(max) + " バイトまで）: " + path;
}

std::string inWorkFolder(const std::string& path, const std::string& folder) {
  return "ファイル \"" + path + "\" は出力フォルダ \"" + folder +
         "\" の中にあるので、プロジェクトのファイルにできません";
}

// Separators as "/": a path that does not fit is named with "/" before its
// last part.
std::string slashes(std::string s) {
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

std::string two(int n) { return std::string(1, char('0' + n / 10)) + char('0' + n % 10); }

}  // namespace

TEST(BadProjects, CutShortInEachSection) {
  const std::string whole = projectText({"File = a.c", "File = b.c"});
  const auto upTo = [&](const std::string& mark, std::size_t more) {
    return whole.substr(0, whole.find(mark) + more);
  };
  struct Case {
    const char* what;
    std::string text;
    std::string msg;    // "<path>" for the project file's path; empty: the site is made
    std::string pages;  // the page list of a site that is made
  };
  const std::string a = item("a.c.htm", "a.c"), b = item("b.c.htm", "b.c");
  const Case cases[] = {
      {"in the [main] header", whole.substr(0, 3),
       "フォーマットがおかしい in IniFile_Read_setSection (main)", ""},
      {"in a [main] key", upTo("FirstPage", 7), badAttr("FirstPage", "FirstPa", "<path>"), ""},
      {"between [main] lines", upTo("FirstPage", 0), "属性が少ない", ""},
      {"after the last [main] line", upTo(" \r\n[files]", 0), "EOF in IniFile_Read_setSection", ""},
      {"in the [files] header", upTo("[files]", 4),
       "フォーマットがおかしい in IniFile_Read_setSection (files)", ""},
      // "b" has no extension: a file to copy, which is not there.
      {"in a file's name", upTo("File = b.c", 8), "コピー元が見つかりません <dir>b", ""},
      {"before the last line end", upTo("File = b.c", 10), "", a + b},
      {"after a whole [files] line", upTo("File = b.c", 0), "", a},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BadSite s;
    s.write("a.c", "int a;\n");
    s.write("b.c", "int b;\n");
    std::string msg = c.msg;
    for (const std::string mark : {"<path>", "<dir>"}) {
      const std::string by = mark == "<path>" ? s.dir.file("site.scv") : s.dir.path() + S;
      if (msg.find(mark) != std::string::npos) msg.replace(msg.find(mark), mark.size(), by);
    }
    s.run(c.text, msg.empty() ? 0 : 14, msg);
    if (msg.empty()) {
      EXPECT_EQ(pageList(c.pages), s.page("index2.htm"));
    }
  }
}

TEST(BadProjects, CarriageReturnsAloneEndNoLine) {
  // Only CR LF and LF end a line: with CR alone the whole file is one line
  // (read in pieces of 255 bytes) that begins with the [main] header.
  BadSite s;
  s.write("a.c", "int a;\n");
  std::string text = projectText({"File = a.c"});
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
    text.erase(at + 1, 1);
  ASSERT_EQ(231u, text.size());  // one piece: nothing follows the header line
  s.run(text, 14, "属性が少ない");

  // Longer than a piece: the second piece, from byte 255 on, stands where
  // "Application" should (its first CR is text, the one at the end of the
  // file ends the line).
  std::string longer = projectText({"File = a.c", "File = b.c", "File = c.c", "File = d.c"});
  for (std::size_t at = longer.find("\r\n"); at != std::string::npos; at = longer.find("\r\n", at))
    longer.erase(at + 1, 1);
  ASSERT_EQ(" = d.c\r \r", longer.substr(255));
  s.run(longer, 14, badAttr("Application", "= d.c\r ", s.dir.file("site.scv")));
  EXPECT_FALSE(fileExists(s.folder()));
}

TEST(BadProjects, HundredThousandByteLines) {
  struct Case {
    const char* what;
    std::string text;
    std::string msg;  // empty: the site is made
  };
  const std::string site = "<site>";
  const Case cases[] = {
      // Title takes the first 247 bytes of its value; the next piece stands
      // where FirstPage should.
      {"a [main] value", projectText({"File = a.c"}, "Title", "Title = " + std::string(99992, 'x')),
       badAttr("FirstPage", "xxxxxxxxx", site)},
      // A file line longer than the line buffer is refused with what was
      // read of it: 255 bytes less "File = ".
      {"a file path", projectText({"File = " + std::string(99993, 'y')}),
       tooLong(255, std::string(248, 'y'))},
      // Blanks behind the value are no part of it.
      {"blanks after a path", projectText({"File = a.c" + std::string(99990, ' ')}), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BadSite s;
    s.write("a.c", "int a;\n");
    std::string msg = c.msg;
    if (msg.find(site) != std::string::npos)
      msg.replace(msg.find(site), site.size(), s.dir.file("site.scv"));
    s.run(c.text, msg.empty() ? 0 : 14, msg);
    if (msg.empty()) {
      EXPECT_EQ(pageList(item("a.c.htm", "a.c")), s.page("index2.htm"));
    }
  }
}

TEST(BadProjects, TenThousandFilesOfOneHundredNames) {
  // The same hundred files to copy, named from a hundred folders: "fNN/.."
  // is the project's folder, so each block names them all again. (Creating
  // a file is what costs here, so the run makes the ten thousand and the
  // test only a hundred.) The n-th file of a name, in project order, is
  // copied as name(n).
  BadSite s;
  for (int d = 0; d < 100; ++d) s.write("d" + two(d), "d" + two(d));
  std::vector<std::string> lines;
  for (int f = 0; f < 100; ++f) {
    lines.push_back("Folder = f" + two(f) + S + "..");
    for (int d = 0; d < 100; ++d) lines.push_back("File = d" + two(d));
  }
  E2eRun r = s.run(projectText(lines), 0);
  ASSERT_EQ(10004u, listFolder(s.folder()).size());  // and the three site files and links
  for (int f = 0; f < 100; ++f) {
    for (int d = 0; d < 100; ++d) {
      const std::string copy = "d" + two(d) + (f == 0 ? "" : "(" + std::to_string(f + 1) + ")");
      ASSERT_EQ("d" + two(d), s.page(copy)) << copy;
    }
  }
  EXPECT_EQ(pageList(""), s.page("index2.htm"));  // copies are not listed
  EXPECT_EQ(frame("index2.htm"), s.page("index.html"));
  const std::string last = "step 3/3 [10000/10000] (100%) .." + S + "d99";
  EXPECT_EQ(last, r.out.substr(r.out.size() - last.size()));
}

TEST(BadProjects, ProjectThatNamesItselfIsCopiedLikeAnyFile) {
  // "scv" is no extension of a kind that is read: the project file is a
  // file to copy, and as the first page it is what the main frame shows.
  BadSite s;
  s.write("a.c", "int a;\n");
  const std::string project =
      projectText({"File = a.c", "File = site.scv"}, "FirstPage", "FirstPage = site.scv");
  s.run(project, 0);
  EXPECT_EQ(project, s.page("site.scv"));
  EXPECT_EQ(frame("site.scv"), s.page("index.html"));
  EXPECT_EQ(pageList(item("a.c.htm", "a.c")), s.page("index2.htm"));
}

TEST(BadProjects, FilesInTheWorkFolderByAnyRoute) {
  struct Case {
    std::vector<std::string> lines;
    std::string file;  // relative to the project's folder
    std::string top;   // what the work folder holds
  };
  const Case cases[] = {
      {{"Folder = sub" + S + ".." + S + "scrivo2", "File = a.c"}, "scrivo2" + S + "a.c", "a.c"},
      {{"File = ." + S + "scrivo2" + S + "." + S + "pic.png"},
       "scrivo2" + S + "pic.png",
       "pic.png"},
      {{"File = scrivo2" + S + "deep" + S + "doc.htm"},
       "scrivo2" + S + "deep" + S + "doc.htm",
       "deep"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    BadSite s;
    s.write(c.file, "input");
    s.run(projectText(c.lines), 14, inWorkFolder(s.dir.file(c.file), s.folder()));
    EXPECT_EQ("input", readFile(s.dir.file(c.file)));
    EXPECT_EQ(std::vector<std::string>{c.top}, listFolder(s.folder()));
  }
}

TEST(BadProjects, FilesThatAreNotThere) {
  struct Case {
    std::vector<std::string> lines;
    std::string msg;   // "<dir>" for the project's folder and a separator
    bool siteStarted;  // a missing copy is found when step 3 comes to it
  };
  const std::string cur = "\"\nカレント＝";
  const Case cases[] = {
      {{"File = m.c"}, "<dir>m.c ファイルが見つかりません", false},
      {{"File = m.txt"}, "<dir>m.txt ファイルが見つかりません", false},
      {{"File = m.htm"}, "<dir>m.htm ファイルが見つかりません", false},
      {{"Folder = gone", "File = a.c"}, "<dir>gone" + S + "a.c ファイルが見つかりません", false},
      {{"File = m.png"}, "コピー元が見つかりません <dir>m.png", true},
      // Folders are no files: a folder to copy cannot be read, a folder
      // named like a source is not there for the template reader.
      {{"File = sub.c"}, "<dir>sub.c ファイルが見つかりません", false},
      {{"File = sub"}, "ファイル \"<dir>sub\" が見つかりません\nカレント＝<cwd>", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.msg);
    BadSite s;
    s.write("a.c", "int a;\n");
    fs::create_directory(s.dir.file("sub"));
    fs::create_directory(s.dir.file("sub.c"));
    std::string msg = c.msg;
    msg.replace(msg.find("<dir>"), 5, s.dir.path() + S);
    if (msg.find("<cwd>") != std::string::npos) msg.replace(msg.find("<cwd>"), 5, s.dir.path());
    s.run(projectText(c.lines), 14, msg);
    EXPECT_EQ(c.siteStarted, fileExists(s.folder()));
  }
}

TEST(BadProjects, PagePathsAtAndPastTheBuffer) {
  // A file in the project's folder whose path is n bytes long: a page of a
  // source is n + 12 bytes long ("/scrivo2", ".htm"), a document's page or a
  // copy n + 8, and the outline work file of a source or document n + 20
  // ("_outIdx-", ".txt"). The first path of the run that does not fit 259
  // bytes is refused before anything is written.
  struct Case {
    const char* ext;
    std::size_t size;
    const char* refused;  // "page", "outline" or "" (the site is made)
  };
  const Case cases[] = {{".c", 239, ""},     {".c", 240, "outline"}, {".c", 247, "outline"},
                        {".c", 248, "page"}, {".htm", 239, ""},      {".htm", 240, "outline"},
                        {".png", 251, ""},   {".png", 252, "page"}};
  for (const Case& c : cases) {
    const std::string ext = c.ext, refused = c.refused;
    SCOPED_TRACE(ext + " " + std::to_string(c.size));
    BadSite s;
    const std::string name = std::string(c.size - s.dir.path().size() - 1 - ext.size(), 'n') + ext;
    ASSERT_EQ(c.size, s.dir.file(name).size());
    s.write(name, ext == ".htm" ? "<p>x</p>\n" : "int x;\n");
    s.write("site.scv", projectText({"File = " + name}));
    const std::string page = s.folder() + S + name + (ext == ".c" ? ".htm" : "");
    const InputSnapshot before = snapshotInputs(s.dir.path());
    E2eRun r = runScrivo(s.dir, {"site.scv"});
    EXPECT_EQ("", changedInputs(before, snapshotInputs(s.dir.path())));
    if (refused.empty()) {
      EXPECT_EQ(0, r.status) << r.err;
      EXPECT_TRUE(fileExists(page));
      continue;
    }
    const std::string named =
        refused == "page" ? page : s.folder() + S + "_outIdx-" + name + ".txt";
    EXPECT_EQ(14, r.status);
    EXPECT_EQ(slashes(uncaughtReport(tooLong(259, named))), slashes(maskLines(r.err)));
    EXPECT_TRUE(r.browserCalls.empty());
    EXPECT_FALSE(fileExists(s.folder()));
  }
}
