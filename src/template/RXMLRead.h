// RXMLRead: the two reading passes of the template engine, each a scanner
// stepped after the tag scanner in a lockstep loop over one file.
//
// The reference pass reads a document once and turns every var path into
// a branch of a reference tree, under the file the path names (file#a.b)
// or under the global trees (all#a.b), after putting the paths of the
// enclosing templates in place of loop names. The definition pass reads
// each file once and records its template and var elements and, along the
// reference trees only, the elements those paths can reach.
#pragma once
#include <cstdint>

#include "lexer/HtmlTagP.h"
#include "template/RXML.h"

// Lines of a file as the passes step over it: line feeds are counted from
// where the last count stopped up to the lexer's cursor.
struct RXML_LineCount {
  int32_t line;     // of the cursor, from 1
  int32_t counted;  // offset up to which line feeds are counted
};

struct RXML_ReadRefs {
  HtmlTagP* tags;
  const int32_t* line;  // the pass's line number, or null: counted here
  RXML_LineCount lines;
  RXML_File* file;
  RXML* rxml;
  RXML_TemplateStack templates;  // open templates, innermost last
};

// An element open in the definition pass, with the reference lists that
// were searched before it matched and the same-named tags open inside it.
struct RXML_OpenElem {
  RXML_Elem* elem;
  RXML_ElemList* fileRefs;
  RXML_ElemList* globalRefs;
  int32_t nested;
};

struct RXML_ReadDefs {
  HtmlTagP* tags;
  RXML_LineCount lines;
  RXML_File* file;
  RXML* rxml;
  RXML_Stack<RXML_OpenElem, RXML_kMaxTemplates> open;  // templates and recorded elements
  RXML_ElemList* fileRefs;    // reference nodes the next tag is searched among
  RXML_ElemList* globalRefs;
};

// line: the pass's line counter's line field (it counts up to the current
// position before this scanner steps), or null to count lines here.
void RXML_readRefs_init(RXML_ReadRefs* refs, HtmlTagP* tags, const int32_t* line,
                        RXML_File* file, RXML* rxml);
// At a tag start: template opens, "/template" closes (a stray one raises
// RXML_Err_Many_EndOfTemplate with file and line), var records its path. A
// var naming a missing file writes a warning through the RXML's sink.
void RXML_readRefs_step(RXML_ReadRefs* refs);

// The file must exist (file->exists). Lines are counted here.
void RXML_readDefs_init(RXML_ReadDefs* defs, HtmlTagP* tags, RXML_File* file);
// At a tag start: records the element and, for an end tag, closes the one
// it ends. A stray "/template" raises RXML_Err_Many_EndOfTemplate.
void RXML_readDefs_step(RXML_ReadDefs* defs);
