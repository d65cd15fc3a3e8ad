// The passes over HTML template documents. Pass 1 reads a document's
// template references and registers its keyword marks; pass 2 reads the
// element tree of every file named; pass 3 writes the expanded document;
// pass 4 copies the expanded text byte for byte, adding heading anchors and
// keyword links, and splits it at the first "embed_index" tag so that the
// pipeline can put the heading index there.
#pragma once

#include "engine/LinksFile.h"
#include "engine/LinksIndex.h"
#include "engine/TitleList.h"
#include "template/RXML.h"

void Scrivo_scanTemplates(const char* path, RXML_File* file, LinksFile* links);
void Scrivo_scanTemplateUses(RXML_File* file);
void Scrivo_writeMiddle(RXML_File* file, const char* outPath);
// text is the expanded document; the part before and including the first
// "embed_index" tag goes to firstPath, the rest to secondPath, the heading
// index to outlinePath.
void Scrivo_embedIndex(const char* source, const char* page, const char* text,
                       const char* firstPath, const char* secondPath, const char* outlinePath,
                       LinksIndex* keywords, TitleList* pages);

// The files of one template document's run.
struct Scrivo_DocumentFiles {
  const char* page;     // the page, for the heading anchors' references
  const char* middle;   // the expanded document
  const char* first;    // the page up to and including the "embed_index" tag
  const char* second;   // the page after it
  const char* outline;  // the heading index
  const char* links;    // the links file of the document's keyword marks
};

// The four passes over one template document, whose file rxml holds as its
// first: references and keyword marks (a links file of its own, closed
// again), the uses of every file named, the expansion, and the copy with
// heading anchors and keyword links. The keyword index is left open in
// keywords for the caller, who closes it, also when a pass raises.
void Scrivo_runTemplatePasses(RXML* rxml, const char* source, const Scrivo_DocumentFiles& files,
                              LinksIndex* keywords);
