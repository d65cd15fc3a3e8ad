// The comment and literal scanners in the pass loop: which spans they find,
// nested in each other, with escapes, double-byte characters, both kinds of
// line ends and delimiters split by the window's end.
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
      {"a /* b */ c", {"C:/* b */"}},
      {"x = \"a/*b\"; /* \"q\" */", {"L:\"a/*b\"", "C:/* \"q\" */"}},
      {"\"//\" x", {"L:\"//\""}},
      {"/* // */ x", {"C:/* // */"}},
      {"'\"' \"it's\"", {"L:'\"'", "L:\"it's\""}},
      {"/* a *//* b */", {"C:/* a */", "C:/* b */"}},
      // A comment right after a literal: the literal's end is passed before
      // the literal scanner has stepped there.
      {"\"abc\"/* adj */", {"L:\"abc\"", "C:/* adj */"}},
      {"'a'// x\r\n", {"L:'a'", "C:// x\r\n"}},
      {"/* open", {"open C:/* open"}},
      {"\"open", {"open L:\"open"}},
  });
}

TEST(CommentPSpans, EscapesInLiterals) {
  expectSpans({
      {"s = \"a\\\"b\"; c", {"L:\"a\\\"b\""}},            // \" keeps it open
      {"\"a\\\\\" /* c */", {"L:\"a\\\\\"", "C:/* c */"}},  // \\ does not
      {"\"a\\\\\\\"b\" x", {"L:\"a\\\\\\\"b\""}},          // \\ then \"
      {"'\\'' '\\\\'", {"L:'\\''", "L:'\\\\'"}},
      // 表 is 0x95 0x5C: its second byte is no backslash.
      {"\"表\" /**/", {"L:\"表\"", "C:/**/"}},
      {"'表' '/'", {"L:'表'", "L:'/'"}},
      {"\"表\\\"x\" y", {"L:\"表\\\"x\""}},  // a real backslash after it still escapes
      {"\"ソ\\\\\" z", {"L:\"ソ\\\\\""}},      // ソ is 0x83 0x5C
  });
}

TEST(CommentPSpans, LineCommentEndsAtCrLfOrLoneLf) {
  expectSpans({
      {"// c \"q\r\nint x; // d\r\n", {"C:// c \"q\r\n", "C:// d\r\n"}},
      {"// c 'q\nx = \"s\"; // d\n", {"C:// c 'q\n", "L:\"s\"", "C:// d\n"}},
      {"// c\r\r\nx", {"C:// c\r\r\n"}},  // the first CR LF
      {"// c\rx \"s\"", {"open C:// c\rx \"s\""}},  // a CR alone ends nothing
      {"// \"\r\n\"a\"", {"C:// \"\r\n", "L:\"a\""}},
      {"/* a\nb */ // c", {"C:/* a\nb */", "open C:// c"}},
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

// A copy brought up to a position tells whether it lies in a comment, and
// where that comment ends, without moving the cursor.
TEST(CommentPCatchUp, CopyTellsTheSpanAtAPosition) {
  TempDir dir;
  const std::string text = "ab /* c */ d /* e */";
  writeFile(dir.file("a.c"), text);
  OpenLexer o(dir.file("a.c"));
  CommentP scanner;
  CommentP_init(&scanner, nullptr);
  CommentP_setCommentTable(&scanner);
  CommentP_setLexer(&scanner, &o.lx);
  CommentP_step(&scanner);  // at offset 0
  struct Case {
    int32_t at;
    bool inside;
    int32_t end;  // where the comment ends, when inside
  };
  const Case cases[] = {{1, false, 0}, {3, true, 10}, {6, true, 10}, {8, true, 10},
                        {9, true, 10}, {10, false, 0}, {11, false, 0}, {16, true, 20}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.at);
    CommentP copy = scanner;
    o.seek(c.at);
    CommentP_catchUp(&copy);
    EXPECT_EQ(c.at, BLex3_getOffset(&o.lx));
    EXPECT_EQ(c.inside ? 1 : 0, copy.inside);
    if (!c.inside) continue;
    BLex3_Pos end;
    CommentP_findEnd(&copy, &end);
    EXPECT_EQ(c.end, end.offset);
    EXPECT_EQ(c.at, BLex3_getOffset(&o.lx));
  }
  EXPECT_EQ(CommentP_OutOfComment, scanner.state);  // the original did not move
  EXPECT_EQ(3, scanner.next.offset);
}
