// The two passes over a source or text file. The analysis pass registers
// every definition and title in the open links file, writes the full
// outline and records bracket warnings; the writing pass, run after the
// links file has been loaded back as the keyword table, writes the escaped
// and numbered listing with its anchors and links, the short outline and the
// type, function and macro lists. Both step their scanners in one lockstep
// loop, so that they see the same events in the same order and hand out the
// same anchor numbers.
#pragma once
#include <cstdint>

#include "engine/LinksFile.h"
#include "engine/LinksIndex.h"
#include "engine/TitleList.h"
#include "lexer/BracketP.h"

// Reads source once; outlinePath receives the full outline; *depth the
// depth chosen for the short outline (written on success only).
void Scrivo_analyzeSource(const char* source, LinksFile* links, const char* outlinePath,
                          int32_t* depth, BracketP_Errors* errors);

// Writes the page body of one file into work files. source and page name
// the file for a page list (null for a single file); text is the file read.
void Scrivo_writeSourcePage(const char* source, const char* page, const char* text,
                            const char* listingPath, const char* majorPath, int32_t depth,
                            const char* typePath, const char* funcPath, const char* macroPath,
                            LinksIndex* keywords, TitleList* pages);
