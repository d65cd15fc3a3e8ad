// The benchmarks' process runner.
#include "BenchRun.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

long peakKbOf(const rusage& ru) {
#ifdef __APPLE__
  return ru.ru_maxrss / 1024;  // bytes there, kilobytes on Linux
#else
  return ru.ru_maxrss;
#endif
}

// Waits for pid; the exit status, or -1 when it did not exit normally.
int waitFor(pid_t pid, rusage* ru) {
  int status = 0;
  while (wait4(pid, &status, 0, ru) < 0) {
    if (errno != EINTR) BenchRun_fail("wait4 failed");
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

void BenchRun_fail(const std::string& message) {
  std::fflush(stdout);
  std::fprintf(stderr, "bench: %s\n", message.c_str());
  std::exit(1);
}

BenchRun_Result BenchRun_exec(const std::vector<std::string>& argv, const std::string& cwd,
                              const std::string& outPath) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const char* out = outPath.empty() ? "/dev/null" : outPath.c_str();
  std::fflush(stdout);
  std::fflush(stderr);
  auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid < 0) BenchRun_fail("fork failed");
  if (pid == 0) {
    if (chdir(cwd.c_str()) != 0) _exit(127);
    setenv("BROWSER", "", 1);
    if (!std::freopen(out, "w", stdout)) _exit(127);
    execv(args[0], args.data());
    _exit(127);
  }
  rusage ru{};
  BenchRun_Result r;
  r.status = waitFor(pid, &ru);
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  r.peakKb = peakKbOf(ru);
  return r;
}

BenchRun_Result BenchRun_execOk(const std::vector<std::string>& argv, const std::string& cwd) {
  BenchRun_Result r = BenchRun_exec(argv, cwd);
  if (r.status != 0) {
    std::string line;
    for (const std::string& a : argv) line += " " + a;
    BenchRun_fail("exit status " + std::to_string(r.status) + " from" + line + " in " + cwd);
  }
  return r;
}

void BenchRun_inChild(const std::function<void()>& work) {
  std::fflush(stdout);
  std::fflush(stderr);
  pid_t pid = fork();
  if (pid < 0) BenchRun_fail("fork failed");
  if (pid == 0) {
    work();
    std::fflush(stdout);
    _exit(0);
  }
  rusage ru{};
  if (waitFor(pid, &ru) != 0) BenchRun_fail("a generator child failed");
}

std::string BenchRun_tempDir(const std::string& name) {
  std::string pattern = (std::filesystem::temp_directory_path() / (name + "-XXXXXX")).string();
  if (!mkdtemp(pattern.data())) BenchRun_fail("cannot create a folder " + pattern);
  return pattern;
}

void BenchRun_writeFile(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) BenchRun_fail("cannot write " + path);
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !ok) BenchRun_fail("cannot write " + path);
}

double BenchRun_median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}
