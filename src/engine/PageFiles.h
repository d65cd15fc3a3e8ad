// PageFiles: the work files of one page's passes, joined under the work
// folder in one place. A path that does not fit its 260-byte buffer is
// refused with an error naming it instead of being cut to a path that names
// another file; the names are joined in one order (the page first), so that
// the first one refused is always the same.
#pragma once
#include <cstddef>

#include "runtime/StrX.h"

inline constexpr char PageFiles_kMiddle[] = "_middle.txt";
inline constexpr char PageFiles_kMain[] = "_outMain.txt";
inline constexpr char PageFiles_kSecond[] = "_outMain2.txt";
inline constexpr char PageFiles_kOutline[] = "_outIdx.txt";  // of a page made on its own
inline constexpr char PageFiles_kMajor[] = "_outIdxA.txt";
inline constexpr char PageFiles_kTypes[] = "_outIdxS.txt";
inline constexpr char PageFiles_kFuncs[] = "_outIdxF.txt";
inline constexpr char PageFiles_kMacros[] = "_outIdxM.txt";
inline constexpr char PageFiles_kLinks[] = "_out.kwf";

enum class PageFiles_Kind { Source, Document };

struct PageFiles {
  PageFiles_Kind kind;
  const char* source;  // the file read
  // A source of a site: its writing pass reads the text that the template
  // reader expanded (middle), not the file itself.
  bool expanded;
  char folder[StrX_kPathSize];
  char page[StrX_kPathSize];
  char middle[StrX_kPathSize];   // the expanded text
  char main[StrX_kPathSize];     // the listing, or a document up to "embed_index"
  char second[StrX_kPathSize];   // the rest of a document
  char outline[StrX_kPathSize];  // the full outline, or a document's heading index
  char major[StrX_kPathSize];    // the short outline
  char types[StrX_kPathSize];    // the lists of types, functions and macros
  char funcs[StrX_kPathSize];
  char macros[StrX_kPathSize];
  char links[StrX_kPathSize];    // the links file
};

// The work folder: folderName against the folder of input.
void PageFiles_workFolder(char* dst, const char* input, const char* folderName);
// name joined to folder.
void PageFiles_join(char* dst, const char* folder, const char* name);
// A source page's name: input's file name with its extension made htm.
void PageFiles_pagePath(char* dst, const char* folder, const char* input);

// Joins the work files that kind reads and writes (a source's middle only
// when expanded, a document's lists of definitions never) under folder.
// folder and page are copied; page is already joined.
void PageFiles_init(PageFiles* files, PageFiles_Kind kind, const char* source, bool expanded,
                    const char* folder, const char* page, const char* outlineName);
// Deletes the work files of a page made on its own, the links file last (a
// missing one is no error).
void PageFiles_removeWork(const PageFiles* files);
// Deletes the given files in order.
void PageFiles_remove(const char* const* paths, std::size_t count);
