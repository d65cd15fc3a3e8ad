// Times the lexer's hot path: a plain BLex3_skipToSet walk over a generated
// 8 MB source-like file (code page 932 comments, code with braces and
// semicolons), and a walk for a byte that never occurs (pure window
// throughput). Prints the median of 5 runs of each in MB/s.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/ScrivoApp.h"
#include "lexer/BLex3.h"
#include "runtime/BigStack.h"

namespace {

constexpr std::size_t kFileSize = 8u << 20;
constexpr int kRuns = 5;

std::string makeText() {
  static const char* const lines[] = {
      "int f(int a, char *b) {\r\n",
      "  if (a > 0) { return g(a - 1, \"text\"); }\r\n",
      "  /* \x82\xB1\x82\xEA\x82\xCD\x83\x52\x83\x81\x83\x93\x83\x67 */\r\n",
      "  x = y + z; w = v * 2;\r\n",
      "}\r\n",
      "// \x95\xB6\x8E\x9A\x97\xF1\x82\xCC\x95\\\x8E\xA6\r\n",
      "typedef struct tagS { int a; long b; } S;\r\n",
  };
  std::mt19937 rng(7);
  std::string s;
  s.reserve(kFileSize + 64);
  while (s.size() < kFileSize) s += lines[rng() % 7];
  s.resize(kFileSize);
  return s;
}

// One walk from the start to the end of the data; the number of hits.
long walk(const std::string& path, const char* set) {
  static char buf[BLex3_kBufSize];
  static int8_t kinds[BLex3_kKindMapSize];
  BLex3 lx;
  BLex3_init(&lx, path.c_str(), buf, sizeof buf, BLex3_kBlockSize);
  BLex3_setKindMap(&lx, kinds, sizeof kinds);
  long hits = 0;
  while (BLex3_fetch(&lx, 0) != nullptr) {
    BLex3_skipToSet(&lx, set, 1);
    ++hits;
  }
  BLex3_finish(&lx);
  return hits;
}

double medianMBps(const std::string& path, const char* set, long* hits) {
  std::vector<double> rates;
  for (int i = 0; i < kRuns; ++i) {
    auto t0 = std::chrono::steady_clock::now();
    *hits = walk(path, set);
    std::chrono::duration<double> t = std::chrono::steady_clock::now() - t0;
    rates.push_back(static_cast<double>(kFileSize) / (1024.0 * 1024.0) / t.count());
  }
  std::sort(rates.begin(), rates.end());
  return rates[kRuns / 2];
}

}  // namespace

int main() {
  alignas(8) static uint8_t area[BigStack_kMainSize];
  ScrivoApp_setUpRuntime(area, sizeof area);
  namespace fs = std::filesystem;
  std::string path = (fs::temp_directory_path() / "scrivo_lexer_bench.c").string();
  {
    std::string text = makeText();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(text.data(), 1, text.size(), f) != text.size()) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    std::fclose(f);
  }
  walk(path, "{};");  // warm the file cache
  long hits = 0;
  double dense = medianMBps(path, "{};", &hits);
  std::printf("skipToSet \"{};\" walk: %.1f MB/s (%ld stops, median of %d)\n", dense, hits,
              kRuns);
  double sparse = medianMBps(path, "\x01", &hits);
  std::printf("skipToSet \"\\x01\" walk: %.1f MB/s (%ld stops, median of %d)\n", sparse, hits,
              kRuns);
  std::remove(path.c_str());
  return 0;
}
