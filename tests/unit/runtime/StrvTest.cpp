// Heap texts that grow in 32-byte steps: a new block exactly when the
// copy's length passes the current text's step.
#include <gtest/gtest.h>

#include <string>

#include "runtime/Strv.h"

TEST(StrvCpy, GrowsInStepsOf32) {
  Strv v;
  Strv_init(&v);
  EXPECT_STREQ("", v.text);
  struct Step {
    std::size_t len;
    bool newBlock;
  };
  // Block sizes: 32, then 64 at length 32, 96 at 64; 63 fits a 64-byte block.
  const Step steps[] = {{31, false}, {32, true}, {63, false}, {64, true},
                        {95, false}, {1, false}, {40, true},  {0, false}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.len);
    const char* before = v.text;
    const std::string text(s.len, 'x');
    EXPECT_EQ(text, Strv_cpy(&v, text.c_str()));
    EXPECT_EQ(s.newBlock, v.text != before);
  }
  Strv_finish(&v);
  EXPECT_EQ(nullptr, v.text);
}
