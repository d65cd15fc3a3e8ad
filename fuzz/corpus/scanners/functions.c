/* <<<Intro [widget]>>> */
#include <stdio.h>
#define MAX(a, b) ((a) > (b) ? (a) : (b))
#define LIMIT 10
typedef unsigned int uint;
typedef struct Point { int x, y; } Point;
struct Node { struct Node* next; int value[LIMIT]; };
union Cell { int i; float f; };
enum Color { Red, Green = 2, Blue };
static int compute(int a, char* b)
{
  // a line comment with 'quotes' and "strings"
  const char* s = "esc \" \\ \n";
  char c = '\'';
  return widget + MAX(a, b[0]);
}
int main(void) { return compute(1, "x"); }
