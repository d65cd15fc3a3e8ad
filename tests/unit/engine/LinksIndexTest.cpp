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
    EXPECT_EQ(c.length ? c.target : "", target);
  }
}

// The bucket of a key by the rule: bytes weighted by position + 1, mod 255.
unsigned bucketOf(const std::string& key) {
  unsigned sum = 0;
  for (std::size_t i = 0; i < key.size(); ++i)
    sum += static_cast<unsigned char>(key[i]) * static_cast<unsigned>(i + 1);
  return sum % 255;
}

// count distinct five-letter words that all fall in one bucket (four
// lower-case letters cannot: their weighted sums differ by less than 255).
std::vector<std::string> collidingWords(std::size_t count) {
  std::vector<std::string> words;
  const unsigned bucket = bucketOf("aaaaa");
  std::string w = "aaaaa";
  for (w[0] = 'a'; w[0] <= 'z' && words.size() < count; ++w[0])
    for (w[1] = 'a'; w[1] <= 'z'; ++w[1])
      for (w[2] = 'a'; w[2] <= 'z'; ++w[2])
        for (w[3] = 'a'; w[3] <= 'z'; ++w[3])
          for (w[4] = 'a'; w[4] <= 'z'; ++w[4])
            if (words.size() < count && bucketOf(w) == bucket) words.push_back(w);
  return words;
}

std::vector<LinkEntry> keywords(const std::vector<std::string>& words) {
  std::vector<LinkEntry> entries;
  for (std::size_t i = 0; i < words.size(); ++i)
    entries.push_back({"", "kword" + std::to_string(i + 1), "[" + words[i] + "]"});
  return entries;
}

// Distinct words of length len, told apart by their first three letters.
std::string longWord(std::size_t i, std::size_t len) {
  std::string w(len, 'q');
  w[0] = static_cast<char>('a' + i % 26);
  w[1] = static_cast<char>('a' + i / 26 % 26);
  w[2] = static_cast<char>('a' + i / 676 % 26);
  return w;
}

}  // namespace

TEST(LinksIndexFind, WhichEntryAKeyLinksTo) {
  OpenIndex ix({
      {"a.htm", "func1", "{Foo}"},
      {"b.htm", "func2", "{Foo}"},  // a braced name keeps its first definition
      {"a.htm", "kword1", "[bar]"},
      {"b.htm", "kword4", "[bar]"},  // a keyword links to its last mark
      {"", "title1", "Intro to [topic] and {more}"},
      {"", "title2", "Outside words only"},
  });
  expectFinds(ix, {
                      {"Foo", 3, "a.htm#func1"},
                      {"Foo(x);", 3, "a.htm#func1"},
                      {"bar", 3, "b.htm#kword4"},
                      {"topic]", 5, "#title1"},
                      {"more", 4, "#title1"},
                      {"Intro", 0, ""},
                      {"and", 0, ""},
                      {"Outside", 0, ""},
                      {"Foobar", 0, ""},  // the word at the text is Foobar
                      {"foo", 0, ""},     // keys compare exactly
                      {" Foo", 0, ""},    // the text must begin with the word
                  });
}

TEST(LinksIndexFind, PhrasesLongestFirst) {
  OpenIndex ix({
      {"", "kword1", "[two words]"},
      {"", "kword2", "[a b c]"},
      {"", "kword3", "[a b]"},
      {"", "kword4", "[b]"},
      {"", "kword5", "[\x8C\x9F\x8D\xF5]"},  // a word of two double-byte characters
      {"", "kword6", "[x1 y]"},
  });
  expectFinds(ix, {
                      {"two words here", 9, "#kword1"},
                      {"two  words", 10, "#kword1"},  // the link covers the text's bytes
                      {"two", 0, ""},                 // the first word alone is no key
                      {"two things", 0, ""},
                      {"a b c d", 5, "#kword2"},
                      {"a b x", 3, "#kword3"},
                      {"a", 0, ""},
                      {"b c", 1, "#kword4"},  // a later word of a phrase is no key
                      {"\x8C\x9F\x8D\xF5\x82\xB7\x82\xE9", 4, "#kword5"},
                      {"\x8C\x9F", 0, ""},
                      {"x1 y", 4, "#kword6"},
                  });
}

