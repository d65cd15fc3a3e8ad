// Runs a program for the benchmarks and measures it: wall time and the peak
// resident size of the child alone. A forked child starts with the pages of
// its parent in its resident size, so the benchmarks keep their own process
// small: whatever needs much memory (generating a large input) runs in a
// child of its own through BenchRun_inChild. POSIX only.
#pragma once
#include <functional>
#include <string>
#include <vector>

struct BenchRun_Result {
  double seconds = 0;
  long peakKb = 0;  // peak resident size of the child
  int status = -1;  // exit status, or -1 when it did not exit normally
};

// Runs argv (argv[0] an absolute path) in cwd with BROWSER empty, its
// standard output sent to outPath ("" for /dev/null).
BenchRun_Result BenchRun_exec(const std::vector<std::string>& argv, const std::string& cwd,
                              const std::string& outPath = "");

// BenchRun_exec, ending the benchmark with a message unless the run exits 0.
BenchRun_Result BenchRun_execOk(const std::vector<std::string>& argv, const std::string& cwd);

// Runs work in a forked child and waits for it; ends the benchmark when the
// child fails. Memory the work takes is never the parent's.
void BenchRun_inChild(const std::function<void()>& work);

// A fresh folder under the temporary folder, unique to this run.
std::string BenchRun_tempDir(const std::string& name);

// Writes bytes to path; ends the benchmark when that fails.
void BenchRun_writeFile(const std::string& path, const std::string& bytes);

// Ends the benchmark with "bench: " and the message on standard error.
[[noreturn]] void BenchRun_fail(const std::string& message);

double BenchRun_median(std::vector<double> values);
