// Inputs the program must refuse: missing, not files, a work folder that is
// a file, documents that pull themselves in or end a template never begun,
// templates nested too deep, paths too long to name. Each run ends with the
// message of what is wrong and leaves every input as it was.
#include <gtest/gtest.h>

#include <string>

#include "E2e.h"

TEST(BadInput, RefusedInputs) {
  const std::string notFound = "ファイル \"<dir><arg>\" が見つかりません\nカレント＝<cwd>";
  const std::string tmplNotFound = "<dir><arg> ファイルが見つかりません";
  std::string nest33;
  for (int i = 0; i < 33; ++i) nest33 = "<template>" + nest33 + "</template>";
  const struct {
    const char* arg;
    std::string msg;
    std::vector<std::pair<std::string, std::string>> files = {};  // "/": a folder
  } cases[] = {
      {"missing.c", notFound},
      {"missing.htm", tmplNotFound},
      {"missing.hmt", tmplNotFound},
      // A folder is no file on any platform.
      {"dir.c", notFound, {{"dir.c", "/"}}},
      {"dir.txt", notFound, {{"dir.txt", "/"}}},
      {"dir.htm", tmplNotFound, {{"dir.htm", "/"}}},
      {"dir.hmt", tmplNotFound, {{"dir.hmt", "/"}}},
      {"a.c", "ファイルを格納するフォルダが無いので、ファイル \"<dir>scrivo2" + std::string(1, nativeSep()) +
                  "_out.kwf\" が書きこめません",
       {{"a.c", "int a;\n"}, {"scrivo2", "not a folder"}}},
      {"a.htm", "ファイルを格納するフォルダが無いので、ファイル \"<dir>scrivo2" +
                    std::string(1, nativeSep()) + "_out.kwf\" が書きこめません",
       {{"a.htm", "<p>x</p>\n"}, {"scrivo2", "not a folder"}}},
      {"self.htm", "ファイル <dir>self.htm（line=2）の var が、書き出し中の <dir>self.htm を取りこもうとしています",
       {{"self.htm", "<p>a</p>\n<var href=\"self.htm\">\n"}}},
      // Through a second file, which pulls the first one in again.
      {"one.htm", "ファイル <dir>two.htm（line=1）の var が、書き出し中の <dir>one.htm を取りこもうとしています",
       {{"one.htm", "<p>1</p>\n<var href=\"two.htm#q\">\n"}, {"two.htm", "<q>2 <var href=\"one.htm\"></q>\n"}}},
      {"stray.htm", "</TEMPLATE> が多すぎます(file=<dir>stray.htm, line=2)",
       {{"stray.htm", "<p>x</p>\n</TEMPLATE>\n"}}},
      // In a file named by the document, the definition pass finds it.
      {"doc.htm", "</TEMPLATE> が多すぎます",
       {{"doc.htm", "<var href=\"part.htm#p\">\n"}, {"part.htm", "<p>x</p></template>\n"}}},
      // 32 nested templates fit (see the page tests), 33 do not.
      {"n33.htm", "バッファが満杯です", {{"n33.htm", nest33 + "\n"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arg);
    TempDir dir;
    for (const auto& f : c.files) {
      if (f.second == "/") std::filesystem::create_directory(dir.file(f.first));
      else writeFile(dir.file(f.first), f.second);
    }
    runOnBadInput(dir, c.arg, 14, c.msg);
  }
}

TEST(BadInput, PathsAtAndPastTheBuffer) {
  // Absolute arguments of 259 and 260 bytes: one that fits still needs
  // its page in the work folder, which does not fit; one that does not fit
  // is named as far as it was kept. In a folder of 252 bytes an input fits
  // and its work folder (260 bytes) does not; in a folder of 100 bytes a
  // document of 259 bytes fits and so does its work folder, but not its
  // page. Nothing is written anywhere.
  TempDir dir;
  const std::string S(1, nativeSep());
  const std::string folder = dir.file(std::string(100, 'd'));
  const std::string wide = dir.file(std::string(252 - dir.path().size() - 1, 'w'));
  std::filesystem::create_directory(folder);
  std::filesystem::create_directory(wide);
  const auto file = [&](std::size_t size, const std::string& ext) {
    return folder + S + std::string(size - folder.size() - 1 - ext.size(), 'f') + ext;
  };
  writeFile(wide + S + "a.c", "int a;\n");
  writeFile(wide + S + "a.htm", "<p>a</p>\n");
  // The project's file lies in the folder above, so only the work folder
  // is too long.
  writeFile(wide + S + "s.scv", projectText({"Folder = ..", "File = a.c"}));
  const std::string name259 = file(259, ".c").substr(folder.size() + 1);
  const struct {
    std::string input, named;
  } cases[] = {
      {file(259, ".c"), folder + S + "scrivo2" + S + name259},
      {file(260, ".c"), file(260, ".c").substr(0, 259)},
      {wide + S + "a.c", wide + S + "scrivo2"},
      {wide + S + "a.htm", wide + S + "scrivo2"},
      {wide + S + "s.scv", wide + S + "scrivo2"},
      {file(259, ".htm"), folder + S + "scrivo2" + S + file(259, ".htm").substr(folder.size() + 1)},
      {file(259, ".hmt"), folder + S + "scrivo2" + S + file(259, ".hmt").substr(folder.size() + 1)},
  };
  for (const auto& c : cases) {
    if (c.input.find(wide) != 0) writeFile(c.input, c.input.back() == 'c' ? "int x;\n" : "<p>x</p>\n");
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    const InputSnapshot before = snapshotInputs(dir.path());
    E2eRun r = runScrivo(dir, {c.input});
    EXPECT_EQ(14, r.status);
    EXPECT_EQ(slashes(uncaughtReport("パスが長すぎます（259 バイトまで）: " + c.named)),
              slashes(maskLines(r.err)));
    EXPECT_TRUE(r.browserCalls.empty());
    EXPECT_TRUE(before == snapshotInputs(dir.path()));
  }
  for (const std::string& f : {folder, wide, dir.path()}) EXPECT_FALSE(fileExists(f + S + "scrivo2"));
}
