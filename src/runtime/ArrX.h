// ArrX: containers over caller-provided fixed buffers that never grow and
// raise ArrX_Err_Full when full. Elements are untyped; every call is told
// the element size and where the element's flag or key lies, so one set of
// functions serves records of any layout without templates.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/Offset.h"

// A range of equal-sized elements from first up to, not including, over.
struct ArrX {
  uint8_t* first;
  uint8_t* over;
};

// A growing array in a fixed buffer: elements occupy first..last, the free
// space is last..bufOver.
struct ArrX_Buf {
  uint8_t* first;
  uint8_t* last;
  uint8_t* bufOver;
};

void ArrX_init(ArrX* arr, void* buffer, std::size_t size);

void ArrX_Buf_init(ArrX_Buf* buf, void* buffer, std::size_t size);
// The old last, after which last advances by size. Raises ArrX_Err_Full
// (and hands out nothing) when the request does not fit.
void* ArrX_Buf_alloc(ArrX_Buf* buf, std::size_t size);
// Appends one byte; does nothing when the buffer is full.
void ArrX_Buf_addChr(ArrX_Buf* buf, char c);
// Appends text without its NUL when it fits. Otherwise stores as much as
// fits, makes the buffer's last byte a NUL and leaves last at bufOver.
void ArrX_Buf_addStr(ArrX_Buf* buf, const char* text);
// Appends n bytes, or as many as fit (last then equals bufOver).
void ArrX_Buf_addMem(ArrX_Buf* buf, const void* bytes, std::size_t n);
// Gives the space back when element is the last one (element + size ==
// last); any other element stays where it is.
void ArrX_Buf_free(ArrX_Buf* buf, void* element, std::size_t size);

// The first element whose key field matches text, or null. Key types: 2 the
// text inside the element; 3 and 6 a pointer to the text, exact; 4 a pointer
// to the text, ASCII case ignored; any other a pointer to a wildcard pattern
// that text must match (StrX_cmpWild). An element whose pointer is null
// matches nothing.
void* ArrX_search(const ArrX* arr, const Offset_Key* key, const char* text,
                  std::size_t elemSize);

// A fixed array whose elements carry an in-use flag byte at a fixed offset
// (0 = free).
struct ArrX_Able {
  uint8_t* first;
  uint8_t* over;
};

void ArrX_Able_init(ArrX_Able* able, void* buffer, std::size_t size, std::size_t elemSize,
                    std::size_t flagOffset);
// The first free element; the caller sets its flag when it uses it.
// Raises ArrX_Err_Full when every element is in use.
void* ArrX_Able_getFirstFree(ArrX_Able* able, std::size_t elemSize, std::size_t flagOffset);
// The first used element at or after pos, or null at the end.
void* ArrX_Able_forEach(const ArrX_Able* able, void* pos, std::size_t elemSize,
                        std::size_t flagOffset);

// A hash table of width buckets; each bucket is an ArrX_Buf over its own
// equal share of one buffer, so a bucket fills up on its own.
struct ArrX_Dic {
  ArrX_Buf* buckets;
  uint32_t width;
  const Offset_Key* key;
};

// Bucket shares start at multiples of this from the buffer's start, so that
// records holding pointers or 64-bit fields stay aligned in every bucket.
inline constexpr std::size_t ArrX_kDicAlign = alignof(std::max_align_t);

// Sets up width buckets (the caller's array of width ArrX_Buf) over equal
// shares of buffer: size / width bytes each, rounded down to a multiple of
// ArrX_kDicAlign. A width of 0 raises Errors_Unofficial. The key
// description must outlive the dictionary.
void ArrX_Dic_init(ArrX_Dic* dic, uint32_t width, ArrX_Buf* buckets, const Offset_Key* key,
                   void* buffer, std::size_t size);
// The element of text's bucket (StrX_getHash) whose key matches, or null.
void* ArrX_Dic_search(const ArrX_Dic* dic, const char* text, std::size_t elemSize);
// Null when text is already a key. Otherwise a new zero-filled element of
// text's bucket, whose key the caller fills in; ArrX_Err_Full when that
// bucket's share is used up.
void* ArrX_Dic_alloc(ArrX_Dic* dic, const char* text, std::size_t elemSize);
