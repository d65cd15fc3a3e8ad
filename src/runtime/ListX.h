// ListX: singly linked lists of heap records. Each record holds its "next"
// pointer at an offset the caller names at every call, so a record can sit
// in lists of any layout without templates; null ends a list. ListX_Dic is a
// hash table of such lists. Records come zero-filled from StdPlus_malloc.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/Offset.h"

struct ListX {
  void* head;
};

// Called for every record before it is released.
using ListX_FinishFn = void (*)(void* element);
// The bucket of a key text among width buckets (StrX_getHash, StrX_getHashI).
using ListX_HashFn = uint32_t (*)(const char* text, uint32_t width);

inline void ListX_init(ListX* list) { list->head = nullptr; }
// A new record of size bytes as the head; gives it.
void* ListX_addFirstMalloc(ListX* list, std::size_t offset, std::size_t size);
// A new record linked in front of before, or at the end when before is null.
// A before that is not in the list raises Errors_Unofficial.
void* ListX_insertMalloc(ListX* list, void* before, std::size_t offset, std::size_t size);
// Calls finish (when given) for every record from the head and releases
// it; the list is then empty.
void ListX_finish(ListX* list, std::size_t offset, ListX_FinishFn finish);
// The first record whose key field matches text (Offset_match), or null.
void* ListX_search(const ListX* list, const Offset_Key* key, const char* text,
                   std::size_t offset);
// The record after element.
void* ListX_next(const void* element, std::size_t offset);

struct ListX_Bucket {
  ListX list;
  std::size_t offset;  // of the next field
};

struct ListX_Dic {
  ListX_Bucket* buckets;
  uint32_t width;
  Offset_Key key;
  ListX_HashFn hash;
};

// Allocates width empty buckets. A width of 0 raises Errors_Unofficial.
void ListX_Dic_init(ListX_Dic* dic, uint32_t width, const Offset_Key* key, ListX_HashFn hash,
                    std::size_t nextOffset);
// The record whose key matches text, or null.
void* ListX_Dic_search(const ListX_Dic* dic, const char* text);
// Null when text is already a key; otherwise a new zero-filled record of
// size bytes at the head of its bucket, whose key the caller fills in.
void* ListX_Dic_alloc(ListX_Dic* dic, const char* text, std::size_t size);
// Finishes every bucket's list, then releases the buckets.
void ListX_Dic_finish(ListX_Dic* dic, ListX_FinishFn finish);
