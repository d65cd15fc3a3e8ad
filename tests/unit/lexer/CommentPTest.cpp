// The comment and literal scanners in the pass loop: which spans they find,
// nested in each other, with escapes, double-byte characters, line ends and
// delimiters split by the window's end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScanPass.h"
#include "TestFiles.h"

namespace {

using Spans = std::vector<std::string>;

Spans spansOfText(const std::string& text) {
  TempDir dir;
  writeFile(dir.file("a.c"), text);
  return spansOf(dir.file("a.c"));
}

struct Case {
  std::string text;
  Spans spans;
};

void expectSpans(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.spans, spansOfText(c.text));
  }
}

}  // namespace

TEST(CommentPSpans, CommentsAndLiteralsHideEachOther) {
  expectSpans({
      {"x = \"a/*b\"; /* \"q\" */", {"L:\"a/*b\"", "C:/* \"q\" */"}},
      // A comment right after a literal: the literal's end is passed before
      // the literal scanner has stepped there.
      {"\"abc\"/* adj */", {"L:\"abc\"", "C:/* adj */"}},
      // A line comment ends at the first CR LF or a lone LF; a CR alone
      // ends nothing.
      {"// c\r\r\nx", {"C:// c\r\r\n"}},
      {"// c\rx \"s\"", {"open C:// c\rx \"s\""}},
      {"// c 'q\nx = \"s\";", {"C:// c 'q\n", "L:\"s\""}},
      {"/* open", {"open C:/* open"}},
      {"\"open", {"open L:\"open"}},
  });
}

TEST(CommentPSpans, EscapesInLiterals) {
  expectSpans({
      {"s = \"a\\\"b\"; c", {"L:\"a\\\"b\""}},            // \" keeps it open
      {"\"a\\\\\" /* c */", {"L:\"a\\\\\"", "C:/* c */"}},  // \\ does not
      // 表 is 0x95 0x5C: its second byte is no backslash.
      {"\"表\" /**/", {"L:\"表\"", "C:/**/"}},
      {"\"表\\\"x\" y", {"L:\"表\\\"x\""}},  // a real backslash after it still escapes
      {"\"ソ\\\\\" z", {"L:\"ソ\\\\\""}},      // ソ is 0x83 0x5C
  });
}

// Delimiters and escapes that the window's end splits, at every distance
// from the first two block boundaries.
TEST(CommentPSpans, DelimitersAcrossTheWindowEnd) {
  struct Pattern {
    std::string head, tail;  // a run of x's goes between
    std::string first, second;  // the two spans: head + run + tail, and a short one
    std::string after;
  };
  const Pattern patterns[] = {
      {"\"", "\\\"abc\"", "L:", "C:/* c */", " /* c */"},
      {"\"", "\\\\\"", "L:", "C:/* c */", " /* c */"},
      {"/*", "*/", "C:", "L:\"s\"", " \"s\""},
      {"//", "\r\n", "C:", "L:\"s\"", "\"s\""},
      {"//", "\n", "C:", "L:\"s\"", "\"s\""},
      {"\"", "表\"", "L:", "C:/**/", " /**/"},
      {"'", "\\''", "L:", "L:\"s\"", "\"s\""},
  };
  for (const Pattern& p : patterns) {
    for (std::size_t run : {240u, 250u, 500u, 760u}) {
      for (std::size_t extra = 0; extra < 16; ++extra) {
        std::string span = p.head + std::string(run + extra, 'x') + p.tail;
        SCOPED_TRACE(p.head + "..." + p.tail + " with " + std::to_string(run + extra));
        Spans expected = {p.first + span, p.second};
        EXPECT_EQ(expected, spansOfText(span + p.after));
      }
    }
  }
  for (std::size_t lead = 505; lead < 515; ++lead) {
    SCOPED_TRACE(lead);
    EXPECT_EQ(Spans{"C:/* c */"}, spansOfText(std::string(lead, 'x') + "/* c */"));
  }
}
