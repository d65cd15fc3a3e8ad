// Helpers shared by the file utility tests of both platforms.
#pragma once
#include <ctime>
#include <filesystem>
#include <string>

#include "platform/Os.h"
#include "runtime/StrX.h"

// Makes folder the current folder for a scope and restores the one before.
class InFolder {
 public:
  explicit InFolder(const std::string& folder) : before_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~InFolder() {
    std::error_code ec;
    std::filesystem::current_path(before_, ec);
  }
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;

 private:
  std::filesystem::path before_;
};

// 2001-09-09 01:46:40 UTC: a modification time no fresh file has.
inline constexpr std::time_t kOldTime = 1000000000;

// Bytes that differ from block to block, so a misplaced block shows.
inline std::string patternBytes(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + i / 1024) & 0xFF);
  return s;
}
