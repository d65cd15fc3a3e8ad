// OutFile: one buffer per work file.
#include "runtime/OutFile.h"

#include <charconv>
#include <cstdarg>
#include <string>

#include "runtime/Errors.h"

namespace {

constexpr char kModule[] = "filex";

// Hands n bytes to the file; a failed write raises, naming the file.
void put(OutFile* out, const char* p, std::size_t n) {
  if (n == 0 || out->file == nullptr) return;
  if (std::fwrite(p, 1, n, out->file) != n)
    Errors_raise(kModule, __LINE__, FileX_Err_CannotWrite, FileX_Txt_WriteFailedOf, out->path);
}

}  // namespace

void OutFile_open(OutFile* out, const char* path) {
  OutFile_close(out);
  StrX_cpy(out->path, path, sizeof out->path);
  out->file = FileX_open(path, "wb");
  std::setvbuf(out->file, nullptr, _IONBF, 0);
  out->len = 0;
}

void OutFile_flush(OutFile* out) {
  const std::size_t n = out->len;
  out->len = 0;
  put(out, out->bytes.get(), n);
}

void OutFile_close(OutFile* out) {
  if (out->file == nullptr) return;
  std::FILE* f = out->file;
  // The stream is closed whether or not the last write went through; its
  // error (set by a failed write) is reported once, by the close.
  if (out->len > 0) (void)std::fwrite(out->bytes.get(), 1, out->len, f);
  out->len = 0;
  out->file = nullptr;
  FileX_closeWritten(f, out->path);
}

void OutFile_writeLarge(OutFile* out, const char* p, std::size_t n) {
  OutFile_flush(out);
  if (n < FileX_kStreamBuffer) {
    std::memcpy(out->bytes.get(), p, n);
    out->len = n;
  } else {
    put(out, p, n);
  }
}

void OutFile_putInt(OutFile* out, int32_t n) {
  constexpr std::size_t kDigits = 11;  // "-2147483648"
  if (FileX_kStreamBuffer - out->len < kDigits) OutFile_flush(out);
  char* at = out->bytes.get() + out->len;
  out->len += static_cast<std::size_t>(std::to_chars(at, at + kDigits, n).ptr - at);
}

void OutFile_printf(OutFile* out, const char* format, ...) {
  char small[256];
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int n = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (n >= 0 && static_cast<std::size_t>(n) < sizeof small) {
    OutFile_write(out, small, static_cast<std::size_t>(n));
  } else if (n >= 0) {
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    std::vsnprintf(&text[0], text.size(), format, again);
    OutFile_write(out, text.data(), static_cast<std::size_t>(n));
  }
  va_end(again);
}
