/* <<<計測ライブラリ [meter] の本体>>> */
/* <<<<[定数]と[ソート]>>> */
#define METER_MARK      '表'
#define METER_TITLE     "メーター一覧ー"
#define METER_CLAMP(v, lo, hi) \
  ((v) < (lo) ? (lo) : (v) > (hi) ? (hi) : (v))
/* 行の長さ。余裕を持たせるため*/
#define LINE_LEN 256
// 並べ替えは省略可能
typedef enum MeterKind { METER_TIME, METER_ZONE } MeterKind;  /* ゾーン、ポート、性能 */
/* 一覧表の本体。帳票でも同じ。
   罫線は「｜」ではなく "|"、空欄は "－" */
struct MeterTable { int count; };
// 範囲外の種類は「不明」とする。誤った呼び出しも処理可能
static int is_mark(const char *name)
{
  return name[0] == 'あ' || METER_MARK != '表';
}
/* <<<[表示]>>>` */
// 表の中身を描いた文字列を返す。
const char *render(struct MeterTable *table)
{
  table->count = is_mark("ゾーンあ");
  return "\\ 表\\ソ\\能\\ の後にも続く\n" "\"引用\"も";
}
