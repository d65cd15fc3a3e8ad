// End-to-end helpers.
#include "E2e.h"

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>

#ifndef SCRIVO_EXE
#define SCRIVO_EXE ""
#define SCRIVO_PROBE_EXE ""
#define SCRIVO_RECORDER_EXE ""
#endif

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
