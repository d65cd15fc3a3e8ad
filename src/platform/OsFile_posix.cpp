// OsFile on POSIX: stat, mkdir, chmod, utimensat and pread.
#include "platform/OsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

bool OsFile_stat(const char* path, OsFile_Status* status) {
  struct stat st;
  if (stat(path, &st) != 0) return false;
  status->isFolder = S_ISDIR(st.st_mode);
  status->size = static_cast<int64_t>(st.st_size);
  status->modified = st.st_mtime;
  return true;
}

bool OsFile_mkdir(const char* path) { return mkdir(path, 0777) == 0; }

bool OsFile_getAttr(const char* path, OsFile_Attr* attr) {
  struct stat st;
  if (stat(path, &st) != 0) return false;
  *attr = static_cast<OsFile_Attr>(st.st_mode & 07777);
  return true;
}

bool OsFile_setAttr(const char* path, OsFile_Attr attr) {
  return chmod(path, static_cast<mode_t>(attr & 07777)) == 0;
}

bool OsFile_setTimes(const char* path, std::time_t modified) {
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_NOW;
  times[1].tv_sec = modified;
  times[1].tv_nsec = 0;
  return utimensat(AT_FDCWD, path, times, 0) == 0;
}

bool OsFile_isSameFile(const char* a, const char* b) {
  struct stat sa, sb;
  if (stat(a, &sa) != 0 || stat(b, &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

int64_t OsFile_readAt(std::FILE* f, int64_t offset, char* buf, std::size_t n) {
  const int fd = fileno(f);
  std::size_t done = 0;
  while (done < n) {
    ssize_t got = pread(fd, buf + done, n - done, static_cast<off_t>(offset + done));
    if (got < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return static_cast<int64_t>(done);
}
