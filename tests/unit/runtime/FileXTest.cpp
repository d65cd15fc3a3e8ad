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

TEST(FileXOpen, MessagesForWriting) {
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

  EXPECT_EQ(363, catchRaise([] { FileX_open("d", "rb"); }).code);  // POSIX would open it

}

using Calls = std::vector<std::pair<int64_t, int64_t>>;

void record(void* param, int64_t copied, int64_t total) {
  static_cast<Calls*>(param)->push_back({copied, total});
}

TEST(FileXCopy, EmptyFileKeepsItsTime) {
  TempDir dir;
  std::string src = dir.file("empty.bin");
  std::string dst = dir.file("out" + sep() + "sub" + sep() + "empty.bin");
  writeFile(src, "");
  ASSERT_TRUE(OsFile_setTimes(src.c_str(), kOldTime));
  Calls calls;
  FileX_copyWithProgress(dst.c_str(), src.c_str(), record, &calls);
  EXPECT_EQ((Calls{{0, 0}, {0, 0}}), calls);
  std::time_t t = 0;
  FileX_getTimeStamp(dst.c_str(), &t);
  EXPECT_EQ(kOldTime, t);
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

}  // namespace
