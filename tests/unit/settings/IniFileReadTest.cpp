// The settings reader: sections, attributes, value lists, free sections,
// positions, and every failure with its code and message.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "IniFileFixture.h"
#include "Raise.h"

namespace {

// A [main] section as a project file begins, lines ended by eol.
std::string mainSection(const std::string& eol, const std::string& app = "Scrivolt",
                        const std::string& version = "103") {
  return "[main] " + eol + "Application = " + app + eol + "Version = " + version + eol +
         "Index = 1" + eol + " " + eol + "[files] " + eol + "Folder = src" + eol +
         "File = a.c" + eol + " " + eol;
}

std::string badAttr(const std::string& name, const std::string& cut, const std::string& path) {
  return "属性名が異なる（アプリ=" + name + ", ファイル=" + cut + " in " + path + "）";
}

}  // namespace

TEST(IniFileRead, CrLfAndLfFilesReadAlike) {
  for (const char* eol : {"\r\n", "\n"}) {
    SCOPED_TRACE(std::string(eol).size());
    ReadFixture f(mainSection(eol));
    bool index = false;
    char key[16], value[16];
    IniFile_Read_setSection(&f.r, "main");
    IniFile_Read_checkApp(&f.r, "Scrivolt", 103, 103);
    IniFile_Read_attr(&f.r, "Index", "b", &index);
    EXPECT_TRUE(index);
    IniFile_Read_setSection(&f.r, "files");
    IniFile_Pos folder = IniFile_Read_next(&f.r, key, sizeof key, "s", value);
    EXPECT_STREQ("Folder", key);
    EXPECT_STREQ("src", value);  // no CR kept
    EXPECT_GE(IniFile_Read_next(&f.r, key, sizeof key, "s", value), 0);
    EXPECT_STREQ("a.c", value);
    EXPECT_EQ(-1, IniFile_Read_next(&f.r, key, sizeof key, "s", value));
    IniFile_Read_attrAt(&f.r, folder, "s", value);
    EXPECT_STREQ("src", value);
  }
}

TEST(IniFileRead, AttributeNameFollowedBySpaceEqualsOrColon) {
  for (const char* line : {"Index=1", "Index = 1", "Index: 1", "   Index 1", "\tIndex=1"}) {
    SCOPED_TRACE(line);
    ReadFixture f(std::string(line) + "\r\n");
    int32_t v = 0;
    IniFile_Read_attr(&f.r, "Index", "i", &v);
    EXPECT_EQ(1, v);
  }
}

TEST(IniFileRead, WrongAttributeNameIsReportedWithTheCutLine) {
  struct Case {
    const char* bytes;
    const char* name;
    const char* cut;
  };
  const Case cases[] = {
      {"Indexes = 1\r\n", "Index", "Index"},
      {"  Applicaton = X\r\n", "Application", "Applicaton "},      // misspelt
      {"Version = 103\r\n", "Application", "Version = 1"},         // out of order
      {" \r\n[files] \r\n", "Title", ""},                         // a blank line is no attribute
      {"Ix\r\n", "Index", "Ix"},
      {"ab表c = 1\r\n", "abc", "ab"},                               // no half character
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    ReadFixture f(c.bytes);
    Raised r = catchRaise([&] { IniFile_Read_attr(&f.r, c.name, "-"); });
    EXPECT_EQ(IniFile_Err_BadAttr, r.code);
    EXPECT_EQ(badAttr(c.name, c.cut, f.path), r.msg);
  }
}

TEST(IniFileRead, MissingAttributeAtTheEnd) {
  ReadFixture f("[main] \r\nApplication = Scrivolt\r\n\r\n");
  IniFile_Read_setSection(&f.r, "main");
  IniFile_Read_attr(&f.r, "Application", "-");
  Raised r = catchRaise([&] { IniFile_Read_attr(&f.r, "Version", "-"); });
  EXPECT_EQ(IniFile_Err_FewAttr, r.code);
  EXPECT_EQ("属性が少ない", r.msg);
}

