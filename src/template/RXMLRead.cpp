// RXMLRead: the reference pass and the definition pass.
#include "template/RXMLRead.h"

#include <cstring>
#include <string>

#include "runtime/Errors.h"
#include "runtime/Except3.h"
#include "runtime/StrX.h"

namespace {

constexpr char kModule[] = "rxml";

// --- Lines ---

void initLines(RXML_LineCount* c) {
  c->line = 1;
  c->counted = 0;
}

// Counts the line feeds between the last count and the cursor, and puts the
// cursor back.
int32_t countLines(RXML_LineCount* c, BLex3* lx) {
  BLex3_Pos here;
  BLex3_getPos(lx, &here);
  if (here.offset <= c->counted) return c->line;
  BLex3_setPos(lx, BLex3_Pos{c->counted, BLex3_kUnknown});
  int32_t off = c->counted;
  while (off < here.offset) {
    char* p = BLex3_fetch(lx, 0);
    if (p == nullptr) break;
    const int64_t avail = BLex3_getEnd(lx) - p;
    const int32_t n = static_cast<int32_t>(
        avail < here.offset - off ? avail : static_cast<int64_t>(here.offset - off));
    for (int32_t i = 0; i < n; ++i)
      if (p[i] == '\n') ++c->line;
    off += n;
    BLex3_setPtr(lx, p + n);
  }
  c->counted = here.offset;
  BLex3_setPos(lx, here);
  return c->line;
}

void raiseManyEnds(const char* path, int32_t line) {
  Errors_raise(kModule, __LINE__, RXML_Err_Many_EndOfTemplate,
               RXML_Txt_ManyEndOfTemplateAt, path, static_cast<int>(line));
}

// --- Paths ---

void raisePathTooLong() {
  Errors_raise(kModule, __LINE__, Errors_Unofficial, "%s",
               Errors_Txt_Error);
}

// Puts the hrefs of the open templates in place of loop names, innermost
// first, until the path names a file ("#"): a template matches when its arg
// equals the path's first part, or when it has no arg and that part is
// empty. The result must fit RXML_kPathSize bytes.
void resolveLoopNames(const RXML_ReadRefs* r, const char* href, char* out) {
  if (std::strlen(href) >= RXML_kPathSize) {
    raisePathTooLong();
    out[0] = '\0';
    return;
  }
  std::strcpy(out, href);
  for (std::size_t i = r->templates.size(); i-- > 0 && std::strchr(out, '#') == nullptr;) {
    const RXML_Elem* t = r->templates.at(i);
    const char* arg = RXML_getAttr(t, "arg");
    const char* target = RXML_getAttr(t, "href");
    const std::size_t firstLen = std::strcspn(out, ".");
    const std::string first(out, firstLen);
    const bool match = arg != nullptr ? RXML_equalsNoCase(arg, first.c_str()) : firstLen == 0;
    if (!match || target == nullptr) continue;
    const std::string joined = std::string(target) + (out + firstLen);
    if (joined.size() >= RXML_kPathSize) {
      raisePathTooLong();
      return;
    }
    std::strcpy(out, joined.c_str());
  }
}

// Adds the dot-separated parts as a branch under list, reusing nodes of the
// same name; empty parts are skipped.
void addRefs(RXML* rx, RXML_ElemList* list, RXML_File* file, const char* parts) {
  RXML_Elem* parent = nullptr;
  while (*parts != '\0') {
    const std::size_t n = std::strcspn(parts, ".");
    char part[RXML_kPartSize];
    StrX_cpy(part, parts, n + 1 < sizeof part ? n + 1 : sizeof part);
    parts += n;
    if (*parts == '.') ++parts;
    if (part[0] == '\0') continue;
    const char* name = StrX_Set_intern(rx->names, part);
    RXML_Elem* node = list->first;
    while (node != nullptr && node->name != name) node = node->next;
    if (node == nullptr) {
      node = RXML_newElem(rx, list, RXML_kRefTag);
      node->name = name;
      node->parent = parent;
      node->file = file;
    }
    parent = node;
    list = &node->children;
  }
}

// The warning for a var that names a missing file. The error's text ends
// with the part of its format after "%s"; what comes before is the path.
void warnMissing(RXML_ReadRefs* r, int32_t line, const Errors_Msg& err) {
  std::string missing = err.msgPtr;
  const char* suffix = RXML_Txt_FileNotFound + 2;
  const std::size_t n = std::strlen(suffix);
  if (missing.size() >= n && missing.compare(missing.size() - n, n, suffix) == 0)
    missing.resize(missing.size() - n);
  if (r->rxml->warnings != nullptr)
    PrintX_printf(r->rxml->warnings, RXML_Txt_RefFileNotFound, r->file->path,
                  static_cast<int>(line), missing.c_str());
}

// A var's path, after loop names: all#a.b under the global trees, file#a.b
// under that file's trees. A path without "#" names a file to include: it
// gets a record (so that its elements are read) but no reference.
void addVarRef(RXML_ReadRefs* r, const char* href, int32_t line) {
  char path[RXML_kPathSize];
  resolveLoopNames(r, href, path);
  RXML* rx = r->rxml;
  const char* hash = std::strchr(path, '#');
  if (hash == path + 3 && RXML_equalsNoCase(std::string(path, 4).c_str(), "all#")) {
    addRefs(rx, &rx->globalRefs, nullptr, hash + 1);
    return;
  }
  if (path[0] == '\0') return;
  Except3_tryCatch(
      kModule, __LINE__,
      [&] {
        RXML_File* f = RXML_findFile(rx, path, r->file->path, true);
        if (f != nullptr && hash != nullptr) addRefs(rx, &f->references, f, hash + 1);
      },
      [&](const Errors_Msg& err) {
        if (err.code != RXML_Err_FileNotFound) Except3_rethrow();
        warnMissing(r, line, err);
      },
      [] {});
}

int32_t currentLine(RXML_ReadRefs* r) {
  return r->line != nullptr ? *r->line : countLines(&r->lines, r->tags->lexer);
}

// --- Definition pass ---

RXML_ElemList* currentList(RXML_ReadDefs* d) {
  return d->open.empty() ? &d->file->elements : &d->open.top().elem->children;
}

RXML_Elem* findRef(RXML_ElemList* list, const char* name) {
  for (RXML_Elem* n = list->first; n != nullptr; n = n->next)
    if (RXML_equalsNoCase(n->name, name)) return n;
  return nullptr;
}

// A new element of the current list for the tag that starts at at and
// ends at tagEnd, with the tag's attributes; unclosed, it runs to the end
// of the file.
RXML_Elem* newElemHere(RXML_ReadDefs* d, BLex3_Pos at, BLex3_Pos tagEnd) {
  const HtmlTagP* t = d->tags;
  RXML_Elem* e = RXML_newElem(d->rxml, currentList(d), t->name);
  e->start = at;
  e->bodyStart = tagEnd;
  BLex3_getEOFPos(t->lexer, &e->end);
  e->bodyEnd = e->end;
  e->parent = d->open.empty() ? nullptr : d->open.top().elem;
  e->file = d->file;
  e->line = countLines(&d->lines, t->lexer);
  for (int32_t i = 0; i < t->attrCount; ++i) {
    if (std::strcmp(t->attrNames[i], "name") == 0)
      e->name = StrX_Set_intern(d->rxml->names, t->attrValues[i]);
    else
      RXML_addAttr(d->rxml, e, t->attrNames[i], t->attrValues[i]);
  }
  return e;
}

// Closes the innermost open element: its end tag runs from at to tagEnd.
void closeTop(RXML_ReadDefs* d, BLex3_Pos at, BLex3_Pos tagEnd) {
  RXML_OpenElem& top = d->open.top();
  top.elem->end = tagEnd;
  top.elem->bodyEnd = at;
  d->fileRefs = top.fileRefs;
  d->globalRefs = top.globalRefs;
  d->open.pop();
}

void endTemplate(RXML_ReadDefs* d, BLex3_Pos at, BLex3_Pos tagEnd) {
  std::size_t i = d->open.size();
  while (i > 0 && d->open.at(i - 1).elem->tag != d->rxml->tagTemplate) --i;
  if (i == 0) {
    Errors_raise(kModule, __LINE__, RXML_Err_Many_EndOfTemplate,
                 "%s", RXML_Txt_ManyEndOfTemplate);
  }
  // Recorded elements left open inside the template end where it ends.
  while (d->open.size() > i) closeTop(d, at, at);
  closeTop(d, at, tagEnd);
}

// An end tag closes the innermost element when that has its tag and no
// unrecorded element of the same tag is open inside it.
void endElement(RXML_ReadDefs* d, const char* tag, BLex3_Pos at, BLex3_Pos tagEnd) {
  if (d->open.empty()) return;
  RXML_OpenElem& top = d->open.top();
  if (top.elem->tag == d->rxml->tagTemplate || !RXML_equalsNoCase(top.elem->tag, tag)) return;
  if (top.nested > 0)
    --top.nested;
  else
    closeTop(d, at, tagEnd);
}

void startElement(RXML_ReadDefs* d, BLex3_Pos at, BLex3_Pos tagEnd) {
  const char* name = d->tags->name;
  RXML_Elem* fileHit = findRef(d->fileRefs, name);
  RXML_Elem* globalHit = findRef(d->globalRefs, name);
  if (fileHit == nullptr && globalHit == nullptr) {
    if (!d->open.empty() && RXML_equalsNoCase(d->open.top().elem->tag, name))
      ++d->open.top().nested;
    return;
  }
  RXML_Elem* e = newElemHere(d, at, tagEnd);
  if (!d->open.push(RXML_OpenElem{e, d->fileRefs, d->globalRefs, 0})) return;
  if (fileHit != nullptr) d->fileRefs = &fileHit->children;
  if (globalHit != nullptr) d->globalRefs = &globalHit->children;
}

}  // namespace

