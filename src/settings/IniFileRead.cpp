// IniFileRead: the settings reader.
//
// The file is opened in binary mode: the reader folds a CR LF into "\n"
// while it reads, the way text mode would, and the stream's positions stay
// plain byte offsets that IniFile_Read_attrAt can seek to.
#include "settings/IniFileRead.h"

#include "runtime/ByteClass.h"
#include "runtime/StrX.h"

#include <cstring>
#include <string>

#include "platform/OsFile.h"
#include "runtime/Errors.h"
#include "runtime/FileX.h"
#include "settings/IniFileShared.h"

namespace {

constexpr const char* kModule = IniFile_kModule;
using Kind = IniFile_Value::Kind;

// The number of bytes of text[0, n) that fit max bytes without splitting a
// character.
std::size_t wholeChars(const char* text, std::size_t n, std::size_t max) {
  std::size_t k = 0;
  while (k < n) {
    std::size_t len = IniFile_charLen(text + k, text + n);
    if (k + len > max) break;
    k += len;
  }
  return k;
}

Kind readerTakes(char letter) {
  switch (letter) {
    case 'b': return Kind::Bool;
    case 'i': case 'I': return Kind::Int;
    case 's': case 'S': return Kind::Text;
    case 't': return Kind::Time;
    default: return Kind::None;
  }
}

// Raises when the targets do not match the letters.
bool targetsMatch(const char* letters, const IniFile_Target* targets, std::size_t count) {
  if (IniFile_argsMatch(letters, targets, count, readerTakes)) return true;
  IniFile_raiseMisuse();
  return false;
}

IniFile_Pos tell(const IniFile_Read* r) {
  return r->chunkBase + static_cast<IniFile_Pos>(r->chunkAt);
}

void seek(IniFile_Read* r, IniFile_Pos pos) {
  if (pos >= r->chunkBase && pos <= r->chunkBase + static_cast<IniFile_Pos>(r->chunkLen)) {
    r->chunkAt = static_cast<std::size_t>(pos - r->chunkBase);
    return;
  }
  r->chunkLen = 0;
  r->chunkAt = 0;
  r->chunkBase = pos;  // a position before the file fails at the read
  r->readSize = IniFile_kJumpRead;
}

// Reads the chunk after the one held. False at the end of the file.
bool refill(IniFile_Read* r) {
  r->chunkBase += static_cast<IniFile_Pos>(r->chunkLen);
  r->chunkLen = 0;
  r->chunkAt = 0;
  const std::size_t want = r->readSize < sizeof r->chunk ? r->readSize : sizeof r->chunk;
  r->readSize = sizeof r->chunk;
  const int64_t got = OsFile_readAt(r->file, r->chunkBase, r->chunk, want);
  if (got < 0) {
    Errors_raiseErrno();
  }
  r->chunkLen = static_cast<std::size_t>(got);
  return got > 0;
}

// The next byte as unsigned char, or EOF.
inline int nextByte(IniFile_Read* r) {
  if (r->chunkAt >= r->chunkLen && !refill(r)) return EOF;
  return static_cast<unsigned char>(r->chunk[r->chunkAt++]);
}

// Reads one line, or the next lineSize - 1 bytes of a longer one, into the
// line buffer. A CR LF (or a CR at the end of the file) is stored as "\n";
// a CR elsewhere in a line is text. False when no byte was left: a last line
// without line end is read like any other.
bool readLine(IniFile_Read* r) {
  std::size_t n = 0;
  while (n + 1 < r->lineSize) {
    int c = nextByte(r);
    if (c == EOF) break;
    if (c == '\r') {
      int next = nextByte(r);
      if (next == '\n' || next == EOF) c = '\n';
      else --r->chunkAt;  // the byte just taken from the chunk goes back
    }
    r->line[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  r->line[n] = '\0';
  return n > 0;
}

void cutLineEnd(char* line) {
  std::size_t n = std::strlen(line);
  if (n > 0 && line[n - 1] == '\n') line[n - 1] = '\0';
}

// Removes white space at both ends, in place; gives the first byte kept.
char* trim(char* line) {
  std::size_t n = std::strlen(line);
  while (n > 0 && ByteClass_isSpace(static_cast<unsigned char>(line[n - 1]))) --n;
  line[n] = '\0';
  while (ByteClass_isSpace(static_cast<unsigned char>(*line))) ++line;
  return line;
}

const char* skipBlanks(const char* p) {
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

// Whether the text begins with name followed by a space, "=" or ":".
bool startsWithName(const char* text, const char* name) {
  std::size_t n = std::strlen(name);
  if (std::strncmp(text, name, n) != 0) return false;
  return text[n] == ' ' || text[n] == '=' || text[n] == ':';
}

// Whether line is the header of section name: "[" in the first column and
// name before the first "]".
bool isHeaderOf(const char* line, const char* name) {
  if (line[0] != '[') return false;
  const char* close = std::strchr(line, ']');
  if (close == nullptr) return false;
  std::size_t n = static_cast<std::size_t>(close - line - 1);
  return n == std::strlen(name) && std::strncmp(line + 1, name, n) == 0;
}

void copyCut(char* dst, std::size_t size, const char* src, std::size_t n) {
  if (size == 0) return;
  n = wholeChars(src, n, size - 1);
  std::memcpy(dst, src, n);
  dst[n] = '\0';
}

// One field of a value list: [begin, end) is its raw text, in which a quoted
// field still has its doubled quotes.
struct Field {
  const char* begin;
  const char* end;
  bool quoted;
  bool empty() const { return begin == end; }
};

// Cuts the fields of a value list off one by one: blanks before a field are
// skipped; a quoted field runs to the next quote that is not doubled and
// anything behind it up to the next comma is ignored; any other field runs
// to the next comma and loses its trailing spaces.
class FieldList {
 public:
  explicit FieldList(const char* text) : p_(text) {}

  // False when no field is left.
  bool next(Field* f) {
    if (done_) return false;
    while (*p_ == ' ') ++p_;
    if (*p_ == '\0') {
      done_ = true;
      return false;
    }
    if (*p_ == '"') return quoted(f);
    const char* begin = p_;
    while (*p_ != '\0' && *p_ != ',') ++p_;
    const char* end = p_;
    while (end > begin && end[-1] == ' ') --end;
    *f = Field{begin, end, false};
    afterField();
    return true;
  }

 private:
  bool quoted(Field* f) {
    const char* begin = ++p_;
    while (*p_ != '\0' && !(*p_ == '"' && p_[1] != '"')) p_ += (*p_ == '"') ? 2 : 1;
    *f = Field{begin, p_, true};
    if (*p_ == '\0') {
      done_ = true;
      return true;
    }
    while (*p_ != '\0' && *p_ != ',') ++p_;
    afterField();
    return true;
  }

  void afterField() {
    if (*p_ == ',') ++p_;
    else done_ = true;
  }

  const char* p_;
  bool done_ = false;
};

// A text field into a buffer of size bytes: doubled quotes become one, cut
// to size - 1 bytes in whole characters.
void copyField(const Field& f, char* dst, std::size_t size) {
  if (size == 0) return;
  std::size_t n = 0;
  for (const char* p = f.begin; p < f.end;) {
    std::size_t len = (f.quoted && *p == '"') ? 1 : IniFile_charLen(p, f.end);
    if (n + len > size - 1) break;
    std::memcpy(dst + n, p, len);
    n += len;
    p += (f.quoted && *p == '"') ? 2 : len;
  }
  dst[n] = '\0';
}

// A decimal number: white space, an optional sign, digits up to the first
// other byte; no digits give 0. Out-of-range values stop at the int32 limits.
int32_t fieldInt(const Field& f) {
  const char* p = f.begin;
  while (p < f.end && ByteClass_isSpace(static_cast<unsigned char>(*p))) ++p;
  bool minus = false;
  if (p < f.end && (*p == '+' || *p == '-')) minus = *p++ == '-';
  int64_t v = 0;
  for (; p < f.end && *p >= '0' && *p <= '9'; ++p)
    if (v <= INT32_MAX) v = v * 10 + (*p - '0');
  if (minus) v = -v;
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}

// Six numbers, year to second, separated by any non-digits, as local time.
// False when there are fewer or the time cannot be represented.
bool fieldTime(const Field& f, std::time_t* out) {
  int v[6] = {};
  int count = 0;
  const char* p = f.begin;
  while (count < 6) {
    while (p < f.end && !(*p >= '0' && *p <= '9')) ++p;
    if (p == f.end) return false;
    long n = 0;
    for (; p < f.end && *p >= '0' && *p <= '9'; ++p)
      if (n < 100000) n = n * 10 + (*p - '0');
    v[count++] = static_cast<int>(n);
  }
  return StrX_makeTime(v, out);
}

// Fills the targets from a value list, one field per letter. A letter whose
// field is missing or empty gives false, 0 or an empty text; "I", "S" and
// "t" then leave their target as it was.
void parseValues(const char* list, const char* letters, const IniFile_Target* targets,
                 std::size_t strMax) {
  FieldList fields(list);
  std::size_t k = 0;
  for (const char* l = letters; *l; ++l) {
    Field f{list, list, false};
    bool have = fields.next(&f) && !f.empty();
    void* t = readerTakes(*l) == Kind::None ? nullptr : targets[k++].p;
    switch (*l) {
      case 'b': *static_cast<bool*>(t) = have && f.begin[0] != '0'; break;
      case 'i': *static_cast<int32_t*>(t) = have ? fieldInt(f) : 0; break;
      case 'I': if (have) *static_cast<int32_t*>(t) = fieldInt(f); break;
      case 's':
        if (have) copyField(f, static_cast<char*>(t), strMax);
        else if (strMax > 0) static_cast<char*>(t)[0] = '\0';
        break;
      case 'S': if (have) copyField(f, static_cast<char*>(t), strMax); break;
      case 't': if (have) fieldTime(f, static_cast<std::time_t*>(t)); break;
      default: break;
    }
  }
}

}  // namespace

IniFile_Read::~IniFile_Read() {
  if (file) std::fclose(file);
}

void IniFile_Read_open(IniFile_Read* r, const char* path, char* lineBuf, std::size_t lineSize) {
  if (lineBuf == nullptr || lineSize < 2) {
    IniFile_raiseMisuse();
    return;
  }
  if (r->file) std::fclose(r->file);
  r->file = FileX_open(path, "rb");
  if (r->file == nullptr) {
    Errors_raise(kModule, __LINE__, FileX_Err_CannotReadOpen,
                 FileX_Txt_CannotReadOpen, path);
  }
  std::setvbuf(r->file, nullptr, _IONBF, 0);
  r->chunkBase = 0;
  r->chunkLen = 0;
  r->chunkAt = 0;
  r->readSize = IniFile_kReadChunk;
  r->line = lineBuf;
  r->lineSize = lineSize;
  r->line[0] = '\0';
  r->strMax = IniFile_kStrMaxDefault;
  StrX_cpy(r->path, path, sizeof r->path);
}

void IniFile_Read_close(IniFile_Read* r) {
  if (r->file) std::fclose(r->file);
  r->file = nullptr;
}

IniFile_Pos IniFile_Read_tell(const IniFile_Read* r) { return tell(r); }

bool IniFile_Read_lineWasCut(IniFile_Read* r) {
  const IniFile_Pos end = tell(r);
  if (end <= 0) return false;
  seek(r, end - 1);
  bool cut = false;
  int c = nextByte(r);
  if (c != '\n') {
    for (c = nextByte(r); c != EOF && c != '\n'; c = nextByte(r)) {
      if (!ByteClass_isSpace(static_cast<unsigned char>(c))) {
        cut = true;
        break;
      }
    }
  }
  seek(r, end);
  return cut;
}

void IniFile_Read_setStrMax(IniFile_Read* r, std::size_t size) { r->strMax = size; }

void IniFile_Read_setSection(IniFile_Read* r, const char* name) {
  IniFile_Pos start = tell(r);
  const char* line;
  do {
    if (!readLine(r)) {
      Errors_raise(kModule, __LINE__, FileX_Err_EOF, "%s", FileX_Txt_EOF);
    }
    line = trim(r->line);
  } while (*line == '\0');
  if (line[0] != '[' || std::strchr(line, ']') == nullptr) {
    Errors_raise(kModule, __LINE__, IniFile_Err_BadFormat,
                 IniFile_Txt_BadFormat, name);
  }
  if (!isHeaderOf(line, name)) {
    seek(r, start);
    Errors_raise(kModule, __LINE__, IniFile_NotFoundSection,
                 IniFile_Txt_OtherSection, name);
  }
}

IniFile_Pos IniFile_Read_findSection(IniFile_Read* r, const char* name, bool wrap) {
  bool wrapped = false;
  for (;;) {
    if (!readLine(r)) {
      if (!wrap || wrapped) {
        Errors_raise(kModule, __LINE__, IniFile_NotFoundSection,
                     IniFile_Txt_SectionNotFound, name);
      }
      wrapped = true;
      seek(r, 0);
      continue;
    }
    cutLineEnd(r->line);
    if (isHeaderOf(r->line, name)) return tell(r);
  }
}

IniFile_Pos IniFile_Read_attrList(IniFile_Read* r, const char* name, const char* letters,
                                  const IniFile_Target* targets, std::size_t count) {
  if (!targetsMatch(letters, targets, count)) return -1;
  IniFile_Pos start = tell(r);
  do {
    if (!readLine(r)) {
      Errors_raise(kModule, __LINE__, IniFile_Err_FewAttr, "%s",
                   IniFile_Txt_FewAttr);
    }
    cutLineEnd(r->line);
  } while (r->line[0] == '\0');
  const char* text = skipBlanks(r->line);
  if (!startsWithName(text, name)) {
    std::size_t n = std::strlen(text);
    std::string cut(text, wholeChars(text, n, std::strlen(name)));
    Errors_raise(kModule, __LINE__, IniFile_Err_BadAttr,
                 IniFile_Txt_BadAttr, name, cut.c_str(), r->path);
  }
  const char* p = text + std::strlen(name);
  while (*p == ' ') ++p;
  if (*p == '=' || *p == ':') {
    ++p;
    while (*p == ' ') ++p;
  }
  parseValues(p, letters, targets, r->strMax);
  return start;
}

int IniFile_Read_countAttr(IniFile_Read* r, const char* name) {
  IniFile_Pos start = tell(r);
  int count = 0;
  while (readLine(r)) {
    cutLineEnd(r->line);
    if (!startsWithName(skipBlanks(r->line), name)) break;
    ++count;
  }
  seek(r, start);
  return count;
}

IniFile_Pos IniFile_Read_nextList(IniFile_Read* r, char* key, std::size_t keySize,
                                  const char* letters, const IniFile_Target* targets,
                                  std::size_t count) {
  if (!targetsMatch(letters, targets, count)) return -1;
  IniFile_Pos start = tell(r);
  char* line;
  do {
    if (!readLine(r)) return -1;
    line = trim(r->line);
  } while (*line == '\0');
  if (line[0] == '[') {
    seek(r, start);
    return -1;
  }
  char* eq = std::strchr(line, '=');
  const char* values = "";
  if (eq != nullptr) {
    *eq = '\0';
    values = eq + 1;
  }
  const char* k = trim(line);
  copyCut(key, keySize, k, std::strlen(k));
  parseValues(values, letters, targets, r->strMax);
  return start;
}

void IniFile_Read_attrAtList(IniFile_Read* r, IniFile_Pos pos, const char* letters,
                             const IniFile_Target* targets, std::size_t count) {
  if (!targetsMatch(letters, targets, count)) return;
  seek(r, pos);
  char* eq;
  do {
    if (!readLine(r)) {
      Errors_raise(kModule, __LINE__, IniFile_Err_FewAttr, "%s",
                   IniFile_Txt_FewAttr);
    }
    eq = std::strchr(r->line, '=');
  } while (eq == nullptr);
  parseValues(trim(eq + 1), letters, targets, r->strMax);
}

void IniFile_Read_checkApp(IniFile_Read* r, const char* application, int32_t lowest,
                           int32_t highest) {
  // The name goes into a buffer of its own size whatever the string limit is.
  char app[IniFile_kStrMaxDefault] = {};
  std::size_t limit = r->strMax;
  r->strMax = limit < sizeof app ? limit : sizeof app;
  struct Restore {
    IniFile_Read* r;
    std::size_t limit;
    ~Restore() { r->strMax = limit; }
  } restore{r, limit};
  IniFile_Read_attr(r, "Application", "s", app);
  if (std::strcmp(app, application) != 0) {
    Errors_raise(kModule, __LINE__, IniFile_Err_OtherApp,
                 IniFile_Txt_OtherApp, app, application);
  }
  int32_t version = 0;
  IniFile_Read_attr(r, "Version", "i", &version);
  if (version < lowest || version > highest)
    Errors_raise(kModule, __LINE__, IniFile_Err_OtherVer,
                 IniFile_Txt_OtherVer, static_cast<int>(version), static_cast<int>(lowest),
                 static_cast<int>(highest));
}
