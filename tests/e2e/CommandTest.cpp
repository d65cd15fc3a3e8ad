// The command line: usage, the uncaught-error report, arguments that are
// refused.
#include <gtest/gtest.h>

#include <string>

#include "E2e.h"

namespace {
const char kUncaught[] = "キャッチできない例外が発生しました";
}

TEST(CommandUsage, NoArgumentPrintsTwoLinesAndCreatesNothing) {
  TempDir dir;
  E2eRun r = runScrivo(dir, {});
  EXPECT_EQ(0, r.status);
  EXPECT_EQ("Scrivolt2 b2 for Command Line\n  usage >scrivo doc.hmt\n", r.out);
  EXPECT_EQ("", r.err);
  EXPECT_TRUE(listFolder(dir.path()).empty());
  EXPECT_TRUE(r.browserCalls.empty());
}

TEST(CommandErrors, EmptyArgumentGivesTheUncaughtReport) {
  TempDir dir;
  E2eRun r = runScrivo(dir, {""});
  EXPECT_EQ(14, r.status);
  EXPECT_EQ(std::string(kUncaught) + "\r\n[1] error\r\nEXIT from Except3(N)\r\n", maskLines(r.err));
  EXPECT_EQ("[1] error\n", r.out);
  EXPECT_TRUE(listFolder(dir.path()).empty());
  EXPECT_TRUE(r.browserCalls.empty());
}

TEST(CommandErrors, UnknownExtensionsDoNothing) {
  for (const char* name : {"a.hpp", "B.java", "noext", "x.tar.gz", "name.c.bak"}) {
    SCOPED_TRACE(name);
    TempDir dir;
    writeFile(dir.file(name), "int x;\n");
    E2eRun r = runScrivo(dir, {name});
    EXPECT_EQ(0, r.status);
    EXPECT_EQ("", r.out);
    EXPECT_EQ("", r.err);
    EXPECT_EQ(std::vector<std::string>{name}, listFolder(dir.path()));
    EXPECT_TRUE(r.browserCalls.empty());
  }
}

TEST(CommandErrors, PathThatDoesNotFitIsRefused) {
  TempDir dir;
  std::string name = std::string(300, 'a') + ".c";
  E2eRun r = runScrivo(dir, {name});
  EXPECT_EQ(14, r.status);
  EXPECT_NE(std::string::npos, r.err.find("パスが長すぎます（259 バイトまで）: "));
  EXPECT_NE(std::string::npos, r.err.find("\r\nEXIT from Except3("));
  EXPECT_TRUE(listFolder(dir.path()).empty());
  EXPECT_TRUE(r.browserCalls.empty());
}
