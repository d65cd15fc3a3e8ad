// RXMLWrite: the expansion rules.
//
// Line handling: the blanks that begin a line are held back until the line
// shows a byte of text; a line on which only elements that wrote nothing
// stood is dropped with its line feed. An element's start and end tags are
// left out wherever its body is pulled in.
#include "template/RXMLWrite.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "runtime/Errors.h"
#include "runtime/FileX.h"

namespace {

constexpr char kModule[] = "rxml";

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

inline bool isBlank(int c) { return c == ' ' || c == '\t' || c == '\r'; }
inline int32_t maxOffset(int32_t a, int32_t b) { return a > b ? a : b; }

// --- Input and output ---

void seekIn(RXML_WriteCtx* c, int32_t offset) {
  if (c->in == nullptr || c->inPos == offset) return;
  if (std::fseek(c->in, static_cast<long>(offset), SEEK_SET) != 0) {
    c->inPos = -1;
    Errors_raiseErrno();
  }
  c->inPos = offset;
}

int readIn(RXML_WriteCtx* c) {
  if (c->in == nullptr) return EOF;
  const int ch = std::fgetc(c->in);
  if (ch != EOF) {
    ++c->inPos;
  } else if (std::ferror(c->in)) {
    c->inPos = -1;
    Errors_raiseErrno();
  }
  return ch;
}

// Up to n bytes from the input's position into buf; fewer at the end of the
// file.
std::size_t readChunk(RXML_WriteCtx* c, char* buf, std::size_t n) {
  const std::size_t got = std::fread(buf, 1, n, c->in);
  if (got < n && std::ferror(c->in)) {
    c->inPos = -1;
    Errors_raiseErrno();
  }
  c->inPos += static_cast<int32_t>(got);
  return got;
}

// How much of a buffer of size bytes a copy from off to `to` reads next.
std::size_t wantBefore(int32_t off, int32_t to, std::size_t size) {
  return static_cast<std::size_t>(
      std::min<int64_t>(static_cast<int64_t>(size), static_cast<int64_t>(to) - off));
}

void put(RXML_WriteCtx* c, const char* bytes, std::size_t n) {
  if (n > 0 && std::fwrite(bytes, 1, n, c->out) != n)
    Errors_raise(kModule, __LINE__, FileX_Err_CannotWrite, "%s",
                 FileX_Txt_WriteFailed);
}

// The held blanks go out in front of what an element writes.
void writeIndent(RXML_WriteCtx* c) {
  if (!c->atLineStart) return;
  put(c, c->indent.data(), c->indent.size());
  c->indent.clear();
  c->atLineStart = false;
}

// Reads the input from `from` to `to` (or its end) in pieces and hands each
// to piece(p, n).
template <class Piece>
void readPieces(RXML_WriteCtx* c, int32_t from, int32_t to, Piece&& piece) {
  if (from >= to || c->in == nullptr) return;
  seekIn(c, from);
  char buf[4096];
  int32_t off = from;
  while (off < to) {
    const std::size_t want = wantBefore(off, to, sizeof buf);
    const std::size_t got = readChunk(c, buf, want);
    off += static_cast<int32_t>(got);
    piece(buf, got);
    if (got < want) return;  // the end of the file
  }
}

// Copies the text between elements, holding the blanks that begin a line.
void copyText(RXML_WriteCtx* c, int32_t from, int32_t to) {
  readPieces(c, from, to, [c](const char* p, std::size_t n) {
    const char* const end = p + n;
    while (p < end) {
      if (c->atLineStart) {
        const unsigned char ch = static_cast<unsigned char>(*p);
        if (isBlank(ch)) {
          c->indent += static_cast<char>(ch);
          ++p;
          continue;
        }
        if (ch == '\n' && c->elemOnLine) {
          // The line held nothing but elements and blanks.
          c->indent.clear();
          c->elemOnLine = false;
          ++p;
          continue;
        }
        writeIndent(c);
      }
      // Inside a line the bytes go out as they are, up to its line feed.
      const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
      const char* runEnd = nl != nullptr ? static_cast<const char*>(nl) + 1 : end;
      put(c, p, static_cast<std::size_t>(runEnd - p));
      p = runEnd;
      if (nl != nullptr) {
        c->atLineStart = true;
        c->elemOnLine = false;
      }
    }
  });
}

void copyVerbatim(RXML_WriteCtx* c, int32_t from, int32_t to) {
  readPieces(c, from, to, [c](const char* p, std::size_t n) { put(c, p, n); });
}

// --- Guards ---

// Reads another file's element: the input and the base of its paths are
// that file's until the guard ends.
class InputSwitch {
 public:
  InputSwitch(RXML_WriteCtx* c, const RXML_File* f)
      : c_(c), in_(c->in), inPos_(c->inPos), path_(c->path), file_(FileX_open(f->path, "rb")) {
    c->in = file_.get();
    c->inPos = 0;
    c->path = f->path;
  }
  ~InputSwitch() {
    c_->in = in_;
    c_->inPos = inPos_;
    c_->path = path_;
  }
  InputSwitch(const InputSwitch&) = delete;
  InputSwitch& operator=(const InputSwitch&) = delete;

