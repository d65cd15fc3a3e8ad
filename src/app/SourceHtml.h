// SourceHtml: assembles pages from the work files of the writing passes. A
// source page gets title and heading, the navigation line when two or more
// index lists are non-empty, each non-empty list under its heading, and the
// listing; a document page is its first part, the heading index and its
// second part, or the first part alone when there is no second part.
#pragma once

#include "engine/PageFiles.h"

// Writes a source's page from its work files.
void ScrivoApp_writeSourceHtml(const PageFiles& files);

// Writes a document's page from the parts of its last pass.
void ScrivoApp_writeDocumentHtml(const PageFiles& files);
