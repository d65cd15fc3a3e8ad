// Project files the program refuses, end to end: the message, the status,
// and that nothing is written (the reader's cases in full are the unit
// tests'); paths at and past the buffer, and a thousand files of a hundred
// names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "E2e.h"

namespace {

const std::string S(1, nativeSep());

std::string badAttr(const std::string& name, const std::string& cut) {
  return "属性名が異なる（アプリ=" + name + ", ファイル=" + cut + " in <dir>site.scv）";
}

std::string tooLong(int max, const std::string& path) {
  return "パスが長すぎます（" + std::to_string(max) + " バイトまで）: " + path;
}

// Only CR LF and LF end a line: with CR alone the whole file is one line.
std::string crOnly(std::string text) {
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
    text.erase(at + 1, 1);
  return text;
}

std::string two(int n) { return std::string(1, char('0' + n / 10)) + char('0' + n % 10); }

}  // namespace

TEST(BadProjects, RefusedProjects) {
  const std::string whole = projectText({"File = a.c", "File = b.c"});
  const auto inWork = [](const std::string& file) {
    return "ファイル \"<dir>" + file + "\" は出力フォルダ \"<dir>scrivo2\" の中にあるので、プロジェクトのファイルにできません";
  };
  const std::string ver = "アプリが対応していない、新しいバージョンのファイルです （file:104, app:103～103）";
  const struct {
    const char* what;
    std::string text;
    std::string msg;
    std::string file = "";  // a file made for the case, relative to the project's folder
    std::string top = "";   // the work folder: "" not made, "*" made, else its one file
  } cases[] = {
      {"cut short in a key", whole.substr(0, whole.find("FirstPage") + 7), badAttr("FirstPage", "FirstPa")},
      {"newer version", projectText({"File = a.c"}, "Version", "Version = 104"), ver},
      {"other application", projectText({"File = a.c"}, "Application", "Application = Scrivo2"),
       "アプリケーションが異なります （file:Scrivo2, app:Scrivolt）"},
      // Read in pieces of 255 bytes: one piece that begins with the [main]
      // header, or a second piece standing where "Application" should (its
      // first CR is text, the one at the end of the file ends the line).
      {"CR alone, one piece", crOnly(projectText({"File = a.c"})), "属性が少ない"},
      {"CR alone, two pieces", crOnly(projectText({"File = a.c", "File = b.c", "File = c.c", "File = d.c"})),
       badAttr("Application", "= d.c\r ")},
      // Title keeps the first 247 bytes of its value; the next piece stands
      // where FirstPage should. A file line longer than the line buffer is
      // refused with what was read of it: 255 bytes less "File = ".
      {"100,000-byte value", projectText({"File = a.c"}, "Title", "Title = " + std::string(99992, 'x')),
       badAttr("FirstPage", "xxxxxxxxx")},
      {"100,000-byte path", projectText({"File = " + std::string(99993, 'y')}),
       tooLong(255, std::string(248, 'y'))},
      // Files in the work folder, by any route.
      {"in the work folder by a detour", projectText({"Folder = sub" + S + ".." + S + "scrivo2", "File = a.c"}),
       inWork("scrivo2" + S + "a.c"), "scrivo2" + S + "a.c", "a.c"},
      {"in the work folder by dots", projectText({"File = ." + S + "scrivo2" + S + "." + S + "pic.png"}),
       inWork("scrivo2" + S + "pic.png"), "scrivo2" + S + "pic.png", "pic.png"},
      {"deep in the work folder", projectText({"File = scrivo2" + S + "deep" + S + "doc.htm"}),
       inWork("scrivo2" + S + "deep" + S + "doc.htm"), "scrivo2" + S + "deep" + S + "doc.htm", "deep"},
      // Files that are not there; a missing copy is found when step 3 comes
      // to it. Folders are no files: a folder named like a source is not
      // there, a folder to copy cannot be read.
      {"missing source", projectText({"File = m.c"}), "<dir>m.c ファイルが見つかりません"},
      {"missing document", projectText({"File = m.htm"}), "<dir>m.htm ファイルが見つかりません"},
      {"missing folder", projectText({"Folder = gone", "File = a.c"}),
       "<dir>gone" + S + "a.c ファイルが見つかりません"},
      {"missing copy", projectText({"File = m.png"}), "コピー元が見つかりません <dir>m.png", "", "*"},
      {"folder as source", projectText({"File = sub.c"}), "<dir>sub.c ファイルが見つかりません"},
      {"folder as copy", projectText({"File = sub"}), "ファイル \"<dir>sub\" が見つかりません\nカレント＝<cwd>",
       "", "*"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Site s;
    s.write("a.c", "int a;\n");
    s.write("b.c", "int b;\n");
    std::filesystem::create_directories(s.dir.file("sub"));
    std::filesystem::create_directories(s.dir.file("sub.c"));
    if (!c.file.empty()) s.write(c.file, "input");
    s.write("site.scv", c.text);
    runOnBadInput(s.dir, "site.scv", 14, c.msg);
    if (c.top == "*") EXPECT_TRUE(fileExists(s.folder()));
    else EXPECT_EQ(c.top.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.top},
                   listFolder(s.folder()));
  }
}

