// The links file written and loaded back: page references and targets cut
// to their buffers, the fixed capacities and one index at a time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "IndexFixture.h"
#include "Raise.h"
#include "engine/LinksFile.h"

namespace {

// Bytes weighted by position + 1, mod 255.
unsigned bucketOf(const std::string& key) {
  unsigned sum = 0;
  for (std::size_t i = 0; i < key.size(); ++i)
    sum += static_cast<unsigned char>(key[i]) * static_cast<unsigned>(i + 1);
  return sum % 255;
}

// Five-letter words of the bucket of "aaaaa" (four lower-case letters are
// too few: their weighted sums differ by less than 255).
std::vector<std::string> collidingWords(std::size_t count) {
  std::vector<std::string> words;
  for (std::string w = "aaaaa"; words.size() < count;) {
    if (bucketOf(w) == bucketOf("aaaaa")) words.push_back(w);
    int i = 4;
    while (i >= 0 && w[i] == 'z') w[i--] = 'a';
    if (i < 0) break;
    ++w[i];
  }
  return words;
}

}  // namespace

TEST(LinksIndexFind, TargetCutToItsBuffer) {
  OpenIndex ix({{std::string(300, 'p'), "a", "{long}"}, {"", "kword1", "{short}"}});
  std::string target;
  EXPECT_EQ(4u, ix.find("long", &target));
  EXPECT_EQ(std::string(259, 'p'), target);
  // A short target, kept as the index loaded, is cut to a smaller buffer
  // too, first and again.
  for (int i = 0; i < 2; ++i) {
    char small[5] = {'X', 'X', 'X', 'X', 'X'};
    EXPECT_EQ(5u, LinksIndex_find(&ix.index, "short", small, 4));
    EXPECT_EQ("#kw", std::string(small));
    EXPECT_EQ('X', small[4]);
  }
  EXPECT_EQ(5u, ix.find("short", &target));
  EXPECT_EQ("#kword1", target);
}

TEST(LinksIndexFind, PhrasesFirstDefinitionsLastMarks) {
  OpenIndex ix({{"", "kword1", "[foo bar]"}, {"", "func1", "{f}"}, {"", "func2", "{f}"},
                {"", "kword2", "[k]"}, {"", "kword3", "[k]"}});
  struct Case {
    const char* text;
    std::size_t length;
    const char* target;
  };
  const Case cases[] = {
      {"foo bar!", 7, "#kword1"},  // the whole phrase
      {"foo!", 0, ""},             // its first word alone is no key
      {"f", 1, "#func1"},          // a braced name keeps its first definition
      {"k", 1, "#kword3"},         // a keyword marked again links to its last mark
  };
  for (const Case& c : cases) {
    std::string target;
    EXPECT_EQ(c.length, ix.find(c.text, &target)) << c.text;
    if (c.length != 0) {
      EXPECT_EQ(c.target, target) << c.text;
    }
  }
}

TEST(LinksIndexFind, EveryKeyOfALargeIndex) {
  // Enough keys for the hash slots to double twice while the index loads.
  std::vector<std::string> words;
  for (int i = 0; i < 5000; ++i) words.push_back("w" + std::to_string(i));
  OpenIndex ix(keywords(words));
  std::string target;
  for (int i = 0; i < 5000; i += 7) {
    EXPECT_EQ(words[i].size(), ix.find(words[i], &target)) << words[i];
    EXPECT_EQ("#kword" + std::to_string(i + 1), target) << words[i];
  }
  EXPECT_EQ(0u, ix.find("w5000", &target));
}

// A search reads as far past its position as the longest key, and a phrase
// may run on over any spacing: only an index of short single words lets the
// search be run ahead with its own window.
TEST(LinksIndexFind, LocalOnlyWithShortWords) {
  struct Case {
    std::vector<std::string> names;
    bool local;
  };
  const Case cases[] = {
      {{"[abc]", "{f}"}, true},
      {{"[" + std::string(127, 'k') + "]"}, true},
      {{"[" + std::string(128, 'k') + "]"}, false},
      {{"[abc]", "[a b]"}, false},
  };
  for (const Case& c : cases) {
    std::vector<LinkEntry> entries;
    for (const std::string& n : c.names) entries.push_back({"", "kword1", n});
    OpenIndex ix(entries);
    EXPECT_EQ(c.local, LinksIndex_isLocal(&ix.index, 128)) << c.names.back();
  }
}

TEST(LinksIndexCapacity, FullBucket) {
  const std::vector<std::string> words = collidingWords(LinksIndex_kBucketKeys + 1);
  ASSERT_EQ(LinksIndex_kBucketKeys + 1, words.size());
  const std::vector<std::string> fit(words.begin(), words.end() - 1);
  Raised r = catchRaise([&] {
    OpenIndex ix(keywords(fit));
    std::string target;
    EXPECT_EQ(5u, ix.find(fit.back(), &target));
    EXPECT_EQ("#kword588", target);
  });
  EXPECT_FALSE(r.raised) << r.msg;
  r = catchRaise([&] { OpenIndex ix(keywords(words)); });
  EXPECT_EQ(ArrX_Err_Full, r.code);
}

TEST(LinksIndexCapacity, PoolLimit) {
  // Each key takes its length and a NUL after the pool's first empty text:
  // 1599 keys of 3999 bytes and one of 3998 fill the 6,400,000 bytes.
  ASSERT_EQ(LinksIndex_kPoolSize, 1 + 1599 * 4000 + 3999);
  std::vector<std::string> words;
  for (int i = 0; i < 1600; ++i) {
    std::string w(i < 1599 ? 3999 : 3998, 'q');
    w[0] = static_cast<char>('a' + i % 26);
    w[1] = static_cast<char>('a' + i / 26 % 26);
    w[2] = static_cast<char>('a' + i / 676);
    words.push_back(w);
  }
  Raised r = catchRaise([&] {
    OpenIndex ix(keywords(words));
    std::string target;
    EXPECT_EQ(3998u, ix.find(words.back(), &target));
  });
  EXPECT_FALSE(r.raised) << r.msg;
  words.back() += 'q';
  r = catchRaise([&] { OpenIndex ix(keywords(words)); });
  EXPECT_EQ(StrX_Err_MemEmpty, r.code);
}

TEST(LinksIndexOpen, OneIndexAtATime) {
  OpenIndex first({{"", "func1", "{Foo}"}});
  LinksIndex second;
  EXPECT_EQ(Errors_Unofficial,
            catchRaise([&] { LinksIndex_open(&second, first.path.c_str()); }).code);
  LinksIndex_close(&first.index);
  // A failed open gives the area back too.
  EXPECT_TRUE(
      catchRaise([&] { LinksIndex_open(&second, first.dir.file("missing.kwf").c_str()); }).raised);
  LinksIndex_open(&second, first.path.c_str());
  char target[StrX_kPathSize];
  EXPECT_EQ(3u, LinksIndex_find(&second, "Foo", target, sizeof target));
}

TEST(LinksFilePage, CutAtCharacterBoundary) {
  const std::string a257(257, 'a');
  const std::string cases[][2] = {
      {a257 + "bc", a257 + "bc"},              // 259 bytes: all of it
      {a257 + "bcd", a257 + "bc"},             // 260: the last byte goes
      {a257 + "b\x95\x5C", a257 + "b"},        // a character across byte 259
      {a257 + "\x95\x5C", a257 + "\x95\x5C"},  // one that ends at byte 259
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0].size());
    LinksFile file;
    LinksFile_setPage(&file, c[0].c_str());
    EXPECT_EQ(c[1], file.page);
  }
}