TEST(IniFileRead, LastLineWithoutLineEndIsRead) {
  ReadFixture f("[main]\r\nTitle = last");
  char title[16];
  IniFile_Read_setSection(&f.r, "main");
  EXPECT_EQ(1, IniFile_Read_countAttr(&f.r, "Title"));
  IniFile_Read_attr(&f.r, "Title", "s", title);
  EXPECT_STREQ("last", title);
  ReadFixture g("[files]\nFile = a.c");
  char key[8];
  IniFile_Read_setSection(&g.r, "files");
  EXPECT_EQ(8, IniFile_Read_next(&g.r, key, sizeof key, "s", title));
  EXPECT_STREQ("a.c", title);
  ReadFixture h("[a] \r\n[links]");
  EXPECT_EQ(13, IniFile_Read_findSection(&h.r, "links", false));
}

TEST(IniFileRead, ApplicationAndVersionChecked) {
  struct Case {
    const char* app;
    const char* version;
    int32_t code;
    const char* msg;
  };
  const Case cases[] = {
      {"Scrivolt", "103", 0, ""},
      {"Other", "103", IniFile_Err_OtherApp, "アプリケーションが異なります （file:Other, app:Scrivolt）"},
      {"scrivolt", "103", IniFile_Err_OtherApp,
       "アプリケーションが異なります （file:scrivolt, app:Scrivolt）"},
      {"Scrivolt", "102", IniFile_Err_OtherVer,
       "アプリが対応していない、新しいバージョンのファイルです （file:102, app:103～103）"},
      {"Scrivolt", "104", IniFile_Err_OtherVer,
       "アプリが対応していない、新しいバージョンのファイルです （file:104, app:103～103）"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.app) + " " + c.version);
    ReadFixture f(mainSection("\r\n", c.app, c.version));
    IniFile_Read_setStrMax(&f.r, 4096);  // the name's own buffer still holds
    Raised r = catchRaise([&] {
      IniFile_Read_setSection(&f.r, "main");
      IniFile_Read_checkApp(&f.r, "Scrivolt", 103, 103);
    });
    EXPECT_EQ(c.code, r.code);
    EXPECT_EQ(c.msg, r.msg);
    EXPECT_EQ(4096u, f.r.strMax);
  }
}

