// SourceHtml: assembles a source page from the work files of its writing
// pass: title and heading, the navigation line when two or more index lists
// are non-empty, each non-empty list under its heading, and the listing.
#pragma once

struct ScrivoApp_SourceParts {
  const char* listing;  // "_outMain.txt"
  const char* major;    // "_outIdxA.txt"
  const char* outline;  // "_outIdx.txt" (a project file's own outline in a site)
  const char* types;    // "_outIdxS.txt"
  const char* funcs;    // "_outIdxF.txt"
  const char* macros;   // "_outIdxM.txt"
};

// Writes the page at pagePath; name is the source's file name.
void ScrivoApp_writeSourceHtml(const char* pagePath, const char* name,
                               const ScrivoApp_SourceParts& parts);
