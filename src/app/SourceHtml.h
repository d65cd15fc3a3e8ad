// SourceHtml: assembles pages from the work files of the writing passes. A
// source page gets title and heading, the navigation line when two or more
// index lists are non-empty, each non-empty list under its heading, and the
// listing; a document page is its first part, the heading index and its
// second part, or the first part alone when there is no second part.
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

// Writes a document's page from the parts of its last pass.
void ScrivoApp_writeDocumentHtml(const char* pagePath, const char* first, const char* outline,
                                 const char* second);
