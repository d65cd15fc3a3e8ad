// DefIndex: the definition index of a source page. It watches the
// declaration recognizer's events in both passes over a file and, for each
// defined name, writes a list item (types, functions, macros), registers
// the name in braces in the links file, and puts a named anchor around the
// declaration in the listing, each only when that output is given. Numbers
// are handed out per kind by counting start events, so the numbers of the
// analysis pass (links file) and of the writing pass (anchors, lists) agree.
#pragma once
#include <cstdint>
#include <cstdio>

#include "engine/LinksFile.h"
#include "lexer/CDeclP.h"
#include "runtime/OutFile.h"
#include "runtime/OutFile.h"
#include "runtime/StrX.h"

inline constexpr std::size_t DefIndex_kNameSize = 256;  // at most 255 bytes of a name

struct DefIndex {
  CDeclP* recognizer = nullptr;
  const CDeclP_Event* event = nullptr;
  int32_t macros = 0;
  int32_t functions = 0;
  int32_t types = 0;
  int32_t aggregates = 0;
  int32_t enums = 0;
  std::FILE* typeList = nullptr;  // owned
  std::FILE* funcList = nullptr;  // owned
  std::FILE* macroList = nullptr; // owned
  // The lists' paths, for the report of a failed write.
  char typePath[StrX_kPathSize] = {};
  char funcPath[StrX_kPathSize] = {};
  char macroPath[StrX_kPathSize] = {};
  LinksFile* links = nullptr;
  OutFile* anchor = nullptr;      // the listing, or none
};

// Opens each list path that is given ("wb"); links and anchor may be null.
void DefIndex_init(DefIndex* index, CDeclP* recognizer, const char* typePath,
                   const char* funcPath, const char* macroPath, LinksFile* links,
                   OutFile* anchor);
void DefIndex_step(DefIndex* index);
// Closes the list streams that are open, all of them, then raises
// FileX_Err_CannotWrite naming the first list whose writing failed; safe
// once after any init.
void DefIndex_finish(DefIndex* index);
