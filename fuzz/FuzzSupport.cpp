// FuzzSupport: runtime set-up, the temporary folder and the resting-state
// check of the fuzz targets.
#include "FuzzSupport.h"

#include <dirent.h>
#include <ftw.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/ScrivoApp.h"
#include "runtime/BigStack.h"

namespace {

std::string g_dir;

int removeEntry(const char* path, const struct stat*, int, struct FTW* ftw) {
  if (ftw->level == 0) return 0;  // the folder itself stays
  if (std::remove(path) != 0) {
    std::perror(path);
    std::abort();
  }
  return 0;
}

void removeDir() {
  if (g_dir.empty()) return;
  Fuzz_clearDir();
  rmdir(g_dir.c_str());
}

}  // namespace

void Fuzz_setUp() {
  if (!g_dir.empty()) return;
  // An over-long message waits for a key press when standard input is a
  // terminal; a fuzz run never waits.
  (void)std::freopen("/dev/null", "r", stdin);
  alignas(8) static uint8_t area[BigStack_kMainSize];
  ScrivoApp_setUpRuntime(area, sizeof area);

  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") +
                        "/scrivo-fuzz-XXXXXX";
  if (mkdtemp(&pattern[0]) == nullptr) {
    std::perror("mkdtemp");
    std::abort();
  }
  g_dir = pattern;
  std::atexit(removeDir);
}

// libFuzzer calls it once before the first input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Fuzz_setUp();
  return 0;
}

const std::string& Fuzz_dir() { return g_dir; }

std::string Fuzz_path(const char* name) { return g_dir + "/" + name; }

void Fuzz_clearDir() {
  nftw(g_dir.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

void Fuzz_writeFile(const std::string& path, const uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr || (size > 0 && std::fwrite(data, 1, size, f) != size) ||
      std::fclose(f) != 0) {
    std::perror(path.c_str());
    std::abort();
  }
}

int Fuzz_openFiles() {
  DIR* d = opendir("/proc/self/fd");
  if (d == nullptr) return -1;  // not Linux: not counted
  int n = 0;
  while (readdir(d) != nullptr) ++n;
  closedir(d);
  return n;
}

void Fuzz_checkRuntime(int openFiles) {
  const char* problem = nullptr;
  if (Except3_globalSys.count != 0) problem = "a try frame was left open";
  else if (Except3_globalSys.pending != 0) problem = "an error is still pending";
  else if (BigStack_main.top != BigStack_main.base || BigStack_main.lastMark != nullptr)
    problem = "the big stack was not released";
  else if (Fuzz_openFiles() != openFiles)
    problem = "a file was left open";
  if (problem != nullptr) {
    std::fprintf(stderr, "fuzz: after the run %s\n", problem);
    std::abort();
  }
}
