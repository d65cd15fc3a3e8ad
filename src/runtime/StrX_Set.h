// StrX_Set: a set of unique texts, each stored once on the heap, so that
// names can be compared by pointer once they are interned. The template
// engine interns every tag, element and path name here; its marker for a
// missing value, StrX_Set_eNull, is passed through as it is.
#pragma once
#include <cstdint>

#include "runtime/ListX.h"

// One stored text.
struct StrX_SetElem {
  StrX_SetElem* next;
  char* text;
};

struct StrX_Set {
  ListX_Dic dic;
};

// The shared marker of a missing value, "(e-null)". Only this very pointer
// is the marker; an equal text elsewhere is an ordinary text.
extern const char StrX_Set_eNull[];

// The program's set: 255 buckets, StrX_getHashI, case ignored.
inline constexpr uint32_t StrX_Set_kWidth = 255;

// Texts compare exactly when bCase is true, else without regard to ASCII
// case (hash must then ignore case too, as StrX_getHashI does).
void StrX_Set_init(StrX_Set* set, uint32_t width, ListX_HashFn hash, bool bCase);
// The set's copy of text: an equal stored text, or a new heap copy. A null
// text and the marker StrX_Set_eNull are given back unchanged.
const char* StrX_Set_intern(StrX_Set* set, const char* text);
// Releases a stored element's text (the finish function of the set's lists).
void StrX_Set_finishElem(void* element);
// Releases every stored text and the buckets.
void StrX_Set_finish(StrX_Set* set);
