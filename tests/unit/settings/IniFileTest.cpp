// The settings writer: exact bytes of written files, the quoting of texts
// and round trips through the reader.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>

#include "IniFileFixture.h"
#include "Raise.h"

namespace {

std::string oneText(const char* text) {
  return writtenBytes([&](IniFile_Write* w) {
    IniFile_Write_setSection(w, "s");
    IniFile_Write_attr(w, "T", "s", text);
  });
}

// The text of the one attribute of oneText's file, as the reader gives it.
std::string readBack(const std::string& bytes) {
  ReadFixture f(bytes, 8192);
  IniFile_Read_setStrMax(&f.r, 8192);
  std::vector<char> text(8192);
  IniFile_Read_setSection(&f.r, "s");
  IniFile_Read_attr(&f.r, "T", "s", text.data());
  return text.data();
}

std::time_t localTime(int y, int mo, int d, int h, int mi, int s) {
  std::tm tm{};
  tm.tm_year = y - 1900;
  tm.tm_mon = mo - 1;
  tm.tm_mday = d;
  tm.tm_hour = h;
  tm.tm_min = mi;
  tm.tm_sec = s;
  tm.tm_isdst = -1;
  return std::mktime(&tm);
}

}  // namespace

TEST(IniFileWrite, EveryLetter) {
  std::time_t t = localTime(2024, 3, 5, 7, 8, 9);
  std::string bytes = writtenBytes([&](IniFile_Write* w) {
    IniFile_Write_setSection(w, "s");
    IniFile_Write_attr(w, "V", "bbixxt-s", true, false, -42, 0xABCDEFu, 0u, &t, "end");
  });
  EXPECT_EQ("[s] \r\nV = 1, 0, -42, 0xABCDEF, 0x0, 2024/03/05-07:08:09, , end\r\n \r\n",
            bytes);
  ReadFixture f(bytes);
  std::time_t back = 0;
  IniFile_Read_setSection(&f.r, "s");
  IniFile_Read_attr(&f.r, "V", "-----t", &back);
  EXPECT_EQ(t, back);
}

TEST(IniFileWrite, TextsQuotedWhenNeededAndReadBack) {
  struct Case {
    const char* text;
    const char* value;  // as written behind "T = "
  };
  const Case cases[] = {
      {" lead", "\" lead\""},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"inner space", "inner space"},
      {"表示", "表示"},  // a trail byte 0x5C is no escape
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string bytes = oneText(c.text);
    EXPECT_EQ(std::string("[s] \r\nT = ") + c.value + "\r\n \r\n", bytes);
    EXPECT_EQ(c.text, readBack(bytes));
  }
}

TEST(IniFileWrite, LongTextsCutToTheCapacityInWholeCharacters) {
  const std::size_t cap = IniFile_kTextMax;
  const std::string a(cap, 'a');
  struct Case {
    std::string text;
    std::string value;  // as written
    std::string back;   // as read
  };
  const Case cases[] = {
      {a, a, a},
      {a + "b", a, a},
      // quoted: 4093 bytes and two quotes fill the capacity
      {"," + a.substr(3), "\"," + a.substr(3) + "\"", "," + a.substr(3)},
      {"," + a.substr(2), "\"," + a.substr(3) + "\"", "," + a.substr(3)},
      // a doubled quote is never split
      {a.substr(4) + "\"b", "\"" + a.substr(4) + "\"\"\"", a.substr(4) + "\""},
      // nor a double-byte character
      {a.substr(2) + "表", a.substr(2) + "表", a.substr(2) + "表"},
      {a.substr(1) + "表", a.substr(1), a.substr(1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.size());
    std::string bytes = oneText(c.text.c_str());
    EXPECT_EQ("[s] \r\nT = " + c.value + "\r\n \r\n", bytes);
    EXPECT_EQ(c.back, readBack(bytes));
  }
}
