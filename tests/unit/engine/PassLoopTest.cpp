// The lockstep loop: choice of the next position and the guard.
#include <gtest/gtest.h>

#include <string>

#include "Raise.h"
#include "TestFiles.h"
#include "engine/PassLoop.h"

namespace {

struct OpenLexer {
  char buf[BLex3_kBufSize];
  int8_t kinds[BLex3_kKindMapSize];
  BLex3 lexer;
  explicit OpenLexer(const std::string& path) {
    BLex3_init(&lexer, path.c_str(), buf, sizeof buf, BLex3_kBlockSize);
    BLex3_setKindMap(&lexer, kinds, sizeof kinds);
  }
  ~OpenLexer() { BLex3_finish(&lexer); }
};

}  // namespace

TEST(PassLoopChoice, SmallestOffsetWinsAndTiesKeepTheFirst) {
  TempDir dir;
  writeFile(dir.file("t.txt"), std::string(100, 'x'));
  OpenLexer l(dir.file("t.txt"));
  PassLoop loop(&l.lexer);
  ASSERT_TRUE(loop.cycle());
  loop.offer({40, 0});
  loop.offer({20, 1});
  loop.offer({20, 2});
  loop.offer({30, 0});
  loop.advance();
  EXPECT_EQ(20, loop.pos().offset);
  EXPECT_EQ(1, loop.pos().kind);
  EXPECT_EQ(20, BLex3_getOffset(&l.lexer));
}

TEST(PassLoopChoice, EndsWhenThereIsNoDataAtThePosition) {
  TempDir dir;
  writeFile(dir.file("t.txt"), "abc");
  OpenLexer l(dir.file("t.txt"));
  PassLoop loop(&l.lexer);
  int cycles = 0;
  while (loop.cycle()) {
    ++cycles;
    loop.offer({loop.pos().offset + 1, 0});
    loop.advance();
  }
  EXPECT_EQ(3, cycles);
}

TEST(PassLoopGuard, AStalledScannerEndsThePassAfter10000Cycles) {
  TempDir dir;
  writeFile(dir.file("t.txt"), "abc");
  OpenLexer l(dir.file("t.txt"));
  PassLoop loop(&l.lexer);
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
