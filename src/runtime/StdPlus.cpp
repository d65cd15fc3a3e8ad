// StdPlus: the raising allocator.
#include "runtime/StdPlus.h"

#include <cstdlib>

#include "runtime/Errors.h"

void* StdPlus_malloc(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr)
    Errors_raise("Stdplus", __LINE__, StdPlus_Err_MallocFailure,
                 "%s", StdPlus_Txt_MallocFailure);
  return p;
}

void* StdPlus_calloc(std::size_t size) {
  void* p = std::calloc(size == 0 ? 1 : size, 1);
  if (p == nullptr)
    Errors_raise("Stdplus", __LINE__, StdPlus_Err_MallocFailure,
                 "%s", StdPlus_Txt_MallocFailure);
  return p;
}

void StdPlus_free(void* block) { std::free(block); }
