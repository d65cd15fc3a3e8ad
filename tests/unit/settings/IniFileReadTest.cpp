// The settings reader: attributes, value lists, positions, lines across its
// read chunks, cuts at the buffers, and the failures with their messages.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "IniFileFixture.h"
#include "Raise.h"

namespace {

std::string badAttr(const std::string& name, const std::string& cut, const std::string& path) {
  return "属性名が異なる（アプリ=" + name + ", ファイル=" + cut + " in " + path + "）";
}

}  // namespace

TEST(IniFileRead, CrLfAndLfFilesReadAlike) {
  for (const char* eol : {"\r\n", "\n"}) {
    SCOPED_TRACE(std::string(eol).size());
    const std::string e = eol;
    ReadFixture f("[main] " + e + "Index = 1" + e + " " + e + "[files] " + e + "Folder = src" +
                  e + "File = a.c");  // the last line without its end
    bool index = false;
    char key[16], value[16];
    IniFile_Read_setSection(&f.r, "main");
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

TEST(IniFileRead, AttributeNamesRightAndWrong) {
  struct Case {
    const char* bytes;
    const char* name;
    const char* cut;  // null: the name matches and the value is 1
  };
  const Case cases[] = {
      {"Index=1\r\n", "Index", nullptr},
      {"Index: 1\r\n", "Index", nullptr},
      {"\tIndex 1\r\n", "Index", nullptr},
      {"Indexes = 1\r\n", "Index", "Index"},
      {" \r\n[files] \r\n", "Title", ""},  // a blank line is no attribute
      {"ab表c = 1\r\n", "abc", "ab"},      // no half character
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    ReadFixture f(c.bytes);
    int32_t v = 0;
    Raised r = catchRaise([&] {
      if (c.cut) IniFile_Read_attr(&f.r, c.name, "-");
      else IniFile_Read_attr(&f.r, c.name, "i", &v);
    });
    if (c.cut == nullptr) {
      EXPECT_FALSE(r.raised);
      EXPECT_EQ(1, v);
    } else {
      EXPECT_EQ(IniFile_Err_BadAttr, r.code);
      EXPECT_EQ(badAttr(c.name, c.cut, f.path), r.msg);
    }
  }
}

// Newer and other applications are refused end to end; here the version
// below the range, and the application name read into a buffer of its own.
TEST(IniFileRead, OlderVersionRefused) {
  ReadFixture f("[main] \r\nApplication = Scrivolt\r\nVersion = 102\r\n \r\n");
  IniFile_Read_setStrMax(&f.r, 4096);
  Raised r = catchRaise([&] {
    IniFile_Read_setSection(&f.r, "main");
    IniFile_Read_checkApp(&f.r, "Scrivolt", 103, 103);
  });
  EXPECT_EQ(IniFile_Err_OtherVer, r.code);
  EXPECT_EQ("アプリが対応していない、新しいバージョンのファイルです （file:102, app:103～103）", r.msg);
  EXPECT_EQ(4096u, f.r.strMax);
}

TEST(IniFileRead, SetSectionFailures) {
  struct Case {
    const char* bytes;
    int32_t code;
    const char* msg;
  };
  const Case cases[] = {
      {"[main\r\n", IniFile_Err_BadFormat, "フォーマットがおかしい in IniFile_Read_setSection (main)"},
      {"\r\n[main2]\r\n", IniFile_NotFoundSection, "セクション名が期待したものと異なる (main)"},
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
  ASSERT_EQ('\n', text[chunk]);
  ASSERT_EQ('\r', text[2 * chunk - 1]);

  ReadFixture f(text, 4096);
  IniFile_Read_setSection(&f.r, "links");
  char value[64];
  IniFile_Read_setStrMax(&f.r, sizeof value);
  std::vector<IniFile_Pos> at;
  for (const std::string& v : values) {
    at.push_back(IniFile_Read_attr(&f.r, "A", "s", value));
    EXPECT_EQ(v, value);
  }
  for (std::size_t k = 0; k < values.size(); ++k) {  // back and forth between the chunks
    const std::size_t i = (k * 37) % values.size();
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
  EXPECT_EQ(badAttr("A", "4", f.path), r.msg);
  EXPECT_EQ(15, IniFile_Read_attr(&f.r, "B", "s", v));
  EXPECT_STREQ("123", v);  // its line end is read as an empty piece of its own
  EXPECT_EQ(22, IniFile_Read_attr(&f.r, "C", "s", v));
}

TEST(IniFileRead, ValueFields) {
  struct Case {
    const char* list;
    const char* a;
    const char* b;
  };
  const Case cases[] = {
      {"  x  ,  y  ", "x", "y"}, {", y", "", "y"}, {"\"a\"\"b\" junk, c", "a\"b", "c"},
      {"\"open, c", "open, c", ""}, {"表, 示", "表", "示"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list);
    ReadFixture f(std::string("V = ") + c.list + "\r\n");
    char a[16] = "?", b[16] = "?";
    IniFile_Read_attr(&f.r, "V", "ss", a, b);
    EXPECT_STREQ(c.a, a);
    EXPECT_STREQ(c.b, b);
  }
  struct Num {
    const char* field;
    bool b;
    int32_t i;
  };
  const Num nums[] = {
      {"0abc", false, 0}, {"yes", true, 0}, {"-12", true, -12}, {"99999999999", true, 2147483647},
      {"-99999999999", true, -2147483647 - 1},
  };
  for (const Num& c : nums) {
    SCOPED_TRACE(c.field);
    ReadFixture f(std::string("V = ") + c.field + ", " + c.field + "\r\n");
    bool b = !c.b;
    int32_t i = 5;
    IniFile_Read_attr(&f.r, "V", "bi", &b, &i);
    EXPECT_EQ(c.b, b);
    EXPECT_EQ(c.i, i);
  }
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
