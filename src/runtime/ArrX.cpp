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

// The array key types map onto the record key types of Offset_match: 6 is
// another exact text pointer, and every type beyond the text kinds is a
// wildcard pattern.
Offset_Key recordKey(const Offset_Key* key) {
  Offset_Key k = *key;
  if (k.type == 6) k.type = Offset_StrPtr;
  else if (k.type != Offset_CharArray && k.type != Offset_StrPtr && k.type != Offset_StrPtrI)
    k.type = Offset_WildPtr;
  return k;
}

void* searchRange(uint8_t* first, const uint8_t* over, const Offset_Key* key, const char* text,
                  std::size_t elemSize) {
  if (elemSize == 0) return nullptr;
  const Offset_Key k = recordKey(key);
  for (uint8_t* p = first; static_cast<std::size_t>(over - p) >= elemSize; p += elemSize)
    if (Offset_match(&k, p, text)) return p;
  return nullptr;
}

// Null for a dictionary without buckets (its set-up was refused).
ArrX_Buf* bucketOf(const ArrX_Dic* dic, const char* text) {
  if (dic->width == 0) return nullptr;
  return &dic->buckets[StrX_getHash(text, dic->width)];
}

}  // namespace

void ArrX_init(ArrX* arr, void* buffer, std::size_t size) {
  arr->first = static_cast<uint8_t*>(buffer);
  arr->over = arr->first + size;
}

void ArrX_Buf_init(ArrX_Buf* buf, void* buffer, std::size_t size) {
  buf->first = static_cast<uint8_t*>(buffer);
  buf->last = buf->first;
  buf->bufOver = buf->first + size;
}

void* ArrX_Buf_alloc(ArrX_Buf* buf, std::size_t size) {
  if (size > freeBytes(buf)) {
    Errors_raise(kModule, __LINE__, ArrX_Err_Full, "ArrX_Err_Full", "%s", ArrX_Txt_BufFull);
    return nullptr;
  }
  uint8_t* p = buf->last;
  buf->last += size;
  return p;
}

void ArrX_Buf_addChr(ArrX_Buf* buf, char c) {
  if (buf->last < buf->bufOver) *buf->last++ = static_cast<uint8_t>(c);
}

void ArrX_Buf_addStr(ArrX_Buf* buf, const char* text) {
  std::size_t n = std::strlen(text);
  if (n <= freeBytes(buf)) {
    std::memcpy(buf->last, text, n);
    buf->last += n;
    return;
  }
  ArrX_Buf_addMem(buf, text, n);
  // An empty buffer has no last byte to end the text with.
  if (buf->bufOver > buf->first) buf->bufOver[-1] = 0;
}

void ArrX_Buf_addMem(ArrX_Buf* buf, const void* bytes, std::size_t n) {
  if (n > freeBytes(buf)) n = freeBytes(buf);
  if (n > 0) std::memcpy(buf->last, bytes, n);
  buf->last += n;
}

void ArrX_Buf_free(ArrX_Buf* buf, void* element, std::size_t size) {
  if (size <= static_cast<std::size_t>(buf->last - buf->first) &&
      buf->last - size == static_cast<uint8_t*>(element))
    buf->last -= size;
}

void* ArrX_search(const ArrX* arr, const Offset_Key* key, const char* text,
                  std::size_t elemSize) {
  return searchRange(arr->first, arr->over, key, text, elemSize);
}

void ArrX_Able_init(ArrX_Able* able, void* buffer, std::size_t size, std::size_t elemSize,
                    std::size_t flagOffset) {
  able->first = static_cast<uint8_t*>(buffer);
  able->over = able->first + size;
  for (uint8_t* p = able->first; p + elemSize <= able->over; p += elemSize) p[flagOffset] = 0;
}

void* ArrX_Able_getFirstFree(ArrX_Able* able, std::size_t elemSize, std::size_t flagOffset) {
  for (uint8_t* p = able->first; p + elemSize <= able->over; p += elemSize)
    if (p[flagOffset] == 0) return p;
  Errors_raise(kModule, __LINE__, ArrX_Err_Full, "ArrX_Err_Full", "%s", ArrX_Txt_AbleFull);
  return nullptr;
}

void* ArrX_Able_forEach(const ArrX_Able* able, void* pos, std::size_t elemSize,
                        std::size_t flagOffset) {
  for (uint8_t* p = static_cast<uint8_t*>(pos); p + elemSize <= able->over; p += elemSize)
    if (p[flagOffset] != 0) return p;
  return nullptr;
}

void ArrX_Dic_init(ArrX_Dic* dic, uint32_t width, ArrX_Buf* buckets, const Offset_Key* key,
                   void* buffer, std::size_t size) {
  dic->buckets = buckets;
  dic->width = width;
  dic->key = key;
  if (width == 0) {
    Errors_raise(kModule, __LINE__, Errors_Unofficial, "Errors_Unofficial", "%s",
                 Errors_Txt_Error);
    return;
  }
  const std::size_t share = size / width / ArrX_kDicAlign * ArrX_kDicAlign;
  uint8_t* p = static_cast<uint8_t*>(buffer);
  for (uint32_t i = 0; i < width; ++i, p += share) ArrX_Buf_init(&buckets[i], p, share);
}

void* ArrX_Dic_search(const ArrX_Dic* dic, const char* text, std::size_t elemSize) {
  const ArrX_Buf* b = bucketOf(dic, text);
  if (b == nullptr) return nullptr;
  return searchRange(b->first, b->last, dic->key, text, elemSize);
}

void* ArrX_Dic_alloc(ArrX_Dic* dic, const char* text, std::size_t elemSize) {
  ArrX_Buf* b = bucketOf(dic, text);
  ArrX_Buf none{nullptr, nullptr, nullptr};
  if (b == nullptr) b = &none;
  if (searchRange(b->first, b->last, dic->key, text, elemSize) != nullptr) return nullptr;
  void* p = ArrX_Buf_alloc(b, elemSize);
  if (p != nullptr) std::memset(p, 0, elemSize);
  return p;
}
