// StrXPath: path operations. Results are built in std::string or a fixed
// work text and copied to the caller's buffer by one cutting copy, so the
// "fitted" answer and the no-overrun guarantee live in one place.
#include "runtime/StrXPath.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Os.h"
#include "runtime/BigStack.h"
#include "runtime/ByteClass.h"
#include "runtime/Errors.h"
#include "runtime/TextCode.h"

namespace {

constexpr char kModule[] = "strx";

bool isLead(const char* p) { return TextCode_charLen(p) > 1; }
const char* nextChar(const char* p) { return p + TextCode_charLen(p); }

bool hasDrive(const char* p) { return p[0] != '\0' && p[1] == ':'; }

// Whether two single bytes of two paths name the same: ASCII case aside,
// and on Windows either separator for the other.
bool sameByte(char a, char b) {
  return ByteClass_lower(a) == ByteClass_lower(b) ||
         (Os_pathSep() == '\\' && ByteClass_isSep(a) && ByteClass_isSep(b));
}

// True when the character that ends at s + len is a single-byte separator
// accepted by pred (a trail byte 0x5C does not count).
template <class Pred>
bool endsWithSep(const char* s, std::size_t len, Pred pred) {
  const char* last = nullptr;
  for (const char* p = s; p < s + len; p = nextChar(p)) last = p;
  return last != nullptr && last == s + len - 1 && pred(*last);
}

// Copies text into dst of size bytes; a text that does not fit is cut at the
// last character boundary that does. dst may overlap text.
bool copyFit(char* dst, std::size_t size, std::string_view text) {
  if (size == 0) return false;
  std::size_t n = text.size();
  bool fitted = n < size;
  if (!fitted) {
    std::size_t cut = 0;
    for (std::size_t i = 0; i < size - 1;) {
      std::size_t step = TextCode_charLenIn(text.data() + i, n - i);
      if (i + step > size - 1) break;
      i += step;
      cut = i;
    }
    n = cut;
  }
  std::memmove(dst, text.data(), n);
  dst[n] = '\0';
  return fitted;
}

bool startsWith(const char* s, const char* head) {
  return std::strncmp(s, head, std::strlen(head)) == 0;
}

// The texts that StrX_toAbsPath leaves as they are.
bool isEmptyOrUrl(const char* p) {
  return p[0] == '\0' || startsWith(p, "file:") || startsWith(p, "http:") ||
         startsWith(p, "https:");
}
bool isAbsolute(const char* p) { return ByteClass_isSep(p[0]) || (p[0] != '\0' && p[1] == ':'); }

// Windows lets no name hold a "/": there every "/" is a separator and is
// written as the native "\\", so that the paths the program writes, and
// the paths it compares, have one form. On POSIX a "\\" may be part of a
// name, and a path keeps the separators it was given.
void nativeSeps(char* path) {
  if (Os_pathSep() != '\\') return;
  for (char* p = path; *p != '\0'; p += TextCode_charLen(p))
    if (*p == '/') *p = '\\';
}

// The bytes that make the root of a path: a drive with its separator, a
// drive alone, or a leading separator.
std::size_t rootLen(const char* p) {
  if (hasDrive(p)) return ByteClass_isSep(p[2]) ? 3 : 2;
  return ByteClass_isSep(p[0]) ? 1 : 0;
}

// The length of the folder part of path (StrX_cutFName).
std::size_t folderLen(const char* path) {
  std::size_t root =
      hasDrive(path) ? (ByteClass_isSep(path[2]) ? 3 : 0) : (ByteClass_isSep(path[0]) ? 1 : 0);
  std::size_t len = std::strlen(path);
  if (len > root && endsWithSep(path, len, ByteClass_isSep)) --len;
  const char* lastSep = nullptr;
  for (const char* p = path; p < path + len; p = nextChar(p))
    if (ByteClass_isSep(*p)) lastSep = p;
  if (lastSep == nullptr) return 0;
  std::size_t at = static_cast<std::size_t>(lastSep - path);
  return at < root ? root : at;
}

// base + separator + path in the work text, resolved, into out.
bool joinAbs(char* out, std::size_t size, const char* path, const char* base) {
  std::string joined = base;
  if (!joined.empty() && !endsWithSep(joined.c_str(), joined.size(), ByteClass_isSep))
    joined += Os_pathSep();
  joined += path;
  char work[StrX_kAbsWorkSize];
  bool fitted = copyFit(work, sizeof work, joined);
  StrX_resolveDots(work);
  nativeSeps(work);
  std::size_t n = std::strlen(work);
  if (n >= 2 && work[n - 1] == '.' && endsWithSep(work, n - 1, ByteClass_isSep)) work[n - 1] = '\0';
  bool whole = copyFit(out, size < sizeof work ? size : sizeof work, work);
  return fitted && whole;
}

}  // namespace

