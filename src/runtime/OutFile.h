// OutFile: a work file that several writers fill in turn (a page's text and
// the anchors and links set into it), through one buffer of its own. Each
// piece costs a copy into the buffer; the system sees writes of the whole
// buffer. The stream underneath is unbuffered.
#pragma once
#include <cstddef>
#include <cstdint>
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
  if (n > FileX_kStreamBuffer - out->len) {
    OutFile_writeLarge(out, p, n);
    return;
  }
  char* d = out->bytes.get() + out->len;
  out->len += n;
  // Most pieces are a few bytes: two overlapping moves of a fixed size copy
  // them without a call.
  if (n >= 8 && n <= 16) {
    std::memcpy(d, p, 8);
    std::memcpy(d + n - 8, p + n - 8, 8);
  } else if (n >= 4 && n < 8) {
    std::memcpy(d, p, 4);
    std::memcpy(d + n - 4, p + n - 4, 4);
  } else if (n < 4) {
    for (std::size_t i = 0; i < n; ++i) d[i] = p[i];
  } else {
    std::memcpy(d, p, n);
  }
}
// Room for n bytes (at most FileX_kStreamBuffer) after what is held, for a
// writer that fills it itself and then hands its end to OutFile_filled.
inline char* OutFile_room(OutFile* out, std::size_t n) {
  if (n > FileX_kStreamBuffer - out->len) OutFile_flush(out);
  return out->bytes.get() + out->len;
}
inline void OutFile_filled(OutFile* out, const char* end) {
  out->len = static_cast<std::size_t>(end - out->bytes.get());
}
inline void OutFile_puts(OutFile* out, const char* s) { OutFile_write(out, s, std::strlen(s)); }
// The number in decimal, as "%d" writes it.
void OutFile_putInt(OutFile* out, int32_t n);
// As std::fprintf.
void OutFile_printf(OutFile* out, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