 private:
  RXML_WriteCtx* c_;
  std::FILE* in_;
  int64_t inPos_;
  const char* path_;
  FilePtr file_;
};

// One level of nested expansion of target (an element or a file) for var.
// A target that is being expanded already would repeat without end.
class Nesting {
 public:
  Nesting(RXML_NestingStack* s, const void* target, const char* targetPath,
          const RXML_Elem* var)
      : s_(s) {
    for (std::size_t i = 0; i < s->size(); ++i) {
      if (s->at(i) != target) continue;
      Errors_raise(kModule, __LINE__, RXML_Err_Recursive,
                   RXML_Txt_Recursive, var->file != nullptr ? var->file->path : "",
                   static_cast<int>(var->line), targetPath);
    }
    entered_ = s->push(target);
  }
  ~Nesting() {
    if (entered_) s_->pop();
  }
  bool entered() const { return entered_; }
  Nesting(const Nesting&) = delete;
  Nesting& operator=(const Nesting&) = delete;

 private:
  RXML_NestingStack* s_;
  bool entered_ = false;
};

class TemplatePush {
 public:
  TemplatePush(RXML_TemplateStack* s, RXML_Elem* t) : s_(s), pushed_(s->push(t)) {}
  ~TemplatePush() {
    if (pushed_) s_->pop();
  }
  bool pushed() const { return pushed_; }
  TemplatePush(const TemplatePush&) = delete;
  TemplatePush& operator=(const TemplatePush&) = delete;

 private:
  RXML_TemplateStack* s_;
  bool pushed_;
};

// --- Rules ---

void writeFileNested(RXML_File* file, std::FILE* out, RXML_NestingStack* nesting);

// Any element other than template and var, and the fallback of both: its
// text as it stands, start and end tags included, children expanded.
int32_t writeChildren(RXML_Elem* e, RXML_WriteCtx* c) {
  writeIndent(c);
  int32_t pos = e->start.offset;
  for (RXML_Elem* child = e->children.first; child != nullptr; child = child->next) {
    copyVerbatim(c, pos, child->start.offset);
    pos = maxOffset(pos, RXML_writeElem(child, c));
  }
  copyVerbatim(c, pos, e->end.offset);
  return maxOffset(pos, e->end.offset);
}

// An element's content without its start and end tags. When the start tag
// ends its line (blanks only after it), that line is dropped with its
// indentation, and the body's lines keep their own.
void writeBody(RXML_Elem* e, RXML_WriteCtx* c) {
  int32_t pos = e->bodyStart.offset;
  const int32_t bodyEnd = maxOffset(pos, e->bodyEnd.offset);
  if (c->atLineStart) {
    seekIn(c, pos);
    for (int32_t off = pos; off < bodyEnd; ++off) {
      const int ch = readIn(c);
      if (isBlank(ch)) continue;
      if (ch == '\n') {
        pos = off + 1;
        c->indent.clear();
        c->elemOnLine = false;
      }
      break;
    }
  }
  for (RXML_Elem* child = e->children.first; child != nullptr; child = child->next) {
    copyText(c, pos, child->start.offset);
    pos = maxOffset(pos, RXML_writeElem(child, c));
  }
  copyText(c, pos, bodyEnd);
  // The end tag is left out, with the blanks before it on its line.
  if (e->bodyEnd.offset < e->end.offset && c->atLineStart) {
    c->indent.clear();
    c->elemOnLine = true;
  }
}

int32_t writeTemplate(RXML_Elem* e, RXML_WriteCtx* c) {
  const char* href = RXML_getAttr(e, "href");
  RXML_Elem* item =
      href != nullptr ? RXML_resolve(c->rxml, href, c->path, &c->templates) : nullptr;
  if (item == nullptr) return writeChildren(e, c);
  TemplatePush push(&c->templates, e);
  if (!push.pushed()) return e->end.offset;
  for (e->cursor = item; e->cursor != nullptr; e->cursor = RXML_nextSibling(e->cursor))
    writeBody(e, c);
  return e->end.offset;
}

// A var is its start tag alone: whatever it writes, the text after it is
// copied as ordinary text.
int32_t writeVar(RXML_Elem* e, RXML_WriteCtx* c) {
  if (const char* interval = RXML_getAttr(e, "interval")) {
    // Written between the items of a list, not after the last one.
    const RXML_Elem* item = RXML_resolve(c->rxml, interval, c->path, &c->templates);
    if (item == nullptr || RXML_nextSibling(item) == nullptr) return e->end.offset;
  }
  if (const char* href = RXML_getAttr(e, "href")) {
    if (RXML_Elem* found = RXML_resolve(c->rxml, href, c->path, &c->templates)) {
      Nesting nest(c->nesting, found, found->file->path, e);
      if (!nest.entered()) return e->end.offset;
      InputSwitch input(c, found->file);
      writeIndent(c);
      writeBody(found, c);
      return e->end.offset;
    }
    RXML_File* f = std::strchr(href, '#') == nullptr
                       ? RXML_findFile(c->rxml, href, c->path, false)
                       : nullptr;
    if (f != nullptr && f->exists) {
      Nesting nest(c->nesting, f, f->path, e);
      if (nest.entered()) writeFileNested(f, c->out, c->nesting);
      return e->end.offset;
    }
    writeChildren(e, c);
    return e->end.offset;
  }
  if (const char* value = RXML_getAttr(e, "value")) {
    writeIndent(c);
    put(c, value, std::strlen(value));
    return e->end.offset;
  }
  writeChildren(e, c);
  return e->end.offset;
}

void writeFileNested(RXML_File* file, std::FILE* out, RXML_NestingStack* nesting) {
  RXML_WriteCtx c;
  c.rxml = file->owner;
  c.path = file->path;
  FilePtr in(FileX_open(file->path, "rb"));
  c.in = in.get();
  c.inPos = 0;
  c.out = out;
  c.nesting = nesting;
  int32_t pos = 0;
  for (RXML_Elem* e = file->elements.first; e != nullptr; e = e->next) {
    copyText(&c, pos, e->start.offset);
    pos = maxOffset(pos, RXML_writeElem(e, &c));
  }
  copyText(&c, pos, BLex3_kNoOffset);
  // Blanks that end the file stay, unless they stood beside elements only.
  if (c.atLineStart && !c.elemOnLine) put(&c, c.indent.data(), c.indent.size());
}

// The next dot-separated part of *rest (cut to a part's size); *rest
// becomes null after the last one.
std::string nextPart(const char** rest) {
  const char* p = *rest;
  const std::size_t n = std::strcspn(p, ".");
  std::string part(p, n < RXML_kPartSize - 1 ? n : RXML_kPartSize - 1);
  *rest = p[n] == '.' ? p + n + 1 : nullptr;
  return part;
}

RXML_Elem* firstWithTag(const RXML_ElemList* list, const std::string& tag) {
  for (RXML_Elem* e = list->first; e != nullptr; e = e->next)
    if (RXML_equalsNoCase(e->tag, tag.c_str())) return e;
  return nullptr;
}

// Each part names the first child with that tag; a trailing "." ends the
// walk.
RXML_Elem* walk(RXML_Elem* e, const char* rest) {
  while (e != nullptr && rest != nullptr) {
    const std::string part = nextPart(&rest);
    if (part.empty()) return rest == nullptr ? e : nullptr;
    e = firstWithTag(&e->children, part);
  }
  return e;
}

}  // namespace

