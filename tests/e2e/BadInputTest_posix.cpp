// An input the program may not read. Root reads anything, so the case is
// skipped when the tests run as root.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "BadInput.h"

TEST(BadInputPosix, UnreadableInputIsRefused) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  TempDir dir;
  for (const char* name : {"locked.c", "locked.htm"}) {
    SCOPED_TRACE(name);
    writeFile(dir.file(name), "int x;\n");
    ASSERT_EQ(0, chmod(dir.file(name).c_str(), 0));
    runOnBadInput(dir, name, 14,
                  "ファイル \"" + dir.file(name) + "\" が見つかりません\nカレント＝" + dir.path());
  }
}
