// OsFile: the file-system calls whose form differs between POSIX and
// Windows: status, folder creation, attributes, file times, the
// same-file test and positioned reads. Paths are the bytes the program holds (code page 932);
// Windows gets them through its ANSI functions. Each function has a body in
// OsFile_posix.cpp and one in OsFile_win32.cpp.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>

struct OsFile_Status {
  bool isFolder;
  int64_t size;
  std::time_t modified;
};

// False when the path cannot be examined (errno tells why).
[[nodiscard]] bool OsFile_stat(const char* path, OsFile_Status* status);

// Creates one folder; false when that fails (it exists, its parent is
// missing, ...).
[[nodiscard]] bool OsFile_mkdir(const char* path);

// What a copy carries over besides the bytes: the permission bits on POSIX,
// the attribute word (read-only, hidden, archive, ...) on Windows.
using OsFile_Attr = uint32_t;
[[nodiscard]] bool OsFile_getAttr(const char* path, OsFile_Attr* attr);
[[nodiscard]] bool OsFile_setAttr(const char* path, OsFile_Attr attr);

// Sets the access time to now and the modification time to modified.
[[nodiscard]] bool OsFile_setTimes(const char* path, std::time_t modified);

// True when both paths name one existing file: the same device and inode on
// POSIX, the same volume and file index on Windows (hard links, other
// spellings and "." or ".." detours all count).
bool OsFile_isSameFile(const char* a, const char* b);

// Appends n bytes to the file at path, creating it. False only when the
// file cannot be opened: the one caller, the error log, is written on the
// way to a report and has no one to tell of a short write.
[[nodiscard]] bool OsFile_append(const char* path, const void* bytes, std::size_t n);

// Reads up to n bytes at offset from a stream opened for reading that keeps
// no buffer (setvbuf _IONBF): one positioned read on POSIX (pread), a seek
// and a read on Windows. The readers that use it keep their own chunk and
// never rely on the stream's position. Gives the bytes read (fewer at the
// end of the file), or -1 on failure (errno tells why).
[[nodiscard]] int64_t OsFile_readAt(std::FILE* f, int64_t offset, char* buf, std::size_t n);
