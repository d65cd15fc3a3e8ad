// FileX: file utilities.
#include "runtime/FileX.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "platform/Os.h"
#include "platform/OsFile.h"
#include "runtime/ByteClass.h"
#include "runtime/Errors.h"
#include "runtime/Except3.h"
#include "runtime/StrX.h"
#include "runtime/StrXPath.h"
#include "runtime/TextCode.h"

namespace {

constexpr char kModule[] = "filex";

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

const char* nextChar(const char* p) { return p + TextCode_charLen(p); }

// True when path has a ".." component.
bool hasDotDot(const char* path) {
  const char* start = path;
  for (const char* p = path;; p = nextChar(p)) {
    if (*p == '\0' || ByteClass_isSep(*p)) {
      if (p - start == 2 && start[0] == '.' && start[1] == '.') return true;
      if (*p == '\0') return false;
      start = p + 1;
    }
  }
}

// Removes a last byte equal to c unless it is a trail byte or the first
// byte of the text (a root).
void cutLastSep(std::string& s, char c) {
  const char* last = nullptr;
  for (const char* p = s.c_str(); *p != '\0'; p = nextChar(p)) last = p;
  if (last != nullptr && last != s.c_str() && *last == c && last[1] == '\0') s.pop_back();
}

void raiseError() {
  Errors_raise(kModule, __LINE__, Errors_Unofficial, "%s", Errors_Txt_Error);
}

// Ends a failed copy: closes both files, deletes the destination and
// raises. errno is kept across the clean-up for a read error's report.
void failCopy(FilePtr& out, FilePtr& in, const char* dst, bool readError) {
  int err = errno;
  in.reset();
  out.reset();
  std::remove(dst);
  if (readError) {
    errno = err;
    Errors_raiseErrno();
  } else {
    Errors_raise(kModule, __LINE__, FileX_Err_CannotWrite,
                 FileX_Txt_WriteFailedOf, dst);
  }
}

}  // namespace

std::FILE* FileX_open(const char* path, const char* mode) {
  std::FILE* f = std::fopen(path, mode);
  // POSIX opens a folder for reading and fails only at the reads (or, for
  // the lexer, at its size); Windows refuses it. Refused here on every
  // platform, with the report of a missing file.
  OsFile_Status st;
  if (f != nullptr && OsFile_stat(path, &st) && st.isFolder) {
    std::fclose(f);
    f = nullptr;
  }
  if (f != nullptr) return f;
  if (std::strchr(mode, 'w') != nullptr) {
    std::string folder(std::strlen(path) + 1, '\0');
    (void)StrX_cpyFolder(&folder[0], path, folder.size());  // the folder is part of path
    if (folder[0] != '\0' && !FileX_isDirExist(folder.c_str()))
      Errors_raise(kModule, __LINE__, FileX_Err_CannotWriteOpen,
                   FileX_Txt_NoFolderToWrite, path);
    else
      Errors_raise(kModule, __LINE__, FileX_Err_CannotWriteOpen,
                   FileX_Txt_CannotWrite, path);
  } else {
    char cwd[StrX_kPathSize];
    if (!Os_getcwd(cwd, sizeof cwd)) cwd[0] = '\0';
    Errors_raise(kModule, __LINE__, FileX_Err_CannotReadOpen,
                 FileX_Txt_NotFound, path, cwd);
  }
  return nullptr;
}

bool FileX_isExist(const char* path) {
  if (hasDotDot(path)) {
    char copy[StrX_kPathSize] = "";
    Except3_tryCatch(
        kModule, __LINE__,
        [&] {
          (void)StrX_cpyAbsPath(copy, path, sizeof copy);  // a cut name is looked for as cut
          StrX_resolveDots(copy);
        },
        [&](const Errors_Msg& err) {
          if (err.code == StrX_Err_NoMoreParentDir) StrX_cpy(copy, "..", sizeof copy);
        },
        [] {});
    if (hasDotDot(copy)) return false;
  }
  OsFile_Status st;
  return OsFile_stat(path, &st);
}

bool FileX_isDirExist(const char* path) {
  std::string s = path;
  cutLastSep(s, '/');
  cutLastSep(s, '\\');
  unsigned char c = static_cast<unsigned char>(s.empty() ? 0 : s[0]);
  bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  if (s.size() == 2 && letter && s[1] == ':') return true;
  OsFile_Status st;
  return OsFile_stat(s.c_str(), &st) && st.isFolder;
}

int64_t FileX_getSize(const char* path) {
  OsFile_Status st;
  return OsFile_stat(path, &st) ? st.size : 0;
}

void FileX_getTimeStamp(const char* path, std::time_t* time) {
  OsFile_Status st;
  if (!OsFile_stat(path, &st)) {
    *time = 0;
    Errors_logErrno();
    raiseError();
    return;
  }
  *time = st.modified;
}

void FileX_copy(const char* dst, const char* src) {
  FileX_copyWithProgress(dst, src, nullptr, nullptr);
}

