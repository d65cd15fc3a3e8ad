// StrX_Set: interned texts.
#include "runtime/StrX_Set.h"

#include <cstddef>
#include <cstring>

#include "runtime/StdPlus.h"

const char StrX_Set_eNull[] = "(e-null)";

void StrX_Set_init(StrX_Set* set, uint32_t width, ListX_HashFn hash, bool bCase) {
  const Offset_Key key{static_cast<int32_t>(offsetof(StrX_SetElem, text)),
                       bCase ? Offset_StrPtr : Offset_StrPtrI, 1};
  ListX_Dic_init(&set->dic, width, &key, hash, offsetof(StrX_SetElem, next));
}

const char* StrX_Set_intern(StrX_Set* set, const char* text) {
  if (text == nullptr || text == StrX_Set_eNull) return text;
  if (auto* found = static_cast<StrX_SetElem*>(ListX_Dic_search(&set->dic, text)))
    return found->text;
  auto* e = static_cast<StrX_SetElem*>(ListX_Dic_alloc(&set->dic, text, sizeof(StrX_SetElem)));
  if (e == nullptr) return text;
  // The element is already linked with a null text, which matches nothing
  // and is released harmlessly should the copy fail.
  const std::size_t n = std::strlen(text) + 1;
  char* copy = static_cast<char*>(StdPlus_malloc(n));
  if (copy == nullptr) return text;
  std::memcpy(copy, text, n);
  e->text = copy;
  return copy;
}

void StrX_Set_finishElem(void* element) {
  auto* e = static_cast<StrX_SetElem*>(element);
  StdPlus_free(e->text);
  e->text = nullptr;
}

void StrX_Set_finish(StrX_Set* set) { ListX_Dic_finish(&set->dic, StrX_Set_finishElem); }
