// RXML: the model of the template engine. HTML documents name pieces of
// other HTML files by paths (file#tag.tag); the reading passes (RXMLRead.h)
// record those paths as reference trees and then, per file, the elements
// the paths can reach, and expansion (RXMLWrite.h) copies a document with
// its var and template elements replaced. Elements keep only file offsets,
// so any bytes pass through unchanged. Every name is interned in the one
// case-blind StrX_Set of the run, so names compare without regard to case.
#pragma once
#include <cstddef>
#include <cstdint>

#include "lexer/BLex3.h"
#include "runtime/ArrX.h"
#include "runtime/PrintX.h"
#include "runtime/StrX_Set.h"

struct RXML;
struct RXML_File;
struct RXML_Elem;

// Capacities: open templates in each pass and repeating templates in an
// expansion; nested expansions of var elements (the document itself counts
// as one); a path part; a path after loop names are put in.
inline constexpr std::size_t RXML_kMaxTemplates = 32;
inline constexpr std::size_t RXML_kMaxNesting = 32;
inline constexpr std::size_t RXML_kPartSize = 256;
inline constexpr std::size_t RXML_kPathSize = 512;

// The tag of a reference node.
inline constexpr char RXML_kRefTag[] = "DC";

struct RXML_Attr {
  RXML_Attr* next;
  const char* name;  // interned
  char* value;       // owned
};

struct RXML_ElemList {
  RXML_Elem* first;
  RXML_Elem* last;
};

// An element read from a file, or a node of a reference tree (tag "DC").
struct RXML_Elem {
  RXML_Elem* next;       // in its parent's children, its file's or the RXML's list
  const char* tag;       // interned, lower-case
  const char* name;      // the "name" attribute or the path part; StrX_Set_eNull if none
  BLex3_Pos start;       // the "<" of its start tag
  BLex3_Pos end;         // just after its end tag's ">" (a var: after its own tag)
  BLex3_Pos bodyStart;   // just after its start tag's ">"
  BLex3_Pos bodyEnd;     // the "<" of its end tag; end when it has none
  RXML_Attr* attrs;      // every attribute but "name"
  RXML_ElemList children;
  RXML_Elem* cursor;     // the item a repeating template stands on
  RXML_Elem* parent;
  RXML_File* file;
  int32_t line;          // of its start tag
};

struct RXML_File {
  RXML_File* next;
  const char* path;  // interned, absolute
  RXML* owner;
  bool exists;       // whether the file was there when the record was made
  RXML_ElemList elements;    // top-level elements, in document order
  RXML_ElemList references;  // the trees of paths file#a.b that name this file
};

struct RXML {
  RXML_ElemList elements;    // elements of no file (the reference pass's templates)
  RXML_File* firstFile;      // in the order in which the files were first named
  RXML_File* lastFile;
  RXML_ElemList globalRefs;  // the trees of paths all#a.b
  PrintX* warnings;          // missing referenced files; may be null
  StrX_Set* names;
  // Interned once for comparisons by identity.
  const char* tagTemplate;
  const char* tagVar;
  const char* tagRef;
};

// A fixed stack over an ArrX_Buf: a push past N raises ArrX_Err_Full.
template <class T, std::size_t N>
struct RXML_Stack {
  T items[N];
  ArrX_Buf buf;

  RXML_Stack() { ArrX_Buf_init(&buf, items, sizeof items); }
  RXML_Stack(const RXML_Stack&) = delete;
  RXML_Stack& operator=(const RXML_Stack&) = delete;

  std::size_t size() const { return static_cast<std::size_t>(buf.last - buf.first) / sizeof(T); }
  bool empty() const { return buf.last == buf.first; }
  T& at(std::size_t i) { return items[i]; }
  const T& at(std::size_t i) const { return items[i]; }
  T& top() { return items[size() - 1]; }
  // False when the push did not happen (the raise returned).
  bool push(const T& item) {
    void* slot = ArrX_Buf_alloc(&buf, sizeof(T));
    if (slot == nullptr) return false;
    *static_cast<T*>(slot) = item;
    return true;
  }
  void pop() {
    if (!empty()) ArrX_Buf_free(&buf, &top(), sizeof(T));
  }
};

using RXML_TemplateStack = RXML_Stack<RXML_Elem*, RXML_kMaxTemplates>;

// names: the run's set (StrX_Set_kWidth buckets, StrX_getHashI, case
// ignored), set up by the caller before and finished after the reader.
void RXML_init(RXML* rxml, PrintX* warnings, StrX_Set* names);
// Frees every file record, element, reference node and attribute value.
void RXML_finish(RXML* rxml);

// Appends a record for the absolute path. A path that is not an existing
// file raises RXML_Err_FileNotFound ("%s ファイルが見つかりません"); the
// record stays, marked missing.
RXML_File* RXML_addFile(RXML* rxml, const char* path);
// The record of the file that path names before its "#", made absolute
// against the folder of basePath; a path that begins with "#" names
// basePath itself. With create, a missing record is added (RXML_addFile,
// which may raise). A file path that does not fit 260 bytes raises
// StrX_Err_PathTooLong.
RXML_File* RXML_findFile(RXML* rxml, const char* path, const char* basePath, bool create);
std::size_t RXML_getFileCount(const RXML* rxml);

// The value of an element's attribute (ASCII case ignored), or null.
const char* RXML_getAttr(const RXML_Elem* elem, const char* name);
// The next element with the same tag in the same list, or null.
RXML_Elem* RXML_nextSibling(const RXML_Elem* elem);

// Building blocks of the passes: a zero-filled element appended to list,
// with its tag interned and no name; and freeing one with all it holds.
RXML_Elem* RXML_newElem(RXML* rxml, RXML_ElemList* list, const char* tag);
void RXML_addAttr(RXML* rxml, RXML_Elem* elem, const char* name, const char* value);
// Takes elem out of list (nothing when it is not there).
void RXML_unlink(RXML_ElemList* list, RXML_Elem* elem);
void RXML_freeElem(RXML_Elem* elem);
// ASCII case-blind equality of two texts.
bool RXML_equalsNoCase(const char* a, const char* b);
