// ScrivoApp: the command's driver. ScrivoApp_run sets up the runtime
// foundation for the whole run (error list, try frames, error hook, big
// stack), chooses the pipeline by the input's extension and shows the page
// it produced.
#pragma once
#include <cstdint>

#include "runtime/PrintX.h"

inline constexpr char ScrivoApp_kWorkFolder[] = "scrivo2";
inline constexpr char ScrivoApp_kBanner[] = "Scrivolt2 b2 for Command Line\n";
inline constexpr char ScrivoApp_kUsage[] = "  usage >scrivo doc.hmt\n";

// scrivo --help (or -h): the usage lines, then this, then the platform's
// browser rule (WinX_browserRule) and the exit statuses.
inline constexpr char ScrivoApp_kHelpUsage[] = "        >scrivo --help | -h | --version\n";
inline constexpr char ScrivoApp_kHelpInputs[] =
    "入力の種類（拡張子の大文字と小文字は区別しない）:\n"
    "  .c .cpp .h .txt  ソースファイル: 行番号つきの一覧ページ NAME.htm\n"
    "  .hmt .htm*       テンプレート文書: 展開したページ（同じ名前）\n"
    "  .scv             プロジェクト: フレームのサイト index.html\n"
    "  その他の拡張子では何もしない\n"
    "出力: 入力ファイルと同じフォルダの scrivo2\n";
inline constexpr char ScrivoApp_kHelpStatus[] =
    "終了ステータス: 0 成功（何もしなかったときも）、14 エラー（標準エラーに報告）\n";
// scrivo --version: the banner, then this and the version.
inline constexpr char ScrivoApp_kVersionLabel[] = "バージョン ";

using ScrivoApp_ProgressFn = int32_t (*)(void* user, int32_t step, int32_t value,
                                         const char* text, int32_t index, int32_t count);

struct ScrivoApp_Progress {
  void* user;
  ScrivoApp_ProgressFn func;
};

enum class ScrivoApp_Pipeline { None, SourcePage, TemplateDoc, Site };

// The pipeline that an input path's extension chooses (case-blind).
ScrivoApp_Pipeline ScrivoApp_choosePipeline(const char* path);

// The process entry (main calls it).
int ScrivoApp_main(int argc, char** argv);

// Runs one conversion. inputCut tells that the input path did not fit its
// 260-byte buffer: the run is then refused with an error naming it.
void ScrivoApp_run(const char* input, ScrivoApp_Progress* progress, PrintX* sink,
                   bool inputCut = false);

// Step 1 of a run: error list, try frames, hook, and BigStack_main over area.
void ScrivoApp_setUpRuntime(void* bigStackArea, uint32_t size);

int32_t ScrivoApp_onError(int32_t id, int32_t code, const char* msg);

int32_t ScrivoApp_printProgress(void* user, int32_t step, int32_t value, const char* text,
                                int32_t index, int32_t count);
