// The pages as a browser shows them. Headless Chromium loads each page and
// tells what encoding it read the page in, and gives back its DOM in UTF-8
// whatever that encoding, so the Japanese texts of a page are looked for as
// UTF-8 (u8 literals: the other literals here are code page 932).
//
// A code page 932 page declares no code: Chromium guesses it from the bytes,
// with the language of its interface as a hint for local files. The pages
// here hold enough Japanese (their headings) to be recognised without the
// hint, so Chromium runs with an English interface, the harder case. There,
// a page without index sections, whose only Japanese is in the listing, is
// taken for windows-1252.
// Skipped where Chromium is missing or cannot start.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Chromium.h"
#include "E2e.h"
#include "SiteParts.h"
#include "platform/Os.h"

namespace {

const char kReplacementChar[] = u8"\uFFFD";

std::string utf8(const std::string& cp932) {
  std::string text;
  Os_cp932ToUtf8(cp932.data(), cp932.size(), &text);
  return text;
}

// A source with a title, a macro, a structure, a function and a comment:
// its page has every index section.
const std::string kTotals =
    "/* <<<集計>>> */\n"
    "#define LIMIT 10\n"
    "struct Total { int sum; };\n"
    "/* 合計を返す */\n"
    "int total(void) { return LIMIT; }\n";
const std::string kCheck = "/* <<<入力の検査>>> */\nint check(void) { return 0; }\n";

}  // namespace

TEST(Browser, JapaneseTextReadsRightInChromium) {
  const std::string exe = Chromium::find();
  if (exe.empty()) GTEST_SKIP() << "chromium is not on the PATH";

  TempDir single, utf8Site, cp932Site;
  writeFile(single.file("totals.c"), kTotals);
  writeFile(single.file("totals8.c"), utf8(kTotals));
  for (const char* name : {"totals.c", "totals8.c"}) {
    E2eRun r = runScrivo(single, {name});
    ASSERT_EQ(0, r.status) << name << ": " << r.err;
  }
  writeFile(utf8Site.file("totals8.c"), utf8(kTotals));
  writeFile(utf8Site.file("check.c"), kCheck);
  writeFile(utf8Site.file("site.scv"), projectText({"File = totals8.c", "File = check.c"}));
  writeFile(cp932Site.file("check.c"), kCheck);
  writeFile(cp932Site.file("site.scv"), projectText({"File = check.c"}));
  for (const TempDir* site : {&utf8Site, &cp932Site}) {
    E2eRun r = runScrivo(*site, {"site.scv"});
    ASSERT_EQ(0, r.status) << r.err;
  }

  // The headings, an item of each index, the title and the comment.
  const std::vector<std::string> sourceTexts = {
      u8"目次", u8"関数一覧", u8"型・クラス・構造体一覧", u8"マクロ一覧", u8"total 関数",
      u8"Total 構造体", u8"LIMIT マクロ", u8"集計", u8"合計を返す"};
  const std::vector<std::string> barTexts = {u8"トップ", u8"検索", u8"フォルダ",
                                             u8"トップページに戻ります。"};
  struct Case {
    const char* what;
    std::string page;
    const char* encoding;  // as the browser names it
    std::vector<std::string> texts;
  };
  const auto page = [](const TempDir& dir, const std::string& name) {
    return dir.file("scrivo2") + "/" + name;
  };
  const Case cases[] = {
      {"code page 932 source", page(single, "totals.htm"), "Shift_JIS", sourceTexts},
      {"UTF-8 source", page(single, "totals8.htm"), "UTF-8", sourceTexts},
      {"UTF-8 site's bar", page(utf8Site, "index0.htm"), "UTF-8", barTexts},
      // A title of a code page 932 file too, converted.
      {"UTF-8 site's page list", page(utf8Site, "index2.htm"), "UTF-8",
       {u8"集計", u8"入力の検査"}},
      {"code page 932 site's bar", page(cp932Site, "index0.htm"), "Shift_JIS", barTexts},
      {"code page 932 site's page list", page(cp932Site, "index2.htm"), "Shift_JIS",
       {u8"入力の検査"}},
  };

  Chromium browser(exe);
  if (!browser.running()) GTEST_SKIP() << "chromium cannot run here: " << browser.error();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Chromium::Page shown;
    ASSERT_TRUE(browser.load(c.page, &shown)) << browser.error();
    EXPECT_EQ(c.encoding, shown.encoding);
    EXPECT_EQ(std::string::npos, shown.dom.find(kReplacementChar)) << "U+FFFD in the page";
    std::string missing;
    for (const std::string& text : c.texts)
      if (shown.dom.find(text) == std::string::npos) missing += text + "\n";
    EXPECT_EQ("", missing) << shown.dom;
  }
}
