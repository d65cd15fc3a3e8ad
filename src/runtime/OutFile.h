// OutFile: a work file that several writers fill in turn (a page's text and
// the anchors and links set into it), through one buffer of its own. Each
// piece costs a copy into the buffer; the system sees writes of the whole
// buffer. The stream underneath is unbuffered.
#pragma once
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>

#include "runtime/FileX.h"
#include "runtime/StrX.h"

struct OutFile {
  std::FILE* file = nullptr;  // null: not open, and every write is dropped
  std::size_t len = 0;        // bytes held in the buffer
  std::unique_ptr<char[]> bytes{new char[FileX_kStreamBuffer]};
  char path[StrX_kPathSize] = {};

  OutFile() = default;
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;
  // A file still open here was left on an error path, which reports it.
  ~OutFile() {
    if (file != nullptr) std::fclose(file);
  }
};

// Opens path ("wb") as FileX_open does, raising when it cannot.
void OutFile_open(OutFile* out, const char* path);
// Hands what is held to the file. A failed write raises FileX_Err_CannotWrite
// naming the file; the stream then keeps its error, which the close reports.
void OutFile_flush(OutFile* out);
// Flushes and closes; a write that failed on the way raises as
// FileX_closeWritten does. Nothing happens when the file is not open.
void OutFile_close(OutFile* out);

void OutFile_writeLarge(OutFile* out, const char* p, std::size_t n);
inline void OutFile_write(OutFile* out, const char* p, std::size_t n) {
  if (n <= FileX_kStreamBuffer - out->len) {
    std::memcpy(out->bytes.get() + out->len, p, n);
    out->len += n;
    return;
  }
  OutFile_writeLarge(out, p, n);
}
inline void OutFile_puts(OutFile* out, const char* s) { OutFile_write(out, s, std::strlen(s)); }
// As std::fprintf.
void OutFile_printf(OutFile* out, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
