// Fuzz target: the whole source-file pipeline (both passes, the keyword
// table, page assembly and the removal of the work files) on the input as a
// C source in a temporary folder.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "app/Pipelines.h"
#include "app/ScrivoApp.h"
#include "runtime/StrX.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Fuzz_clearDir();
  const std::string source = Fuzz_path("in.c");
  Fuzz_writeFile(source, data, size);
  char result[StrX_kPathSize] = "";
  Fuzz_run([&] { ScrivoApp_makeSourcePage(source.c_str(), ScrivoApp_kWorkFolder, result); },
           [] {});
  return 0;
}
