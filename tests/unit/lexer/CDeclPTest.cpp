// The declaration recognizer in the pass loop: which definitions it reports,
// with which names and in which order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScanPass.h"
#include "TestFiles.h"

namespace {

using Events = std::vector<std::string>;

Events declsOfText(const std::string& text) {
  TempDir dir;
  writeFile(dir.file("a.c"), text);
  return declsOf(dir.file("a.c"));
}

struct Case {
  const char* what;
  std::string text;
  Events events;
};

void expectCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.events, declsOfText(c.text));
    SCOPED_TRACE("with CR LF");
    EXPECT_EQ(c.events, declsOfText(crlf(c.text)));
  }
}

}  // namespace

TEST(CDeclPFunctions, HeadsAndBodies) {
  expectCases({
      {"comments hide code",
       "/* int f(void) { } */\n// #define X 1\nint g(void) /* { */ { }\n",
       {"7272 g", "7273"}},
      {"double-byte text in a head", "int 表(void);\nint f(void) { }\n", {"7272 f", "7273"}},
      {"keywords name nothing", "if (x) { }\nstatic void (x)\n{ }\n", {}},
      {"a parameter list that differs by branch",
       "static int f(\n  int a\n#ifdef B\n  , int b\n#endif\n){ return a; }\n",
       {"7272 f", "7273"}},
  });
}

TEST(CDeclPTypes, TypedefsAggregatesEnumerations) {
  expectCases({
      {"typedef struct", "typedef struct tagS { int a; } S;\n",
       {"7278 S", "7280 tagS 1", "7281", "7279"}},
      {"declarations without body", "struct S;\nstruct S s;\nunion U *u;\n", {}},
      {"keywords only as whole words", "int mystruct;\nstruct{ int a; } s;\nint typedefs;\n",
       {}},
  });
}

TEST(CDeclPBlocks, ExternCAndMacros) {
  expectCases({
      {"guarded extern \"C\"",
       "#ifdef __cplusplus\nextern \"C\" {\n#endif\nvoid f(void) { }\n#ifdef __cplusplus\n}\n#endif\n"
       "void g(void) { }\n",
       {"7272 f", "7273", "7272 g", "7273"}},
      {"macros with continuation lines",
       "#include <stdio.h>\n#define A 1\n#define B(x) \\\n  ((x) + \\\n   1)\n#define C\tx\n"
       "#if A\nint y;\n#endif\n",
       {"7275 A", "7276", "7275 B", "7276", "7275 C", "7276"}},
      {"\"#define\" naming nothing", "#define ", {}},
      {"a keyword is no macro name", "#define inline __inline\n#define X\nint z;\n",
       {"7275 X", "7276"}},
      {"a name only on the directive's line", "#define キー 1\n#define\nint g(void) { }\n",
       {"7272 g", "7273"}},
  });
}

// Braces follow the first branch of a conditional group; the other branches
// are read as well, from the depth where the group began.
TEST(CDeclPBlocks, ConditionalGroups) {
  expectCases({
      {"a group inside a body",
       "int g(int x)\n{\n#if A\n  if (x) {\n#else\n  if (!x) {\n#endif\n    x++;\n  }\n"
       "  return x;\n}\nint h(void) { return 0; }\n",
       {"7272 g", "7273", "7272 h", "7273"}},
      {"an #else branch that holds a whole function",
       "#if A\nint f(void) { return 1; }\n#else\nint h(int x)\n{\n  if (x) { x++; }\n"
       "  return x;\n}\n#endif\nint k(void) { return 0; }\n",
       {"7272 f", "7273", "7272 h", "7273", "7272 k", "7273"}},
  });
}

TEST(CDeclPEnum, MemberNamesAreCutToTheBuffer) {
  TempDir dir;
  writeFile(dir.file("a.c"), "enum E { LONGNAME, X };\n");
  ScanPass pass(dir.file("a.c"));
  std::vector<std::string> members;
  pass.run([&](BLex3_Pos) {
    if (CDeclP_getResult(&pass.s.decl) != CDeclP_EnumStart) return;
    char small[5];
    while (CDeclP_nextEnumMember(&pass.s.decl, small, sizeof small)) members.push_back(small);
    EXPECT_STREQ("", small);
  });
  EXPECT_EQ((std::vector<std::string>{"LONG", "X"}), members);
}
