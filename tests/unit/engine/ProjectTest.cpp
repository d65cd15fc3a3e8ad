// Project files: the first page and title, the [files] folders and paths,
// how files are classified, path and line capacities, distinct output names
// and finding a file. Refused settings files are tested with the reader.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "Raise.h"
#include "TestFiles.h"
#include "engine/Project.h"

namespace {

const std::string S(1, nativeSep());

// lines with the line of key (the text before " = ") replaced by line, or
// removed when line is "-".
std::vector<std::string> withLine(std::vector<std::string> lines, const std::string& key,
                                  const std::string& line) {
  for (auto it = lines.begin(); it != lines.end(); ++it) {
    if (it->compare(0, key.size() + 3, key + " = ") != 0) continue;
    if (line == "-")
      lines.erase(it);
    else
      *it = line;
    return lines;
  }
  ADD_FAILURE() << "no line " << key;
  return lines;
}

// The [main] section of a valid project, one line each, changed as withLine.
std::vector<std::string> mainLines(const std::string& key = "", const std::string& line = "") {
  std::istringstream text(
      "[main] \nApplication = Scrivolt\nVersion = 103\nIndex = 1\nLineNum = 1\nLink = 1\n"
      "Title = Site\nFirstPage = .\nStepPath = 0\nPervix = 1\nPervixPath = tools/pervix.exe\n"
      "OutFolder = ../out\nFuncLink = 1\nCommentOnly = 0\nNonPre = 0\nElemNum = 3\n");
  std::vector<std::string> lines;
  for (std::string l; std::getline(text, l);) lines.push_back(l);
  return key.empty() ? lines : withLine(lines, key, line);
}

std::string joinLines(const std::vector<std::string>& lines, const std::string& eol) {
  std::string text;
  for (const std::string& l : lines) text += l + eol;
  return text;
}

std::string projectText(const std::vector<std::string>& main, const std::vector<std::string>& files,
                        const std::string& eol = "\r\n") {
  std::vector<std::string> all = main;
  all.push_back(" ");
  all.push_back("[files] ");
  all.insert(all.end(), files.begin(), files.end());
  all.push_back(" ");
  return joinLines(all, eol);
}

// A project read from a file "site.scv" in a fresh folder.
struct ProjectFixture {
  ProjectFixture() { Project_init(&p); }
  ~ProjectFixture() { Project_finish(&p); }

  void read(const std::string& bytes) {
    writeFile(path, bytes);
    Project_read(&p, path.c_str());
  }
  Raised readRaised(const std::string& bytes) {
    return catchRaise([&] { read(bytes); });
  }
  void readFiles(const std::vector<std::string>& files) { read(projectText(mainLines(), files)); }
  // A path in the project's folder.
  std::string in(const std::string& rel) const { return dir.path() + S + rel; }
  std::vector<std::string> paths() const {
    std::vector<std::string> out;
    for (ProjectFile* f = Project_firstFile(&p); f != nullptr; f = ProjectFile_next(f))
      out.emplace_back(f->path);
    return out;
  }
  FileKind* kind(int n) const {
    FileKind* k = Project_firstKind(&p);
    while (k != nullptr && n-- > 0) k = k->next;
    return k;
  }

  TempDir dir;
  std::string path = dir.file("site.scv");
  Project p;
};

std::string tooLong(int max, const std::string& path) {
  return "パスが長すぎます（" + std::to_string(max) + " バイトまで）: " + path;
}

}  // namespace

