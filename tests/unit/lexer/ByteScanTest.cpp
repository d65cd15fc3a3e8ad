// The block search of small byte sets: hits at the edges of the sixteen-byte
// blocks and in the bytes after the last whole block, sets searched one byte
// at a time, and the walk over every hit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexer/ByteScan.h"

namespace {

ByteScan setOf(const std::string& bytes) {
  ByteScan s;
  for (char c : bytes) s.add(static_cast<unsigned char>(c));
  return s;
}

// A text of n bytes 'x' with c at each of the offsets.
std::string textWith(std::size_t n, char c, const std::vector<std::size_t>& at) {
  std::string t(n, 'x');
  for (std::size_t i : at) t[i] = c;
  return t;
}

}  // namespace

TEST(ByteScan, FindsEveryHitInOrder) {
  struct Case {
    const char* name;
    std::string set;
    std::string text;
    std::vector<std::size_t> hits;
  };
  const Case cases[] = {
      {"none", "\"'", std::string(40, 'x'), {}},
      {"inside the second block", "\"'", textWith(40, '\'', {17}), {17}},
      {"block edges", "\n(", textWith(34, '\n', {0, 15, 16, 31, 32}), {0, 15, 16, 31, 32}},
      {"after the last whole block", "<>&\n", textWith(35, '&', {33}), {33}},
      {"last byte", "#", textWith(16, '#', {15}), {15}},
      {"nine bytes, one at a time", "abcdefghi", textWith(21, 'i', {3, 20}), {3, 20}},
      {"short text", "/", "x/", {1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ByteScan s = setOf(c.set);
    const char* p = c.text.data();
    const char* lim = p + c.text.size();
    const std::size_t first = c.hits.empty() ? c.text.size() : c.hits[0];
    EXPECT_EQ(first, static_cast<std::size_t>(s.find(p, lim) - p));
    std::vector<std::size_t> seen;
    EXPECT_TRUE(s.forEach(p, c.text.size(), [&](std::size_t i) {
      seen.push_back(i);
      return true;
    }));
    EXPECT_EQ(c.hits, seen);
  }
}
