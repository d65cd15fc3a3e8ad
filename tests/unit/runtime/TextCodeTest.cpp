// Which files are UTF-8, and how long a character is in each code.
#include <gtest/gtest.h>

#include <string>

#include "runtime/TextCode.h"

namespace {

TextCode codeOf(const std::string& bytes, std::size_t piece) {
  TextCode_Scan scan;
  for (std::size_t i = 0; i < bytes.size(); i += piece)
    TextCode_feed(&scan, bytes.data() + i, std::min(piece, bytes.size() - i));
  return TextCode_result(&scan);
}

}  // namespace

TEST(TextCodeScan, WellFormedUtf8OrByteOrderMark) {
  const std::string ascii(45, 'a');  // one block of 32, one of 8, 5 alone
  struct Case {
    const char* what;
    std::string bytes;
    TextCode code;
  };
  const Case cases[] = {
      {"empty", "", TextCode::Cp932},
      {"the edges of each range", "\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80"
                                  "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", TextCode::Utf8},
      {"overlong two bytes", "\xC0\x80 \xC3\xA9", TextCode::Cp932},
      {"overlong four bytes", "\xF0\x8F\xBF\xBF", TextCode::Cp932},
      {"a surrogate", "\xED\xA0\x80", TextCode::Cp932},
      {"above U+10FFFF", "\xF4\x90\x80\x80", TextCode::Cp932},
      {"a lone continuation byte", ascii + "\x80", TextCode::Cp932},
      {"cut short at the end", ascii + "\xE3\x81", TextCode::Cp932},
      {"one bad sequence among good ones", "\xE3\x81\x82\xE3\x81" + ascii + "\xE3\x81\x82",
       TextCode::Cp932},
      {"the mark's bytes later are no mark", "a\xEF\xBB\xBF\x95\x5C", TextCode::Cp932},
      // The mark decides, whatever follows it.
      {"a byte order mark", "\xEF\xBB\xBF// \xE8\xA1\xA8", TextCode::Utf8},
      {"a byte order mark and a bad byte", "\xEF\xBB\xBF/* \xC0 */", TextCode::Utf8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // Fed whole, in pieces that split the ASCII runs, and byte by byte.
    for (std::size_t piece : {c.bytes.size() + 1, std::size_t{7}, std::size_t{1}}) {
      SCOPED_TRACE(piece);
      EXPECT_EQ(c.code, codeOf(c.bytes, piece));
    }
  }
}

TEST(TextCodeCharLen, EachCodeItsOwnCharacters) {
  struct Case {
    const char* text;
    std::size_t cp932, utf8;
  };
  const Case cases[] = {
      {"\x95\x5C", 2, 1},          // 表 in code page 932: 0x95 continues in UTF-8
      {"\x81", 1, 1},              // a lead byte before the NUL stands alone
      {"\xC3\xA9", 1, 2},          // a halfwidth katakana byte in code page 932
      {"\xE3\x81\x82*", 2, 3},     // the "*" after あ is never part of it
      {"\xF0\x9F\x98\x80", 2, 4},
      {"\xE3\x81" "a", 2, 2},      // a UTF-8 character cut short
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    {
      TextCode_Scope scope(TextCode::Cp932, TextCode::Cp932);
      EXPECT_EQ(c.cp932, TextCode_charLen(c.text));
    }
    TextCode_Scope scope(TextCode::Utf8, TextCode::Utf8);
    EXPECT_EQ(c.utf8, TextCode_charLen(c.text));
  }
  EXPECT_EQ(TextCode::Cp932, TextCode_current());  // the scopes put it back
}