TEST(ProjectRead, FirstPageIsEmptyOrAbsoluteInTheProjectFolder) {
  struct Case {
    std::string value;
    std::string stored;  // relative to the project folder, or "" for none
  };
  const Case cases[] = {{".", ""},
                        {"", ""},
                        {"doc" + S + "top.htm", "doc" + S + "top.htm"},
                        {"doc" + S + ".." + S + "index.htm", "index.htm"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    ProjectFixture f;
    f.read(projectText(mainLines("FirstPage", "FirstPage = " + c.value), {}));
    EXPECT_EQ(c.stored.empty() ? "" : f.in(c.stored), f.p.firstPage.text);
  }
}

TEST(ProjectRead, TitleWithCommaNeedsQuotes) {
  struct Case {
    const char *line, *title;
  };
  const Case cases[] = {{"Title = Alpha, Beta", "Alpha"},
                        {"Title = \"Alpha, Beta\"", "Alpha, Beta"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ProjectFixture f;
    f.read(projectText(mainLines("Title", c.line), {}));
    EXPECT_STREQ(c.title, f.p.title.text);
  }
}

TEST(ProjectFiles, EachFileLiesInTheFolderAboveIt) {
  TempDir other;
  ProjectFixture f;
  f.readFiles({"File = top.c",  // before any folder: the project's own
               "Folder = src", "File = a.c", "File = sub" + S + "b.h", "Folder = doc",
               "File = .." + S + "readme.txt", "Folder = .", "File = c.c", "Folder =", "File = d.c",
               "Folder = " + other.path(), "File = e.c", "File = " + f.in("f.c")});
  EXPECT_EQ(
      (std::vector<std::string>{f.in("top.c"), f.in("src" + S + "a.c"),
                                f.in("src" + S + "sub" + S + "b.h"), f.in("readme.txt"),
                                f.in("c.c"), f.in("d.c"), other.path() + S + "e.c", f.in("f.c")}),
      f.paths());
}

TEST(ProjectFiles, KindFromTheTextAfterTheLastDotWithoutRegardToCase) {
  struct Case {
    const char* file;
    int kind;  // 0 text, 1 source, 2 HTML, 3 binary
  };
  const Case cases[] = {{"x.C", 1},   {"x.TXT", 0},      {"x.java", 3}, {"Makefile", 3},
                        {"x.jav", 1}, {"x.Hpp", 1},      {"x.cpp", 1},  {"x.h", 1},
                        {"x.htm", 2}, {"x.HMT", 2},      {"x.html", 3}, {"x.c.htm", 2},
                        {"x.", 3},    {"v1.c/readme", 3}};
  std::vector<std::string> lines;
  for (const Case& c : cases) lines.push_back(std::string("File = ") + c.file);
  ProjectFixture f;
  f.readFiles(lines);
  ProjectFile* p = Project_firstFile(&f.p);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(f.kind(c.kind), p->kind);
    p = ProjectFile_next(p);
  }
}

TEST(ProjectFiles, JoinedPathsFitUpTo255Bytes) {
  // A name that makes a path in the fixture's folder n bytes long.
  auto nameFor = [](const ProjectFixture& f, std::size_t n, char c) {
    return std::string(n - f.dir.path().size() - 1, c);
  };
  ProjectFixture f;
  const std::string fits = nameFor(f, Project_kJoinedPathMax, 'a');
  f.readFiles({"File = " + fits});
  EXPECT_EQ(std::vector<std::string>{f.in(fits)}, f.paths());

  for (const char* key : {"File", "Folder", "FirstPage"}) {
    SCOPED_TRACE(key);
    ProjectFixture g;
    const std::string over = nameFor(g, Project_kJoinedPathMax + 1, 'b');
    std::vector<std::string> main = mainLines();
    std::vector<std::string> files = {"File = x.c"};
    if (std::string(key) == "FirstPage")
      main = mainLines(key, "FirstPage = " + over);
    else
      files.insert(files.begin(), std::string(key) + " = " + over);
    Raised r = g.readRaised(projectText(main, files));
    EXPECT_EQ(StrX_Err_PathTooLong, r.code);
    EXPECT_EQ(tooLong(255, g.in(over)), r.msg);
  }
}

TEST(ProjectFiles, LineLongerThanTheBufferIsRefused) {
  // "File = " and an absolute path: 255 bytes fill the line buffer exactly.
  const std::string whole = S + std::string(247, 'a');
  for (const char* eol : {"\r\n", "\n"}) {
    SCOPED_TRACE(std::string(eol).size());
    ProjectFixture f;
    f.read(projectText(mainLines(), {"File = " + whole + "   ", "File = x.c"}, eol));
    EXPECT_EQ((std::vector<std::string>{whole, f.in("x.c")}), f.paths());

    ProjectFixture g;
    Raised r = g.readRaised(projectText(mainLines(), {"File = " + whole + "bc"}, eol));
    EXPECT_EQ(StrX_Err_PathTooLong, r.code);
    EXPECT_EQ(tooLong(255, whole), r.msg);  // the part that was read
  }
}

TEST(FileKindExts, TwentyExtensionsOfThreeBytes) {
  FileKind k;
  FileKind_init(&k);
  for (std::size_t i = 0; i < FileKind_kExtMax; ++i) FileKind_addExt(&k, i == 0 ? "jav" : "x");
  EXPECT_EQ(20, k.nExts);
  EXPECT_EQ(ArrX_Err_Full, catchRaise([&] { FileKind_addExt(&k, "y"); }).code);
  EXPECT_EQ(20, k.nExts);
  EXPECT_TRUE(FileKind_hasExt(&k, "JAV"));
  EXPECT_FALSE(FileKind_hasExt(&k, "ja"));
  EXPECT_FALSE(FileKind_hasExt(&k, "java"));

  FileKind_init(&k);
  EXPECT_EQ(Errors_Unofficial, catchRaise([&] { FileKind_addExt(&k, "java"); }).code);
  EXPECT_EQ(0, k.nExts);
}

namespace {

// A project whose files have only output paths, as the site pipeline sets them.
struct OutputFixture {
  explicit OutputFixture(const std::vector<std::string>& outs) {
    Project_init(&p);
    for (const std::string& out : outs) {
      auto* f = static_cast<ProjectFile*>(
          ListX_insertMalloc(&p.files, nullptr, offsetof(ProjectFile, next), sizeof(ProjectFile)));
      StrX_cpy(f->outPath, out.c_str(), sizeof f->outPath);
    }
  }
  ~OutputFixture() { Project_finish(&p); }
  std::vector<std::string> outs() const {
    std::vector<std::string> v;
    for (ProjectFile* f = Project_firstFile(&p); f != nullptr; f = ProjectFile_next(f))
      v.emplace_back(f->outPath);
    return v;
  }
  Project p;
};

}  // namespace

TEST(ProjectNames, RepeatedNamesGetNumbersBeforeTheLastExtension) {
  struct Case {
    const char* what;
    std::vector<std::string> outs, want;
  };
  const Case cases[] = {
      {"three alike",
       {"/s/x.c.htm", "/s/x.c.htm", "/s/x.c.htm"},
       {"/s/x.c.htm", "/s/x.c(2).htm", "/s/x.c(3).htm"}},
      {"folders differ, names compared",
       {"/a/x.htm", "/b/x.htm", "d/c\\x.htm"},  // the later separator ends the folder
       {"/a/x.htm", "/b/x(2).htm", "d/c\\x(3).htm"}},
      {"without regard to case", {"/s/X.C.htm", "/s/x.c.HTM"}, {"/s/X.C.htm", "/s/x.c(2).HTM"}},
      {"no extension", {"README", "/s/readme"}, {"README", "/s/readme(2)"}},
      {"a number already taken later",
       {"x.htm", "x.htm", "x(2).htm"},
       {"x.htm", "x(3).htm", "x(2).htm"}},
      {"all distinct", {"a.htm", "b.htm", "a.html"}, {"a.htm", "b.htm", "a.html"}},
      {"double-byte names", {"\x83\x41.htm", "\x83\x61.htm"}, {"\x83\x41.htm", "\x83\x61.htm"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OutputFixture f(c.outs);
    Project_makeNamesUnique(&f.p);
    EXPECT_EQ(c.want, f.outs());
  }
}

TEST(ProjectNames, ANameRepeatedThousandsOfTimes) {
  // The n-th file of the name gets (n), except the number a later file
  // already holds: the files after that one move up by one.
  std::vector<std::string> outs(3000, "/s/x.htm");
  outs.push_back("/s/X(5).htm");
  OutputFixture f(outs);
  Project_makeNamesUnique(&f.p);
  const std::vector<std::string> got = f.outs();
  ASSERT_EQ(3001u, got.size());
  EXPECT_EQ("/s/x.htm", got[0]);
  EXPECT_EQ("/s/x(2).htm", got[1]);
  EXPECT_EQ("/s/x(4).htm", got[3]);
  EXPECT_EQ("/s/x(6).htm", got[4]);
  EXPECT_EQ("/s/x(3001).htm", got[2999]);
  EXPECT_EQ("/s/X(5).htm", got[3000]);
}

TEST(ProjectNames, ReservedNamesAreNeverKeptOrGiven) {
  const char* const site[] = {"index.html", "index0.htm", "index2.htm", "_out.kwf"};
  OutputFixture f({"/s/INDEX.HTML", "/s/index(2).html", "/s/index0.htm", "/s/_out.kwf",
                   "/s/index.html", "/s/page.htm"});
  Project_makeNamesUnique(&f.p, site, 4);
  EXPECT_EQ((std::vector<std::string>{"/s/INDEX(3).HTML", "/s/index(2).html", "/s/index0(2).htm",
                                      "/s/_out(2).kwf", "/s/index(4).html", "/s/page.htm"}),
            f.outs());
}

TEST(ProjectNames, RenamedPathThatWouldNotFitIsRefused) {
  const std::string folder = "/" + std::string(249, 'd') + "/";  // 251 bytes
  OutputFixture ok({folder + "x.htm", folder + "x.htm"});
  Project_makeNamesUnique(&ok.p);
  EXPECT_EQ(folder + "x(2).htm", ok.outs()[1]);  // 259 bytes

  OutputFixture over({folder + "dx.htm", folder + "dx.htm"});
  Raised r = catchRaise([&] { Project_makeNamesUnique(&over.p); });
  EXPECT_EQ(StrX_Err_PathTooLong, r.code);
  EXPECT_EQ(tooLong(259, folder + "dx(2).htm"), r.msg);  // 260 bytes
  EXPECT_EQ(folder + "dx.htm", over.outs()[1]);
}

TEST(ProjectFind, FirstFileWithTheSamePathWithoutRegardToCase) {
  ProjectFixture f;
  f.readFiles({"Folder = src", "File = Main.c", "File = main.C", "File = \x83\x41.c"});
  ProjectFile* first = Project_firstFile(&f.p);
  EXPECT_EQ(first, Project_findFile(&f.p, f.in("SRC" + S + "MAIN.C").c_str()));
  EXPECT_EQ(first->next->next, Project_findFile(&f.p, f.in("src" + S + "\x83\x41.C").c_str()));
  EXPECT_EQ(nullptr, Project_findFile(&f.p, f.in("src" + S + "\x83\x61.c").c_str()));
  EXPECT_EQ(nullptr, Project_findFile(&f.p, f.in("src" + S + "main.cpp").c_str()));
  EXPECT_EQ(nullptr, Project_findFile(&f.p, ""));
}
