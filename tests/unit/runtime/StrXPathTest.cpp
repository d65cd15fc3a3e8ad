// Path operations: worked examples (written in POSIX form; the Windows build
// reads a leading "/" as "c:\" and every other "/" as "\\"), capacities, and
// the algebra of absolute and relative paths as properties.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
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
    std::string path, ref, copy;
  };
  const Case cases[] = {
      {"a/b/c", "c", "c"},       {"a/b/", "b/", "b"},          {"abc", "abc", "abc"},
      {"a/", "a/", "a"},          {"a/" + kHyo, kHyo, kHyo},    {kHyo + "/", kHyo + "/", kHyo},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    std::string p = native(c.path);
    EXPECT_EQ(native(c.ref), StrX_refFName(p.c_str()));
    char name[StrX_kPathSize];
    EXPECT_TRUE(StrX_cpyFName(name, p.c_str(), sizeof name));
    EXPECT_EQ(c.copy, name);
  }
  char name[StrX_kPathSize];
  EXPECT_TRUE(StrX_cpyFName(name, "a\\b/c", sizeof name));  // the later separator decides
  EXPECT_STREQ("c", name);
  EXPECT_TRUE(StrX_cpyFName(name, "a/b\\c", sizeof name));
  EXPECT_STREQ("c", name);
}

