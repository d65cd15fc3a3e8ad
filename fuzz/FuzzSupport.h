// FuzzSupport: what every fuzz target shares. The runtime is set up once,
// as a run of the program has it; each input runs in a try frame of its
// own, so that an error the program raises for a refused input is an
// ordinary outcome rather than the end of the process; and the files of an
// input live in one temporary folder that is emptied before every run, so
// that no run sees what an earlier one left behind.
//
// After every run the harness checks that the runtime is back where it
// began (no try frame left open, the big stack empty, no error pending, as
// many open file descriptors as before) and aborts otherwise, so a leak of
// the program's own resources is a finding like a crash.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/Except3.h"

// Sets the runtime up and creates the temporary folder (once per process;
// LLVMFuzzerInitialize, defined with these functions, calls it).
void Fuzz_setUp();
// The temporary folder (no separator at its end) and a name inside it.
const std::string& Fuzz_dir();
std::string Fuzz_path(const char* name);
// Removes everything inside the temporary folder.
void Fuzz_clearDir();
void Fuzz_writeFile(const std::string& path, const uint8_t* data, std::size_t size);
// The number of open file descriptors.
int Fuzz_openFiles();
// Aborts when the runtime is not in its resting state or the number of open
// files is not openFiles.
void Fuzz_checkRuntime(int openFiles);

// Runs body in a try frame whose handler takes any raised error; cleanup
// runs on both paths, as in the program's own try sites.
template <class Body, class Cleanup>
void Fuzz_run(Body&& body, Cleanup&& cleanup) {
  const int openFiles = Fuzz_openFiles();
  Except3_tryCatch(
      "fuzz", __LINE__, [&] { body(); }, [](const Errors_Msg&) {}, [&] { cleanup(); });
  Fuzz_checkRuntime(openFiles);
}
