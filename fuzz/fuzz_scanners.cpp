// Fuzz target: the block lexer and the source scanners (line counter,
// title finder, comment and literal scanners, bracket tracker, declaration
// recognizer, outline and definition index) over the input, as the analysis
// pass of a source file runs them, with a links file open as in the
// pipeline.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "engine/LinksFile.h"
#include "engine/SourcePasses.h"
#include "lexer/BracketP.h"
#include "runtime/TextCode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Fuzz_clearDir();
  const std::string source = Fuzz_path("in.c");
  Fuzz_writeFile(source, data, size);
  const TextCode code = TextCode_ofFile(source.c_str());
  TextCode_Scope scope(code, code);

  PageFiles files;
  LinksFile links;
  BracketP_Errors errors;
  bool linksOpen = false;
  Fuzz_run(
      [&] {
        PageFiles_init(&files, PageFiles_Kind::Source, source.c_str(), false, Fuzz_dir().c_str(),
                       "", PageFiles_kOutline);
        LinksFile_open(&links, files.links);
        linksOpen = true;
        LinksFile_writeHeader(&links, LinksFile_kBase);
        LinksFile_setPage(&links, "");
        BracketP_Errors_clear(&errors);
        int32_t depth = 0;
        Scrivo_analyzeSource(files, &links, &depth, &errors);
        char warnings[BracketP_kFormatSize];
        (void)BracketP_Errors_format(&errors, warnings, sizeof warnings);
        linksOpen = false;
        LinksFile_close(&links);
      },
      [&] {
        if (linksOpen) LinksFile_close(&links);
      });
  return 0;
}
