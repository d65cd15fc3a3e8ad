// The scanners together over real source files: a header (LF lines), a C
// source (CR LF lines) and a C++ source, each longer than the window, with
// every definition they report and no bracket warning.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScanPass.h"
#include "TestFiles.h"

namespace {

using Events = std::vector<std::string>;

const char kListH[] = R"(/*
 * list.h: a small intrusive list and a few flags.
 * 表示用のリスト（コメントの中の "quote" と '{' は数えない）
 */
#ifndef LIST_H
#define LIST_H

#include <stddef.h>
#include "config.h"

#ifdef __cplusplus
extern "C" {
#endif

#define LIST_MAX 64
#define LIST_FOREACH(it, head) \
    for ((it) = (head)->first; (it) != NULL; \
         (it) = (it)->next)
#define LIST_EMPTY(head) ((head)->first == NULL)

typedef struct ListNode {
    struct ListNode *next;  /* following node */
    void *data;             // payload
} ListNode;

typedef struct {
    ListNode *first;
    size_t count;
} List;

enum ListError {
    LIST_OK = 0,
    LIST_FULL,      /* no room */
    LIST_MISSING,   // not found
};

enum { LIST_FLAG_SORTED = 1, LIST_FLAG_OWNED = 2 };

typedef enum Color { RED, GREEN, BLUE } Color;

union Value {
    int i;
    double d;
    const char *s;
};

void list_init(List *list);
int list_push(List *list, void *data);
size_t list_count(const List *list);
extern int list_debug;

#ifdef __cplusplus
}
#endif

#endif /* LIST_H */
)";

const char kListC[] = R"(/* list.c: the list and a few helpers.
   文字列「表」と「ソ」は 0x5C を第二バイトに持つ。 */
#include "list.h"
#include <stdio.h>
#include <string.h>

#define CHECK(cond, msg) do { \
        if (!(cond)) { fprintf(stderr, "%s\n", msg); return -1; } \
    } while (0)

static int counter = 0;
int list_debug = 0;
static const char *const names[] = { "first{", "second}", "third" };

struct Stats {
    int pushes;
    int pops;
};

static struct Stats stats;

void list_init(List *list)
{
    list->first = NULL;
    list->count = 0;
}

int list_push(List *list, void *data)
{
    ListNode *node = malloc(sizeof *node);
    CHECK(node != NULL, "out of memory {");
    node->data = data;
    node->next = list->first;
    list->first = node;
    list->count++;
    stats.pushes++;
    return 0;
}

size_t list_count(const List *list)
{
    size_t n = 0;
    ListNode *it;
    LIST_FOREACH(it, list) {
        if (it->data != NULL) {
            n++;
        }
    }
    return n;
}

/* a disabled version:
int list_pop(List *list) { return 0; }
*/

static char quote_char(int i)
{
    switch (i) {
    case 0: return '{';
    case 1: return '}';
    case 2: return '\'';
    case 3: return '"';
    default: return '\\';
    }
}

static const char *message(int code)
{
    if (code == LIST_FULL) return "リストが満杯です \"{\" ";
    if (code == LIST_MISSING) return "表が見つかりません";
    return "ソ\\";
}

typedef struct Pair { int key; int value; } Pair, *PairPtr;

int pair_sum(const Pair *p) { return p->key + p->value; }

void print_all(const List *list)
{
    ListNode *it;
    // iterate } without a brace
    LIST_FOREACH(it, list) {
        printf("%p\n", it->data);
    }
}

int main(int argc, char *argv[])
{
    List list;
    int i;
    list_init(&list);
    for (i = 1; i < argc; i++) {
        list_push(&list, argv[i]);
    }
    printf("%u items, %s\n", (unsigned)list_count(&list), message(0));
    return counter;
}
)";

const char kShapeCpp[] = R"(// shape.cpp: classes and qualified definitions.
#include "shape.h"

namespace geo {
int hidden(void) { return 0; }
}

class Shape {
public:
    virtual ~Shape() {}
    virtual double area() const = 0;
};

class Circle : public Shape {
public:
    explicit Circle(double r) : r_(r) {}
    Circle(const Circle &other);
    double area() const;
private:
    double r_;
};

struct Point { int x, y; };

double Circle::area() const
{
    return 3.14159 * r_ * r_;
}

Circle::Circle(const Circle &other) : r_(other.r_)
{
}

template <typename T>
T clamp(T v, T lo, T hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

static const char *kNames[] = {"circle", "square"};

extern "C" int c_entry(int argc, char **argv)
{
    Circle c(2.0);
    return static_cast<int>(c.area());
}

#define SHAPE_VERSION "1.0"
#define SQUARE(x) ((x) * (x))

union Bits { unsigned u; float f; };

int main(int argc, char *argv[])
{
    return c_entry(argc, argv);
}
)";

void expectFile(const std::string& name, const std::string& text, const Events& expected) {
  SCOPED_TRACE(name);
  ASSERT_GT(text.size(), BLex3_kBufSize);  // more than one window
  TempDir dir;
  writeFile(dir.file(name), text);
  EXPECT_EQ(expected, declsOf(dir.file(name)));
  int32_t count = -1;
  EXPECT_EQ("", bracketWarningsOf(dir.file(name), &count));
  EXPECT_EQ(0, count);
}

}  // namespace

TEST(ScannersRealCode, HeaderWithMacrosTypesAndExternC) {
  expectFile("list.h", kListH,
             {"7275 LIST_H", "7276", "7275 LIST_MAX", "7276", "7275 LIST_FOREACH", "7276",
              "7275 LIST_EMPTY", "7276", "7278 ListNode", "7280 ListNode 1", "7281", "7279",
              "7278 List", "7279", "7283 ListError {LIST_OK}{LIST_FULL}{LIST_MISSING}",
              "7284", "7278 Color", "7283 Color {RED}{GREEN}{BLUE}", "7284", "7279",
              "7280 Value 2", "7281"});
}

TEST(ScannersRealCode, SourceWithFunctionsAndLiterals) {
  expectFile("list.c", crlf(kListC),
             {"7275 CHECK", "7276", "7280 Stats 1", "7281", "7272 list_init", "7273",
              "7272 list_push", "7273", "7272 list_count", "7273", "7272 quote_char", "7273",
              "7272 message", "7273", "7278 Pair", "7280 Pair 1", "7281", "7279",
              "7272 pair_sum", "7273", "7272 print_all", "7273", "7272 main", "7273"});
}

TEST(ScannersRealCode, CppClassesAndQualifiedNames) {
  expectFile("shape.cpp", kShapeCpp,
             {"7280 Shape 3", "7281", "7280 Circle 3", "7281", "7280 Point 1", "7281",
              "7272 area", "7273", "7272 Circle", "7273", "7272 clamp", "7273",
              "7272 c_entry", "7273", "7275 SHAPE_VERSION", "7276", "7275 SQUARE", "7276",
              "7280 Bits 2", "7281", "7272 main", "7273"});
}