void StrX_resolveDots(char* path) {
  std::size_t root = rootLen(path);
  char* w = path + root;
  const char* r = path + root;
  // Where each component kept so far starts in the output, and whether it
  // is a leading ".." that must stay.
  struct Kept {
    std::size_t at;
    bool dotDot;
  };
  std::vector<Kept> kept;
  while (*r != '\0') {
    const char* e = r;
    while (*e != '\0' && !ByteClass_isSep(*e)) e = nextChar(e);
    std::size_t len = static_cast<std::size_t>(e - r);
    bool sep = *e != '\0';
    if (sep && len == 1 && r[0] == '.') {
      r = e + 1;
      continue;
    }
    bool dotDot = sep && len == 2 && r[0] == '.' && r[1] == '.';
    if (dotDot && !kept.empty() && !kept.back().dotDot) {
      w = path + kept.back().at;
      kept.pop_back();
      r = e + 1;
      continue;
    }
    if (dotDot && root > 0) {
      Errors_raise(kModule, __LINE__, StrX_Err_NoMoreParentDir, "%s",
                   StrX_Txt_NoMoreParentDir);
      std::memmove(w, r, std::strlen(r) + 1);
      return;
    }
    // An empty component (a doubled separator) names no folder: the file
    // system skips it, so a ".." after it takes back the name before it.
    if (len > 0) kept.push_back({static_cast<std::size_t>(w - path), dotDot});
    std::size_t n = len + (sep ? 1 : 0);
    std::memmove(w, r, n);
    w += n;
    r += n;
  }
  *w = '\0';
}

bool StrX_toAbsPath(char* path, std::size_t size, const char* base) {
  if (isEmptyOrUrl(path)) return true;
  if (isAbsolute(path)) {
    nativeSeps(path);
    return true;
  }
  return joinAbs(path, size, path, base);
}

bool StrX_cpyAbsPath(char* dst, const char* path, std::size_t size) {
  if (isEmptyOrUrl(path)) return copyFit(dst, size, path);
  if (isAbsolute(path)) {
    bool fitted = copyFit(dst, size, path);
    nativeSeps(dst);
    return fitted;
  }
  char cwd[StrX_kAbsWorkSize];
  if (!Os_getcwd(cwd, sizeof cwd)) {
    copyFit(dst, size, path);
    return false;
  }
  return joinAbs(dst, size, path, cwd);
}

bool StrX_toAbsPathFromFile(char* path, std::size_t size, const char* baseFile) {
  // An absolute path needs no folder (whose copy might not fit).
  if (isEmptyOrUrl(path) || isAbsolute(path)) return StrX_toAbsPath(path, size, "");
  char folder[StrX_kPathSize];
  bool folderFitted = StrX_cpyFolder(folder, baseFile, sizeof folder);
  bool fitted = StrX_toAbsPath(path, size, folder);
  return folderFitted && fitted;
}

