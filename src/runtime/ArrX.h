// ArrX: containers over caller-provided fixed buffers that never grow and
// raise ArrX_Err_Full when full. Elements are untyped; every call is told
// the element size and where the element's flag or key lies.
#pragma once
#include <cstddef>
#include <cstdint>

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
