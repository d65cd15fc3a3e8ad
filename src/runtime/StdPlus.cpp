// StdPlus: the raising allocator.
#include "runtime/StdPlus.h"

#include <cstdlib>

#include "runtime/Errors.h"

namespace {

void* got(void* p) {
  if (p == nullptr)
    Errors_raise("Stdplus", __LINE__, StdPlus_Err_MallocFailure,
                 "%s", StdPlus_Txt_MallocFailure);
  return p;
}

}  // namespace

void* StdPlus_malloc(std::size_t size) { return got(std::malloc(size == 0 ? 1 : size)); }

void* StdPlus_calloc(std::size_t size) { return got(std::calloc(size == 0 ? 1 : size, 1)); }

void StdPlus_free(void* block) { std::free(block); }