TEST(LinksIndexFind, BracesAndBracketsAroundSomeWords) {
  OpenIndex ix({
      {"", "kword1", "[first second] third"},
      {"", "func1", "{Name}"},
      {"", "kword2", "[Name tail]"},  // Name now also starts a phrase
      {"", "kword3", "[Solo rest]"},
      {"", "func2", "{Solo}"},  // registered alone after it started a phrase
  });
  expectFinds(ix, {
                      {"first second", 12, "#kword1"},
                      {"third", 0, ""},
                      {"Name", 4, "#func1"},
                      {"Name tail", 9, "#kword2"},
                      {"Solo", 4, "#func2"},
                      {"Solo rest", 9, "#kword3"},
                  });
}

TEST(LinksIndexFind, TargetMadeAbsoluteAgainstBase) {
  const char sep = nativeSep();
  const std::string base = sep == '/' ? "/site/sub" : "c:\\site\\sub";
  const std::string site = sep == '/' ? "/site/" : "c:\\site\\";
  {
    OpenIndex ix(
        {
            {"", "func1", "{here}"},
            {"p.htm", "func2", "{page}"},
            {"./p/../q.htm", "a", "{dots}"},
        },
        ".");
    expectFinds(ix, {
                        {"here", 4, "#func1"},
                        {"page", 4, "p.htm#func2"},
                        {"dots", 4, "q.htm#a"},
                    });
  }
  OpenIndex ix(
      {
          {"", "func1", "{here}"},
          {"../x.htm", "a", "{up}"},
          {"http://h/x.htm", "a", "{url}"},
      },
      base.c_str());
  std::string target;
  EXPECT_EQ(4u, ix.find("here", &target));
  EXPECT_EQ(base + sep + "#func1", target);
  EXPECT_EQ(2u, ix.find("up", &target));
  EXPECT_EQ(site + "x.htm#a", target);
  EXPECT_EQ(3u, ix.find("url", &target));
  EXPECT_EQ("http://h/x.htm#a", target);
}

TEST(LinksIndexFind, TargetCutToItsBuffer) {
  const std::string page(300, 'p');
  OpenIndex ix({{page, "a", "{long}"}});
  char target[StrX_kPathSize];
  EXPECT_EQ(4u, LinksIndex_find(&ix.index, "long", target, sizeof target));
  EXPECT_EQ(std::string(259, 'p'), target);
}

TEST(LinksIndexCapacity, FullBucketRaises) {
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
  EXPECT_TRUE(r.raised);
  EXPECT_EQ(ArrX_Err_Full, r.code);
}

TEST(LinksIndexCapacity, PoolLimit) {
  // Keys take their length and a NUL, after the pool's first empty text:
  // 1599 keys of 3999 bytes and one of 3998 fill the 6,400,000 bytes.
  const std::size_t keys = 1599;
  std::vector<std::string> words;
  for (std::size_t i = 0; i < keys; ++i) words.push_back(longWord(i, 3999));
  ASSERT_EQ(LinksIndex_kPoolSize - 1, keys * 4000 + 3999);

  words.push_back(longWord(keys, 3998));
  Raised r = catchRaise([&] {
    OpenIndex ix(keywords(words));
    std::string target;
    EXPECT_EQ(3998u, ix.find(words.back(), &target));
  });
  EXPECT_FALSE(r.raised) << r.msg;

  words.back() = longWord(keys, 3999);
  r = catchRaise([&] { OpenIndex ix(keywords(words)); });
  EXPECT_TRUE(r.raised);
  EXPECT_EQ(StrX_Err_MemEmpty, r.code);
}

TEST(LinksIndexOpen, OneIndexAtATime) {
  TempDir dir;
  const std::string path = dir.file("_out.kwf");
  writeLinks(path, {{"", "func1", "{Foo}"}});
  LinksIndex first;
  LinksIndex second;
  LinksIndex_open(&first, path.c_str());
  Raised r = catchRaise([&] { LinksIndex_open(&second, path.c_str()); });
  EXPECT_EQ(Errors_Unofficial, r.code);
  LinksIndex_close(&first);

  // A failed open leaves the area free.
  r = catchRaise([&] { LinksIndex_open(&second, dir.file("missing.kwf").c_str()); });
  EXPECT_TRUE(r.raised);
  LinksIndex_open(&second, path.c_str());
  char target[StrX_kPathSize];
  EXPECT_EQ(3u, LinksIndex_find(&second, "Foo", target, sizeof target));
  LinksIndex_close(&second);
  LinksIndex_close(&second);
}
