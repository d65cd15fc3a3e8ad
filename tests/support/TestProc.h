// Runs a program as a child process with a given folder, arguments and
// environment, standard input empty, and captures both output streams and
// the exit status.
#pragma once
#include <map>
#include <string>
#include <vector>

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// env: variables to set (an empty value sets the variable to the empty
// text); unset: variables to remove.
RunResult runProgram(const std::string& exe, const std::vector<std::string>& args,
                     const std::string& cwd, const std::map<std::string, std::string>& env = {},
                     const std::vector<std::string>& unset = {});

// A path of the build (as CMake wrote it) in the form the platform opens.
std::string hostPath(const std::string& path);
