// Path operations: worked examples (written in POSIX form; the Windows build
// reads a leading "/" as "c:\" and every other "/" as "\\") and capacities.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Raise.h"
#include "TestFiles.h"
#include "platform/Os.h"
#include "runtime/BigStack.h"
#include "runtime/StrXPath.h"

namespace {

// Two double-byte names whose trail byte is 0x5C: "表" and "ソ".
const std::string kHyo = "\x95\x5C";
const std::string kSo = "\x83\x5C";

std::string native(const std::string& p) {
  if (nativeSep() == '/') return p;
  std::string out;
  std::size_t i = 0;
  if (!p.empty() && p[0] == '/') {
    out = "c:\\";
    i = 1;
  }
  for (; i < p.size(); ++i) out += p[i] == '/' ? '\\' : p[i];
  return out;
}

struct Buf {
  char text[StrX_kPathSize];
  explicit Buf(const std::string& s) { StrX_cpy(text, s.c_str(), sizeof text); }
};

// A buffer of exactly size bytes on the heap, so that the sanitizer build
// catches any byte written past it.
struct Exact {
  std::unique_ptr<char[]> p;
  explicit Exact(std::size_t size, const std::string& s = "") : p(new char[size]) {
    StrX_cpy(p.get(), s.c_str(), size);
  }
};

TEST(StrXToRelPath, WorkedExamples) {
  struct Case {
    std::string target, base, rel;
  };
  const Case cases[] = {
      {"/a/b/c.htm", "/a", "b/c.htm"},
      {"/a/x.htm", "/a/b", "../x.htm"},
      {"/a", "/a/b", ".."},
      {"/a", "/a/b/c", "../.."},
      {"/a/b/", "/a/b", "./"},       // the base folder with its separator
      {"/a/b", "/a/b", "../b"},      // the base folder itself
      {"/a/b", "/a/b/", "."},
      {"/a/x", "/a/b/", "../x"},
      {"/A/B/x.htm", "/a/b", "x.htm"},  // ASCII case does not count
      {"/a/bc", "/a/b", "../bc"},
      {"/a/b", "/a/bc", "../b"},
      {"/x", "/", "x"},
      {"/" + kHyo + "/x.htm", "/" + kHyo, "x.htm"},
      {"/a", "/" + kHyo, "../a"},  // the trail byte of the base is no separator
      {"/" + kHyo + "x/y", "/" + kHyo, "../" + kHyo + "x/y"},
      {"", "/a", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target + " from " + c.base);
    Buf b(native(c.target));
    EXPECT_TRUE(StrX_toRelPath(b.text, sizeof b.text, native(c.base).c_str()));
    EXPECT_EQ(native(c.rel), b.text);
  }
}

TEST(StrXToAbsPath, JoinsResolvesOrLeavesAlone) {
  struct Case {
    std::string path, base, abs;
  };
  const Case cases[] = {
      {"../x.htm", native("/a/b"), native("/a/x.htm")},
      {native("c/./d.htm"), native("/a"), native("/a/c/d.htm")},
      {"x", native("/a/"), native("/a/x")},
      {".", native("/a"), native("/a/")},
      {native(kHyo + "/../x"), native("/a"), native("/a/x")},
      {native(kSo + "/x"), native("/a/") + kSo, native("/a/" + kSo + "/" + kSo + "/x")},
      {native("/z"), native("/a"), native("/z")},
      {"\\z", native("/a"), "\\z"},
      {"c:z", native("/a"), "c:z"},
      {"file:x.htm", native("/a"), "file:x.htm"},
      {"http://h/x", native("/a"), "http://h/x"},
      {"https://h/x", native("/a"), "https://h/x"},
      {"", native("/a"), ""},
      {"a/../x", "", "x"},  // no base: the path stays relative
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path + " against " + c.base);
    Buf b(c.path);
    EXPECT_TRUE(StrX_toAbsPath(b.text, sizeof b.text, c.base.c_str()));
    EXPECT_EQ(c.abs, b.text);
  }
}

TEST(StrXResolveDots, FoldsDotComponentsOnly) {
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"/a/b/../c", "/a/c"},
      {"/a/./b", "/a/b"},
      {"/a/b/../../c", "/c"},
      {"/a/./../c", "/c"},
      {"/a//../x", "/x"},  // a doubled separator names no folder
      {"//h/s/../x", "//h/x"},
      {"/a\\b/..\\c", "/a\\c"},  // either separator
      {"/a.b/x..y/./z", "/a.b/x..y/z"},
      {"/a/..", "/a/.."},  // no separator after it: stays
      {"../x", "../x"},
      {"../a/../../y", "../../y"},
      {"./a/../x", "x"},
      {"/" + kHyo + "/../x", "/x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    Buf b(c.in);
    StrX_resolveDots(b.text);
    EXPECT_EQ(c.out, b.text);
  }
}

