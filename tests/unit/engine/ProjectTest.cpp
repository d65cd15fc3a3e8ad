// Project files: joined path capacities, the extension list's limit and
// distinct output names. Refused settings files are tested with the reader.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "Raise.h"
#include "TestFiles.h"
#include "engine/Project.h"

namespace {

const std::string S(1, nativeSep());

// A valid project with the given [files] lines; with firstPage, that line
// in place of "FirstPage = .".
std::string projectText(const std::vector<std::string>& files, const std::string& firstPage = "") {
  std::string text =
      "[main] \r\nApplication = Scrivolt\r\nVersion = 103\r\nIndex = 1\r\nLineNum = 1\r\n"
      "Link = 1\r\nTitle = Site\r\n" +
      (firstPage.empty() ? std::string("FirstPage = .") : firstPage) +
      "\r\nStepPath = 0\r\nPervix = 1\r\nPervixPath = tools/pervix.exe\r\nOutFolder = ../out\r\n"
      "FuncLink = 1\r\nCommentOnly = 0\r\nNonPre = 0\r\nElemNum = 3\r\n \r\n[files] \r\n";
  for (const std::string& f : files) text += f + "\r\n";
  return text + " \r\n";
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
  void readFiles(const std::vector<std::string>& files) { read(projectText(files)); }
  // A path in the project's folder.
  std::string in(const std::string& rel) const { return dir.path() + S + rel; }
  std::vector<std::string> paths() const {
    std::vector<std::string> out;
    for (ProjectFile* f = Project_firstFile(&p); f != nullptr; f = ProjectFile_next(f))
      out.emplace_back(f->path);
    return out;
  }
  TempDir dir;
  std::string path = dir.file("site.scv");
  Project p;
};

std::string tooLong(int max, const std::string& path) {
  return "パスが長すぎます（" + std::to_string(max) + " バイトまで）: " + path;
}

}  // namespace

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
    const bool firstPage = std::string(key) == "FirstPage";
    std::vector<std::string> files = {"File = x.c"};
    if (!firstPage) files.insert(files.begin(), std::string(key) + " = " + over);
    Raised r = g.readRaised(projectText(files, firstPage ? "FirstPage = " + over : ""));
    EXPECT_EQ(StrX_Err_PathTooLong, r.code);
    EXPECT_EQ(tooLong(255, g.in(over)), r.msg);
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
      {"a number already taken later",
       {"x.htm", "x.htm", "x(2).htm"},
       {"x.htm", "x(3).htm", "x(2).htm"}},
      {"double-byte names", {"\x83\x41.htm", "\x83\x61.htm"}, {"\x83\x41.htm", "\x83\x61.htm"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OutputFixture f(c.outs);
    Project_makeNamesUnique(&f.p);
    EXPECT_EQ(c.want, f.outs());
  }
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