TEST(StrXAddFName, JoinsWithTheNativeSeparator) {
  struct Case {
    std::string path, name, out;
  };
  const Case cases[] = {
      {"/a", "x", "/a/x"},      {"/a/", "x", "/a/x"},  {"", "x", "x"},
      {"/a", "c:y", "c:y"},     {kHyo, "x", kHyo + "/x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path + " + " + c.name);
    Buf b(native(c.path));
    EXPECT_TRUE(StrX_addFName(b.text, sizeof b.text, c.name.c_str()));
    EXPECT_EQ(native(c.out), b.text);
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
    Exact j(StrX_kPathSize, base);
    EXPECT_EQ(extra == 0, StrX_addFName(j.p.get(), StrX_kPathSize, name.c_str()));
    EXPECT_EQ(std::string(b.p.get()), j.p.get());
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

// --- Properties over generated paths ---

bool isLead(char c) { return Os_isLeadByte(static_cast<unsigned char>(c)); }

// The components of a path as the file system sees them: either separator
// splits, a double-byte character is one piece, empty and "." components
// vanish and ".." takes back the one before it.
std::vector<std::string> normal(const std::string& p) {
  std::vector<std::string> out;
  std::string cur;
  for (std::size_t i = 0; i <= p.size(); ++i) {
    if (i == p.size() || p[i] == '/' || p[i] == '\\') {
      if (cur == "..") {
        if (!out.empty()) out.pop_back();
      } else if (!cur.empty() && cur != ".") {
        out.push_back(cur);
      }
      cur.clear();
      continue;
    }
    cur += p[i];
    if (isLead(p[i]) && i + 1 < p.size()) cur += p[++i];
  }
  return out;
}

bool hasDotPart(const std::string& p) {
  std::string cur;
  for (std::size_t i = 0; i <= p.size(); ++i) {
    if (i == p.size() || p[i] == '/' || p[i] == '\\') {
      if (cur == "." || cur == "..") return true;
      cur.clear();
      continue;
    }
    cur += p[i];
    if (isLead(p[i]) && i + 1 < p.size()) cur += p[++i];
  }
  return false;
}

struct PathGen {
  std::mt19937 rng{20240601};
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
  char sep() { return pick(2) ? '/' : '\\'; }
  std::string name() {
    static const std::string names[] = {"a", "bc", "x.htm", "...", "a..b", ".h",
                                        kHyo, kSo + "d", "e" + kHyo, kHyo + kSo};
    return names[pick(10)];
  }
  std::string root() { return nativeSep() == '/' ? "/" : "c:\\"; }
  // An absolute folder; names gets its components.
  std::string base(std::vector<std::string>* names) {
    std::string b = root();
    int n = pick(4);
    for (int i = 0; i < n; ++i) {
      names->push_back(name());
      b += names->back();
      if (i + 1 < n || pick(2)) b += sep();
    }
    return b;
  }
  // A relative path ending in a name that never climbs above the root;
  // model gets the components it leads to from the base's.
  std::string relative(std::vector<std::string>* model) {
    std::string p;
    int n = 1 + pick(6);
    for (int i = 0; i < n; ++i) {
      int kind = i + 1 == n ? 0 : pick(4);
      if (kind == 1) {
        p += ".";
      } else if (kind == 2 && !model->empty()) {
        p += "..";
        model->pop_back();
      } else {
        model->push_back(name());
        p += model->back();
      }
      if (i + 1 < n) p += sep();
    }
    return p;
  }
};

std::vector<std::string> withRoot(std::vector<std::string> parts) {
  if (nativeSep() != '/') parts.insert(parts.begin(), "c:");
  return parts;
}

TEST(StrXPathAlgebra, AbsoluteThenRelativeGivesAnEquivalentPath) {
  PathGen gen;
  for (int round = 0; round < 3000; ++round) {
    std::vector<std::string> model;
    std::string base = gen.base(&model);
    std::string rel = gen.relative(&model);
    SCOPED_TRACE(rel + " against " + base);

    Buf abs(rel);
    ASSERT_TRUE(StrX_toAbsPath(abs.text, sizeof abs.text, base.c_str()));
    EXPECT_EQ(withRoot(model), normal(abs.text));
    EXPECT_FALSE(hasDotPart(abs.text)) << abs.text;

    Buf back(abs.text);
    ASSERT_TRUE(StrX_toRelPath(back.text, sizeof back.text, base.c_str()));
    EXPECT_TRUE(back.text[0] != '/' && back.text[0] != '\\' && back.text[1] != ':') << back.text;
    std::string relText = back.text;
    ASSERT_TRUE(StrX_toAbsPath(back.text, sizeof back.text, base.c_str()));
    EXPECT_EQ(normal(abs.text), normal(back.text)) << "relative form " << relText;
  }
}

TEST(StrXPathAlgebra, ResolveDotsNeverGrowsAndKeepsTheMeaning) {
  PathGen gen;
  for (int round = 0; round < 3000; ++round) {
    std::string p = gen.root();
    int n = gen.pick(8);
    for (int i = 0; i < n; ++i) {
      static const char* dots[] = {".", "..", ""};
      int kind = gen.pick(5);
      p += kind < 3 ? dots[kind] : gen.name();
      if (i + 1 < n || gen.pick(2)) p += gen.sep();
    }
    SCOPED_TRACE(p);
    Buf b(p);
    Raised r = catchRaise([&] { StrX_resolveDots(b.text); });
    EXPECT_LE(std::strlen(b.text), p.size());
    if (!r.raised) {
      EXPECT_EQ(normal(p), normal(b.text));
    }
  }
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

TEST(StrXPathAlgebra, EveryResultFitsItsBuffer) {
  PathGen gen;
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> model;
    std::string base = gen.base(&model);
    std::string rel = gen.relative(&model);
    SCOPED_TRACE(rel + " against " + base);
    checkFits(rel, [&](char* p, std::size_t s) { return StrX_toAbsPath(p, s, base.c_str()); });
    Buf abs(rel);
    ASSERT_TRUE(StrX_toAbsPath(abs.text, sizeof abs.text, base.c_str()));
    checkFits(abs.text, [&](char* p, std::size_t s) { return StrX_toRelPath(p, s, base.c_str()); });
    checkFits(base, [&](char* p, std::size_t s) { return StrX_addFName(p, s, rel.c_str()); });
    checkFits(rel, [&](char* p, std::size_t s) { return StrX_chgExt(p, s, "html"); });
  }
}

}  // namespace
