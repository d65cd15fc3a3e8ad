// The source-file pipeline: a C/C++ source or text file becomes one page in
// the work folder beside it.
#include <cstdio>
#include <string>

#include "app/Pipelines.h"
#include "app/SourceHtml.h"
#include "app/WorkPaths.h"
#include "engine/LinksFile.h"
#include "engine/LinksIndex.h"
#include "engine/SourcePasses.h"
#include "lexer/BracketP.h"
#include "platform/Os.h"
#include "runtime/Except3.h"
#include "runtime/FileX.h"
#include "runtime/StrXPath.h"
#include "runtime/TextCode.h"

void ScrivoApp_makeSourcePage(const char* input, const char* workFolder, char* result) {
  char folder[StrX_kPathSize], page[StrX_kPathSize];
  char listing[StrX_kPathSize], outline[StrX_kPathSize], major[StrX_kPathSize];
  char types[StrX_kPathSize], funcs[StrX_kPathSize], macros[StrX_kPathSize];
  char kwf[StrX_kPathSize];
  LinksFile links;
  LinksIndex keywords;
  BracketP_Errors errors;
  bool linksOpen = false, keywordsOpen = false;
  Except3_tryFinally(
      "scrivo-app", __LINE__,
      [&] {
        ScrivoApp_workFolder(folder, input, workFolder);
        ScrivoApp_pagePath(page, folder, input);
        ScrivoApp_joinPath(listing, folder, "_outMain.txt");
        ScrivoApp_joinPath(outline, folder, "_outIdx.txt");
        ScrivoApp_joinPath(major, folder, "_outIdxA.txt");
        ScrivoApp_joinPath(types, folder, "_outIdxS.txt");
        ScrivoApp_joinPath(funcs, folder, "_outIdxF.txt");
        ScrivoApp_joinPath(macros, folder, "_outIdxM.txt");
        ScrivoApp_joinPath(kwf, folder, "_out.kwf");
        StrX_cpy(result, page, StrX_kPathSize);
        FileX_makeFolders(folder, false);
        const TextCode code = TextCode_ofFile(input);
        TextCode_Scope scope(code, code);

        LinksFile_open(&links, kwf);
        linksOpen = true;
        LinksFile_writeHeader(&links, LinksFile_kBase);
        LinksFile_setPage(&links, "");
        BracketP_Errors_clear(&errors);
        int32_t depth = 0;
        Scrivo_analyzeSource(input, &links, outline, &depth, &errors);

        char warnings[BracketP_kFormatSize];
        if (BracketP_Errors_format(&errors, warnings, sizeof warnings) != 0) {
          std::string text = std::string("\n") + warnings + "\n";
          Os_consoleWrite(1, text.data(), text.size());
        }
        linksOpen = false;
        LinksFile_close(&links);
        LinksIndex_open(&keywords, kwf);
        keywordsOpen = true;

        Scrivo_writeSourcePage(input, page, input, listing, major, depth, types, funcs, macros,
                               &keywords, nullptr);
        ScrivoApp_writeSourceHtml(page, StrX_refFName(input),
                                  {listing, major, outline, types, funcs, macros});
        const char* const workFiles[] = {listing, outline, major, types, funcs, macros, kwf};
        keywordsOpen = false;
        LinksIndex_close(&keywords);
        ScrivoApp_removeFiles(workFiles, sizeof workFiles / sizeof workFiles[0]);
      },
      [&] {
        if (linksOpen) LinksFile_close(&links);
        if (keywordsOpen) LinksIndex_close(&keywords);
      });
}
