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

bool Offset_matchWild(const char* pattern, const char* value) {
  const char* p = pattern;
  const char* v = value;
  while (*p != '\0' && *p != '*') {
    if (*v == '\0') return false;
    if (*p != '?' && *p != *v) return false;
    ++p;
    ++v;
  }
  if (*p == '\0') return *v == '\0';
  // After the "*": compare from the ends backwards up to the "*".
  const char* star = p;
  const char* pe = pattern + std::strlen(pattern);
  const char* ve = value + std::strlen(value);
  while (pe > star + 1) {
    if (ve == value) return false;
    --pe;
    --ve;
    if (*pe != '?' && *pe != *ve) return false;
  }
  return true;
}

bool Offset_match(const Offset_Key* key, const void* record, const char* value) {
  switch (key->type) {
    case Offset_CharArray:
      return std::strcmp(static_cast<const char*>(record) + key->offset, value) == 0;
    case Offset_StrPtr:
    case Offset_StrPtrI:
    case Offset_WildPtr: {
      // A record without a text matches nothing.
      const char* field = strField(record, key->offset);
      if (field == nullptr || value == nullptr) return false;
      if (key->type == Offset_StrPtr) return std::strcmp(field, value) == 0;
      if (key->type == Offset_StrPtrI) return equalNoCase(field, value);
      return Offset_matchWild(field, value);
    }
    default:
      Errors_raise("Offset", __LINE__, Errors_Unofficial, "%s",
                   Errors_Txt_Error);
  }
}
