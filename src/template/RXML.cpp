// RXML: file records, elements and their release.
#include "template/RXML.h"

#include <cstring>

#include "runtime/ByteClass.h"
#include "runtime/Errors.h"
#include "runtime/FileX.h"
#include "runtime/StdPlus.h"
#include "runtime/StrXPath.h"

namespace {

constexpr char kModule[] = "rxml";

template <class T>
T* newRecord() {
  void* p = StdPlus_malloc(sizeof(T));
  std::memset(p, 0, sizeof(T));
  return static_cast<T*>(p);
}

void append(RXML_ElemList* list, RXML_Elem* e) {
  if (list->last != nullptr)
    list->last->next = e;
  else
    list->first = e;
  list->last = e;
}

void freeList(RXML_ElemList* list) {
  for (RXML_Elem* e = list->first; e != nullptr;) {
    RXML_Elem* next = e->next;
    RXML_freeElem(e);
    e = next;
  }
  list->first = list->last = nullptr;
}

}  // namespace

bool RXML_equalsNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    const unsigned char x = ByteClass_lower(static_cast<unsigned char>(*a));
    if (x != ByteClass_lower(static_cast<unsigned char>(*b))) return false;
    if (x == '\0') return true;
  }
}

void RXML_init(RXML* rx, PrintX* warnings, StrX_Set* names) {
  std::memset(rx, 0, sizeof *rx);
  rx->warnings = warnings;
  rx->names = names;
  rx->tagTemplate = StrX_Set_intern(names, "template");
  rx->tagVar = StrX_Set_intern(names, "var");
  rx->tagRef = StrX_Set_intern(names, RXML_kRefTag);
}

void RXML_finish(RXML* rx) {
  freeList(&rx->elements);
  freeList(&rx->globalRefs);
  for (RXML_File* f = rx->firstFile; f != nullptr;) {
    RXML_File* next = f->next;
    freeList(&f->elements);
    freeList(&f->references);
    StdPlus_free(f);
    f = next;
  }
  rx->firstFile = rx->lastFile = nullptr;
}

RXML_File* RXML_addFile(RXML* rx, const char* path) {
  RXML_File* f = newRecord<RXML_File>();
  f->path = StrX_Set_intern(rx->names, path);
  f->owner = rx;
  // A folder is no file to read.
  f->exists = FileX_isExist(path) && !FileX_isDirExist(path);
  if (rx->lastFile != nullptr)
    rx->lastFile->next = f;
  else
    rx->firstFile = f;
  rx->lastFile = f;
  if (!f->exists)
    Errors_raise(kModule, __LINE__, RXML_Err_FileNotFound,
                 RXML_Txt_FileNotFound, path);
  return f;
}

RXML_File* RXML_findFile(RXML* rx, const char* path, const char* basePath, bool create) {
  char abs[StrX_kPathSize];
  const char* hash = std::strchr(path, '#');
  const std::size_t n = hash != nullptr ? static_cast<std::size_t>(hash - path) : std::strlen(path);
  bool fitted = true;
  if (n == 0) {
    // "#part": the base file itself.
    fitted = std::strlen(basePath) < sizeof abs;
    StrX_cpy(abs, basePath, sizeof abs);
  } else {
    fitted = n < sizeof abs;
    StrX_cpy(abs, path, n + 1 < sizeof abs ? n + 1 : sizeof abs);
    fitted = StrX_toAbsPathFromFile(abs, sizeof abs, basePath) && fitted;
  }
  if (!fitted) {
    // A cut path would name another file.
    Errors_raise(kModule, __LINE__, StrX_Err_PathTooLong,
                 StrX_Txt_PathTooLong, static_cast<int>(StrX_kPathSize - 1), path);
  }
  for (RXML_File* f = rx->firstFile; f != nullptr; f = f->next)
    if (RXML_equalsNoCase(f->path, abs)) return f;
  return create ? RXML_addFile(rx, abs) : nullptr;
}

std::size_t RXML_getFileCount(const RXML* rx) {
  std::size_t n = 0;
  for (const RXML_File* f = rx->firstFile; f != nullptr; f = f->next) ++n;
  return n;
}

const char* RXML_getAttr(const RXML_Elem* e, const char* name) {
  for (const RXML_Attr* a = e->attrs; a != nullptr; a = a->next)
    if (RXML_equalsNoCase(a->name, name)) return a->value;
  return nullptr;
}

RXML_Elem* RXML_nextSibling(const RXML_Elem* e) {
  for (RXML_Elem* n = e->next; n != nullptr; n = n->next)
    if (n->tag == e->tag) return n;
  return nullptr;
}

RXML_Elem* RXML_newElem(RXML* rx, RXML_ElemList* list, const char* tag) {
  RXML_Elem* e = newRecord<RXML_Elem>();
  e->tag = StrX_Set_intern(rx->names, tag);
  e->name = StrX_Set_eNull;
  append(list, e);
  return e;
}

void RXML_addAttr(RXML* rx, RXML_Elem* e, const char* name, const char* value) {
  RXML_Attr* a = newRecord<RXML_Attr>();
  // Linked first, so that the element releases it should a copy fail.
  RXML_Attr** tail = &e->attrs;
  while (*tail != nullptr) tail = &(*tail)->next;
  *tail = a;
  a->name = StrX_Set_intern(rx->names, name);
  const std::size_t n = std::strlen(value) + 1;
  a->value = static_cast<char*>(StdPlus_malloc(n));
  std::memcpy(a->value, value, n);
}

void RXML_unlink(RXML_ElemList* list, RXML_Elem* elem) {
  RXML_Elem* prev = nullptr;
  for (RXML_Elem* e = list->first; e != nullptr; prev = e, e = e->next) {
    if (e != elem) continue;
    if (prev != nullptr)
      prev->next = e->next;
    else
      list->first = e->next;
    if (list->last == e) list->last = prev;
    e->next = nullptr;
    return;
  }
}

void RXML_freeElem(RXML_Elem* e) {
  for (RXML_Attr* a = e->attrs; a != nullptr;) {
    RXML_Attr* next = a->next;
    StdPlus_free(a->value);
    StdPlus_free(a);
    a = next;
  }
  // Depth is bounded: element trees by the 32 open elements of the
  // definition pass, reference trees by the parts of a 512-byte path.
  freeList(&e->children);
  StdPlus_free(e);
}