TEST(BadProjects, PagePathsAtAndPastTheBuffer) {
  // A file in the project's folder whose path is n bytes long: a page of a
  // source is n + 12 bytes long ("/scrivo2", ".htm"), a document's page or a
  // copy n + 8, and the outline work file of a source or document n + 20
  // ("_outIdx-", ".txt"). The first path of the run that does not fit 259
  // bytes is refused before anything is written.
  const struct {
    const char* ext;
    std::size_t size;
    const char* refused;  // "page", "outline" or "" (the site is made)
  } cases[] = {{".c", 239, ""},     {".c", 240, "outline"}, {".c", 247, "outline"},
               {".c", 248, "page"}, {".htm", 239, ""},      {".htm", 240, "outline"},
               {".png", 251, ""},   {".png", 252, "page"}};
  for (const auto& c : cases) {
    const std::string ext = c.ext, refused = c.refused;
    SCOPED_TRACE(ext + " " + std::to_string(c.size));
    Site s;
    const std::string name = std::string(c.size - s.dir.path().size() - 1 - ext.size(), 'n') + ext;
    ASSERT_EQ(c.size, s.dir.file(name).size());
    s.write(name, ext == ".htm" ? "<p>x</p>\n" : "int x;\n");
    s.write("site.scv", projectText({"File = " + name}));
    const std::string page = s.folder() + S + name + (ext == ".c" ? ".htm" : "");
    const InputSnapshot before = snapshotInputs(s.dir.path());
    E2eRun r = runScrivo(s.dir, {"site.scv"});
    EXPECT_TRUE(before == snapshotInputs(s.dir.path()));
    if (refused.empty()) {
      EXPECT_EQ(0, r.status) << r.err;
      EXPECT_TRUE(fileExists(page));
      continue;
    }
    const std::string named = refused == "page" ? page : s.folder() + S + "_outIdx-" + name + ".txt";
    EXPECT_EQ(14, r.status);
    EXPECT_EQ(slashes(uncaughtReport(tooLong(259, named))), slashes(maskLines(r.err)));
    EXPECT_TRUE(r.browserCalls.empty());
    EXPECT_FALSE(fileExists(s.folder()));
  }
}

TEST(BadProjects, AThousandFilesOfTenNames) {
  // The same ten files to copy, named from a hundred folders: "fNN/.." is
  // the project's folder, so each block names them all again. The n-th file
  // of a name, in project order, is copied as name(n).
  Site s;
  for (int d = 0; d < 10; ++d) s.write("d" + two(d), "d" + two(d));
  std::vector<std::string> lines;
  for (int f = 0; f < 100; ++f) {
    lines.push_back("Folder = f" + two(f) + S + "..");
    for (int d = 0; d < 10; ++d) lines.push_back("File = d" + two(d));
  }
  s.write("site.scv", projectText(lines));
  E2eRun r = runOnBadInput(s.dir, "site.scv", 0);
  ASSERT_EQ(1004u, listFolder(s.folder()).size());  // and the three site files and links
  for (const char* copy : {"d00", "d00(2)", "d05(37)", "d09(100)"}) EXPECT_EQ(std::string(copy, 3), s.page(copy));
  EXPECT_EQ(pageList(""), s.page("index2.htm"));  // copies are not listed
  EXPECT_EQ(frame("index2.htm"), s.page("index.html"));
  const std::string last = "step 3/3 [1000/1000] (100%) .." + S + "d09";
  EXPECT_EQ(last, r.out.substr(r.out.size() - last.size()));
}
