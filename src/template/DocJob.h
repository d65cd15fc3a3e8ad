// DocJob: one page's run through the passes. The pipelines choose the job
// (a source, a document, or a file of a site) and frame the page; the job
// runs the passes in their order: every page is analysed into one links
// file, the links file is loaded back as the keyword index, and every page
// is written with it. DocJob_Links owns the links file and the index, and
// closes what is open when it goes out of scope, also while an error
// travels; DocJob_Reader owns the template reader.
#pragma once
#include <cstdint>

#include "engine/DeclRecord.h"
#include "engine/LinksFile.h"
#include "engine/LinksIndex.h"
#include "engine/PageFiles.h"
#include "engine/TitleList.h"
#include "runtime/PrintX.h"
#include "runtime/StrX_Set.h"
#include "template/RXML.h"

struct DocJob {
  PageFiles files;
  RXML_File* rxmlFile = nullptr;  // its record in the template reader; none for a lone source
  int32_t depth = 0;              // the short outline's depth, chosen by the analysis
};

// A source page on its own: its page and work files in workFolder beside it.
void DocJob_forSource(DocJob* job, const char* input, const char* workFolder);
// A template document on its own: its page keeps its name when its
// extension begins with "htm"; rxmlFile is set once the reader has it.
void DocJob_forDocument(DocJob* job, const char* input, const char* workFolder);
// A file of a site: its page outPath and outline are planned; a source is
// expanded by the template reader before it is written.
void DocJob_forSiteFile(DocJob* job, bool isTemplate, const char* path, const char* folder,
                        const char* outPath, const char* outlineName, RXML_File* rxmlFile);

struct DocJob_Links {
  LinksFile file;
  LinksIndex keywords;
  ~DocJob_Links();
};

struct DocJob_Reader {
  StrX_Set names;
  RXML rxml;

  explicit DocJob_Reader(PrintX* sink);
  DocJob_Reader(const DocJob_Reader&) = delete;
  DocJob_Reader& operator=(const DocJob_Reader&) = delete;
  ~DocJob_Reader();
};

// Creates the links file at path with its header.
void DocJob_openLinks(DocJob_Links* links, const char* path);
// The analysis of one page, its entries targeting pageRef: a source's
// analysis pass (its bracket warnings printed; in a site a progress line
// follows them), then, for a file the template reader knows, the reference
// pass. record, when not null, keeps a source's definition events for its
// writing pass.
void DocJob_analyze(DocJob_Links* links, DocJob* job, const char* pageRef,
                    DeclRecord* record = nullptr);
// Writes the closing line of the links file and closes it.
void DocJob_closeLinks(DocJob_Links* links);
// The element trees of every file the reader knows that exists.
void DocJob_scanUses(RXML* rxml);
// Loads the closed links file at path back as the keyword index.
void DocJob_loadKeywords(DocJob_Links* links, const char* path);
// The writing pass of one page into its work files (after the expansion
// of a file the template reader knows); pages, when not null, gets its entry;
// record, when not null, is the one its analysis kept.
void DocJob_write(DocJob_Links* links, const DocJob* job, TitleList* pages,
                  const DeclRecord* record = nullptr);
void DocJob_closeKeywords(DocJob_Links* links);

// A page made on its own, through every step above: rxml, when not null, is
// the reader that holds the document; frame writes the page around the
// work files, which are deleted after it with the links file.
void DocJob_runAlone(DocJob* job, RXML* rxml, void (*frame)(const PageFiles& files));
