// ArrX: containers over caller-provided fixed buffers that never grow and
// raise ArrX_Err_Full when full. Elements are untyped; every call is told
// the element size and where the element's flag or key lies, so one set of
// functions serves records of any layout without templates.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/Offset.h"

// A growing array in a fixed buffer: elements occupy first..last, the free
// space is last..bufOver.
struct ArrX_Buf {
  uint8_t* first;
  uint8_t* last;
  uint8_t* bufOver;
};

void ArrX_Buf_init(ArrX_Buf* buf, void* buffer, std::size_t size);
// The old last, after which last advances by size. Raises ArrX_Err_Full
// (and hands out nothing) when the request does not fit.
void* ArrX_Buf_alloc(ArrX_Buf* buf, std::size_t size);
// Gives the space back when element is the last one (element + size ==
// last); any other element stays where it is.
void ArrX_Buf_free(ArrX_Buf* buf, void* element, std::size_t size);

// A fixed array whose elements carry an in-use flag byte at a fixed offset
// (0 = free).
struct ArrX_Able {
  uint8_t* first;
  uint8_t* over;
};

// The first free element; the caller sets its flag when it uses it.
// Raises ArrX_Err_Full when every element is in use.
void* ArrX_Able_getFirstFree(ArrX_Able* able, std::size_t elemSize, std::size_t flagOffset);
