// The command's own texts on a POSIX terminal: converted from code page 932
// to UTF-8 when the locale is a UTF-8 one.
#include <gtest/gtest.h>

#include <string>

#include "E2e.h"

TEST(CommandUsagePosix, VersionIsUtf8InAUtf8Locale) {
  TempDir dir;
  RunResult r =
      runProgram(hostPath(SCRIVO_EXE), {"--version"}, dir.path(), {{"LC_ALL", "C.UTF-8"}});
  EXPECT_EQ(0, r.status);
  // バージョン is U+30D0 U+30FC U+30B8 U+30E7 U+30F3.
  EXPECT_EQ("Scrivolt2 b2 for Command Line\n"
            "\xE3\x83\x90\xE3\x83\xBC\xE3\x82\xB8\xE3\x83\xA7\xE3\x83\xB3 " SCRIVO_VERSION "\n",
            r.out);
  EXPECT_EQ("", r.err);
}
