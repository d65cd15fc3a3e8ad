// ArrX: fixed-buffer containers.
#include "runtime/ArrX.h"

#include <cstring>

#include "runtime/Errors.h"
#include "runtime/StrX.h"

namespace {
constexpr char kModule[] = "Arrx";

std::size_t freeBytes(const ArrX_Buf* buf) {
  return static_cast<std::size_t>(buf->bufOver - buf->last);
}

}  // namespace

void ArrX_Buf_init(ArrX_Buf* buf, void* buffer, std::size_t size) {
  buf->first = static_cast<uint8_t*>(buffer);
  buf->last = buf->first;
  buf->bufOver = buf->first + size;
}

void* ArrX_Buf_alloc(ArrX_Buf* buf, std::size_t size) {
  if (size > freeBytes(buf)) {
    Errors_raise(kModule, __LINE__, ArrX_Err_Full, "%s", ArrX_Txt_BufFull);
  }
  uint8_t* p = buf->last;
  buf->last += size;
  return p;
}

void ArrX_Buf_free(ArrX_Buf* buf, void* element, std::size_t size) {
  if (size <= static_cast<std::size_t>(buf->last - buf->first) &&
      buf->last - size == static_cast<uint8_t*>(element))
    buf->last -= size;
}

void* ArrX_Able_getFirstFree(ArrX_Able* able, std::size_t elemSize, std::size_t flagOffset) {
  for (uint8_t* p = able->first; p + elemSize <= able->over; p += elemSize)
    if (p[flagOffset] == 0) return p;
  Errors_raise(kModule, __LINE__, ArrX_Err_Full, "%s", ArrX_Txt_AbleFull);
}
