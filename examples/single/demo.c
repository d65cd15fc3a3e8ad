/* <<<はじめに>>>
   このファイルは Scrivo のデモです。[キーワード] の使い方と、
   定義一覧の例を示します。
   <IMG src="logo.png"> は画像としてそのまま表示されます。 */

#include <stdio.h>

/* <<<マクロと型>>> */
#define GREETING "こんにちは、表示"
#define SQUARE(x) ((x) * (x))

typedef struct tagPoint {
  int x;
  int y;
} Point;

enum Color { RED, GREEN = 2, BLUE };

/* <<<関数>>> */
/* <kword>距離</kword> を計算します。 */
static int distance2(Point a, Point b)
{
  int dx = a.x - b.x;
  int dy = a.y - b.y;
  return SQUARE(dx) + SQUARE(dy);
}

int main(void)
{
  Point p = { 1, 2 }, q = { 4, 6 };
  enum Color c = GREEN;
  printf("%s %d %d\n", GREETING, distance2(p, q), (int)c);
  int v[3] = { 1, 2, 3 ];  /* 括弧の対応が誤っている例 */
  return 0;
}
