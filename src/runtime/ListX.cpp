// ListX: linked lists of heap records.
#include "runtime/ListX.h"

#include <cstring>

#include "runtime/Errors.h"
#include "runtime/StdPlus.h"

namespace {
constexpr char kModule[] = "Listx";

void** nextField(void* element, std::size_t offset) {
  return reinterpret_cast<void**>(static_cast<uint8_t*>(element) + offset);
}

void* newRecord(std::size_t offset, std::size_t size) {
  // The next field must lie inside the record.
  if (size < offset + sizeof(void*)) size = offset + sizeof(void*);
  void* p = StdPlus_malloc(size);
  if (p != nullptr) std::memset(p, 0, size);
  return p;
}

void raiseUnofficial(int line) {
  Errors_raise(kModule, line, Errors_Unofficial, "%s", Errors_Txt_Error);
}

ListX_Bucket* bucketOf(const ListX_Dic* dic, const char* text) {
  if (dic->width == 0) return nullptr;
  // A foreign hash function cannot lead outside the bucket array.
  return &dic->buckets[dic->hash(text, dic->width) % dic->width];
}

}  // namespace

void* ListX_next(const void* element, std::size_t offset) {
  return *nextField(const_cast<void*>(element), offset);
}

void* ListX_addFirstMalloc(ListX* list, std::size_t offset, std::size_t size) {
  void* p = newRecord(offset, size);
  if (p == nullptr) return nullptr;
  *nextField(p, offset) = list->head;
  list->head = p;
  return p;
}

void* ListX_insertMalloc(ListX* list, void* before, std::size_t offset, std::size_t size) {
  void** link = &list->head;
  while (*link != before) {
    if (*link == nullptr) {
      raiseUnofficial(__LINE__);
      return nullptr;
    }
    link = nextField(*link, offset);
  }
  void* p = newRecord(offset, size);
  if (p == nullptr) return nullptr;
  *nextField(p, offset) = before;
  *link = p;
  return p;
}

void ListX_finish(ListX* list, std::size_t offset, ListX_FinishFn finish) {
  void* p = list->head;
  list->head = nullptr;
  while (p != nullptr) {
    void* next = ListX_next(p, offset);
    if (finish != nullptr) finish(p);
    StdPlus_free(p);
    p = next;
  }
}

void* ListX_search(const ListX* list, const Offset_Key* key, const char* text,
                   std::size_t offset) {
  for (void* p = list->head; p != nullptr; p = ListX_next(p, offset))
    if (Offset_match(key, p, text)) return p;
  return nullptr;
}

void ListX_Dic_init(ListX_Dic* dic, uint32_t width, const Offset_Key* key, ListX_HashFn hash,
                    std::size_t nextOffset) {
  dic->buckets = nullptr;
  dic->width = 0;
  dic->key = *key;
  dic->hash = hash;
  if (width == 0) {
    raiseUnofficial(__LINE__);
    return;
  }
  dic->buckets = static_cast<ListX_Bucket*>(StdPlus_malloc(width * sizeof(ListX_Bucket)));
  if (dic->buckets == nullptr) return;
  for (uint32_t i = 0; i < width; ++i) {
    dic->buckets[i].list.head = nullptr;
    dic->buckets[i].offset = nextOffset;
  }
  dic->width = width;
}

void* ListX_Dic_search(const ListX_Dic* dic, const char* text) {
  const ListX_Bucket* b = bucketOf(dic, text);
  if (b == nullptr) return nullptr;
  return ListX_search(&b->list, &dic->key, text, b->offset);
}

void* ListX_Dic_alloc(ListX_Dic* dic, const char* text, std::size_t size) {
  ListX_Bucket* b = bucketOf(dic, text);
  if (b == nullptr) {
    raiseUnofficial(__LINE__);
    return nullptr;
  }
  if (ListX_search(&b->list, &dic->key, text, b->offset) != nullptr) return nullptr;
  return ListX_addFirstMalloc(&b->list, b->offset, size);
}

void ListX_Dic_finish(ListX_Dic* dic, ListX_FinishFn finish) {
  for (uint32_t i = 0; i < dic->width; ++i)
    ListX_finish(&dic->buckets[i].list, dic->buckets[i].offset, finish);
  StdPlus_free(dic->buckets);
  dic->buckets = nullptr;
  dic->width = 0;
}
