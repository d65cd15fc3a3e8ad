// The declaration recognizer in the pass loop: which definitions it reports,
// with which names, in which order and at which positions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScanPass.h"
#include "TestFiles.h"

namespace {

using Events = std::vector<std::string>;

Events declsOfText(const std::string& text, bool atOffsets = false) {
  TempDir dir;
  writeFile(dir.file("a.c"), text);
  return declsOf(dir.file("a.c"), atOffsets);
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
      {"main with argv[]", "int main(int argc, char *argv[])\n{\n  return 0;\n}\n",
       {"7272 main", "7273"}},
      {"nested blocks", "static int *h(int n)\n{\n  if (n) { return 0; }\n  return &n;\n}\nint k;\n",
       {"7272 h", "7273"}},
      {"declarations and initialisers", "int f(void);\nint x = f(1);\nint y[2] = { 1, 2 };\n",
       {}},
      {"comments hide code",
       "/* int f(void) { } */\n// #define X 1\nint g(void) /* { */ { }\n",
       {"7272 g", "7273"}},
      {"double-byte text in a head", "int 表(void);\nint f(void) { }\n", {"7272 f", "7273"}},
      {"a function returning a function pointer",
       "void (*lookup(const char *name))(void) { return 0; }\n", {"7272 lookup", "7273"}},
      {"an attribute before the head",
       "__attribute__((noreturn)) void die(void) { for (;;) { } }\n", {"7272 die", "7273"}},
      {"a structure, union or enumeration as return or parameter type",
       "static struct S *f(struct T *t) { }\nunion U g(void) { }\nenum E h(enum E e) { }\n",
       {"7272 f", "7273", "7272 g", "7273", "7272 h", "7273"}},
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
      {"typedef of two names", "typedef int A, B;\n", {"7278 A", "7279"}},
      {"enumeration", "enum E { A, B = 2 };\n", {"7283 E {A}{B}", "7284"}},
      {"enumeration without tag", "enum { X, Y };\nint z;\n", {}},
      {"members behind comments",
       "enum Color { /* first */ RED, GREEN = 2, // two\n BLUE, };\n",
       {"7283 Color {RED}{GREEN}{BLUE}", "7284"}},
      {"struct, union, class",
       "struct /* c */ S { int a; };\nunion U { int b; };\nclass K { };\n",
       {"7280 S 1", "7281", "7280 U 2", "7281", "7280 K 3", "7281"}},
      {"declarations without body", "struct S;\nstruct S s;\nunion U *u;\n", {}},
      {"nesting inside braces",
       "struct S { struct T { int a; } t; };\nvoid g(void) { struct U { int b; } u; }\n",
       {"7280 S 1", "7281", "7272 g", "7273"}},
      {"keywords only as whole words", "int mystruct;\nstruct{ int a; } s;\nint typedefs;\n",
       {}},
      {"a function-pointer typedef ends at its own \";\"",
       "typedef int (*callback)(void *, int);\nint x;\n", {"7278 callback", "7279"}},
      {"pointer declarators in brackets",
       "typedef void (WINAPI *Proc)(void);\ntypedef int (*table[3])(int);\n",
       {"7278 Proc", "7279", "7278 table", "7279"}},
      {"array, function and macro typedefs",
       "typedef char Name[LEN];\ntypedef int Fn(int a);\ntypedef WIDE(int) Wide;\nint y;\n",
       {"7278 Name", "7279", "7278 Fn", "7279", "7278 Wide", "7279"}},
      {"untagged aggregates name nothing",
       "typedef struct { int a; } S;\n"
       "static const union { char c[4]; int i; } order = { { 1, 0, 0, 0 } };\n",
       {"7278 S", "7279"}},
      {"a base list and an enum class",
       "class D : public B { };\nenum class E : int { A };\n",
       {"7280 D 3", "7281", "7283 E {A}", "7284"}},
  });
}

