// Reports that end the process, driven through the runtime probe.
#include <gtest/gtest.h>

#include <string>

#include "E2e.h"

namespace {
const std::string kUncaught = "キャッチできない例外が発生しました";
}

TEST(RuntimeReports, RaiseBeforeTheHookPrintsAndReturns) {
  TempDir dir;
  RunResult r = runProbe(dir, {"before-hook"});
  EXPECT_EQ(0, r.status);
  EXPECT_EQ("early\nreturned\n", r.out);
  EXPECT_EQ("", r.err);
}

TEST(RuntimeReports, UncaughtAfterTwoCleanUps) {
  TempDir dir;
  RunResult r = runProbe(dir, {"uncaught-in-frames"});
  EXPECT_EQ(14, r.status);
  EXPECT_EQ("inner clean-up\nouter clean-up\n[1] deep\n", r.out);
  EXPECT_EQ(kUncaught + "\r\n[1] deep\r\nEXIT from Except3(N)\r\n", maskLines(r.err));
}

TEST(RuntimeReports, DoubleErrorEndsAtOnce) {
  TempDir dir;
  RunResult r = runProbe(dir, {"double"});
  EXPECT_EQ(14, r.status);
  EXPECT_EQ("", r.out);
  EXPECT_EQ("二重エラーです in probe(20) code=901(ArrX_Err_Full)\r\nsecond\r\nEXIT from probe(20)\r\n",
            r.err);
}

TEST(RuntimeReports, TenFramesFitAndTheEleventhEndsTheRun) {
  TempDir dir;
  RunResult ten = runProbe(dir, {"frames", "10"});
  EXPECT_EQ(0, ten.status);
  EXPECT_EQ("frames closed\n", ten.out);
  RunResult eleven = runProbe(dir, {"frames", "11"});
  EXPECT_EQ(14, eleven.status);
  EXPECT_EQ("[1] try 用スタック領域がいっぱいになりました。\n", eleven.out);
  EXPECT_EQ("try 領域がいっぱいになりました。\r\nEXIT from Except3(N)\r\n", maskLines(eleven.err));
}

TEST(RuntimeReports, PrintfKeeps1024BytesAndCutsLonger) {
  TempDir dir;
  RunResult whole = runProbe(dir, {"printf-long", "1024"});
  EXPECT_EQ(std::string(1024, 'x') + "\r\n", whole.err);
  RunResult cut = runProbe(dir, {"printf-long", "1025"});
  EXPECT_EQ(std::string(1020, 'x') + "...\r\n", cut.err);
}

TEST(RuntimeReports, ErrnoLogStartsAnewEachRun) {
  TempDir dir;
  writeFile(dir.file("errlog4.txt"), "old line\r\nolder line\r\n");
  RunResult r = runProbe(dir, {"log-errno"});
  EXPECT_EQ(0, r.status);
  const std::string lines =
      "errno = 2 : ENOENT   ファイルまたはディレクトリがない。\r\n"
      "errno = 5 : Unknown Error\r\n";
  EXPECT_EQ(lines, r.err);
  EXPECT_EQ(lines, readFile(dir.file("errlog4.txt")));
}

TEST(RuntimeReports, UnlistedErrnoIsUnknownError) {
  TempDir dir;
  RunResult r = runProbe(dir, {"raise-errno"});
  EXPECT_EQ(14, r.status);
  EXPECT_EQ("[1] Unknown Error\n", r.out);
  EXPECT_EQ(kUncaught + "\r\n[1] Unknown Error\r\nEXIT from Except3(N)\r\n", maskLines(r.err));
}
