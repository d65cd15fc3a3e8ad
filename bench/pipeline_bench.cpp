// The source pipeline's throughput: scrivo on a generated C source of 1 MB
// and 8 MB, next to a plain read-escape-write of the same bytes. Prints
// MB/s (median of five runs) and the ratio.
//   scrivo_bench_pipeline SCRIVO BASELINE [RUNS]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "GenSource.h"

namespace {

double runOnce(const std::vector<std::string>& argv, const std::string& cwd, long* peakKb) {
  std::fflush(stdout);
  auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(cwd.c_str()) != 0) _exit(127);
    setenv("BROWSER", "", 1);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::freopen("/dev/null", "w", stdout);
    execv(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  rusage ru{};
  wait4(pid, &status, 0, &ru);
  auto end = std::chrono::steady_clock::now();
  if (peakKb) *peakKb = std::max(*peakKb, ru.ru_maxrss);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s failed\n", argv[0].c_str());
    std::exit(1);
  }
  return std::chrono::duration<double>(end - start).count();
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s SCRIVO BASELINE [RUNS]\n", argv[0]);
    return 2;
  }
  std::string scrivo = std::filesystem::absolute(argv[1]).string();
  std::string baseline = std::filesystem::absolute(argv[2]).string();
  int runs = argc > 3 ? std::atoi(argv[3]) : 5;
  std::string dir = std::filesystem::temp_directory_path() / "scrivo-bench";
  std::filesystem::create_directories(dir);
  for (std::size_t mb : {1u, 8u}) {
    std::string src = dir + "/gen" + std::to_string(mb) + ".c";
    std::string text = GenSource_make(mb << 20);
    std::FILE* f = std::fopen(src.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    double size = static_cast<double>(text.size()) / (1 << 20);
    std::vector<double> ts, tb;
    long peak = 0, peakBase = 0;
    for (int i = 0; i < runs; ++i) {
      ts.push_back(runOnce({scrivo, src}, dir, &peak));
      tb.push_back(runOnce({baseline, src, dir + "/baseline.out"}, dir, &peakBase));
    }
    double s = median(ts), b = median(tb);
    std::printf("source %zu MB: scrivo %.1f MB/s (%.3f s, peak %ld KB), "
                "read-escape-write %.1f MB/s (%.3f s), ratio %.1f\n",
                mb, size / s, s, peak, size / b, b, s / b);
  }
  std::filesystem::remove_all(dir);
  return 0;
}