TEST(StrXResolveDots, ClimbingAboveTheRootRaises) {
  for (const std::string& p : {native("/../x"), native("/a/../../x"), std::string("/../x")}) {
    SCOPED_TRACE(p);
    Buf b(p);
    Raised r = catchRaise([&] { StrX_resolveDots(b.text); });
    EXPECT_TRUE(r.raised);
    EXPECT_EQ(3182, r.code);
    EXPECT_EQ("親ディレクトリ指定\"..\\\"が多すぎます。", r.msg);
  }
  Buf b("../../x");
  Raised r =  // the call raises: its result is never given
      catchRaise([&] { (void)StrX_toAbsPath(b.text, sizeof b.text, native("/a").c_str()); });
  EXPECT_EQ(StrX_Err_NoMoreParentDir, r.code);
}

TEST(StrXCutFName, KeepsRootsAndSkipsTrailBytes) {
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"/x.htm", "/"}, {"/a/", "/"},      {"/", "/"},       {"/a/b.htm", "/a"},
      {"a/b/", "a"},   {"x.htm", ""},     {"", ""},         {"a/" + kHyo, "a"},
      {kHyo + "/x", kHyo}, {"a\\b", "a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    Buf b(native(c.in));
    StrX_cutFName(b.text);
    EXPECT_EQ(native(c.out), b.text);
    char folder[StrX_kPathSize];
    EXPECT_TRUE(StrX_cpyFolder(folder, native(c.in).c_str(), sizeof folder));
    EXPECT_EQ(native(c.out), folder);
  }
}

