// Shared pieces of the end-to-end tests: the programs under test, a run in
// a fresh folder with the browser replaced by a recorder, and the masking of
// source line numbers in reports.
#pragma once
#include <string>
#include <vector>

#include "TestFiles.h"
#include "TestProc.h"

struct E2eRun : RunResult {
  std::vector<std::string> browserCalls;  // pages the browser was asked to show
};

// Runs the program in folder dir with LC_ALL=C and BROWSER set to the recorder;
// fileSizeLimit as runProgram takes it (POSIX only).
E2eRun runScrivo(const TempDir& dir, const std::vector<std::string>& args,
                 long long fileSizeLimit = -1);
// A page path in the form in which browserCalls shows it.
std::string browserForm(const std::string& page);
// Runs the runtime probe with a situation name and arguments.
RunResult runProbe(const TempDir& dir, const std::vector<std::string>& args);
// Replaces the line number of every "(digits)" after a module name in a
// report line by N, since line numbers belong to the build.
std::string maskLines(const std::string& text);
// The names in a folder, sorted; empty when it does not exist.
std::vector<std::string> listFolder(const std::string& path);
