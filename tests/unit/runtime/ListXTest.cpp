// Linked lists of heap records: insertion order, the walk, finishing, and
// the dictionary of lists with duplicate keys.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "Raise.h"
#include "runtime/ListX.h"
#include "runtime/StrX.h"

namespace {

// The next field deliberately not first, as callers may place it anywhere.
struct Node {
  int id;
  Node* next;
  const char* name;
};

constexpr std::size_t kNext = offsetof(Node, next);

Node* add(ListX* list, Node* before, int id) {
  auto* n = static_cast<Node*>(ListX_insertMalloc(list, before, kNext, sizeof(Node)));
  n->id = id;
  return n;
}

std::vector<int> ids(const ListX& list) {
  std::vector<int> v;
  for (void* p = list.head; p != nullptr; p = ListX_next(p, kNext))
    v.push_back(static_cast<Node*>(p)->id);
  return v;
}

int finished = 0;
void countFinish(void*) { ++finished; }

}  // namespace

TEST(ListXInsert, FrontMiddleAndEnd) {
  ListX list;
  ListX_init(&list);
  Node* two = add(&list, nullptr, 2);  // empty list: becomes the head
  EXPECT_EQ(two, list.head);
  Node* four = add(&list, nullptr, 4);
  add(&list, two, 1);
  add(&list, four, 3);
  auto* zero = static_cast<Node*>(ListX_addFirstMalloc(&list, kNext, sizeof(Node)));
  EXPECT_EQ(nullptr, zero->name);  // records come zero-filled
  zero->id = 0;
  EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4}), ids(list));
  finished = 0;
  ListX_finish(&list, kNext, countFinish);
  EXPECT_EQ(5, finished);
  EXPECT_EQ(nullptr, list.head);
}

TEST(ListXInsert, BeforeARecordOfAnotherListIsRefused) {
  ListX a{nullptr}, b{nullptr};
  Node* other = add(&b, nullptr, 9);
  add(&a, nullptr, 1);
  Raised r = catchRaise([&] { add(&a, other, 2); });
  EXPECT_EQ(Errors_Unofficial, r.code);
  EXPECT_EQ((std::vector<int>{1}), ids(a));
  ListX_finish(&a, kNext, nullptr);
  ListX_finish(&b, kNext, nullptr);
}

TEST(ListXDic, DuplicateKeyGivesNone) {
  ListX_Dic dic;
  Offset_Key key{static_cast<int32_t>(offsetof(Node, name)), 3, 1};
  ListX_Dic_init(&dic, 7, &key, StrX_getHash, kNext);
  const char* words[] = {"if", "else", "while", "for", "do"};
  for (const char* w : words) {
    SCOPED_TRACE(w);
    auto* n = static_cast<Node*>(ListX_Dic_alloc(&dic, w, sizeof(Node)));
    ASSERT_NE(nullptr, n);
    n->name = w;
    EXPECT_EQ(nullptr, ListX_Dic_alloc(&dic, w, sizeof(Node)));
  }
  for (const char* w : words)
    EXPECT_EQ(w, static_cast<Node*>(ListX_Dic_search(&dic, w))->name);
  EXPECT_EQ(nullptr, ListX_Dic_search(&dic, "If"));
  finished = 0;
  ListX_Dic_finish(&dic, countFinish);
  EXPECT_EQ(5, finished);
  EXPECT_EQ(nullptr, dic.buckets);
}