void RXML_readRefs_init(RXML_ReadRefs* r, HtmlTagP* tags, const int32_t* line, RXML_File* file,
                        RXML* rxml) {
  r->tags = tags;
  r->line = line;
  initLines(&r->lines);
  r->file = file;
  r->rxml = rxml;
  while (!r->templates.empty()) r->templates.pop();
}

void RXML_readRefs_step(RXML_ReadRefs* r) {
  if (HtmlTagP_getState(r->tags) != HtmlTagP_kStart) return;
  const HtmlTagP* t = r->tags;
  RXML* rx = r->rxml;
  if (std::strcmp(t->name, "template") == 0) {
    // Kept until its end tag in the RXML's own list, which the reader
    // releases should the run stop first.
    RXML_Elem* e = RXML_newElem(rx, &rx->elements, "template");
    e->parent = r->templates.empty() ? nullptr : r->templates.top();
    e->file = r->file;
    e->line = currentLine(r);
    for (const char* attr : {"href", "arg"})
      if (const char* v = HtmlTagP_getAttr(t, attr)) RXML_addAttr(rx, e, attr, v);
    r->templates.push(e);
  } else if (std::strcmp(t->name, "/template") == 0) {
    if (r->templates.empty()) {
      raiseManyEnds(r->file->path, currentLine(r));
      return;
    }
    RXML_Elem* e = r->templates.top();
    r->templates.pop();
    RXML_unlink(&rx->elements, e);
    RXML_freeElem(e);
  } else if (std::strcmp(t->name, "var") == 0) {
    if (const char* href = HtmlTagP_getAttr(t, "href")) addVarRef(r, href, currentLine(r));
  }
}

