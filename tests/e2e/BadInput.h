// Runs of the program on inputs it must refuse or get through. Whatever
// the input, a run ends with status 0 or 14 (never a signal or another
// status), an error is the uncaught-error report on standard error, and
// every file outside the work folder is byte for byte as it was, with its
// modification time.
#pragma once
#include <filesystem>
#include <map>
#include <string>

#include "E2e.h"

struct InputState {
  std::string bytes;
  std::filesystem::file_time_type modified;
  bool operator==(const InputState& o) const {
    return bytes == o.bytes && modified == o.modified;
  }
};
using InputSnapshot = std::map<std::string, InputState>;

// Every file below root except inside folders named "scrivo2", by relative
// path.
InputSnapshot snapshotInputs(const std::string& root);
// The relative paths of the files that differ between two snapshots (added,
// removed, other bytes or another time), one a line; empty when none does.
std::string changedInputs(const InputSnapshot& before, const InputSnapshot& after);

// What standard error holds after an error with this message ended the
// run, line numbers masked as maskLines does.
std::string uncaughtReport(const std::string& message);

// Runs scrivo in dir with the one argument arg and checks the status, that
// standard error is empty after a success, that the browser is never asked
// after an error, and that no input changed. A status of 14 must come with
// the report of message. fileSizeLimit as runScrivo takes it.
E2eRun runOnBadInput(const TempDir& dir, const std::string& arg, int status,
                     const std::string& message = "", long long fileSizeLimit = -1);

// The page path of name in the work folder of dir.
std::string workFile(const TempDir& dir, const std::string& name);
