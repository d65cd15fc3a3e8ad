// Pipelines: the three conversions the driver chooses among. Each gets the
// absolute input path, the work folder name and a 260-byte buffer for the
// path of the page to show.
#pragma once

#include "app/ScrivoApp.h"
#include "runtime/PrintX.h"

// A C/C++ source or text file becomes one page.
void ScrivoApp_makeSourcePage(const char* input, const char* workFolder, char* result);
// An HTML template document is expanded into its page.
void ScrivoApp_makeTemplateDoc(const char* input, const char* workFolder, char* result,
                               PrintX* sink);
// A project file becomes a frame-based site.
void ScrivoApp_makeSite(const char* input, const char* workFolder, char* result,
                        ScrivoApp_Progress* progress, PrintX* sink);
