/* <<<計測ライブラリ [meter] の公開ヘッダ>>> */
/*
 * 計測値を集めて一覧表にまとめ、画面や帳票に表示する。
 * ソースのどこからでも使う型とマクロをここに置く。
 * 文字コードは呼び出し側のものをそのまま通す。
 */
#ifndef METER_H
#define METER_H

#include <stddef.h>

/* <<<<[定数]と[マクロ]>>> */

/* 一度に扱える項目の数。これを超えた分は捨てる */
#define METER_MAX_ITEMS 64
#define METER_NAME_LEN  32   /* 名前の長さ（終端を含む） */
#define METER_UNIT      "ミリ秒"
#define METER_MARK      '表'
#define METER_BULLET    "・"
// 並べ替えは省略可能
#define METER_SORTED    1
// 列の区切りはポート番号の前にも置く
#define METER_COLUMN_GAP 2

/* 値を範囲に収める。引数は一度だけ評価するとは限らないので注意 */
#define METER_CLAMP(v, lo, hi) \
  ((v) < (lo) ? (lo) : (v) > (hi) ? (hi) : (v))

/* 表示用の見出し（全角の「ー」を含む） */
#define METER_TITLE "メーター一覧ー"

/* <<<型と[構造体]>>> */

/* 計測値の種類。[表示]の形もこれで決まる */
typedef enum MeterKind {
  METER_TIME,    /* 時間（ミリ秒） */
  METER_COUNT,   /* 回数 */
  METER_RATIO,   /* 比率。表示は百分率 */
  METER_ZONE     /* ゾーンごとの集計 */
} MeterKind;

/* ひとつの計測値。名前は利用者が付けるもの */
typedef struct MeterItem {
  char name[METER_NAME_LEN];  /* 項目名 */
  MeterKind kind;             /* 種類 */
  long value;                 /* 現在の値 */
  long peak;                  /* これまでの最大値 */
} MeterItem;

/* 一覧表の本体。項目は登録した順に並ぶ */
struct MeterTable {
  MeterItem items[METER_MAX_ITEMS];
  size_t count;               /* 登録済みの数 */
  int sorted;                 /* ソート済みなら1 */
};

typedef struct MeterTable MeterTable;

/* 書き出し先。帳票でも画面でも同じ形で受ける */
typedef int (*MeterWriter)(void *context, const char *line);

/* <<<関数>>> */

#ifdef __cplusplus
extern "C" {
#endif

/* 表を空にする（ソート済みの印も消す） */
void meter_init(MeterTable *table);
/* 項目を足す。満杯なら0を返し、何もしない */
int meter_add(MeterTable *table, const char *name, MeterKind kind);
/* 値を記録し、最大値も更新する */
void meter_record(MeterTable *table, size_t index, long value);
/* 名前の順に並べ替える。日本語の名前はバイト順 */
void meter_sort(MeterTable *table);
/* 一覧表を一行ずつ書き出す */
int meter_print(const MeterTable *table, MeterWriter writer, void *context);

#ifdef __cplusplus
}
#endif

#endif /* METER_H: ここまで */
