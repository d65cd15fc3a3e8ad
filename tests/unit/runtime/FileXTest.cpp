// File utilities: the open messages, existence tests, copies and their
// progress, partial copies and folder creation.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "FileXTestSupport.h"
#include "Raise.h"
#include "TestFiles.h"
#include "platform/Os.h"
#include "platform/OsFile.h"
#include "runtime/FileX.h"

namespace {

namespace fs = std::filesystem;

std::string sep() { return std::string(1, nativeSep()); }

TEST(FileXOpen, MessagesForTheThreeFailures) {
  TempDir dir;
  InFolder here(dir.path());
  Raised noFolder = catchRaise([] { FileX_open("x/y.txt", "wb"); });
  EXPECT_EQ(362, noFolder.code);
  EXPECT_EQ("ファイルを格納するフォルダが無いので、ファイル \"x/y.txt\" が書きこめません",
            noFolder.msg);

  fs::create_directory("d");  // a folder cannot be opened as a file
  Raised cannot = catchRaise([] { FileX_open("d", "wb"); });
  EXPECT_EQ(362, cannot.code);
  EXPECT_EQ("ファイル \"d\" が書きこめません", cannot.msg);

  Raised missing = catchRaise([] { FileX_open("missing.txt", "rb"); });
  EXPECT_EQ(363, missing.code);
  EXPECT_EQ("ファイル \"missing.txt\" が見つかりません\nカレント＝" + currentFolder(),
            missing.msg);

  std::FILE* f = FileX_open("new.txt", "wb");
  ASSERT_NE(nullptr, f);
  std::fclose(f);
}

TEST(FileXOpen, FolderIsNoFileToRead) {
  // POSIX would open it and fail at the first read.
  TempDir dir;
  InFolder here(dir.path());
  fs::create_directory("d.c");
  for (const char* mode : {"rb", "r"}) {
    SCOPED_TRACE(mode);
    Raised r = catchRaise([&] { FileX_open("d.c", mode); });
    EXPECT_EQ(363, r.code);
    EXPECT_EQ("ファイル \"d.c\" が見つかりません\nカレント＝" + currentFolder(), r.msg);
  }
}

TEST(FileXIsExist, DotDotPathsAreResolvedFirst) {
  TempDir dir;
  writeFile(dir.file("f"), "x");
  writeFile(dir.file("a..b"), "x");
  fs::create_directory(dir.file("sub"));
  struct Case {
    std::string path;
    bool exists;
  };
  const Case cases[] = {
      {dir.file("f"), true},
      {dir.file("sub" + sep() + ".." + sep() + "f"), true},
      {dir.file("a..b"), true},  // ".." inside a name is no parent reference
      {dir.file("sub"), true},
      {dir.file("g"), false},
      {sep() + ".." + sep() + "x", false},  // above the root: no error either
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    bool got = !c.exists;
    Raised r = catchRaise([&] { got = FileX_isExist(c.path.c_str()); });
    EXPECT_FALSE(r.raised) << r.msg;
    EXPECT_EQ(c.exists, got);
  }
  // A relative path that climbs above the root of the current folder.
  InFolder here(dir.path());
  std::string up;
  for (int i = 0; i < 64; ++i) up += ".." + sep();
  Raised r = catchRaise([&] { EXPECT_FALSE(FileX_isExist((up + "f").c_str())); });
  EXPECT_FALSE(r.raised);
}

TEST(FileXIsDirExist, FoldersOnly) {
  TempDir dir;
  writeFile(dir.file("f"), "x");
  EXPECT_TRUE(FileX_isDirExist(dir.path().c_str()));
  EXPECT_TRUE(FileX_isDirExist((dir.path() + sep()).c_str()));
  EXPECT_TRUE(FileX_isDirExist((dir.path() + "/").c_str()));
  EXPECT_FALSE(FileX_isDirExist(dir.file("f").c_str()));
  EXPECT_FALSE(FileX_isDirExist(dir.file("g").c_str()));
}

TEST(FileXStatus, MissingTimeStampLogsErrnoAndRaises) {
  TempDir dir;
  InFolder here(dir.path());  // the error log is written in the current folder
  std::time_t t = 0;
  Raised r = catchRaise([&] { FileX_getTimeStamp("missing", &t); });
  EXPECT_EQ(102, r.code);
  EXPECT_EQ("error", r.msg);
  EXPECT_NE(std::string::npos, readFile("errlog4.txt").find("errno = 2 : "));
}

using Calls = std::vector<std::pair<int64_t, int64_t>>;

void record(void* param, int64_t copied, int64_t total) {
  static_cast<Calls*>(param)->push_back({copied, total});
}

TEST(FileXCopy, EmptyFileKeepsTimeAndAttributes) {
  TempDir dir;
  std::string src = dir.file("empty.bin");
  std::string dst = dir.file("out" + sep() + "sub" + sep() + "empty.bin");
  writeFile(src, "");
  ASSERT_TRUE(OsFile_setTimes(src.c_str(), kOldTime));
  Calls calls;
  FileX_copyWithProgress(dst.c_str(), src.c_str(), record, &calls);
  EXPECT_EQ((Calls{{0, 0}, {0, 0}}), calls);
  ASSERT_TRUE(fileExists(dst));
  EXPECT_EQ("", readFile(dst));
  std::time_t t = 0;
  FileX_getTimeStamp(dst.c_str(), &t);
  EXPECT_EQ(kOldTime, t);
  OsFile_Attr a = 0, b = 1;
  ASSERT_TRUE(OsFile_getAttr(src.c_str(), &a));
  ASSERT_TRUE(OsFile_getAttr(dst.c_str(), &b));
  EXPECT_EQ(a, b);
}

TEST(FileXCopy, CopiesInBlocksWithProgress) {
  TempDir dir;
  std::string bytes = patternBytes(2500);
  writeFile(dir.file("s"), bytes);
  writeFile(dir.file("d"), "old content that is longer than nothing");
  Calls calls;
  FileX_copyWithProgress(dir.file("d").c_str(), dir.file("s").c_str(), record, &calls);
  EXPECT_EQ((Calls{{0, 2500}, {1024, 2500}, {2048, 2500}, {2500, 2500}}), calls);
  EXPECT_EQ(bytes, readFile(dir.file("d")));
}

TEST(FileXCopy, OntoItselfLeavesTheFileIntact) {
  TempDir dir;
  fs::create_directory(dir.file("sub"));
  std::string f = dir.file("f");
  writeFile(f, "keep me");
  for (const std::string& dst : {f, dir.file("sub" + sep() + ".." + sep() + "f")}) {
    SCOPED_TRACE(dst);
    Raised r = catchRaise([&] { FileX_copy(dst.c_str(), f.c_str()); });
    EXPECT_FALSE(r.raised) << r.msg;
    EXPECT_EQ("keep me", readFile(f));
  }
}

TEST(FileXCopy, MissingSourceRaises) {
  TempDir dir;
  std::string src = dir.file("none");
  Raised r = catchRaise([&] { FileX_copy(dir.file("d").c_str(), src.c_str()); });
  EXPECT_EQ(364, r.code);
  EXPECT_EQ("コピー元が見つかりません " + src, r.msg);
  EXPECT_FALSE(fileExists(dir.file("d")));
}

TEST(FileXCatFile, AppendsAWholeFile) {
  TempDir dir;
  std::string bytes = patternBytes(3000);
  writeFile(dir.file("part"), bytes);
  std::FILE* out = FileX_open(dir.file("out").c_str(), "wb");
  std::fputs("x", out);
  FileX_catFile(out, dir.file("part").c_str(), 'b');
  Raised r = catchRaise([&] { FileX_catFile(out, dir.file("none").c_str(), 'b'); });
  std::fclose(out);
  EXPECT_EQ("x" + bytes, readFile(dir.file("out")));
  EXPECT_EQ(363, r.code);
}

TEST(FileXWriteFile, FileIsKeptOnlyWhenWrittenWhole) {
  TempDir dir;
  const std::string page = dir.file("page");
  FileX_writeFile(page.c_str(), [](std::FILE* out) { std::fputs("whole", out); });
  EXPECT_EQ("whole", readFile(page));
  // A part that is missing stops the writing: the error is the part's, and
  // the page that was begun is gone.
  Raised r = catchRaise([&] {
    FileX_writeFile(page.c_str(), [&](std::FILE* out) {
      std::fputs("begun", out);
      FileX_catFile(out, dir.file("none").c_str(), 'b');
    });
  });
  EXPECT_EQ(363, r.code);
  EXPECT_FALSE(fileExists(page));
}

TEST(FileXMakeFolders, CreatesEveryMissingFolder) {
  TempDir dir;
  InFolder here(dir.path());
  FileX_makeFolders(("a" + sep() + "b" + sep() + "c" + sep() + "file").c_str(), true);
  EXPECT_TRUE(fs::is_directory("a/b/c"));
  EXPECT_FALSE(fs::exists("a/b/c/file"));
  FileX_makeFolders((dir.path() + sep() + "p" + sep() + "q").c_str(), false);
  EXPECT_TRUE(fs::is_directory(dir.path() + "/p/q"));
  FileX_makeFolders(("p" + sep() + "q" + sep()).c_str(), false);  // already there
  EXPECT_TRUE(fs::is_directory("p/q"));

  Raised r = catchRaise([] { FileX_makeFolders(std::string(300, 'n').c_str(), false); });
  EXPECT_EQ(3183, r.code);
}

}  // namespace
