/* <<<計測ライブラリの本体>>> */
/* [表示]と[ソート]、それに値の記録をまとめる。
   互換性のため、書き出しは一行ずつ行う。 */
#include <stdio.h>
#include <string.h>

#include "meter.h"

/* <<<<内部で使うもの>>> */

/* 比率の分母。百分率で表示するため */
#define RATIO_BASE 100
/* 行の長さ。全角は3バイトまで使うので余裕を持たせるため*/
#define LINE_LEN 256

static const char *const kind_names[] = {
  "時間",        /* METER_TIME */
  "回数",        /* METER_COUNT */
  "比率",        /* METER_RATIO */
  "ゾーン"       /* METER_ZONE */
};

/* 単位の表。種類ごとに一つずつ、順番は MeterKind と同じ */
static const char *const unit_names[] = { METER_UNIT, "回", "％", "件" };

// 範囲外の種類は「不明」とする。誤った呼び出しも処理可能
static const char *kind_name(MeterKind kind)
{
  if ((size_t)kind >= sizeof kind_names / sizeof kind_names[0])
    return "不明";
  return kind_names[kind];
}

/* 二つの項目を名前で比べる。名前が同じなら種類の順 */
static int compare_items(const MeterItem *a, const MeterItem *b)
{
  int order = strcmp(a->name, b->name);
  if (order != 0)
    return order;
  return (int)a->kind - (int)b->kind;
}

/* <<<表の操作>>> */

void meter_init(MeterTable *table)
{
  memset(table, 0, sizeof *table);
}

int meter_add(MeterTable *table, const char *name, MeterKind kind)
{
  MeterItem *item;
  if (table->count >= METER_MAX_ITEMS)
    return 0;  /* 満杯: 黙って捨てずに0を返す */
  item = &table->items[table->count++];
  strncpy(item->name, name, METER_NAME_LEN - 1);
  item->name[METER_NAME_LEN - 1] = '\0';
  item->kind = kind;
  item->value = 0;
  item->peak = 0;
  table->sorted = 0;
  return 1;
}

void meter_record(MeterTable *table, size_t index, long value)
{
  MeterItem *item = &table->items[index];
  item->value = value;
  if (value > item->peak)
    item->peak = value;  /* 最大値を更新した*/
}

/* <<<[ソート]>>> */

/* 挿入ソート。項目は高々64個なので、これで十分な性能が出る */
void meter_sort(MeterTable *table)
{
  size_t i, j;
  for (i = 1; i < table->count; ++i) {
    MeterItem key = table->items[i];
    for (j = i; j > 0 && compare_items(&table->items[j - 1], &key) > 0; --j)
      table->items[j] = table->items[j - 1];
    table->items[j] = key;
  }
  table->sorted = METER_SORTED;
}

/* <<<[表示]>>> */

/* 一行を組み立てる。比率は百分率、ゾーンは件数で表示 */
static void format_line(const MeterItem *item, char *line, size_t size)
{
  long shown = item->value;
  if (item->kind == METER_RATIO)
    shown = METER_CLAMP(item->value * RATIO_BASE, 0, 100 * RATIO_BASE) / RATIO_BASE;
  snprintf(line, size, "%s%-*s %s: %ld%s（最大 %ld）", METER_BULLET, METER_NAME_LEN, item->name,
           kind_name(item->kind), shown, unit_names[item->kind], item->peak);
}

int meter_print(const MeterTable *table, MeterWriter writer, void *context)
{
  char line[LINE_LEN];
  size_t i;
  if (writer(context, METER_TITLE) != 0)
    return -1;
  if (!table->sorted)
    writer(context, "（並べ替えていません。ソートするには meter_sort を呼ぶこと）");
  for (i = 0; i < table->count; ++i) {
    format_line(&table->items[i], line, sizeof line);
    if (writer(context, line) != 0)
      return -1;  /* 書き出し先の失敗はそのまま伝える */
  }
  return writer(context, "以上。表の終わり") == 0 ? 0 : -1;
}

/* <<<試験用の小さな書き出し先>>>` */

#ifdef METER_SELF_TEST
// 標準出力に書くだけの書き出し先。結果は標準出力の一覧表
static int to_stdout(void *context, const char *line)
{
  (void)context;
  return puts(line) < 0 ? -1 : 0;
}

int main(void)
{
  MeterTable table;
  meter_init(&table);
  meter_add(&table, "読み込み", METER_TIME);
  meter_add(&table, "書き込み", METER_TIME);
  meter_add(&table, "再試行", METER_COUNT);
  meter_add(&table, "命中率", METER_RATIO);
  meter_add(&table, "ゾーンあ", METER_ZONE);
  meter_record(&table, 0, 120);
  meter_record(&table, 1, 45);
  meter_record(&table, 2, 3);
  meter_record(&table, 3, 97);
  meter_record(&table, 4, 12);
  meter_sort(&table);
  if (METER_MARK != '表' || kind_name(METER_ZONE)[0] == 'あ')
    return 2;
  return meter_print(&table, to_stdout, NULL) == 0 ? 0 : 1;
}
#endif /* METER_SELF_TEST */
