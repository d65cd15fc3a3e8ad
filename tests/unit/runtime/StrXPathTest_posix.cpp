// Path operations on POSIX: "/" is the native separator, "\\" still splits,
// and a leading "/" makes a name absolute.
#include <gtest/gtest.h>

#include "runtime/StrXPath.h"

namespace {

TEST(StrXPathPosix, BackslashStillSeparates) {
  EXPECT_STREQ("b", StrX_refFName("a\\b"));
  EXPECT_STREQ("b/", StrX_refFName("a\\b/"));  // a folder keeps its separator
  EXPECT_STREQ("b/", StrX_refFName("b/"));
  char q[StrX_kPathSize] = "/a\\b\\..\\c";
  StrX_resolveDots(q);
  EXPECT_STREQ("/a\\c", q);
}

}  // namespace
