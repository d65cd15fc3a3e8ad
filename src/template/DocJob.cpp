// DocJob: the passes of one page in their order.
#include "template/DocJob.h"

#include <string>

#include "engine/SourcePasses.h"
#include "lexer/BracketP.h"
#include "platform/Os.h"
#include "runtime/ByteClass.h"
#include "runtime/Except3.h"
#include "runtime/StrXPath.h"
#include "template/TemplatePasses.h"

namespace {

bool beginsWithHtm(const char* ext) {
  const char htm[] = "htm";
  for (int i = 0; i < 3; ++i) {
    if (ByteClass_lower(static_cast<unsigned char>(ext[i])) != static_cast<unsigned char>(htm[i]))
      return false;
  }
  return true;
}

// The warnings of the bracket tracker, on a line of their own; a lone page
// ends them with an empty line.
void printWarnings(const BracketP_Errors& errors, bool progressFollows) {
  char warnings[BracketP_kFormatSize];
  if (BracketP_Errors_format(&errors, warnings, sizeof warnings) == 0) return;
  std::string text = std::string("\n") + warnings;
  if (!progressFollows) text += "\n";
  Os_consoleWrite(1, text.data(), text.size());
}

}  // namespace

void DocJob_forSource(DocJob* job, const char* input, const char* workFolder) {
  char folder[StrX_kPathSize], page[StrX_kPathSize];
  PageFiles_workFolder(folder, input, workFolder);
  PageFiles_pagePath(page, folder, input);
  PageFiles_init(&job->files, PageFiles_Kind::Source, input, false, folder, page,
                 PageFiles_kOutline);
}

void DocJob_forDocument(DocJob* job, const char* input, const char* workFolder) {
  char folder[StrX_kPathSize], page[StrX_kPathSize];
  PageFiles_workFolder(folder, input, workFolder);
  PageFiles_join(page, folder, StrX_refFName(input));
  if (!beginsWithHtm(StrX_refExt(page))) PageFiles_pagePath(page, folder, input);
  PageFiles_init(&job->files, PageFiles_Kind::Document, input, false, folder, page,
                 PageFiles_kOutline);
}

void DocJob_forSiteFile(DocJob* job, bool isTemplate, const char* path, const char* folder,
                        const char* outPath, const char* outlineName, RXML_File* rxmlFile) {
  PageFiles_init(&job->files, isTemplate ? PageFiles_Kind::Document : PageFiles_Kind::Source,
                 path, !isTemplate, folder, outPath, outlineName);
  job->rxmlFile = rxmlFile;
}

DocJob_Links::~DocJob_Links() {
  Except3_release([&] { LinksFile_close(&file); });
  Except3_release([&] { LinksIndex_close(&keywords); });
}

DocJob_Reader::DocJob_Reader(PrintX* sink) {
  StrX_Set_init(&names, StrX_Set_kWidth, StrX_getHashI, false);
  RXML_init(&rxml, sink, &names);
}

DocJob_Reader::~DocJob_Reader() {
  Except3_release([&] { RXML_finish(&rxml); });
  Except3_release([&] { StrX_Set_finish(&names); });
}

void DocJob_openLinks(DocJob_Links* links, const char* path) {
  LinksFile_open(&links->file, path);
  LinksFile_writeHeader(&links->file, LinksFile_kBase);
}

void DocJob_analyze(DocJob_Links* links, DocJob* job, const char* pageRef, DeclRecord* record) {
  const PageFiles& f = job->files;
  LinksFile_setPage(&links->file, pageRef);
  if (f.kind == PageFiles_Kind::Source) {
    BracketP_Errors errors;
    BracketP_Errors_clear(&errors);
    Scrivo_analyzeSource(f, &links->file, &job->depth, &errors, record);
    printWarnings(errors, f.expanded);
  }
  if (job->rxmlFile != nullptr)
    Scrivo_scanTemplates(job->rxmlFile->path, job->rxmlFile, &links->file);
}

void DocJob_closeLinks(DocJob_Links* links) { LinksFile_close(&links->file); }

void DocJob_scanUses(RXML* rxml) {
  for (RXML_File* f = rxml->firstFile; f != nullptr; f = f->next)
    if (f->exists) Scrivo_scanTemplateUses(f);
}

void DocJob_loadKeywords(DocJob_Links* links, const char* path) {
  LinksIndex_open(&links->keywords, path);
}

void DocJob_write(DocJob_Links* links, const DocJob* job, TitleList* pages,
                  const DeclRecord* record) {
  const PageFiles& f = job->files;
  if (job->rxmlFile != nullptr) Scrivo_writeMiddle(job->rxmlFile, f.middle);
  if (f.kind == PageFiles_Kind::Source)
    Scrivo_writeSourcePage(f, job->depth, &links->keywords, pages, record);
  else
    Scrivo_embedIndex(f, &links->keywords, pages);
}

void DocJob_closeKeywords(DocJob_Links* links) { LinksIndex_close(&links->keywords); }

void DocJob_runAlone(DocJob* job, RXML* rxml, void (*frame)(const PageFiles& files)) {
  DocJob_Links links;
  DeclRecord decls;
  DocJob_openLinks(&links, job->files.links);
  DocJob_analyze(&links, job, "", &decls);
  DocJob_closeLinks(&links);
  if (rxml != nullptr) DocJob_scanUses(rxml);
  DocJob_loadKeywords(&links, job->files.links);
  DocJob_write(&links, job, nullptr, &decls);
  if (frame != nullptr) frame(job->files);
  DocJob_closeKeywords(&links);
  PageFiles_removeWork(&job->files);
}