void RXML_writeFile(RXML_File* file, std::FILE* out) {
  RXML_NestingStack nesting;
  nesting.push(file);
  writeFileNested(file, out, &nesting);
}

int32_t RXML_writeElem(RXML_Elem* e, RXML_WriteCtx* c) {
  c->elemOnLine = true;
  if (e->tag == c->rxml->tagTemplate) return writeTemplate(e, c);
  if (e->tag == c->rxml->tagVar) return writeVar(e, c);
  return writeChildren(e, c);
}

RXML_Elem* RXML_resolve(RXML* rx, const char* path, const char* basePath,
                        const RXML_TemplateStack* templates) {
  if (path == nullptr || path[0] == '\0') return nullptr;
  const char* hash = std::strchr(path, '#');
  const std::size_t firstLen =
      hash != nullptr ? static_cast<std::size_t>(hash - path) : std::strcspn(path, ".");
  const std::string first(path, firstLen);
  const char* rest =
      hash != nullptr ? hash + 1 : (path[firstLen] == '.' ? path + firstLen + 1 : nullptr);

  // Loop names: only a path that names no file, as the reference pass has
  // it. The names compare as the interned names do, without regard to case.
  if (hash == nullptr && templates != nullptr) {
    for (std::size_t i = templates->size(); i-- > 0;) {
      RXML_Elem* t = templates->at(i);
      const char* arg = RXML_getAttr(t, "arg");
      const bool match =
          firstLen > 0 ? arg != nullptr && RXML_equalsNoCase(arg, first.c_str()) : arg == nullptr;
      if (match) return walk(t->cursor, rest);
    }
  }
  if (rest == nullptr) return nullptr;
  const std::string tag = nextPart(&rest);
  if (tag.empty()) return nullptr;
  RXML_Elem* e = nullptr;
  if (RXML_equalsNoCase(first.c_str(), "all")) {
    for (RXML_File* f = rx->firstFile; f != nullptr && e == nullptr; f = f->next)
      e = firstWithTag(&f->elements, tag);
  } else {
    RXML_File* f = RXML_findFile(rx, firstLen > 0 ? first.c_str() : "#", basePath, false);
    if (f != nullptr) e = firstWithTag(&f->elements, tag);
  }
  return e != nullptr ? walk(e, rest) : nullptr;
}
