// File utilities on POSIX: permission bits, hard links, a write limit that
// makes a copy fail half way, and the chunks of a partial copy.
#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "FileXTestSupport.h"
#include "Raise.h"
#include "TestFiles.h"
#include "runtime/FileX.h"

namespace {

TEST(FileXCopyPosix, HardLinkIsTheSameFile) {
  TempDir dir;
  writeFile(dir.file("s"), "keep me");
  ASSERT_EQ(0, link(dir.file("s").c_str(), dir.file("d").c_str()));
  FileX_copy(dir.file("d").c_str(), dir.file("s").c_str());
  EXPECT_EQ("keep me", readFile(dir.file("s")));
}

// Lowers the file size limit for a scope; a write past it fails with EFBIG
// instead of ending the process.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &before_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lower = before_;
    lower.rlim_cur = bytes;
    ok_ = setrlimit(RLIMIT_FSIZE, &lower) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &before_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  bool ok() const { return ok_; }

 private:
  rlimit before_{};
  void (*oldHandler_)(int);
  bool ok_ = false;
};

// A copy or a page that cannot be written whole names the file and leaves
// none behind.
TEST(FileXPosix, FailedWriteLeavesNoFile) {
  TempDir dir;
  writeFile(dir.file("s"), patternBytes(3 << 20));
  const std::string dst = dir.file("d"), page = dir.file("page");
  Raised copy, written;
  {
    FileSizeLimit limit(1000);
    if (!limit.ok()) GTEST_SKIP() << "the file size limit cannot be lowered here";
    copy = catchRaise([&] { FileX_copy(dst.c_str(), dir.file("s").c_str()); });
    written = catchRaise([&] {
      FileX_writeFile(page.c_str(), [](std::FILE* out) {
        for (int i = 0; i < 100; ++i) std::fputs("0123456789abcdef", out);
      });
    });
  }
  EXPECT_EQ(365, copy.code);
  EXPECT_EQ(dst + " の書きこみに失敗しました。", copy.msg);
  EXPECT_EQ(page + " の書きこみに失敗しました。", written.msg);
  EXPECT_FALSE(fileExists(dst));
  EXPECT_FALSE(fileExists(page));
}

TEST(FileXCopyPosix, UnreadableSourceLeavesNoDestination) {
  TempDir dir;
  // A folder would open on POSIX and fail at the first read; it is refused
  // as no file before the destination is made.
  std::string folder = dir.file("folder");
  ASSERT_EQ(0, mkdir(folder.c_str(), 0777));
  Raised r = catchRaise([&] { FileX_copy(dir.file("d").c_str(), folder.c_str()); });
  EXPECT_EQ(363, r.code);
  EXPECT_FALSE(fileExists(dir.file("d")));
  // Linux's own memory file opens, but reading its first page fails.
  if (!fileExists("/proc/self/mem")) GTEST_SKIP() << "no /proc/self/mem";
  r = catchRaise([&] { FileX_copy(dir.file("d").c_str(), "/proc/self/mem"); });
  EXPECT_EQ(112, r.code);
  EXPECT_FALSE(fileExists(dir.file("d")));
}


}  // namespace