void FileX_copyWithProgress(const char* dst, const char* src, FileX_ProgressFn progress,
                            void* param) {
  if (!FileX_isExist(src)) {
    Errors_raise(kModule, __LINE__, FileX_Err_NotFindCopySrc,
                 FileX_Txt_NotFindCopySrc, src);
  }
  // Opening the destination for writing would empty the source.
  if (OsFile_isSameFile(dst, src)) return;
  OsFile_Attr attr = 0;
  if (!OsFile_getAttr(src, &attr)) {
    raiseError();
    return;
  }
  std::time_t modified = 0;
  FileX_getTimeStamp(src, &modified);
  int64_t total = FileX_getSize(src);
  FileX_makeFolders(dst, true);

  // The source is opened first, so that a source that cannot be read leaves
  // no empty destination behind.
  FileX_Buffer inBuffer, outBuffer;
  FilePtr in(FileX_open(src, "rb"));
  inBuffer.attach(in.get());
  FilePtr out(std::fopen(dst, "wb"));
  if (!out) {
    Errors_raiseErrno();
  }
  outBuffer.attach(out.get());
  if (progress) progress(param, 0, total);
  char block[FileX_kCopyBlock];
  int64_t copied = 0;
  for (;;) {
    std::size_t got = std::fread(block, 1, sizeof block, in.get());
    if (std::ferror(in.get())) return failCopy(out, in, dst, true);
    if (std::fwrite(block, 1, got, out.get()) < got) return failCopy(out, in, dst, false);
    copied += static_cast<int64_t>(got);
    if (progress) progress(param, copied, total);
    if (got < sizeof block) break;
  }
  in.reset();
  // Buffered bytes meet a full disk only here.
  if (std::fflush(out.get()) != 0) return failCopy(out, in, dst, false);
  if (std::fclose(out.release()) != 0) return failCopy(out, in, dst, false);

  // A file system without times still gets its copy.
  (void)OsFile_setTimes(dst, modified);
  if (!OsFile_setAttr(dst, attr)) raiseError();
}

void FileX_catFile(std::FILE* out, const char* path, char modeLetter) {
  const char mode[] = {'r', modeLetter, '\0'};
  FileX_Buffer buffer;
  FilePtr in(FileX_open(path, mode));
  buffer.attach(in.get());
  char block[FileX_kCopyBlock];
  for (;;) {
    std::size_t got = std::fread(block, 1, sizeof block, in.get());
    if (got > 0 && std::fwrite(block, 1, got, out) < got) {
      Errors_raise(kModule, __LINE__, FileX_Err_CannotWrite, "%s",
                   FileX_Txt_WriteFailed);
    }
    if (got < sizeof block) break;
  }
}

void FileX_makeFolders(const char* path, bool isFile) {
  char work[StrX_kPathSize];
  if (!StrX_cpyAbsPath(work, path, sizeof work)) {
    Errors_raise(kModule, __LINE__, StrX_Err_PathTooLong,
                 StrX_Txt_PathTooLong, static_cast<int>(StrX_kPathSize - 1), path);
  }
  if (isFile) StrX_cutFName(work);
  std::size_t len = std::strlen(work);
  const char* last = nullptr;
  for (const char* p = work; *p != '\0'; p = nextChar(p)) last = p;
  if (last != nullptr && last == work + len - 1 && ByteClass_isSep(*last) && len > 1 &&
      !(len == 3 && work[1] == ':'))
    work[len - 1] = '\0';

  // Every folder on the way, from the left; a root or a drive is not made.
  char* p = work + (work[0] != '\0' && work[1] == ':' ? 2 : 0);
  for (; *p != '\0'; p = const_cast<char*>(nextChar(p))) {
    if (!ByteClass_isSep(*p) || p == work) continue;
    char keep = *p;
    *p = '\0';
    if (!FileX_isDirExist(work)) (void)OsFile_mkdir(work);
    *p = keep;
  }
  // The folder itself; usually it is there already.
  (void)OsFile_mkdir(work);
}

bool FileX_remove(const char* path) { return std::remove(path) == 0; }

bool FileX_closeFailed(std::FILE* f) {
  const bool failed = std::ferror(f) != 0;
  return std::fclose(f) != 0 || failed;
}

void FileX_closeWritten(std::FILE* f, const char* path) {
  if (f == nullptr) return;
  if (FileX_closeFailed(f))
    Errors_raise(kModule, __LINE__, FileX_Err_CannotWrite,
                 FileX_Txt_WriteFailedOf, path);
}

void FileX_closeWrittenOrRemove(std::FILE* f, const char* path, bool whole) {
  if (f == nullptr) return;
  const bool failed = FileX_closeFailed(f);
  if (failed || !whole) std::remove(path);
  if (failed)
    Errors_raise(kModule, __LINE__, FileX_Err_CannotWrite,
                 FileX_Txt_WriteFailedOf, path);
}
