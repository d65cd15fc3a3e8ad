// The command line: usage, help and version, the forms in which an input
// may be named, arguments that do nothing or are refused.
#include <gtest/gtest.h>

#include <string>

#include "E2e.h"

// Runs that answer or do nothing: status 0, nothing on standard error, no
// page shown and nothing made. An argument that merely resembles an option
// stays a file name, of an extension that is not read.
TEST(Command, RunsThatMakeNothing) {
  const std::string usage = "Scrivolt2 b2 for Command Line\n  usage >scrivo doc.hmt\n";
  // The help goes on with the inputs, output, browser and statuses: the
  // same text however asked for.
  const std::string help = usage + "        >scrivo --help | -h | --version\n";
  std::string helpText;
  const struct {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{}, usage},
      {{"--help"}, help},
      {{"-h"}, help},
      {{"--help", "a.c"}, help},
      {{"--version"}, usage.substr(0, usage.find('\n') + 1) + "バージョン " SCRIVO_VERSION "\n"},
      {{"--HELP"}, ""},
      {{"-help"}, ""},
      {{"a.hpp"}, ""},
      {{"noext"}, ""},
      {{"x.tar.gz"}, ""},
      {{"name.c.bak"}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "none" : c.args[0]);
    TempDir dir;
    std::vector<std::string> files;
    if (!c.args.empty() && c.args[0][0] != '-') {
      files.push_back(c.args[0]);
      writeFile(dir.file(c.args[0]), "int x;\n");
    }
    E2eRun r = runScrivo(dir, c.args);
    EXPECT_EQ(0, r.status);
    EXPECT_EQ(c.out, c.out == help ? r.out.substr(0, help.size()) : r.out);
    if (c.out == help) {
      EXPECT_EQ(helpText.empty() ? helpText = r.out : helpText, r.out);
    }
    EXPECT_EQ("", r.err);
    EXPECT_EQ(files, listFolder(dir.path()));
    EXPECT_TRUE(r.browserCalls.empty());
  }
}

TEST(Command, EmptyArgumentGivesTheUncaughtReport) {
  TempDir dir;
  E2eRun r = runScrivo(dir, {""});
  EXPECT_EQ(14, r.status);
  EXPECT_EQ(uncaughtReport("error"), maskLines(r.err));
  EXPECT_EQ("[1] error\n", r.out);
  EXPECT_TRUE(listFolder(dir.path()).empty());
  EXPECT_TRUE(r.browserCalls.empty());
}

// Whichever way the input is named (relative with either separator, up
// and back down, absolute without a drive), its page lies in the work
// folder beside it, the run leaves no work file, and the browser is shown
// the page, of whatever extension.
TEST(Command, ThePageLiesBesideTheInputHoweverItIsNamed) {
  const std::string S(1, nativeSep());
  const bool windows = nativeSep() == '\\';
  struct Case {
    std::string folder;  // of the input, below the run's folder ("" for that)
    std::string name, page;
    std::string arg;  // <up>: the run's folder with "/" and no drive; <name>: its name
  };
  std::vector<Case> cases = {{"sub", "a.c", "a.htm", "sub/a.c"},
                             {"src", "a.c", "a.htm", "../<name>/src/a.c"},
                             {"abs", "a.c", "a.htm", "<up>/abs/a.c"},
                             {"", "f.htmx", "f.htmx", "f.htmx"}};
  if (windows) {
    cases.push_back({"sub", "a.c", "a.htm", "sub\\a.c"});
    cases.push_back({"sub" + S + "x", "a.c", "a.htm", "sub/x\\a.c"});
  }
  for (Case& c : cases) {
    TempDir dir;
    std::string up = slashes(windows ? dir.path().substr(2) : dir.path());
    for (const std::string mark : {"<up>", "<name>"}) {
      const std::size_t at = c.arg.find(mark);
      if (at != std::string::npos)
        c.arg.replace(at, mark.size(), mark == "<up>" ? up : up.substr(up.rfind('/') + 1));
    }
    SCOPED_TRACE(c.arg);
    const std::string folder = c.folder.empty() ? dir.path() : dir.file(c.folder);
    std::filesystem::create_directories(folder);
    // A document without headings or keywords is its own page.
    const bool source = c.name == "a.c";
    writeFile(folder + S + c.name, source ? "x = 1;\n" : "<p>x</p>\r\n");
    E2eRun r = runScrivo(dir, {c.arg});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("", r.err);
    const std::string work = folder + S + "scrivo2";
    EXPECT_EQ(std::vector<std::string>{c.page}, listFolder(work));
    EXPECT_EQ(source ? head("a.c") + listing("   1|x = 1;\n   2|") : "<p>x</p>\r\n",
              readFile(work + S + c.page));
    EXPECT_EQ(std::vector<std::string>{browserForm(work + S + c.page)}, r.browserCalls);
  }
}