namespace {

// StrX_toRelPath before its separators are made native.
bool relPath(char* path, std::size_t size, const char* base) {
  if (path[0] == '\0') return true;
  const std::string target = path;
  const char* t = target.c_str();
  const char* b = base;
  if (hasDrive(t) && hasDrive(b)) {
    if (ByteClass_lower(t[0]) != ByteClass_lower(b[0])) return true;
    t += 2;
    b += 2;
  } else if (hasDrive(t)) {
    t += 2;
  } else if (hasDrive(b)) {
    return true;  // cannot be related to the base: stays absolute
  }

  // The common part, and its last separator.
  std::size_t i = 0;
  long common = -1;
  while (t[i] != '\0' && b[i] != '\0') {
    if (isLead(t + i)) {
      const std::size_t k = TextCode_charLen(t + i);
      if (std::strncmp(t + i, b + i, k) != 0) break;
      i += k;
      continue;
    }
    if (!sameByte(t[i], b[i])) break;
    if (ByteClass_isSep(t[i])) common = static_cast<long>(i);
    ++i;
  }
  bool climb = true;
  if (t[i] == '\0' && ByteClass_isSep(b[i])) {
    common = static_cast<long>(i);
  } else if (b[i] == '\0' && ByteClass_isSep(t[i])) {
    common = static_cast<long>(i);
    climb = false;
  }

  std::size_t cap = size == 0 ? 0 : size - 1;
  std::string out;
  if (climb) {
    for (const char* p = b + (common < 0 ? 0 : common); *p != '\0'; p = nextChar(p)) {
      if (!ByteClass_isSep(*p) || p[1] == '\0') continue;
      if (out.size() + 3 > cap) {
        copyFit(path, size, out);
        return false;
      }
      out += "..";
      out += *p;
    }
  }
  std::size_t tlen = std::strlen(t);
  if (common >= 0 && static_cast<std::size_t>(common) == tlen) {
    if (!out.empty()) out.pop_back();  // the target is an ancestor of the base
  } else {
    out += t + (common + 1);
  }
  if (out.empty()) {
    out = ".";
    if (endsWithSep(t, tlen, ByteClass_isSep)) out += t[tlen - 1];
  }
  return copyFit(path, size, out);
}

}  // namespace

bool StrX_toRelPath(char* path, std::size_t size, const char* base) {
  bool fitted = relPath(path, size, base);
  nativeSeps(path);
  return fitted;
}

bool StrX_toRelPathFromFile(char* path, std::size_t size, const char* baseFile) {
  BigStack_Mark mark;
  char* folder = static_cast<char*>(BigStack_alloc(&BigStack_main, StrX_kPathSize));
  bool folderFitted = StrX_cpyFolder(folder, baseFile, StrX_kPathSize);
  bool fitted = StrX_toRelPath(path, size, folder);
  return folderFitted && fitted;
}

const char* StrX_refFName(const char* path) {
  const char* last = nullptr;
  const char* before = nullptr;
  for (const char* p = path; *p != '\0'; p = nextChar(p)) {
    if (!ByteClass_isSep(*p)) continue;
    before = last;
    last = p;
  }
  if (last == nullptr) return path;
  if (last[1] != '\0') return last + 1;
  return before != nullptr ? before + 1 : path;
}

char* StrX_refFName(char* path) {
  return const_cast<char*>(StrX_refFName(static_cast<const char*>(path)));
}

bool StrX_cpyFolder(char* dst, const char* path, std::size_t size) {
  return copyFit(dst, size, std::string_view(path, folderLen(path)));
}

void StrX_cutFName(char* path) { path[folderLen(path)] = '\0'; }

const char* StrX_refExt(const char* path) {
  const char* dot = std::strrchr(path, '.');  // "." is never a trail byte
  return dot != nullptr ? dot + 1 : path + std::strlen(path);
}

char* StrX_refExt(char* path) {
  return const_cast<char*>(StrX_refExt(static_cast<const char*>(path)));
}

bool StrX_chgExt(char* path, std::size_t size, const char* ext) {
  const char* dot = std::strrchr(path, '.');
  std::size_t keep = dot != nullptr ? static_cast<std::size_t>(dot - path) : std::strlen(path);
  std::string changed(path, keep);
  if (ext[0] != '\0') {
    changed += '.';
    changed += ext;
  }
  return copyFit(path, size, changed);
}
