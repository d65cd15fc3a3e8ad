// OsFile on Windows: the C runtime's _stat64, _mkdir and _utime, and the
// attribute and file-index calls of the Win32 API.
#include "platform/OsFile.h"

#include <direct.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/utime.h>
#include <windows.h>

bool OsFile_stat(const char* path, OsFile_Status* status) {
  struct _stat64 st;
  if (_stat64(path, &st) != 0) return false;
  status->isFolder = (st.st_mode & _S_IFDIR) != 0;
  status->size = static_cast<int64_t>(st.st_size);
  status->modified = static_cast<std::time_t>(st.st_mtime);
  return true;
}

bool OsFile_mkdir(const char* path) { return _mkdir(path) == 0; }

bool OsFile_getAttr(const char* path, OsFile_Attr* attr) {
  DWORD a = GetFileAttributesA(path);
  if (a == INVALID_FILE_ATTRIBUTES) return false;
  *attr = static_cast<OsFile_Attr>(a);
  return true;
}

bool OsFile_setAttr(const char* path, OsFile_Attr attr) {
  return SetFileAttributesA(path, static_cast<DWORD>(attr)) != 0;
}

bool OsFile_setTimes(const char* path, std::time_t modified) {
  struct _utimbuf times;
  times.actime = std::time(nullptr);
  times.modtime = modified;
  return _utime(path, &times) == 0;
}

namespace {

bool fileId(const char* path, BY_HANDLE_FILE_INFORMATION* info) {
  // No access rights are asked for: the handle only answers questions, and
  // the backup flag lets it name a folder too.
  HANDLE h = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  BOOL ok = GetFileInformationByHandle(h, info);
  CloseHandle(h);
  return ok != 0;
}

}  // namespace

bool OsFile_isSameFile(const char* a, const char* b) {
  BY_HANDLE_FILE_INFORMATION ia, ib;
  if (!fileId(a, &ia) || !fileId(b, &ib)) return false;
  return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
         ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

int64_t OsFile_readAt(std::FILE* f, int64_t offset, char* buf, std::size_t n) {
  if (_fseeki64(f, offset, SEEK_SET) != 0) return -1;
  std::size_t got = std::fread(buf, 1, n, f);
  if (got < n && std::ferror(f)) return -1;
  return static_cast<int64_t>(got);
}
