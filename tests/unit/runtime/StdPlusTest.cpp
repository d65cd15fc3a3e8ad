// The raising allocator.
#include <gtest/gtest.h>

#include "runtime/StdPlus.h"

TEST(StdPlusMalloc, GivesUsableBlocksAndFreeIgnoresNull) {
  char* p = static_cast<char*>(StdPlus_malloc(16));
  ASSERT_NE(nullptr, p);
  p[15] = 'x';
  StdPlus_free(p);
  StdPlus_free(nullptr);
  void* z = StdPlus_malloc(0);
  EXPECT_NE(nullptr, z);
  StdPlus_free(z);
}
