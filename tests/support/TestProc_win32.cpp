// Child processes on Windows: CreateProcess with redirected handles.
#include <windows.h>

#include <stdexcept>

#include "TestFiles.h"
#include "TestProc.h"

namespace {

// Quotes one argument the way the C runtime splits a command line.
std::string quoteArg(const std::string& a) {
  std::string q = "\"";
  std::size_t backslashes = 0;
  for (char c : a) {
    if (c == '\\') {
      ++backslashes;
    } else if (c == '"') {
      q.append(backslashes * 2 + 1, '\\');
      backslashes = 0;
    } else {
      q.append(backslashes, '\\');
      backslashes = 0;
    }
    if (c != '\\') q += c;
  }
  q.append(backslashes * 2, '\\');
  q += '"';
  return q;
}

HANDLE openForChild(const std::string& path, bool write) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  return CreateFileA(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                     write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::string hostPath(const std::string& path) {
  // CMake names the build's files with POSIX paths; Wine shows "/" as Z:.
  if (!path.empty() && path[0] == '/') {
    std::string p = "Z:" + path;
    for (char& c : p)
      if (c == '/') c = '\\';
    return p;
  }
  return path;
}

RunResult runProgram(const std::string& exe, const std::vector<std::string>& args,
                     const std::string& cwd, const std::map<std::string, std::string>& env,
                     const std::vector<std::string>& unset) {
  TempDir capture;
  std::string outPath = capture.file("out"), errPath = capture.file("err");
  HANDLE in = openForChild("NUL", false);
  HANDLE out = openForChild(outPath, true);
  HANDLE err = openForChild(errPath, true);

  std::map<std::string, std::pair<bool, std::string>> saved;
  auto save = [&](const std::string& name) {
    if (saved.count(name)) return;
    char buf[32768];
    DWORD n = GetEnvironmentVariableA(name.c_str(), buf, sizeof buf);
    saved[name] = n > 0 && n < sizeof buf ? std::make_pair(true, std::string(buf, n))
                                          : std::make_pair(false, std::string());
  };
  for (const auto& name : unset) {
    save(name);
    SetEnvironmentVariableA(name.c_str(), nullptr);
  }
  for (const auto& kv : env) {
    save(kv.first);
    SetEnvironmentVariableA(kv.first.c_str(), kv.second.c_str());
  }

  std::string cmd = quoteArg(exe);
  for (const auto& a : args) cmd += " " + quoteArg(a);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = in;
  si.hStdOutput = out;
  si.hStdError = err;
  PROCESS_INFORMATION pi{};
  BOOL ok = CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, TRUE, 0, nullptr,
                           cwd.c_str(), &si, &pi);
  for (const auto& kv : saved)
    SetEnvironmentVariableA(kv.first.c_str(), kv.second.first ? kv.second.second.c_str() : nullptr);
  RunResult r;
  if (ok) {
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    r.status = static_cast<int>(code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
  CloseHandle(in);
  CloseHandle(out);
  CloseHandle(err);
  if (!ok) throw std::runtime_error("CreateProcess failed: " + exe);
  r.out = readFile(outPath);
  r.err = readFile(errPath);
  return r;
}
