// The links file writer: the [main] section the search tool reads, and the
// targets built from the page reference and the anchors.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "LinksFixture.h"

TEST(LinksFileWrite, MainSectionAndEntries) {
  TempDir dir;
  const std::string path = dir.file("_out.kwf");
  LinksFile f;
  LinksFile_open(&f, path.c_str());
  LinksFile_writeHeader(&f, ".");
  LinksFile_addDef(&f, "func", 1, "{main}", "");
  LinksFile_add(&f, "kword2", "[bar]", "");
  LinksFile_setPage(&f, "sub/page.htm");
  LinksFile_addDef(&f, "enum", 12, "{E}", "");
  LinksFile_add(&f, "title3", "Intro [a, b]", "");
  LinksFile_add(&f, "", "[whole page]", "x");
  LinksFile_addDef(&f, "", 7, "{nokind}", "");
  LinksFile_close(&f);
  const std::regex expected(
      "\\[main\\] \r\nApplication = Pervix\r\nVersion = 100\r\nbNewFile = 0\r\nBase = \\.\r\n"
      "Update = \\d{4}/\\d\\d/\\d\\d-\\d\\d:\\d\\d:\\d\\d\r\n"
      "bCanUpdate = 0\r\nDispURL = \\(default\\)\r\nDispTarget = main\r\n \r\n"
      "\\[links\\] \r\n"
      "A = \\{main\\}, , #func1\r\n"
      "A = \\[bar\\], , #kword2\r\n"
      "A = \\{E\\}, , sub/page\\.htm#enum12\r\n"
      "A = \"Intro \\[a, b\\]\", , sub/page\\.htm#title3\r\n"
      "A = \\[whole page\\], x, sub/page\\.htm\r\n"
      "A = \\{nokind\\}, , sub/page\\.htm\r\n"
      " \r\n");
  const std::string bytes = readFile(path);
  EXPECT_TRUE(std::regex_match(bytes, expected)) << bytes;
}

TEST(LinksFilePage, CutAtCharacterBoundary) {
  const std::string a257(257, 'a');
  const std::string cases[][2] = {
      {a257 + "bc", a257 + "bc"},              // 259 bytes: all of it
      {a257 + "bcd", a257 + "bc"},             // 260: the last byte goes
      {a257 + "b\x95\x5C", a257 + "b"},        // a character across byte 259
      {a257 + "\x95\x5C", a257 + "\x95\x5C"},  // one that ends at byte 259
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0].size());
    LinksFile file;
    LinksFile_setPage(&file, c[0].c_str());
    EXPECT_EQ(c[1], file.page);
  }
}
