// The links file loaded back: which words of the names become keys, which
// entry a key links to, phrases, targets, and the fixed capacities.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LinksFixture.h"
#include "Raise.h"

namespace {

struct FindCase {
  const char* text;
  std::size_t length;  // 0: no link
  const char* target;
};

void expectFinds(OpenIndex& ix, const std::vector<FindCase>& cases) {
  for (const FindCase& c : cases) {
    SCOPED_TRACE(c.text);
    std::string target;
    EXPECT_EQ(c.length, ix.find(c.text, &target));
    EXPECT_EQ(c.target, target);
  }
}

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

std::vector<LinkEntry> keywords(const std::vector<std::string>& words) {
  std::vector<LinkEntry> entries;
  for (std::size_t i = 0; i < words.size(); ++i)
    entries.push_back({"", "kword" + std::to_string(i + 1), "[" + words[i] + "]"});
  return entries;
}

}  // namespace

TEST(LinksIndexFind, WordsOfNames) {
  OpenIndex ix({
      {"a.htm", "func1", "{Foo}"},
      {"b.htm", "func2", "{Foo}"},  // a braced name keeps its first definition
      {"a.htm", "kword1", "[bar]"},
      {"b.htm", "kword4", "[bar]"},  // a keyword links to its last mark
      {"", "title1", "Intro to [topic] and {more}"},
      {"", "kword5", "[Solo rest]"},
      {"", "func3", "{Solo}"},  // alone, after it only started a phrase
  });
  expectFinds(ix, {
                      {"Foo(x);", 3, "a.htm#func1"},
                      {"bar", 3, "b.htm#kword4"},
                      {"topic]", 5, "#title1"},
                      {"more", 4, "#title1"},
                      {"Intro", 0, ""},
                      {"and", 0, ""},
                      {"Foobar", 0, ""},  // the word at the text is Foobar
                      {"foo", 0, ""},
                      {" Foo", 0, ""},  // the text must begin with the word
                      {"Solo", 4, "#func3"},
                      {"Solo rest", 9, "#kword5"},
                  });
}

TEST(LinksIndexFind, PhrasesLongestFirst) {
  OpenIndex ix({
      {"", "kword1", "[two words] more"},
      {"", "kword2", "[a b c]"},
      {"", "kword3", "[a b]"},
      {"", "kword4", "[b]"},
      {"", "kword5", "[\x8C\x9F\x8D\xF5]"},  // two double-byte characters
  });
  expectFinds(ix, {
                      {"two words here", 9, "#kword1"},
                      {"two  words", 10, "#kword1"},  // the link covers the text's bytes
                      {"two", 0, ""},                 // the first word alone is no key
                      {"more", 0, ""},
                      {"a b c d", 5, "#kword2"},
                      {"a b x", 3, "#kword3"},
                      {"a", 0, ""},
                      {"b c", 1, "#kword4"},  // a later word of a phrase is no key
                      {"\x8C\x9F\x8D\xF5\x82\xB7", 4, "#kword5"},
                      {"\x8C\x9F", 0, ""},
                  });
}

TEST(LinksIndexFind, TargetMadeAbsoluteAgainstBase) {
  const bool posix = nativeSep() == '/';
  {
    OpenIndex ix({{"", "func1", "{here}"}, {"./p/../q.htm", "a", "{dots}"}}, ".");
    expectFinds(ix, {{"here", 4, "#func1"}, {"dots", 4, "q.htm#a"}});
  }
  OpenIndex ix({{"", "func1", "{here}"}, {"../x.htm", "a", "{up}"}, {"http://h/x", "a", "{url}"}},
               posix ? "/site/sub" : "c:\\site\\sub");
  expectFinds(ix, {
                      {"here", 4, posix ? "/site/sub/#func1" : "c:\\site\\sub\\#func1"},
                      {"up", 2, posix ? "/site/x.htm#a" : "c:\\site\\x.htm#a"},
                      {"url", 3, "http://h/x#a"},
                  });
}

TEST(LinksIndexFind, TargetCutToItsBuffer) {
  OpenIndex ix({{std::string(300, 'p'), "a", "{long}"}});
  std::string target;
  EXPECT_EQ(4u, ix.find("long", &target));
  EXPECT_EQ(std::string(259, 'p'), target);
}

TEST(LinksIndexCapacity, FullBucket) {
  const std::vector<std::string> words = collidingWords(LinksIndex_kBucketKeys + 1);
  ASSERT_EQ(LinksIndex_kBucketKeys + 1, words.size());
  const std::vector<std::string> fit(words.begin(), words.end() - 1);
  Raised r = catchRaise([&] {
    OpenIndex ix(keywords(fit));
    expectFinds(ix, {{fit.back().c_str(), 5, "#kword588"}});
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
