// RXMLWrite: template expansion. A document is copied byte for byte by file
// offsets, except that every var and template element recorded by the
// definition pass is replaced by what it names: a template repeats its body
// once per item of the list its path finds, a var writes the body of the
// element its path finds, a whole file, or its value. A line that held only
// such elements and blanks leaves no line behind.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "template/RXML.h"

// The elements and files whose expansion is being written, outermost first.
using RXML_NestingStack = RXML_Stack<const void*, RXML_kMaxNesting>;

// The state of one output of one file (RXML_writeFile makes it).
struct RXML_WriteCtx {
  RXML* rxml = nullptr;
  const char* path = nullptr;  // of the file being read; paths are relative to it
  std::FILE* in = nullptr;     // that file, replaced while another file's element is written
  int64_t inPos = -1;          // where in stands (-1: unknown)
  std::FILE* out = nullptr;
  RXML_TemplateStack templates;  // templates being repeated, innermost last
  bool atLineStart = true;       // only blanks and elements since the last line feed
  bool elemOnLine = false;       // ...and at least one element among them
  std::string indent;            // the blanks since that line feed, not yet written
  RXML_NestingStack* nesting = nullptr;
};

// Writes the whole file expanded to out. A var that pulls in an element or
// file already being expanded raises RXML_Err_Recursive; more than
// RXML_kMaxNesting nested expansions or RXML_kMaxTemplates nested repeating
// templates raise ArrX_Err_Full. The file is closed whatever happens.
void RXML_writeFile(RXML_File* file, std::FILE* out);
// Writes one element by its rule (template, var, or any other: its text
// with its children expanded); gives the offset where its text ends.
int32_t RXML_writeElem(RXML_Elem* elem, RXML_WriteCtx* ctx);
// The element a path names, or null: "it.a.b" from the cursor of the
// innermost repeating template whose arg is "it" (".a.b": the innermost
// one without arg); "file#a.b" from the first top-level a of that file
// (relative to basePath), "#a.b" of basePath's own file, "all#a.b" of any
// file; every further part is the first child with that tag.
RXML_Elem* RXML_resolve(RXML* rxml, const char* path, const char* basePath,
                        const RXML_TemplateStack* templates);
