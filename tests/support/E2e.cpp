// End-to-end helpers.
#include "E2e.h"

#include <algorithm>
#include <cstdlib>
#ifdef _WIN32
#include <windows.h>
#endif
#include <filesystem>
#include <regex>
#include <sstream>

#ifndef SCRIVO_EXE
#define SCRIVO_EXE ""
#define SCRIVO_PROBE_EXE ""
#define SCRIVO_RECORDER_EXE ""
#endif

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

E2eRun runScrivo(const TempDir& dir, const std::vector<std::string>& args,
                 long long fileSizeLimit) {
  const char* rec = std::getenv("SCRIVO_WINE_RECORD");
  std::string record = rec ? hostPath(rec) : std::string();
  std::size_t before = record.empty() ? 0 : readFile(record).size();
  E2eRun r;
  static_cast<RunResult&>(r) =
      runProgram(hostPath(SCRIVO_EXE), args, dir.path(), {{"LC_ALL", "C"}}, {}, fileSizeLimit);
  if (!record.empty()) {
    // Wine's shell hands the page on after the program has ended: a run
    // that succeeded and made its work folder is given up to ten seconds
    // for it (a loaded machine may need several).
    if (r.status == 0 && fileExists(dir.file("scrivo2")))
      for (int i = 0; i < 200 && readFile(record).size() <= before; ++i) Sleep(50);
    std::string all = readFile(record);
    std::istringstream calls(all.size() > before ? all.substr(before) : std::string());
    for (std::string line; std::getline(calls, line);) r.browserCalls.push_back(tailFromTempDir(line));
  }
  return r;
}

std::string browserForm(const std::string& page) { return tailFromTempDir(page); }
#else
E2eRun runScrivo(const TempDir& dir, const std::vector<std::string>& args,
                 long long fileSizeLimit) {
  TempDir recordDir;
  std::string record = recordDir.file("browser.log");
  E2eRun r;
  static_cast<RunResult&>(r) =
      runProgram(hostPath(SCRIVO_EXE), args, dir.path(),
                 {{"LC_ALL", "C"}, {"BROWSER", hostPath(SCRIVO_RECORDER_EXE)},
                  {"SCRIVO_RECORD", record}},
                 {}, fileSizeLimit);
  std::istringstream calls(readFile(record));
  for (std::string line; std::getline(calls, line);) r.browserCalls.push_back(line);
  return r;
}

std::string browserForm(const std::string& page) { return page; }
#endif

RunResult runProbe(const TempDir& dir, const std::vector<std::string>& args) {
  return runProgram(hostPath(SCRIVO_PROBE_EXE), args, dir.path(), {{"LC_ALL", "C"}});
}

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
