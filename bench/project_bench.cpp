// A whole project site: scrivo on a generated project file of 200 C sources
// and 20 template documents (GenProject). Prints the time of a run, files
// and input megabytes per second and the peak resident size, median of
// three runs, each into an empty work folder. Every run must exit 0 and
// leave the frame page; the first document's page must show its templates
// expanded. A failed run leaves its folder in the temporary folder.
//   scrivo_bench_project SCRIVO [RUNS]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "BenchRun.h"
#include "GenProject.h"

namespace {

constexpr int kSources = 200;
constexpr int kDocuments = 20;

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) BenchRun_fail("the site has no " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void checkSite(const std::string& site) {
  readAll(site + "/index.html");
  const std::string page = readAll(site + "/doc00.htm");
  for (const std::string& mark : GenProject_firstPageMarks(kDocuments)) {
    if (page.find(mark) == std::string::npos)
      BenchRun_fail(site + "/doc00.htm lacks the expanded text \"" + mark + "\"");
  }
  if (page.find("<template") != std::string::npos || page.find("<var") != std::string::npos)
    BenchRun_fail(site + "/doc00.htm keeps a template or var element");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s SCRIVO [RUNS]\n", argv[0]);
    return 2;
  }
  const std::string scrivo = std::filesystem::absolute(argv[1]).string();
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  const std::string dir = BenchRun_tempDir("scrivo-bench-project");
  const GenProject_Info info = GenProject_write(dir, kSources, kDocuments);
  const std::string site = dir + "/scrivo2";
  std::vector<double> times;
  long peak = 0;
  for (int i = 0; i < runs; ++i) {
    std::filesystem::remove_all(site);
    BenchRun_Result r = BenchRun_execOk({scrivo, "site.scv"}, dir);
    if (i == 0) checkSite(site);
    else readAll(site + "/index.html");
    times.push_back(r.seconds);
    peak = std::max(peak, r.peakKb);
  }
  const double t = BenchRun_median(times);
  const double mb = static_cast<double>(info.bytes) / (1 << 20);
  const int files = info.sources + info.documents;
  std::printf("project of %d sources and %d documents (%.1f MB with %d part files): %.3f s, "
              "%.1f files/s, %.1f MB/s, peak %ld KB, median of %d\n",
              info.sources, info.documents, mb, info.parts, t, files / t, mb / t, peak, runs);
  std::filesystem::remove_all(dir);
  return 0;
}
