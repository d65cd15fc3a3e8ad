// Positioned reads: any offset in any order, fewer bytes at the end of the
// file, none past it.
#include "platform/OsFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "TestFiles.h"

TEST(OsFileReadAt, OffsetsInAnyOrderAndTheEndOfTheFile) {
  TempDir dir;
  std::string text;
  for (int i = 0; i < 1000; ++i) text += static_cast<char>('a' + i % 26);
  writeFile(dir.file("f"), text);
  std::FILE* f = std::fopen(dir.file("f").c_str(), "rb");
  ASSERT_NE(nullptr, f);
  std::setvbuf(f, nullptr, _IONBF, 0);
  struct Case {
    int64_t offset;
    std::size_t n;
    int64_t got;
  };
  const Case cases[] = {{500, 10, 10}, {0, 3, 3},   {998, 10, 2},
                        {1000, 5, 0},  {4000, 5, 0}, {26, 26, 26}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    char buf[32] = {};
    ASSERT_EQ(c.got, OsFile_readAt(f, c.offset, buf, c.n));
    EXPECT_EQ(text.substr(c.offset < 1000 ? c.offset : 1000, c.got), std::string(buf, c.got));
  }
  std::fclose(f);
}
