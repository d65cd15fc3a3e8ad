// The template-document pipeline: an HTML document or template document is
// expanded into its page in the work folder beside it, with heading anchors,
// keyword links and the heading index at its "embed_index" tag.

#include "app/Pipelines.h"
#include "app/SourceHtml.h"
#include "app/WorkPaths.h"
#include "engine/LinksIndex.h"
#include "runtime/Errors.h"
#include "runtime/Except3.h"
#include "runtime/FileX.h"
#include "runtime/StrXPath.h"
#include "runtime/StrX_Set.h"
#include "runtime/TextCode.h"
#include "template/RXML.h"
#include "template/TemplatePasses.h"

namespace {

bool beginsWithHtm(const char* ext) {
  const char htm[] = "htm";
  for (int i = 0; i < 3; ++i) {
    unsigned char c = static_cast<unsigned char>(ext[i]);
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
    if (c != static_cast<unsigned char>(htm[i])) return false;
  }
  return true;
}

}  // namespace

void ScrivoApp_makeTemplateDoc(const char* input, const char* workFolder, char* result,
                               PrintX* sink) {
  char folder[StrX_kPathSize], page[StrX_kPathSize], middle[StrX_kPathSize];
  char first[StrX_kPathSize], second[StrX_kPathSize], outline[StrX_kPathSize];
  char kwf[StrX_kPathSize], absInput[StrX_kPathSize];
  StrX_Set names;
  RXML rxml;
  LinksIndex keywords;
  bool namesUp = false, rxmlUp = false;
  Except3_tryFinally(
      "scrivo-app", __LINE__,
      [&] {
        ScrivoApp_workFolder(folder, input, workFolder);
        ScrivoApp_joinPath(page, folder, StrX_refFName(input));
        if (!beginsWithHtm(StrX_refExt(page))) ScrivoApp_pagePath(page, folder, input);
        ScrivoApp_joinPath(middle, folder, "_middle.txt");
        ScrivoApp_joinPath(first, folder, "_outMain.txt");
        ScrivoApp_joinPath(second, folder, "_outMain2.txt");
        ScrivoApp_joinPath(outline, folder, "_outIdx.txt");
        ScrivoApp_joinPath(kwf, folder, "_out.kwf");
        StrX_cpy(result, page, StrX_kPathSize);
        FileX_makeFolders(folder, false);
        const TextCode code = TextCode_ofFile(input);
        TextCode_Scope scope(code, code);

        StrX_Set_init(&names, StrX_Set_kWidth, StrX_getHashI, false);
        namesUp = true;
        RXML_init(&rxml, sink, &names);
        rxmlUp = true;
        StrX_cpyAbsPath(absInput, input, sizeof absInput);
        RXML_addFile(&rxml, absInput);
        Scrivo_runTemplatePasses(&rxml, input,
                                 Scrivo_DocumentFiles{page, middle, first, second, outline, kwf},
                                 &keywords);

        ScrivoApp_writeDocumentHtml(page, first, outline, second);
        LinksIndex_close(&keywords);
        const char* const workFiles[] = {middle, first, second, outline, kwf};
        ScrivoApp_removeFiles(workFiles, sizeof workFiles / sizeof workFiles[0]);
      },
      [&] {
        LinksIndex_close(&keywords);
        if (rxmlUp) RXML_finish(&rxml);
        if (namesUp) StrX_Set_finish(&names);
      });
}