TEST(IniFileRead, SetSectionFailures) {
  struct Case {
    const char* bytes;
    int32_t code;
    const char* msg;
  };
  const Case cases[] = {
      {"Application = Scrivolt\r\n", IniFile_Err_BadFormat,
       "フォーマットがおかしい in IniFile_Read_setSection (main)"},
      {"[main\r\n", IniFile_Err_BadFormat, "フォーマットがおかしい in IniFile_Read_setSection (main)"},
      {"\r\n  \r\n[files] \r\n", IniFile_NotFoundSection, "セクション名が期待したものと異なる (main)"},
      {"[Main] \r\n", IniFile_NotFoundSection, "セクション名が期待したものと異なる (main)"},
      {"[main2]\r\n", IniFile_NotFoundSection, "セクション名が期待したものと異なる (main)"},
      {"", FileX_Err_EOF, "EOF in IniFile_Read_setSection"},
      {"\r\n \r\n\t\n", FileX_Err_EOF, "EOF in IniFile_Read_setSection"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    ReadFixture f(c.bytes);
    Raised r = catchRaise([&] { IniFile_Read_setSection(&f.r, "main"); });
    EXPECT_EQ(c.code, r.code);
    EXPECT_EQ(c.msg, r.msg);
  }
}

TEST(IniFileRead, FindSectionWithAndWithoutWrap) {
  const std::string bytes = "[a] \r\nx = 1\r\n \r\n[b] \r\ny = 2\r\n \r\n";
  ReadFixture f(bytes);
  EXPECT_EQ(22, IniFile_Read_findSection(&f.r, "b", false));
  EXPECT_EQ(6, IniFile_Read_findSection(&f.r, "a", true));
  int32_t x = 0;
  IniFile_Read_attr(&f.r, "x", "i", &x);
  EXPECT_EQ(1, x);
  Raised r = catchRaise([&] { IniFile_Read_findSection(&f.r, "a", false); });
  EXPECT_EQ(IniFile_NotFoundSection, r.code);
  EXPECT_EQ("セクション a が見つかりません", r.msg);
  Raised twice = catchRaise([&] { IniFile_Read_findSection(&f.r, "c", true); });
  EXPECT_EQ("セクション c が見つかりません", twice.msg);
  // " [b]" is not in the first column
  ReadFixture g(" [b] \r\n");
  EXPECT_EQ(IniFile_NotFoundSection, catchRaise([&] { IniFile_Read_findSection(&g.r, "b", true); }).code);
}

TEST(IniFileRead, NextStopsAtTheFollowingHeaderAndLeavesIt) {
  ReadFixture f("[files] \r\nFolder = a\r\n  key only  \r\n\r\n \r\n[links] \r\nA = x\r\n");
  char key[8], value[8];
  IniFile_Read_setSection(&f.r, "files");
  EXPECT_EQ(10, IniFile_Read_next(&f.r, key, sizeof key, "s", value));
  EXPECT_EQ(22, IniFile_Read_next(&f.r, key, sizeof key, "s", value));
  EXPECT_STREQ("key onl", key);  // cut to its buffer
  EXPECT_STREQ("", value);
  EXPECT_EQ(-1, IniFile_Read_next(&f.r, key, sizeof key, "s", value));
  IniFile_Read_setSection(&f.r, "links");
  IniFile_Read_attr(&f.r, "A", "s", value);
  EXPECT_STREQ("x", value);
  EXPECT_EQ(-1, IniFile_Read_next(&f.r, key, sizeof key, "s", value));
}

TEST(IniFileRead, CountAttrCountsEverySpellingOfTheName) {
  ReadFixture f("[links] \r\nA = 1\r\nA=2\r\n  A: 3\r\nAB = 4\r\nA = 5\r\n");
  IniFile_Read_setSection(&f.r, "links");
  EXPECT_EQ(3, IniFile_Read_countAttr(&f.r, "A"));
  EXPECT_EQ(0, IniFile_Read_countAttr(&f.r, "B"));
  int32_t first = 0;
  IniFile_Read_attr(&f.r, "A", "i", &first);  // counting moved nothing
  EXPECT_EQ(1, first);
}

TEST(IniFileRead, AttrAtReadsARememberedLineAgain) {
  ReadFixture f("[links] \r\n\r\nA = {a}, , one.htm#f1\r\nA = \"{b}\", x, \"two, three\"\r\n", 4096);
  IniFile_Read_setSection(&f.r, "links");
  char name[16], target[16];
  IniFile_Pos first = IniFile_Read_attr(&f.r, "A", "s", name);
  IniFile_Pos second = IniFile_Read_attr(&f.r, "A", "s", name);
  EXPECT_EQ(10, first);  // before the empty line
  EXPECT_EQ(35, second);
  EXPECT_STREQ("{b}", name);
  IniFile_Read_setStrMax(&f.r, sizeof target);
  IniFile_Read_attrAt(&f.r, first, "--s", target);
  EXPECT_STREQ("one.htm#f1", target);
  IniFile_Read_attrAt(&f.r, second, "--s", target);
  EXPECT_STREQ("two, three", target);
  IniFile_Read_attrAt(&f.r, first, "s", name);
  EXPECT_STREQ("{a}", name);
  Raised r = catchRaise([&] { IniFile_Read_attrAt(&f.r, 70, "s", name); });
  EXPECT_EQ(IniFile_Err_FewAttr, r.code);
}

// The reader takes the file in chunks of IniFile_kReadChunk bytes: lines
// that straddle a chunk's end (also a CR LF split by it, and a lone CR as a
// chunk's last byte) read as anywhere else, and remembered lines in earlier
// and later chunks are read again in any order.
TEST(IniFileRead, LinesAcrossChunksAndRemembered) {
  const std::size_t chunk = IniFile_kReadChunk;
  std::string text = "[links] \r\n";
  std::vector<std::string> values;
  auto add = [&](const std::string& value) {
    values.push_back(value);
    text += "A = " + value + "\r\n";
  };
  // Pads with lines of 50 bytes ("A = ", 44 value bytes, CR LF) and one
  // shorter line, so that the next line begins `before` bytes before `at`.
  auto padTo = [&](std::size_t at, std::size_t before) {
    while (text.size() + 50 + 7 + before <= at)
      add(std::string(44, static_cast<char>('a' + values.size() % 26)));
    add(std::string(at - before - text.size() - 6, 'p'));
  };
  padTo(chunk, 16);
  add("cr-lf-split");  // "A = cr-lf-split\r" ends at the chunk's end; LF starts the next
  padTo(2 * chunk, 9);
  text += "A = lone\r";  // a CR in the text as the chunk's last byte
  values.push_back("lone\rx");
  text += "x\r\n";
  padTo(3 * chunk + 100, 0);
  ASSERT_EQ(3 * chunk + 100, text.size());
  ASSERT_EQ('\r', text[chunk - 1]);
  ASSERT_EQ('\n', text[chunk]);
  ASSERT_EQ('\r', text[2 * chunk - 1]);
  ASSERT_EQ('x', text[2 * chunk]);

  ReadFixture f(text, 4096);
  IniFile_Read_setSection(&f.r, "links");
  char value[64];
  IniFile_Read_setStrMax(&f.r, sizeof value);
  std::vector<IniFile_Pos> at;
  for (const std::string& v : values) {
    SCOPED_TRACE(v);
    at.push_back(IniFile_Read_attr(&f.r, "A", "s", value));
    EXPECT_EQ(v, value);
  }
  // Back and forth between the chunks.
  for (std::size_t k = 0; k < values.size(); ++k) {
    const std::size_t i = (k * 37) % values.size();
    SCOPED_TRACE(values[i]);
    IniFile_Read_attrAt(&f.r, at[i], "s", value);
    EXPECT_EQ(values[i], value);
  }
}

TEST(IniFileRead, LongLinesAreReadInPieces) {
  // 8 bytes of buffer: 7 bytes a piece; a CR LF counts as one byte.
  ReadFixture f("A = 123456789\r\nB = 123\r\nC = 1\r\n", 8);
  char v[8];
  EXPECT_EQ(0, IniFile_Read_attr(&f.r, "A", "s", v));
  EXPECT_STREQ("123", v);
  Raised r = catchRaise([&] { IniFile_Read_attr(&f.r, "A", "s", v); });
  EXPECT_EQ(IniFile_Err_BadAttr, r.code);
  EXPECT_EQ(badAttr("A", "4", f.path), r.msg);
  EXPECT_EQ(15, IniFile_Read_attr(&f.r, "B", "s", v));
  EXPECT_STREQ("123", v);  // its line end is read as an empty piece of its own
  EXPECT_EQ(22, IniFile_Read_attr(&f.r, "C", "s", v));
  EXPECT_STREQ("1", v);
}

TEST(IniFileRead, ValueListFields) {
  struct Case {
    const char* list;
    const char* a;
    const char* b;
  };
  const Case cases[] = {
      {"x, y", "x", "y"},
      {"  x  ,  y  ", "x", "y"},
      {", y", "", "y"},
      {"x,", "x", ""},
      {"", "", ""},
      {"\"a\"\"b\" junk, c", "a\"b", "c"},
      {"\"a, b\",c", "a, b", "c"},
      {"\"open, c", "open, c", ""},
      {"\"\", c", "", "c"},
      {"表, 示", "表", "示"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list);
    ReadFixture f(std::string("V = ") + c.list + "\r\n");
    char a[16] = "?", b[16] = "?";
    IniFile_Read_attr(&f.r, "V", "ss", a, b);
    EXPECT_STREQ(c.a, a);
    EXPECT_STREQ(c.b, b);
  }
}

TEST(IniFileRead, TruthValuesAndNumbers) {
  struct Case {
    const char* field;
    bool b;
    int32_t i;
  };
  const Case cases[] = {
      {"0", false, 0},       {"00", false, 0},     {"0abc", false, 0},  {"1", true, 1},
      {"2", true, 2},        {"yes", true, 0},     {"no", true, 0},     {"", false, 0},
      {"-12", true, -12},    {"+7", true, 7},      {"12abc", true, 12}, {"0x1F", false, 0},
      {"99999999999", true, 2147483647},           {"-99999999999", true, -2147483647 - 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    ReadFixture f(std::string("V = ") + c.field + ", " + c.field + "\r\n");
    bool b = !c.b;
    int32_t i = 5;
    IniFile_Read_attr(&f.r, "V", "bi", &b, &i);
    EXPECT_EQ(c.b, b);
    EXPECT_EQ(c.i, i);
  }
}

TEST(IniFileRead, LettersLeftOverAndEmptyFields) {
  ReadFixture f("V = 5, , \r\nW = 5\r\n");
  int32_t i = 1, keepI = 9, keepI2 = 8;
  char s[8] = "?", keepS[8] = "keep";
  bool b = true;
  std::time_t t = 77;
  IniFile_Read_attr(&f.r, "V", "iIS", &i, &keepI, keepS);
  EXPECT_EQ(5, i);
  EXPECT_EQ(9, keepI);
  EXPECT_STREQ("keep", keepS);
  IniFile_Read_attr(&f.r, "W", "-sbItS", s, &b, &keepI2, &t, keepS);
  EXPECT_STREQ("", s);
  EXPECT_FALSE(b);
  EXPECT_EQ(8, keepI2);
  EXPECT_EQ(77, t);
  EXPECT_STREQ("keep", keepS);
}

TEST(IniFileRead, TextsCutToTheStringLimit) {
  struct Case {
    std::size_t limit;
    const char* text;
    const char* got;
  };
  const Case cases[] = {
      {4, "abc", "abc"}, {4, "abcd", "abc"}, {4, "ab表", "ab"}, {5, "ab表", "ab表"}, {1, "a", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ReadFixture f(std::string("V = ") + c.text + "\r\n");
    char s[8];
    std::memset(s, 'z', sizeof s);
    IniFile_Read_setStrMax(&f.r, c.limit);
    IniFile_Read_attr(&f.r, "V", "s", s);
    EXPECT_STREQ(c.got, s);
    EXPECT_EQ('z', s[c.limit]);  // nothing written past the limit
  }
}

TEST(IniFileRead, TargetsNotMatchingTheLettersRaise) {
  ReadFixture f("V = 1\r\n");
  int32_t i = 0;
  char s[8];
  Raised r = catchRaise([&] { IniFile_Read_attr(&f.r, "V", "s", &i); });
  EXPECT_EQ(Errors_Unofficial, r.code);
  EXPECT_EQ(Errors_Unofficial, catchRaise([&] { IniFile_Read_attr(&f.r, "V", "i-"); }).code);
  EXPECT_EQ(Errors_Unofficial, catchRaise([&] { IniFile_Read_attr(&f.r, "V", "i", &i, s); }).code);
}

TEST(IniFileRead, OpenFailureRaises) {
  TempDir dir;
  std::string path = dir.file("none.scv");
  char line[16];
  IniFile_Read r;
  Raised e = catchRaise([&] { IniFile_Read_open(&r, path.c_str(), line, sizeof line); });
  EXPECT_EQ(FileX_Err_CannotReadOpen, e.code);
  EXPECT_EQ(nullptr, r.file);
}
