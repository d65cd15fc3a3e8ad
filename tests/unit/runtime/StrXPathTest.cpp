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
      {"/a/x.htm", "/a/b", "../x.htm"},
      {"/a/b/", "/a/b", "./"},       // the base folder with its separator
      {"/a/b", "/a/b", "../b"},      // the base folder itself
      {"/A/B/x.htm", "/a/b", "x.htm"},  // ASCII case does not count
      {"/" + kHyo + "/x.htm", "/" + kHyo, "x.htm"},
      {"/a", "/" + kHyo, "../a"},  // the trail byte of the base is no separator
      {"/" + kHyo + "x/y", "/" + kHyo, "../" + kHyo + "x/y"},
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
      {native(kHyo + "/../x"), native("/a"), native("/a/x")},
      {native(kSo + "/x"), native("/a/") + kSo, native("/a/" + kSo + "/" + kSo + "/x")},
      {"http://h/x", native("/a"), "http://h/x"},
      {"a/../x", "", "x"},  // no base: the path stays relative
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path + " against " + c.base);
    Buf b(c.path);
    EXPECT_TRUE(StrX_toAbsPath(b.text, sizeof b.text, c.base.c_str()));
    EXPECT_EQ(c.abs, b.text);
  }
}

TEST(StrXResolveDots, ClimbingAboveTheRootRaises) {
  Buf up(native("/a/../../x"));
  Raised e = catchRaise([&] { StrX_resolveDots(up.text); });
  EXPECT_EQ(3182, e.code);
  EXPECT_EQ("親ディレクトリ指定\"..\\\"が多すぎます。", e.msg);
  Buf b("../../x");
  Raised r =  // the call raises: its result is never given
      catchRaise([&] { (void)StrX_toAbsPath(b.text, sizeof b.text, native("/a").c_str()); });
  EXPECT_EQ(StrX_Err_NoMoreParentDir, r.code);
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

TEST(StrXFromFile, UsesTheFolderOfTheBaseFile) {
  Buf a("x.htm");
  EXPECT_TRUE(StrX_toAbsPathFromFile(a.text, sizeof a.text, native("/a/b/i.htm").c_str()));
  EXPECT_EQ(native("/a/b/x.htm"), a.text);

  uint8_t* top = BigStack_main.top;
  Buf r(native("/a/b/x.htm"));
  EXPECT_TRUE(StrX_toRelPathFromFile(r.text, sizeof r.text, native("/a/c/i.htm").c_str()));
  EXPECT_EQ(native("../b/x.htm"), r.text);
  EXPECT_EQ(top, BigStack_main.top);  // its block is given back
  const std::string deep = native("/" + std::string(300, 'd') + "/i.htm");  // no folder fits
  Buf t(native("/a/x.htm"));
  EXPECT_FALSE(StrX_toRelPathFromFile(t.text, sizeof t.text, deep.c_str()));
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
  const Case cases[] = {{"/a/b", "../x/" + kHyo + ".c"}, {"/" + kSo + "/b", "./y"}};
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
