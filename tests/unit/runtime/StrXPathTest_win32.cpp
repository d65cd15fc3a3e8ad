// Path operations with drive letters, and "/" that StrX_refFName does not
// take for a separator on Windows.
#include <gtest/gtest.h>

#include <string>

#include "runtime/StrXPath.h"

namespace {

TEST(StrXToRelPathWin32, Drives) {
  struct Case {
    std::string target, base, rel;
  };
  const Case cases[] = {
      {"d:\\x.htm", "c:\\a", "d:\\x.htm"},  // another drive: unchanged
      {"C:\\a\\x.htm", "c:\\a", "x.htm"},   // drive letters ignore case
      {"c:\\a\\x.htm", "\\a", "x.htm"},     // the base has no drive
      {"\\a\\x.htm", "c:\\a", "\\a\\x.htm"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target + " from " + c.base);
    char p[StrX_kPathSize];
    StrX_cpy(p, c.target.c_str(), sizeof p);
    EXPECT_TRUE(StrX_toRelPath(p, sizeof p, c.base.c_str()));
    EXPECT_EQ(c.rel, p);
  }
}

TEST(StrXPathWin32, DriveRootsAndSlashes) {
  char p[StrX_kPathSize] = "c:\\";
  StrX_cutFName(p);
  EXPECT_STREQ("c:\\", p);
  EXPECT_STREQ("a/b", StrX_refFName("a/b"));
  char r[StrX_kPathSize] = "x";
  EXPECT_TRUE(StrX_toAbsPath(r, sizeof r, "c:\\a\\b"));
  EXPECT_STREQ("c:\\a\\b\\x", r);
}

}  // namespace
