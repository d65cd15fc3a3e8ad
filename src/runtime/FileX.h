// FileX: file operations with the program's error reporting built in:
// opening raises with a Japanese message instead of returning null, a copy
// keeps the source's attributes and modification time and never leaves a
// partial destination behind, and output folders are created on demand.
// Files go through the standard stream library; the calls that differ per
// platform are in OsFile.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "runtime/Except3.h"
#include <ctime>
#include <memory>

inline constexpr std::size_t FileX_kCopyBlock = 1024;  // FileX_copy, FileX_catFile
inline constexpr std::size_t FileX_kStreamBuffer = 64 * 1024;

// The buffer of a stream that carries a whole page or listing, so that the
// system sees large reads and writes. It must outlive the stream's close.
struct FileX_Buffer {
  std::unique_ptr<char[]> bytes{new char[FileX_kStreamBuffer]};
  void attach(std::FILE* f) {
    if (f != nullptr) std::setvbuf(f, bytes.get(), _IOFBF, FileX_kStreamBuffer);
  }
};

// The open stream, never null. A failure raises FileX_Err_CannotWriteOpen
// for a mode with "w" (naming the missing folder case apart) or
// FileX_Err_CannotReadOpen with the current folder for any other mode.
std::FILE* FileX_open(const char* path, const char* mode);

// True when the path names an existing file or folder. A path with ".."
// components is first resolved against the current folder; one that climbs
// above the root is not there (no error reaches the caller).
bool FileX_isExist(const char* path);
// True when the path names an existing folder (one trailing separator
// allowed), or is a bare drive "X:".
bool FileX_isDirExist(const char* path);
// The file's size in bytes; 0 when it cannot be examined.
int64_t FileX_getSize(const char* path);
// The file's modification time. A failure logs errno (errlog4.txt) and
// raises Errors_Unofficial.
void FileX_getTimeStamp(const char* path, std::time_t* time);

// Called before the first block and after each block of a copy.
using FileX_ProgressFn = void (*)(void* param, int64_t copied, int64_t total);

// Copies src to dst in blocks of FileX_kCopyBlock bytes, creating dst's
// folders, then gives dst src's modification time and attributes. Raises
// FileX_Err_NotFindCopySrc for a missing source, Errors_Err_Errno when dst
// cannot be created or src cannot be read, FileX_Err_CannotWrite when a
// write fails (dst is then deleted). A dst that is src itself is left
// alone: nothing is copied and the call succeeds.
void FileX_copy(const char* dst, const char* src);
void FileX_copyWithProgress(const char* dst, const char* src, FileX_ProgressFn progress,
                            void* param);
// Appends the whole file at path, opened with "r" + modeLetter, to out. A
// missing file raises as FileX_open does; a short write on out raises
// FileX_Err_CannotWrite.
void FileX_catFile(std::FILE* out, const char* path, char modeLetter);
// Creates every missing folder on the way to path (to its folder when
// isFile). Failures to create are not reported: the open that follows
// reports the missing folder. A path that does not fit 260 bytes once made
// absolute raises StrX_Err_PathTooLong.
void FileX_makeFolders(const char* path, bool isFile);
// Deletes a file; false when it was not there or could not be deleted.
[[nodiscard]] bool FileX_remove(const char* path);

// Closes a written stream (not null); true when a write or the close failed.
[[nodiscard]] bool FileX_closeFailed(std::FILE* f);

// Closes a stream that was written. A write that failed on the way, or at
// the close (a full disk often shows only there), raises
// FileX_Err_CannotWrite naming path.
void FileX_closeWritten(std::FILE* f, const char* path);

// Closes a stream that was written as FileX_closeWritten does, and deletes
// the file when it is not whole (the writing stopped with an error) or its
// writing failed: a page cut short, by a full disk for one, is no page.
void FileX_closeWrittenOrRemove(std::FILE* f, const char* path, bool whole);

// Creates path ("wb"), lets write fill the stream and closes it, on the
// error path too; a file not written whole is deleted
// (FileX_closeWrittenOrRemove).
template <class Write>
void FileX_writeFile(const char* path, Write&& write) {
  FileX_Buffer buffer;
  std::FILE* out = FileX_open(path, "wb");
  buffer.attach(out);
  bool whole = false;
  Except3_tryFinally(
      "filex", __LINE__,
      [&] {
        write(out);
        whole = true;
      },
      [&] { FileX_closeWrittenOrRemove(out, path, whole); });
}