TEST(StrXFName, LastComponent) {
  struct Case {
    std::string path, ref;
  };
  const Case cases[] = {
      {"a/b/c", "c"}, {"a/b/", "b/"}, {"abc", "abc"}, {"a/", "a/"}, {"a/" + kHyo, kHyo},
      {kHyo + "/", kHyo + "/"}, {"a\\b/c", "c"}, {"a/b\\c", "c"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    std::string p = native(c.path);
    EXPECT_EQ(native(c.ref), StrX_refFName(p.c_str()));
  }
}

TEST(StrXExt, RefAndChange) {
  const char path[] = "a.b/c";
  EXPECT_EQ(path + 2, StrX_refExt(path));  // the last dot of the whole path
  const char none[] = "abc";
  EXPECT_EQ(none + 3, StrX_refExt(none));
  struct Case {
    std::string path, ext, out;
  };
  const Case cases[] = {
      {"a.txt", "htm", "a.htm"}, {"a.txt", "", "a"}, {"a", "htm", "a.htm"}, {"a", "", "a"},
      {"x.tar.gz", "zip", "x.tar.zip"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path + " -> " + c.ext);
    Buf b(c.path);
    EXPECT_TRUE(StrX_chgExt(b.text, sizeof b.text, c.ext.c_str()));
    EXPECT_EQ(c.out, b.text);
  }
}

TEST(StrXPathCapacity, AtThePathSizeAndOnePast) {
  // base + separator + name of exactly 259 bytes, then of 260.
  std::string base = native("/") + std::string(250 - native("/").size(), 'd');
  for (std::size_t extra : {0u, 1u}) {
    SCOPED_TRACE(extra);
    std::string name(259 - base.size() - 1 + extra, 'n');
    Exact b(StrX_kPathSize, name);
    EXPECT_EQ(extra == 0, StrX_toAbsPath(b.p.get(), StrX_kPathSize, base.c_str()));
    EXPECT_EQ(259u, std::strlen(b.p.get()));
  }
  // A cut never splits a double-byte character: byte 259 would be a lead.
  std::string name = std::string(259 - base.size() - 2, 'n') + kHyo;
  Exact b(StrX_kPathSize, name);
  EXPECT_FALSE(StrX_toAbsPath(b.p.get(), StrX_kPathSize, base.c_str()));
  EXPECT_EQ(258u, std::strlen(b.p.get()));
}

TEST(StrXPathCapacity, AbsolutePathsHoldAtMost511Bytes) {
  char cwd[StrX_kAbsWorkSize];
  ASSERT_TRUE(Os_getcwd(cwd, sizeof cwd));
  std::size_t n = std::strlen(cwd);
  std::size_t room = 511 - n - (cwd[n - 1] == nativeSep() ? 0 : 1);  // the name that just fits
  char full[4 * StrX_kPathSize];
  EXPECT_TRUE(StrX_cpyAbsPath(full, std::string(room, 'n').c_str(), sizeof full));
  EXPECT_EQ(511u, std::strlen(full));
  EXPECT_FALSE(StrX_cpyAbsPath(full, std::string(room + 1, 'n').c_str(), sizeof full));
  EXPECT_EQ(511u, std::strlen(full));
  // An absolute path is copied as it stands, whatever its length.
  std::string abs = native("/") + std::string(600, 'a');
  EXPECT_TRUE(StrX_cpyAbsPath(full, abs.c_str(), sizeof full));
  EXPECT_EQ(abs, full);
  EXPECT_FALSE(StrX_cpyAbsPath(full, abs.c_str(), StrX_kPathSize));
  EXPECT_EQ(259u, std::strlen(full));
}

TEST(StrXCpyAbsPath, JoinsTheCurrentFolder) {
  char cwd[StrX_kPathSize];
  ASSERT_TRUE(Os_getcwd(cwd, sizeof cwd));
  char out[StrX_kPathSize];
  EXPECT_TRUE(StrX_cpyAbsPath(out, "x/./y.htm", sizeof out));
  std::string expected = cwd;
  if (expected.back() != nativeSep()) expected += nativeSep();
  EXPECT_EQ(expected + native("x/y.htm"), out);
}

TEST(StrXFromFile, UsesTheFolderOfTheBaseFile) {
  Buf a("x.htm");
  EXPECT_TRUE(StrX_toAbsPathFromFile(a.text, sizeof a.text, native("/a/b/i.htm").c_str()));
  EXPECT_EQ(native("/a/b/x.htm"), a.text);
  Buf empty("");
  EXPECT_TRUE(StrX_toAbsPathFromFile(empty.text, sizeof empty.text, native("/a/i.htm").c_str()));
  EXPECT_STREQ("", empty.text);

  uint8_t* top = BigStack_main.top;
  Buf r(native("/a/b/x.htm"));
  EXPECT_TRUE(StrX_toRelPathFromFile(r.text, sizeof r.text, native("/a/c/i.htm").c_str()));
  EXPECT_EQ(native("../b/x.htm"), r.text);
  EXPECT_EQ(top, BigStack_main.top);  // its block is given back
}

// Calls op on a copy of input in an exact buffer of each size from the
// input's own up to one past the whole result.
template <class Op>
void checkFits(const std::string& input, Op op) {
  std::string full;
  {
    Exact big(StrX_kAbsWorkSize, input);
    ASSERT_TRUE(op(big.p.get(), StrX_kAbsWorkSize));
    full = big.p.get();
  }
  for (std::size_t size = input.size() + 1; size <= full.size() + 1; ++size) {
    Exact b(size, input);
    bool fitted = op(b.p.get(), size);
    std::string got = b.p.get();
    EXPECT_LT(got.size(), size);
    EXPECT_EQ(full.size() < size, fitted) << size;
    if (fitted) {
      EXPECT_EQ(full, got);
    } else {
      EXPECT_EQ(0u, full.compare(0, got.size(), got)) << got;
    }
  }
}

// Every size from the input's own up to one past the result: a result that
// does not fit is refused and never written past the buffer.
TEST(StrXPathCapacity, EveryResultFitsItsBuffer) {
  struct Case {
    std::string base, rel;
  };
  const Case cases[] = {{"/a/b", "c/d.txt"},       {"/a/b", "../x/" + kHyo + ".c"},
                        {"/" + kSo + "/b", "./y"}, {"/a/b/c", "../../z.h"}};
  for (const Case& c : cases) {
    const std::string base = native(c.base), rel = native(c.rel);
    SCOPED_TRACE(rel + " against " + base);
    checkFits(rel, [&](char* p, std::size_t s) { return StrX_toAbsPath(p, s, base.c_str()); });
    Buf abs(rel);
    ASSERT_TRUE(StrX_toAbsPath(abs.text, sizeof abs.text, base.c_str()));
    checkFits(abs.text, [&](char* p, std::size_t s) { return StrX_toRelPath(p, s, base.c_str()); });
    checkFits(rel, [&](char* p, std::size_t s) { return StrX_chgExt(p, s, "html"); });
  }
}

}  // namespace
