// The browser opener on POSIX: BROWSER names the command, an empty BROWSER
// opens nothing.
#include <gtest/gtest.h>

#include <cstdlib>

#include "TestFiles.h"
#include "app/Browser.h"

namespace {

// Sets an environment variable for one test and puts the old value back.
class EnvVar {
 public:
  EnvVar(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~EnvVar() {
    if (had_)
      setenv(name_, old_.c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  bool had_ = false;
  std::string old_;
};

}  // namespace

TEST(BrowserOpenHtml, RunsTheBrowserCommandWithThePage) {
  TempDir dir;
  std::string record = dir.file("calls.txt");
  EnvVar browser("BROWSER", SCRIVO_RECORDER_EXE);
  EnvVar rec("SCRIVO_RECORD", record.c_str());
  Browser_openHtml("/docs/scrivo2/main.htm");
  EXPECT_EQ("/docs/scrivo2/main.htm\n", readFile(record));
}

TEST(BrowserOpenHtml, EmptyBrowserOrEmptyPathOpensNothing) {
  TempDir dir;
  std::string record = dir.file("calls.txt");
  EnvVar rec("SCRIVO_RECORD", record.c_str());
  {
    EnvVar browser("BROWSER", "");
    Browser_openHtml("/docs/a.htm");
  }
  {
    EnvVar browser("BROWSER", SCRIVO_RECORDER_EXE);
    Browser_openHtml("");
  }
  EXPECT_FALSE(fileExists(record));
}
