// The links file writer: the [main] section the search tool reads, and the
// targets built from the page reference and the anchors.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "LinksFixture.h"

namespace {

template <class F>
std::string linksBytes(F&& addEntries) {
  TempDir dir;
  std::string path = dir.file("_out.kwf");
  {
    LinksFile file;
    LinksFile_open(&file, path.c_str());
    LinksFile_writeHeader(&file, ".");
    addEntries(&file);
    LinksFile_close(&file);
  }
  return readFile(path);
}

const char kMainHead[] =
    "[main] \r\n"
    "Application = Pervix\r\n"
    "Version = 100\r\n"
    "bNewFile = 0\r\n"
    "Base = .\r\n";
const char kMainTail[] =
    "bCanUpdate = 0\r\n"
    "DispURL = (default)\r\n"
    "DispTarget = main\r\n"
    " \r\n"
    "[links] \r\n";

}  // namespace

TEST(LinksFileHeader, MainSectionThenLinks) {
  std::string bytes = linksBytes([](LinksFile*) {});
  const std::string head = kMainHead;
  const std::string tail = kMainTail;
  ASSERT_EQ(head, bytes.substr(0, head.size()));
  std::string update = bytes.substr(head.size(), bytes.find("\r\n", head.size()) + 2 - head.size());
  EXPECT_TRUE(std::regex_match(
      update, std::regex("Update = \\d{4}/\\d\\d/\\d\\d-\\d\\d:\\d\\d:\\d\\d\r\n")))
      << update;
  EXPECT_EQ(tail + " \r\n", bytes.substr(head.size() + update.size()));
}

TEST(LinksFileEntries, TargetIsPageAndAnchor) {
  std::string bytes = linksBytes([](LinksFile* f) {
    LinksFile_addDef(f, "func", 1, "{main}", "");
    LinksFile_add(f, "kword2", "[bar]", "");
    LinksFile_setPage(f, "sub/page.htm");
    LinksFile_addDef(f, "enum", 12, "{E}", "");
    LinksFile_add(f, "title3", "Intro [a, b]", "");
    LinksFile_add(f, "", "[whole page]", "x");
    LinksFile_addDef(f, "", 7, "{nokind}", "");
  });
  std::string entries = bytes.substr(bytes.find("[links] \r\n") + 10);
  EXPECT_EQ(
      "A = {main}, , #func1\r\n"
      "A = [bar], , #kword2\r\n"
      "A = {E}, , sub/page.htm#enum12\r\n"
      "A = \"Intro [a, b]\", , sub/page.htm#title3\r\n"
      "A = [whole page], x, sub/page.htm\r\n"
      "A = {nokind}, , sub/page.htm\r\n"
      " \r\n",
      entries);
}

TEST(LinksFilePage, CutAtCharacterBoundary) {
  struct Case {
    std::string page;
    std::string kept;
  };
  const std::string a257(257, 'a');
  const Case cases[] = {
      {a257 + "bc", a257 + "bc"},              // 259 bytes: all of it
      {a257 + "bcd", a257 + "bc"},             // 260: the last byte goes
      {a257 + "b\x95\x5C", a257 + "b"},        // a double-byte character across 259
      {a257 + "\x95\x5C", a257 + "\x95\x5C"},  // ...and one that ends at 259
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page.size());
    LinksFile file;
    LinksFile_setPage(&file, c.page.c_str());
    EXPECT_EQ(c.kept, file.page);
  }
}
