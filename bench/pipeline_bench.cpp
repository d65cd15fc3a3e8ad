// The source pipeline's throughput: scrivo on a generated C source of 1 MB,
// 8 MB and 50 MB, next to a plain read-escape-write of the same bytes.
// Prints MB/s (median of five runs, three for 50 MB), the ratio of the
// times and the peak resident size of both programs: the program reads its
// input through fixed windows, so its peak should not grow with the input.
// The 50 MB source has longer functions: at the density of the others it
// would define some 400,000 names, more than the keyword table's fixed
// room of 149,940 keys; so it defines about as many as the 8 MB one.
// Given a SOURCE, it times that file alone (five runs), as make bench does
// with the SQLite amalgamation of the corpus.
//   scrivo_bench_pipeline SCRIVO BASELINE [RUNS] [SOURCE]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchRun.h"
#include "GenSource.h"

namespace {

struct Size {
  std::size_t mb;
  int runs;
  int bodyLines;  // more statements per function (GenSource_make)
};

// Times scrivo and the baseline on src (copied into dir first, so that the
// output goes there) and prints one line labelled label.
void timeSource(const std::string& scrivo, const std::string& baseline, const std::string& dir,
                const std::string& src, const std::string& label, int runs) {
  double mb = static_cast<double>(std::filesystem::file_size(src)) / (1 << 20);
  std::vector<double> ts, tb;
  long peak = 0, peakBase = 0;
  for (int i = 0; i < runs; ++i) {
    BenchRun_Result s = BenchRun_execOk({scrivo, src}, dir);
    BenchRun_Result b = BenchRun_execOk({baseline, src, dir + "/baseline.out"}, dir);
    ts.push_back(s.seconds);
    tb.push_back(b.seconds);
    peak = std::max(peak, s.peakKb);
    peakBase = std::max(peakBase, b.peakKb);
  }
  double s = BenchRun_median(ts), b = BenchRun_median(tb);
  std::printf("%s: scrivo %.1f MB/s (%.3f s, peak %ld KB), "
              "read-escape-write %.1f MB/s (%.3f s, peak %ld KB), ratio %.1f, median of %d\n",
              label.c_str(), mb / s, s, peak, mb / b, b, peakBase, s / b, runs);
  std::fflush(stdout);
  std::filesystem::remove_all(dir + "/scrivo2");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s SCRIVO BASELINE [RUNS]\n", argv[0]);
    return 2;
  }
  std::string scrivo = std::filesystem::absolute(argv[1]).string();
  std::string baseline = std::filesystem::absolute(argv[2]).string();
  int runs = argc > 3 ? std::atoi(argv[3]) : 0;
  std::string dir = BenchRun_tempDir("scrivo-bench");
  if (argc > 4) {
    std::filesystem::path given(argv[4]);
    std::string src = dir + "/" + given.filename().string();
    std::filesystem::copy_file(given, src);
    timeSource(scrivo, baseline, dir, src, given.filename().string(), runs > 0 ? runs : 5);
    std::filesystem::remove_all(dir);
    return 0;
  }
  for (Size size : {Size{1, 5, 0}, Size{8, 5, 0}, Size{50, 3, 40}}) {
    if (runs > 0) size.runs = runs;
    std::string src = dir + "/gen" + std::to_string(size.mb) + ".c";
    // Generated in a child so that the text never counts in the runs' peaks.
    BenchRun_inChild([&] { BenchRun_writeFile(src, GenSource_make(size.mb << 20, 1, size.bodyLines)); });
    char label[64];
    std::snprintf(label, sizeof label, "source %zu MB%s", size.mb,
                  size.bodyLines ? " (long functions)" : "");
    timeSource(scrivo, baseline, dir, src, label, size.runs);
    std::filesystem::remove(src);
  }
  std::filesystem::remove_all(dir);
  return 0;
}
