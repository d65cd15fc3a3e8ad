// End-to-end helpers.
#include "E2e.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#ifdef _WIN32
#include <windows.h>
#endif
#include <filesystem>
#include <regex>
#include <sstream>

#include "platform/Os.h"

#ifdef _WIN32
// Under Wine the shell hands a page to the POSIX xdg-open as a file:// URL of
// its POSIX path; the test run puts a recorder of that name first on the
// PATH, which appends to $SCRIVO_WINE_RECORD. A call is given back as the
// page's path from its temporary folder on ("scrivo-test-N/scrivo2/a.htm"),
// which is how the tests compare it.
std::string tailFromTempDir(const std::string& path) {
  std::string p = path;
  for (char& c : p)
    if (c == '\\') c = '/';
  std::size_t at = p.find("scrivo-test-");
  return at == std::string::npos ? p : p.substr(at);
}

bool madeWorkFolder(const TempDir& dir) {
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir.path()))
    if (e.path().filename() == "scrivo2") return true;
  return false;
}

E2eRun runScrivo(const TempDir& dir, const std::vector<std::string>& args) {
  const char* rec = std::getenv("SCRIVO_WINE_RECORD");
  std::string record = rec ? hostPath(rec) : std::string();
  std::size_t before = record.empty() ? 0 : readFile(record).size();
  E2eRun r;
  static_cast<RunResult&>(r) =
      runProgram(hostPath(SCRIVO_EXE), args, dir.path(), {{"LC_ALL", "C"}});
  if (!record.empty()) {
    // Wine's shell hands the page on after the program has ended: a run
    // that succeeded and made a work folder (beside an input in a
    // subfolder too) is given up to ten seconds for it (a loaded machine
    // may need several).
    if (r.status == 0 && madeWorkFolder(dir))
      for (int i = 0; i < 200 && readFile(record).size() <= before; ++i) Sleep(50);
    std::string all = readFile(record);
    std::istringstream calls(all.size() > before ? all.substr(before) : std::string());
    for (std::string line; std::getline(calls, line);) r.browserCalls.push_back(tailFromTempDir(line));
  }
  return r;
}

std::string browserForm(const std::string& page) { return tailFromTempDir(page); }
#else
E2eRun runScrivo(const TempDir& dir, const std::vector<std::string>& args) {
  TempDir recordDir;
  std::string record = recordDir.file("browser.log");
  E2eRun r;
  static_cast<RunResult&>(r) =
      runProgram(hostPath(SCRIVO_EXE), args, dir.path(),
                 {{"LC_ALL", "C"}, {"BROWSER", hostPath(SCRIVO_RECORDER_EXE)},
                  {"SCRIVO_RECORD", record}});
  std::istringstream calls(readFile(record));
  for (std::string line; std::getline(calls, line);) r.browserCalls.push_back(line);
  return r;
}

std::string browserForm(const std::string& page) { return page; }
#endif

std::string maskLines(const std::string& text) {
  static const std::regex lineNo("([A-Za-z0-9_-]+)\\(([0-9]+)\\)");
  return std::regex_replace(text, lineNo, "$1(N)");
}

std::vector<std::string> listFolder(const std::string& path) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(path, ec))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string workFile(const TempDir& dir, const std::string& name) {
  return dir.file("scrivo2") + nativeSep() + name;
}

std::string utf8(const std::string& cp932) {
  std::string out;
  Os_cp932ToUtf8(cp932.data(), cp932.size(), &out);
  return out;
}

std::string slashes(std::string s) {
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

namespace fs = std::filesystem;

InputSnapshot snapshotInputs(const std::string& root) {
  InputSnapshot files;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec);
       it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec) && it->path().filename() == "scrivo2") {
      it.disable_recursion_pending();
      continue;
    }
    if (it->is_regular_file(ec)) {
      files[fs::relative(it->path(), root, ec).string()] = {readFile(it->path().string()),
                                                            fs::last_write_time(it->path(), ec)};
    }
  }
  return files;
}

std::string uncaughtReport(const std::string& message) {
  return "キャッチできない例外が発生しました\r\n[1] " + message + "\r\nEXIT from Except3(N)\r\n";
}

E2eRun runOnBadInput(const TempDir& dir, const std::string& arg, int status,
                     const std::string& message) {
  const InputSnapshot before = snapshotInputs(dir.path());
  E2eRun r = runScrivo(dir, {arg});
  EXPECT_EQ(status, r.status) << r.err;
  if (status == 14) {
    std::string msg = message;
    for (const auto& mark : {std::make_pair(std::string("<dir>"), dir.path() + nativeSep()),
                             std::make_pair(std::string("<cwd>"), dir.path()),
                             std::make_pair(std::string("<arg>"), arg)})
      for (std::size_t at; (at = msg.find(mark.first)) != std::string::npos;)
        msg.replace(at, mark.first.size(), mark.second);
    EXPECT_EQ(uncaughtReport(msg), maskLines(r.err));
    EXPECT_TRUE(r.browserCalls.empty());
  } else {
    EXPECT_EQ("", r.err);
  }
  EXPECT_TRUE(before == snapshotInputs(dir.path())) << "an input changed";
  return r;
}

std::string projectText(const std::vector<std::string>& files, const std::string& key,
                        const std::string& line) {
  const std::vector<std::string> main = {
      "Application = Scrivolt", "Version = 103", "Index = 1",       "LineNum = 1", "Link = 1",
      "Title = Site",           "FirstPage = .", "StepPath = 0",    "Pervix = 0",  "PervixPath = ",
      "OutFolder = .",          "FuncLink = 1",  "CommentOnly = 0", "NonPre = 0",  "ElemNum = 3"};
  std::string text = "[main] \r\n";
  for (const std::string& l : main) {
    if (!key.empty() && l.compare(0, key.size() + 3, key + " = ") == 0) {
      if (line != "-") text += line + "\r\n";
    } else {
      text += l + "\r\n";
    }
  }
  text += " \r\n[files] \r\n";
  for (const std::string& l : files) text += l + "\r\n";
  return text + " \r\n";
}

std::string frame(const std::string& main) {
  return "<HTML><HEAD><TITLE>\r\nScrivolt\r\n</TITLE></HEAD>\r\n<FRAMESET cols=\"190,*\">\r\n"
         "  <FRAMESET rows=\"38,*\" frameborder=no>\r\n    <FRAME src=\"index0.htm\" scrolling=no>\r\n"
         "    <FRAME src=\"index2.htm\">\r\n  </FRAMESET>\r\n  <FRAME src=\"" + main +
         "\" name=\"main\">\r\n</FRAMESET>\r\n</HTML>\r\n";
}
