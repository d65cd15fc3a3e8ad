// Path operations with drive letters, and "/" that is a separator exactly
// like "\\" on Windows and is written as "\\" where a path is made absolute
// or relative.
#include <gtest/gtest.h>

#include <string>

#include "runtime/StrXPath.h"

namespace {

TEST(StrXToRelPathWin32, DrivesAndSlashes) {
  struct Case {
    std::string target, base, rel;
  };
  const Case cases[] = {
      {"d:\\x.htm", "c:\\a", "d:\\x.htm"},  // another drive: unchanged
      {"C:\\a\\x.htm", "c:\\a", "x.htm"},   // drive letters ignore case
      {"c:\\a\\x.htm", "\\a", "x.htm"},     // the base has no drive
      {"\\a\\x.htm", "c:\\a", "\\a\\x.htm"},
      {"c:/a/b/x.htm", "c:\\a", "b\\x.htm"},  // "/" matches "\\" and is written so
      {"c:\\a\\x.htm", "c:/a/b", "..\\x.htm"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target + " from " + c.base);
    char p[StrX_kPathSize];
    StrX_cpy(p, c.target.c_str(), sizeof p);
    EXPECT_TRUE(StrX_toRelPath(p, sizeof p, c.base.c_str()));
    EXPECT_EQ(c.rel, p);
  }
}

TEST(StrXPathWin32, SlashSplitsLikeABackslash) {
  char p[StrX_kPathSize] = "c:\\";
  StrX_cutFName(p);
  EXPECT_STREQ("c:\\", p);
  struct Name {
    const char *path, *ref, *folder;
  };
  const Name names[] = {
      {"sub/a.c", "a.c", "sub"},
      {"sub/x\\a.c", "a.c", "sub/x"},
      {"c:/a/", "a/", "c:/"},
      {"/a.c", "a.c", "/"},
  };
  for (const Name& n : names) {
    SCOPED_TRACE(n.path);
    EXPECT_STREQ(n.ref, StrX_refFName(n.path));
    char folder[StrX_kPathSize];
    EXPECT_TRUE(StrX_cpyFolder(folder, n.path, sizeof folder));
    EXPECT_STREQ(n.folder, folder);
  }
}

TEST(StrXPathWin32, PathsMadeAbsoluteAreWrittenWithBackslashes) {
  struct Case {
    std::string path, base, abs;
  };
  const Case cases[] = {
      {"sub/a.c", "c:\\w", "c:\\w\\sub\\a.c"},
      {"../src/a.c", "c:\\w\\t", "c:\\w\\src\\a.c"},
      {"x", "c:/a/b/", "c:\\a\\b\\x"},
      {"/abs/a.c", "c:\\w", "\\abs\\a.c"},  // on the current drive
      {"C:/x/y", "c:\\w", "C:\\x\\y"},
      {"file:/x/y", "c:\\w", "file:/x/y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path + " against " + c.base);
    char b[StrX_kPathSize];
    StrX_cpy(b, c.path.c_str(), sizeof b);
    EXPECT_TRUE(StrX_toAbsPath(b, sizeof b, c.base.c_str()));
    EXPECT_EQ(c.abs, b);
  }
  char abs[StrX_kPathSize];
  EXPECT_TRUE(StrX_cpyAbsPath(abs, "/abs/a.c", sizeof abs));
  EXPECT_STREQ("\\abs\\a.c", abs);
}

}  // namespace
