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
#include "engine/LinksIndex.h"
#include "template/TemplatePasses.h"
#include "runtime/FileX.h"
#include "runtime/StrX_Set.h"
#include "runtime/TextCode.h"
#include "template/RXML.h"

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
  const std::string work = Fuzz_path("scrivo2");
  const std::string page = work + "/doc.htm";
  const std::string middle = work + "/_middle.txt";
  const std::string first = work + "/_outMain.txt";
  const std::string second = work + "/_outMain2.txt";
  const std::string outline = work + "/_outIdx.txt";
  const std::string kwf = work + "/_out.kwf";

  char warnings[1024];
  PrintX sink;
  PrintX_init(&sink);
  PrintX_setFlags(&sink, 0);
  PrintX_setBuffer(&sink, warnings, warnings + sizeof warnings);

  StrX_Set names;
  RXML rxml;
  LinksIndex keywords;
  bool namesUp = false, rxmlUp = false;
  Fuzz_run(
      [&] {
        FileX_makeFolders(work.c_str(), false);
        const TextCode code = TextCode_ofFile(doc.c_str());
        TextCode_Scope scope(code, code);
        StrX_Set_init(&names, StrX_Set_kWidth, StrX_getHashI, false);
        namesUp = true;
        RXML_init(&rxml, &sink, &names);
        rxmlUp = true;
        RXML_addFile(&rxml, doc.c_str());
        Scrivo_runTemplatePasses(&rxml, doc.c_str(),
                                 Scrivo_DocumentFiles{page.c_str(), middle.c_str(), first.c_str(),
                                                      second.c_str(), outline.c_str(), kwf.c_str()},
                                 &keywords);
      },
      [&] {
        LinksIndex_close(&keywords);
        if (rxmlUp) RXML_finish(&rxml);
        if (namesUp) StrX_Set_finish(&names);
      });
  return 0;
}
