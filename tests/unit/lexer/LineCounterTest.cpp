// The line counter: the line and column of the cursor, counted forward from
// where it last stood, across windows.
#include "lexer/LineCounter.h"

#include <gtest/gtest.h>

#include <string>

#include "LexerFixture.h"
#include "TestFiles.h"

TEST(LineCounterStep, LineAndColumnOfTheCursor) {
  TempDir dir;
  // Lines of 99 bytes and an LF: line n starts at offset (n - 1) * 100.
  std::string text;
  for (int i = 0; i < 12; ++i) text += std::string(99, 'a' + i) + "\n";
  writeFile(dir.file("a.txt"), text);
  OpenLexer o(dir.file("a.txt"));
  LineCounter c;
  LineCounter_init(&c);
  EXPECT_EQ(1, c.line);
  EXPECT_EQ(1, c.column);
  LineCounter_setLexer(&c, &o.lx);
  struct Case {
    int32_t at, line, column;
  };
  const Case cases[] = {{0, 1, 1},     {5, 1, 6},    {99, 1, 100}, {100, 2, 1},
                        {101, 2, 2},   {101, 2, 2},  {50, 2, 2},   {710, 8, 11},
                        {1199, 12, 100}, {1200, 13, 1}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.at);
    o.seek(k.at);
    LineCounter_step(&c);
    EXPECT_EQ(k.line, c.line);
    EXPECT_EQ(k.column, c.column);
    EXPECT_EQ(k.at, BLex3_getOffset(&o.lx));
  }
}
