// Fuzz target: the template reader and expansion. The input is cut in
// three at the first two separators kSeparator: a template document
// "doc.htm" and two files "a.htm" and "b.htm" that it may name. They run
// through the passes of the template-document pipeline: references and
// keyword marks, the element trees of every file named, the expansion and
// the copy with heading anchors, keyword links and the heading index.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "app/ScrivoApp.h"
#include "runtime/FileX.h"
#include "runtime/TextCode.h"
#include "template/DocJob.h"

namespace {

constexpr char kSeparator[] = "\n=====\n";
constexpr std::size_t kSeparatorSize = sizeof kSeparator - 1;

// The input cut at the first two separators (missing parts are empty).
std::vector<std::string> splitThree(const uint8_t* data, std::size_t size) {
  std::string all(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> parts;
  std::size_t at = 0;
  while (parts.size() < 2) {
    std::size_t cut = all.find(kSeparator, at, kSeparatorSize);
    if (cut == std::string::npos) break;
    parts.push_back(all.substr(at, cut - at));
    at = cut + kSeparatorSize;
  }
  parts.push_back(all.substr(at));
  while (parts.size() < 3) parts.emplace_back();
  return parts;
}

void write(const std::string& path, const std::string& bytes) {
  Fuzz_writeFile(path, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Fuzz_clearDir();
  const std::vector<std::string> parts = splitThree(data, size);
  const std::string doc = Fuzz_path("doc.htm");
  write(doc, parts[0]);
  write(Fuzz_path("a.htm"), parts[1]);
  write(Fuzz_path("b.htm"), parts[2]);

  char warnings[1024];
  PrintX sink;
  PrintX_init(&sink);
  PrintX_setFlags(&sink, 0);
  PrintX_setBuffer(&sink, warnings, warnings + sizeof warnings);

  Fuzz_run(
      [&] {
        DocJob job;
        DocJob_forDocument(&job, doc.c_str(), ScrivoApp_kWorkFolder);
        FileX_makeFolders(job.files.folder, false);
        const TextCode code = TextCode_ofFile(doc.c_str());
        TextCode_Scope scope(code, code);
        DocJob_Reader reader(&sink);
        job.rxmlFile = RXML_addFile(&reader.rxml, doc.c_str());
        DocJob_runAlone(&job, &reader.rxml, nullptr);
      },
      [] {});
  return 0;
}
