// LinksFile: the writer of the links file "_out.kwf", which lists every name
// a page defines (C definitions, marked keywords, titles with keywords) and
// where in the pages it is defined. The keyword search tool reads it, and
// LinksIndex loads it back so that the writing passes can link every use of
// a name. Each entry's target is the current page reference and an anchor.
#pragma once
#include <cstdint>

#include "runtime/StrX.h"
#include "settings/IniFile.h"

// The values of the [main] section that the search tool expects.
inline constexpr char LinksFile_kApplication[] = "Pervix";
inline constexpr int32_t LinksFile_kVersion = 100;
inline constexpr char LinksFile_kDispURL[] = "(default)";
inline constexpr char LinksFile_kDispTarget[] = "main";
// The base every pipeline writes: targets are relative to the links file.
inline constexpr char LinksFile_kBase[] = ".";

struct LinksFile {
  IniFile_Write writer;
  // The page that the entries added now belong to, relative to the links
  // file's folder; empty for a single page (targets are then "#anchor").
  char page[StrX_kPathSize] = {};
};

// Creates the file at path and empties the page reference. Raises
// FileX_Err_CannotWriteOpen.
void LinksFile_open(LinksFile* file, const char* path);
// The [main] section (base as "Base", the current time as "Update"), then
// the header of the section "links" that the entries follow.
void LinksFile_writeHeader(LinksFile* file, const char* base);
// The page reference of the entries that follow, cut to 259 bytes at a
// character boundary.
void LinksFile_setPage(LinksFile* file, const char* page);
// An entry "A = name, second, target" whose target is the page reference,
// then "#" and anchor when anchor is not empty.
void LinksFile_add(LinksFile* file, const char* anchor, const char* name, const char* second);
// An entry whose target is the page reference, then "#", kind and number
// ("#func3") when kind is not empty.
void LinksFile_addDef(LinksFile* file, const char* kind, int32_t number, const char* name,
                      const char* second);
// Writes the closing line and closes the file.
void LinksFile_close(LinksFile* file);