TEST(CDeclPBlocks, ExternCAndMacros) {
  expectCases({
      {"extern \"C\" block",
       "extern \"C\" {\nint f(void) { return 1; }\ntypedef int T;\n}\nint g(void) { return 2; }\n",
       {"7272 f", "7273", "7278 T", "7279", "7272 g", "7273"}},
      {"extern declarations", "extern int x;\nextern \"C\" int f(void);\nextern int g(void) { }\n",
       {"7272 g", "7273"}},
      {"guarded extern \"C\"",
       "#ifdef __cplusplus\nextern \"C\" {\n#endif\nvoid f(void) { }\n#ifdef __cplusplus\n}\n#endif\n"
       "void g(void) { }\n",
       {"7272 f", "7273", "7272 g", "7273"}},
      {"macros with continuation lines",
       "#include <stdio.h>\n#define A 1\n#define B(x) \\\n  ((x) + \\\n   1)\n#define C\tx\n"
       "#if A\nint y;\n#endif\n",
       {"7275 A", "7276", "7275 B", "7276", "7275 C", "7276"}},
      {"a macro's continuation line is no code",
       "#define M \\\n  int f(void) { return 1; }\nvoid h(void) { }\n",
       {"7275 M", "7276", "7272 h", "7273"}},
      {"a macro at the end of the file", "#define LAST", {"7275 LAST"}},
      {"\"#define\" naming nothing", "#define ", {}},
      {"blanks after the \"#\"", "# define A 1\n#  define B(x) x\nint z;\n",
       {"7275 A", "7276", "7275 B", "7276"}},
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
      {"a head in each branch",
       "#ifdef WIDE\nint f(long v) {\n#else\nint f(int v) {\n#endif\n  return (int)v;\n}\n\n"
       "int g(void) { return 1; }\n#define LIMIT 10\n",
       {"7272 f", "7273", "7272 g", "7273", "7275 LIMIT"}},
      {"#elif and nested groups",
       "#if A\nint f(void) {\n#elif B\nint f(long v) {\n#  ifdef C\n  {\n#  else\n  {\n#  endif\n"
       "#else\nint f(int v) {\n#endif\n  return 0;\n}\nint after(void) { return 1; }\n",
       {"7272 f", "7273", "7272 after", "7273"}},
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

// A line comment of an LF file ends at its line feed: the definition on the
// next line is found.
TEST(CDeclPFunctions, LineCommentInAnLfFile) {
  EXPECT_EQ((Events{"7272 g", "7273"}), declsOfText("// int f(void) {\nint g(void) {\n}\n"));
  EXPECT_EQ((Events{"7272 g", "7273"}),
            declsOfText("// int f(void) {\r\nint g(void) {\r\n}\r\n"));
}

// Starts at the declaration, ends after the head; a typedef's end after
// its ";", a macro's at the next line.
TEST(CDeclPPositions, WhereEventsAreReported) {
  const std::string fn = "int main(void)\n{\n  return 0;\n}\n";
  EXPECT_EQ((Events{"7272 main@0", "7273@" + std::to_string(fn.find('{'))}),
            declsOfText(fn, true));

  const std::string td = "typedef struct tagS { int a; } S;\nint x;\n";
  EXPECT_EQ((Events{"7278 S@0", "7280 tagS 1@8", "7281@" + std::to_string(td.find('{') + 1),
                    "7279@" + std::to_string(td.find(';', td.find('}')) + 1)}),
            declsOfText(td, true));

  const std::string en = "enum E { A, B = 2 };\n";
  EXPECT_EQ((Events{"7283 E {A}{B}@0", "7284@" + std::to_string(en.find('}') + 1)}),
            declsOfText(en, true));

  const std::string mc = "  #define A 1\r\nint x;\r\n";
  EXPECT_EQ((Events{"7275 A@2", "7276@15"}), declsOfText(mc, true));

  const std::string two = "typedef int A, B;\n";
  EXPECT_EQ((Events{"7278 A@0", "7279@17"}), declsOfText(two, true));

  // The next definition starts at its first word, never at the "}" that
  // ends the body before it.
  const std::string blk = "int a(int x)\n{\n  if (x) {\n    x++;\n  }\n}\n\nint b(void)\n{\n}\n";
  EXPECT_EQ((Events{"7272 a@0", "7273@" + std::to_string(blk.find('{')),
                    "7272 b@" + std::to_string(blk.find("int b")),
                    "7273@" + std::to_string(blk.rfind('{'))}),
            declsOfText(blk, true));
}

// Without walking the members (the writing pass has no links writer), the
// enumeration's end comes right after its "{"; the events stay the same.
TEST(CDeclPEnum, EndWithoutMemberWalk) {
  TempDir dir;
  const std::string text = "enum E { A, B };\nvoid f(void) { }\n";
  writeFile(dir.file("a.c"), text);
  ScanPass pass(dir.file("a.c"), false);
  Events events;
  pass.run([&](BLex3_Pos pos) {
    int32_t code = CDeclP_getResult(&pass.s.decl);
    if (code >= 0) events.push_back(std::to_string(code) + "@" + std::to_string(pos.offset));
  });
  EXPECT_EQ((Events{"7283@0", "7284@" + std::to_string(text.find('{') + 1), "7272@17",
                    "7273@" + std::to_string(text.rfind('{'))}),
            events);
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
