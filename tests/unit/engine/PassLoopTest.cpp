// The lockstep loop's guard against a scanner that stops moving.
#include <gtest/gtest.h>

#include "../lexer/LexerFixture.h"
#include "Raise.h"
#include "TestFiles.h"
#include "engine/PassLoop.h"

TEST(PassLoopGuard, AStalledScannerEndsThePassAfter10000Cycles) {
  TempDir dir;
  writeFile(dir.file("t.txt"), "abc");
  OpenLexer o(dir.file("t.txt"));
  PassLoop loop(&o.lx);
  int cycles = 0;
  Raised r = catchRaise([&] {
    while (loop.cycle()) {
      ++cycles;
      loop.offer({1, 0});  // never moves past offset 1
      loop.advance();
    }
  });
  EXPECT_TRUE(r.raised);
  EXPECT_EQ(7791, r.code);
  EXPECT_EQ("ファイル解析ループが無限ループになっています(count=10000, pos=1)", r.msg);
  // One cycle at offset 0 and 10000 at offset 1; the guard stops the next.
  EXPECT_EQ(1 + 10000, cycles);
}
