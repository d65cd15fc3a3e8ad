// Reports that end the process, driven through the runtime probe (run with
// a situation name and arguments).
#include <gtest/gtest.h>

#include <string>

#include "E2e.h"

TEST(RuntimeReports, EachSituation) {
  const std::string uncaught = "キャッチできない例外が発生しました\r\n";
  const std::string errnoLines =
      "errno = 2 : ENOENT   ファイルまたはディレクトリがない。\r\nerrno = 5 : Unknown Error\r\n";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out, err;  // err with line numbers masked
  } cases[] = {
      // Without a hook a raise prints its text and ends the run.
      {{"before-hook"}, 14, "early\n", "EXIT from probe(N)\r\n"},
      {{"uncaught-in-frames"}, 14, "inner clean-up\nouter clean-up\n[1] deep\n",
       uncaught + "[1] deep\r\nEXIT from Except3(N)\r\n"},
      {{"double"}, 14, "",
       "二重エラーです in probe(N) code=901(ArrX_Err_Full)\r\nsecond\r\nEXIT from probe(N)\r\n"},
      // Ten try frames fit, the eleventh ends the run.
      {{"frames", "10"}, 0, "frames closed\n", ""},
      {{"frames", "11"}, 14, "[1] try 用スタック領域がいっぱいになりました。\n",
       "try 領域がいっぱいになりました。\r\nEXIT from Except3(N)\r\n"},
      {{"printf-long", "1024"}, 0, "", std::string(1024, 'x') + "\r\n"},
      {{"printf-long", "1025"}, 0, "", std::string(1020, 'x') + "...\r\n"},
      // The errno log starts anew each run.
      {{"log-errno"}, 0, "", errnoLines},
      {{"raise-errno"}, 14, "[1] Unknown Error\n",
       uncaught + "[1] Unknown Error\r\nEXIT from Except3(N)\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + (c.args.size() > 1 ? " " + c.args[1] : ""));
    TempDir dir;
    writeFile(dir.file("errlog4.txt"), "old line\r\n");
    RunResult r = runProgram(hostPath(SCRIVO_PROBE_EXE), c.args, dir.path(), {{"LC_ALL", "C"}});
    EXPECT_EQ(c.status, r.status);
    EXPECT_EQ(c.out, r.out);
    EXPECT_EQ(c.err, maskLines(r.err));
    if (c.args[0] == "log-errno") {
      EXPECT_EQ(errnoLines, readFile(dir.file("errlog4.txt")));
    }
  }
}
