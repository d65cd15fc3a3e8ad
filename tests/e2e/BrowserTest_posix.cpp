// The pages as a browser shows them: `chromium --headless --dump-dom` loads
// each page and prints its DOM in UTF-8 whatever code it read the page in,
// so a page read in the wrong code misses its Japanese texts, which are
// looked for as UTF-8 (u8 literals: the other literals are code page 932).
// A code page 932 page declares no code: Chromium guesses it from the
// bytes, with the language of its interface as a hint for local files, so
// it runs with an English interface, the harder case. Skipped where
// Chromium is missing.
#include <gtest/gtest.h>

#include "E2e.h"

TEST(Browser, JapaneseTextReadsRightInChromium) {
  TempDir dir;
  if (runProgram("/bin/sh", {"-c", "command -v chromium"}, dir.path()).status != 0)
    GTEST_SKIP() << "chromium is not on the PATH";
  // A title, a macro, a structure, a function and a comment: every index
  // section. A site of code page 932 files only has its pages in that code.
  const std::string totals = "/* <<<集計>>> */\n#define LIMIT 10\nstruct Total { int sum; };\n"
                             "/* 合計を返す */\nint total(void) { return LIMIT; }\n";
  const std::string check = "/* <<<入力の検査>>> */\nint check(void) { return 0; }\n";
  TempDir single, u8Site, cpSite;
  writeFile(single.file("totals.c"), totals);
  writeFile(single.file("totals8.c"), utf8(totals));
  writeFile(u8Site.file("totals8.c"), utf8(totals));
  writeFile(u8Site.file("check.c"), check);
  writeFile(u8Site.file("site.scv"), projectText({"File = totals8.c", "File = check.c"}));
  writeFile(cpSite.file("check.c"), check);
  writeFile(cpSite.file("site.scv"), projectText({"File = check.c"}));
  for (const auto& run : {std::make_pair(&single, "totals.c"), std::make_pair(&single, "totals8.c"),
                          std::make_pair(&u8Site, "site.scv"), std::make_pair(&cpSite, "site.scv")})
    ASSERT_EQ(0, runScrivo(*run.first, {run.second}).status) << run.second;

  const std::vector<std::string> source = {u8"目次", u8"関数一覧", u8"型・クラス・構造体一覧",
                                           u8"マクロ一覧", u8"total 関数", u8"Total 構造体",
                                           u8"LIMIT マクロ", u8"集計", u8"合計を返す"};
  const std::vector<std::string> bar = {u8"トップ", u8"検索", u8"フォルダ", u8"トップページに戻ります。"};
  const struct {
    std::string page;
    std::vector<std::string> texts;
  } cases[] = {{workFile(single, "totals.htm"), source},
               {workFile(single, "totals8.htm"), source},
               {workFile(u8Site, "index2.htm"), {u8"集計", u8"入力の検査"}},  // one converted
               {workFile(cpSite, "index0.htm"), bar},
               {workFile(cpSite, "index2.htm"), {u8"入力の検査"}}};
  // (A UTF-8 site's bar has the page list's form: a head made for the
  // declaration.) One browser per page, all at once; each DOM lands beside its page.
  std::vector<std::string> args = {"-c",
                                   "for p; do chromium --headless --no-sandbox --disable-gpu "
                                   "--no-first-run --user-data-dir=\"$p.profile\" --dump-dom "
                                   "\"file://$p\" >\"$p.dom\" 2>/dev/null & done; wait",
                                   "sh"};
  for (const auto& c : cases) args.push_back(c.page);
  runProgram("/bin/sh", args, dir.path(), {{"LANG", "C.UTF-8"}},
             {"LANGUAGE", "LC_ALL", "LC_MESSAGES"});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.page);
    const std::string dom = readFile(c.page + ".dom");
    EXPECT_EQ(std::string::npos, dom.find(u8"\uFFFD")) << dom;
    for (const std::string& text : c.texts) EXPECT_NE(std::string::npos, dom.find(text)) << text;
  }
}
