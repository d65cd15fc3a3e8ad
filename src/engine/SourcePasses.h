// The two passes over a source or text file. The analysis pass registers
// every definition and title in the open links file, writes the full
// outline and records bracket warnings; the writing pass, run after the
// links file has been loaded back as the keyword table, writes the escaped
// and numbered listing with its anchors and links, the short outline and the
// type, function and macro lists. Both step their scanners in one lockstep
// loop, so that they see the same events in the same order and hand out the
// same anchor numbers; a writing pass given its analysis pass's record of
// those events replays them instead.
#pragma once
#include <cstdint>

#include "engine/DeclRecord.h"
#include "engine/LinksFile.h"
#include "engine/LinksIndex.h"
#include "engine/PageFiles.h"
#include "engine/TitleList.h"
#include "lexer/BracketP.h"

// Reads the source once; the outline file receives the full outline; *depth
// the depth chosen for the short outline (written on success only); record,
// when not null, the definition events.
void Scrivo_analyzeSource(const PageFiles& files, LinksFile* links, int32_t* depth,
                          BracketP_Errors* errors, DeclRecord* record = nullptr);

// Writes the page body of one file into its work files (the listing, the
// short outline and the three lists), reading the source or, when expanded,
// the expanded text. pages, when not null, gets the page's entry. With the
// record of the source's analysis pass (when usable) the definition events
// are taken from it, not scanned again.
void Scrivo_writeSourcePage(const PageFiles& files, int32_t depth, LinksIndex* keywords,
                            TitleList* pages, const DeclRecord* record = nullptr);
