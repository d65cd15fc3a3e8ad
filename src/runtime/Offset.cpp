// Offset: key matching.
#include "runtime/Offset.h"

#include <cstring>

#include "runtime/ByteClass.h"
#include "runtime/Errors.h"

namespace {

bool equalNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char x = ByteClass_lower(static_cast<unsigned char>(*a));
    unsigned char y = ByteClass_lower(static_cast<unsigned char>(*b));
    if (x != y) return false;
    if (x == 0) return true;
  }
}

const char* strField(const void* record, int32_t offset) {
  const char* const* field =
      reinterpret_cast<const char* const*>(static_cast<const char*>(record) + offset);
  return *field;
}

}  // namespace

bool Offset_match(const Offset_Key* key, const void* record, const char* value) {
  switch (key->type) {
    case Offset_StrPtr:
    case Offset_StrPtrI: {
      // A record without a text matches nothing.
      const char* field = strField(record, key->offset);
      if (field == nullptr || value == nullptr) return false;
      if (key->type == Offset_StrPtr) return std::strcmp(field, value) == 0;
      return equalNoCase(field, value);
    }
    default:
      Errors_raise("Offset", __LINE__, Errors_Unofficial, "%s",
                   Errors_Txt_Error);
  }
}
