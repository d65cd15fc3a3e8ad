// The bracket tracker in the pass loop and the warnings the pipeline prints
// from its error list.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ScanPass.h"
#include "TestFiles.h"

namespace {

std::string warningsOfText(const std::string& text, int32_t* count = nullptr) {
  TempDir dir;
  writeFile(dir.file("a.c"), text);
  return bracketWarningsOf(dir.file("a.c"), count);
}

BracketP_Errors oneEntry(int32_t openLine, int32_t closeLine, char expected, char found) {
  BracketP_Errors e{};
  e.count = 1;
  e.openLine[0] = openLine;
  e.closeLine[0] = closeLine;
  e.expected[0] = expected;
  e.found[0] = found;
  return e;
}

// n nested groups; the innermost opens a brace in both branches, and one
// "}" after them closes it.
std::string nested(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += "#if A\n";
  text += "{\n#else\n{\n#endif\n";
  for (int i = 1; i < n; ++i) text += "#endif\n";
  return text + "}\n";
}

}  // namespace

TEST(BracketPCount, WarningsOfWholeFiles) {
  struct Case {
    const char* what;
    std::string text;
    int32_t count;
    std::string warnings;
  };
  const std::string deep(21, '(');
  const Case cases[] = {
      {"open brace at line 3, brackets in comments and literals",
       "int a;\r\n/* { */ \"{\" '{' '}'\r\nvoid f() {\r\n", 1,
       "括弧 '{' が多すぎる。(line=3)\n"},
      {"( closed by ]", "f(a\n];\n", 2,
       "括弧の対応がおかしい。'('～']'(line=1～2)\n括弧 ']' が多すぎる。(line=2)\n"},
      {"a sixth error is dropped", ")\n)\n)\n)\n)\n)\n", 5,
       "括弧 ')' が多すぎる。(line=1)\n括弧 ')' が多すぎる。(line=2)\n"
       "括弧 ')' が多すぎる。(line=3)\n括弧 ')' が多すぎる。(line=4)\n"
       "括弧 ')' が多すぎる。(line=5)\n"},
      // 0x81 0x7D and 0x81 0x7B: brackets as second bytes.
      {"brackets as trail bytes", "a \x81} b\n{ \x81{ }\n", 0, ""},
      {"a line feed after a stray lead byte ends its line", "a \x81\nb;\n)\n", 1,
       "括弧 ')' が多すぎる。(line=3)\n"},
      {"the lines of a comment", "a \x81\n/* b\nc */\n)\n", 1, "括弧 ')' が多すぎる。(line=4)\n"},
      {"levels past 20 are counted, not recorded", deep + "\n]", 2,
       "括弧 ']' が多すぎる。(line=2)\n括弧 '(' が多すぎる。(line=1)\n"},
      {"level 20 is recorded", deep.substr(1) + "\n]", 3,
       "括弧の対応がおかしい。'('～']'(line=1～2)\n括弧 ']' が多すぎる。(line=2)\n"
       "括弧 '(' が多すぎる。(line=1)\n"},
      // Conditional groups: the depths after a group are those of its first
      // branch; the other branches count from the group's start.
      {"each branch opens a brace that one } closes",
       "void f(int p) {\n#ifndef S4\n  assert(p); {\n#else\n  if (p) {\n#endif\n    p++;\n  }\n}\n",
       0, ""},
      {"the first branch decides", "#if A\n{\n#else\n#endif\n", 1,
       "括弧 '{' が多すぎる。(line=2)\n"},
      {"a \"#\" after code is no directive", "#if A\n{\n#else\nx #endif\n{\n#endif\n}\n", 0, ""},
      {"a \"#\" after code past a window",
       "#if A\n{\n#else\nx" + std::string(600, ' ') + "#endif\n{\n#endif\n}\n", 0, ""},
      {"16 nested groups are followed", nested(16), 0, ""},
      {"a 17th is counted straight through", nested(17), 1, "括弧 '{' が多すぎる。(line=18)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int32_t count = -1;
    EXPECT_EQ(c.warnings, warningsOfText(c.text, &count));
    EXPECT_EQ(c.count, count);
  }
}

// A mismatch is repaired the same way whether or not errors are recorded,
// so that a pass without an error list sees the same brace depth.
TEST(BracketPCount, MismatchRepairedWithoutErrorList) {
  TempDir dir;
  writeFile(dir.file("a.c"), "(}\n{");
  for (bool withList : {true, false}) {
    SCOPED_TRACE(withList);
    ScanPass pass(dir.file("a.c"), withList);
    pass.run([](BLex3_Pos) {});
    EXPECT_EQ(1, pass.s.tracker.braceDepth);
    EXPECT_EQ(0, pass.s.tracker.parenDepth);
    EXPECT_EQ(2, pass.s.tracker.line);
    EXPECT_EQ(withList ? 3 : 0, pass.errors().count);
  }
}

// A message goes in while more than 35 bytes of room are left (50 for a
// mismatch); the buffer is never written past.
TEST(BracketPErrors, FormatRoom) {
  const std::string tooMany = "括弧 ']' が多すぎる。(line=2)\n";
  const std::string mismatch = "括弧の対応がおかしい。'('～']'(line=1～2)\n";
  ASSERT_EQ(30u, tooMany.size());
  ASSERT_EQ(42u, mismatch.size());
  BracketP_Errors two{};
  two.count = 2;
  for (int i = 0; i < 2; ++i) {
    two.openLine[i] = 0;
    two.closeLine[i] = 2;
    two.expected[i] = BracketP_kNoBracket;
    two.found[i] = ']';
  }
  struct Case {
    BracketP_Errors errors;
    std::size_t capacity;
    std::string text;
  };
  const Case cases[] = {
      {oneEntry(0, 2, '_', ']'), 36, tooMany},
      {oneEntry(0, 2, '_', ']'), 35, ""},
      {oneEntry(1, 2, ')', ']'), 51, mismatch},
      {oneEntry(1, 2, ')', ']'), 50, ""},
      {two, 66, tooMany + tooMany},
      {two, 65, tooMany},
      // Longer than the room: cut at the buffer's end.
      {oneEntry(0, 1234567890, '_', ')'), 36, "括弧 ')' が多すぎる。(line=12345678"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.capacity);
    std::vector<char> buf(c.capacity + 8, '#');
    EXPECT_EQ(c.errors.count, BracketP_Errors_format(&c.errors, buf.data(), c.capacity));
    EXPECT_EQ(c.text, std::string(buf.data()));
    for (std::size_t i = c.capacity; i < buf.size(); ++i) ASSERT_EQ('#', buf[i]);
  }
  std::vector<char> guard(4, '#');
  EXPECT_EQ(1, BracketP_Errors_format(&cases[0].errors, guard.data(), 0));
  EXPECT_EQ('#', guard[0]);
}
