// StdPlus: heap blocks from an allocation that raises instead of returning
// null, so callers never test for a missing block.
#pragma once
#include <cstddef>

// A heap block of size bytes; raises StdPlus_Err_MallocFailure on failure.
void* StdPlus_malloc(std::size_t size);
// The same, all bytes zero. A large block comes straight from the system,
// whose pages are zero already and are touched only as they are used.
void* StdPlus_calloc(std::size_t size);
// Releases a block; a null block is ignored.
void StdPlus_free(void* block);
