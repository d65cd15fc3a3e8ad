// <<<操作パネル [Panel] の画面部品>>>
// 計測値を枠付きの表で見せる。描画は文字だけで行い、
// 罫線には全角の「｜」ではなく半角の "|" を使う（幅がずれないため）。
#include <string>
#include <vector>
#include <utility>

#include "meter.h"

/* <<<<[名前空間]と[定数]>>> */

namespace panel {

// 枠の文字。ソート順の印もここで決める
constexpr char kCorner = '+';
constexpr char kBar = '|';
constexpr const char* kAscending = "▲";
constexpr const char* kDescending = "▼";
// 空欄に出す文字。全角一文字分は能
constexpr const char* kBlank = "－";

/* <<<[画面]の部品>>> */

// 一つの列。見出しと幅を持つ
struct Column {
  std::string heading;  // 見出し（例: "名前", "値"）
  int width;            // 半角での幅
};

enum class Align { Left, Right, Center };  // 寄せ方。既定は左寄せ

// 表を文字で描く部品。行を足してから render を呼ぶ
class Panel {
 public:
  explicit Panel(std::string title) : title_(std::move(title)) {}

  // 列を足す。幅0は見出しの長さに合わせる
  void addColumn(const std::string& heading, int width = 0) {
    columns_.push_back(Column{heading, width > 0 ? width : displayWidth(heading)});
  }

  // 行を足す。足りない欄は空欄のまま
  void addRow(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }

  // 全体を描く。一行目はタイトル、二行目から表
  std::string render() const {
    std::string out = "【" + title_ + "】\n";
    out += rule();
    out += line(headings());
    out += rule();
    for (const auto& row : rows_) out += line(row);
    out += rule();
    return out;
  }

  // 文字列の表示幅。全角は2、半角は1と数える
  static int displayWidth(const std::string& text) {
    int width = 0;
    for (std::size_t i = 0; i < text.size(); ++width) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      const int len = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
      if (len > 1) ++width;  // 全角は二桁分
      i += len;
    }
    return width;
  }

 private:
  std::vector<std::string> headings() const {
    std::vector<std::string> h;
    for (const auto& c : columns_) h.push_back(c.heading);
    return h;
  }

  std::string rule() const {
    std::string r(1, kCorner);
    for (const auto& c : columns_) r += std::string(c.width + 2, '-') + kCorner;
    return r + "\n";
  }

  std::string line(const std::vector<std::string>& cells) const {
    std::string l(1, kBar);
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      const std::string cell = i < cells.size() ? cells[i] : kBlank;
      const int pad = columns_[i].width - displayWidth(cell);
      l += " " + cell + std::string(pad > 0 ? pad : 0, ' ') + " " + kBar;
    }
    return l + "\n";
  }

  std::string title_;
  std::vector<Column> columns_;
  std::vector<std::vector<std::string>> rows_;
};

}  // namespace panel

/* <<<[計測値]を画面に出す>>> */

// 書き出し先としての画面。行をためて最後に表にする
struct ScreenSink {
  panel::Panel screen{"計測値の一覧ー"};
  bool first = true;
};

extern "C" int screen_writer(void* context, const char* line) {
  auto* sink = static_cast<ScreenSink*>(context);
  if (sink->first) {
    sink->screen.addColumn("項目");
    sink->first = false;
    return 0;  // 一行目は見出しなので表には入れない
  }
  sink->screen.addRow({line});
  return 0;
}

// 表の中身を描いた文字列を返す。失敗したら空の文字列
std::string render_meters(const MeterTable& table) {
  ScreenSink sink;
  if (meter_print(&table, screen_writer, &sink) != 0) return "";
  return sink.screen.render() + "\\ 表\\ソ\\能\\ の後にも続く\n" + "\"引用\"も";
}