void RXML_readDefs_init(RXML_ReadDefs* d, HtmlTagP* tags, RXML_File* file) {
  d->tags = tags;
  initLines(&d->lines);
  d->file = file;
  d->rxml = file->owner;
  while (!d->open.empty()) d->open.pop();
  d->fileRefs = &file->references;
  d->globalRefs = &d->rxml->globalRefs;
}

void RXML_readDefs_step(RXML_ReadDefs* d) {
  if (HtmlTagP_getState(d->tags) != HtmlTagP_kStart) return;
  // Everything is known at the tag's start: the scanner's next position is
  // just after its ">". (A tag that ends the file has no end event before
  // the loop stops.)
  BLex3_Pos at;
  BLex3_getPos(d->tags->lexer, &at);
  BLex3_Pos tagEnd;
  HtmlTagP_getNextPos(d->tags, &tagEnd);
  const char* name = d->tags->name;
  if (std::strcmp(name, "template") == 0) {
    RXML_Elem* e = newElemHere(d, at, tagEnd);
    d->open.push(RXML_OpenElem{e, d->fileRefs, d->globalRefs, 0});
  } else if (std::strcmp(name, "/template") == 0) {
    endTemplate(d, at, tagEnd);
  } else if (std::strcmp(name, "var") == 0) {
    RXML_Elem* e = newElemHere(d, at, tagEnd);
    e->end = e->bodyEnd = tagEnd;
  } else if (name[0] == '/') {
    endElement(d, name + 1, at, tagEnd);
  } else {
    startElement(d, at, tagEnd);
  }
}
