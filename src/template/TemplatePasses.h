// The passes over HTML template documents. Pass 1 reads a document's
// template references and registers its keyword marks; pass 2 reads the
// element tree of every file named; pass 3 writes the expanded document;
// pass 4 copies the expanded text byte for byte, adding heading anchors and
// keyword links, and splits it at the first "embed_index" tag so that the
// pipeline can put the heading index there. DocJob runs them.
#pragma once

#include "engine/LinksFile.h"
#include "engine/LinksIndex.h"
#include "engine/PageFiles.h"
#include "engine/TitleList.h"
#include "template/RXML.h"

void Scrivo_scanTemplates(const char* path, RXML_File* file, LinksFile* links);
void Scrivo_scanTemplateUses(RXML_File* file);
void Scrivo_writeMiddle(RXML_File* file, const char* outPath);
// Reads the expanded document (middle); the part before and including the
// first "embed_index" tag goes to main, the rest to second, the heading
// index to outline. pages, when not null, gets the page's entry.
void Scrivo_embedIndex(const PageFiles& files, LinksIndex* keywords, TitleList* pages);
