// Runs on bad inputs: the checks every one of them must pass.
#include "BadInput.h"

#include <gtest/gtest.h>

#include <filesystem>

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
      files[fs::relative(it->path(), root, ec).string()] =
          InputState{readFile(it->path().string()), fs::last_write_time(it->path(), ec)};
    }
  }
  return files;
}

std::string changedInputs(const InputSnapshot& before, const InputSnapshot& after) {
  std::string changed;
  for (const auto& b : before) {
    auto a = after.find(b.first);
    if (a == after.end()) changed += b.first + " removed\n";
    else if (a->second.bytes != b.second.bytes) changed += b.first + " rewritten\n";
    else if (a->second.modified != b.second.modified) changed += b.first + " touched\n";
  }
  for (const auto& a : after)
    if (before.count(a.first) == 0) changed += a.first + " added\n";
  return changed;
}

std::string uncaughtReport(const std::string& message) {
  return "キャッチできない例外が発生しました\r\n[1] " + message + "\r\nEXIT from Except3(N)\r\n";
}

E2eRun runOnBadInput(const TempDir& dir, const std::string& arg, int status,
                     const std::string& message, long long fileSizeLimit) {
  const InputSnapshot before = snapshotInputs(dir.path());
  E2eRun r = runScrivo(dir, {arg}, fileSizeLimit);
  EXPECT_EQ(status, r.status) << r.err;
  if (status == 14) {
    EXPECT_EQ(uncaughtReport(message), maskLines(r.err));
    EXPECT_TRUE(r.browserCalls.empty());
  } else {
    EXPECT_EQ("", r.err);
  }
  EXPECT_EQ("", changedInputs(before, snapshotInputs(dir.path())));
  return r;
}

std::string workFile(const TempDir& dir, const std::string& name) {
  return dir.file("scrivo2") + nativeSep() + name;
}
