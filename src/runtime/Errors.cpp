// Errors: formatting, the error records, the reports and the error log.
#include "runtime/Errors.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/Os.h"
#include "platform/OsFile.h"

Errors_Msg Errors_curMsg;
Errors_Pool Errors_MsgPool;
Errors_HookFn Errors_hook = nullptr;

namespace {

constexpr char kModule[] = "Errors";

int32_t g_counter = 0;   // raises so far; the id of the newest error
int32_t g_nest = 0;      // raises started and not yet finished
int32_t g_exits = 0;     // calls of Errors_exit
bool g_logReset = true;  // the first log write of a run starts a new log

// Formats into a 1024-byte text: a longer one keeps its first `keep` bytes
// and gets "...", after a pause for a key press.
std::string formatText(std::size_t keep, const char* format, va_list ap) {
  va_list copy;
  va_copy(copy, ap);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (n < 0) return std::string();
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  std::vsnprintf(&text[0], text.size(), format, ap);
  text.resize(static_cast<std::size_t>(n));
  if (text.size() > Errors_kTextSize) {
    text.resize(keep);
    text += "...";
    Errors_break();
  }
  return text;
}

void writeLine(int stream, const std::string& text, const char* end) {
  std::string line = text + end;
  Os_consoleWrite(stream, line.data(), line.size());
}

struct ErrnoText {
  int err;
  const char* longText;
  const char* shortText;
};

const ErrnoText kErrnoTexts[] = {
    {ENOENT,
     "ファイルまたはディレクトリがない。指定されたファイルまたはディレクトリが存在しないか見つかりません。"
     "このメッセージは、指定されたファイルが存在しないか、パス名の要素が既存のディレクトリを指定していない"
     "場合に発生します。",
     "ENOENT   ファイルまたはディレクトリがない。"},
    {E2BIG, "errno = E2BIG : 引数リストが長すぎる", "E2BIG   引数リストが長すぎる"},
    {ENOEXEC,
     "実行ファイルのエラー。実行可能でないか無効な実行可能ファイル形式を持つファイルを実行しようとしました。",
     "ENOEXEC   実行ファイルのエラー。"},
    {EBADF, "不正なファイル番号。", "EBADF   不正なファイル番号。"},
    {ECHILD, "errno = ECHILD : 子プロセスが存在しない", "ECHILD   子プロセスが存在しない"},
    {EAGAIN,
     "errno = EAGAIN : これ以上プロセスを生成できない。プロセス スロットが足りないか、メモリ不足か、"
     "または最大ネスト レベルに達したために、新しいプロセスの生成に失敗しました。",
     "EAGAIN   これ以上プロセスを生成できない。"},
    {ENOMEM, "メモリ不足。実行しようとした操作に十分なメモリがありません。", "ENOMEM   メモリ不足。"},
    {EACCES, "errno = EACCES : アクセスが拒否された。", "EACCES   アクセスが拒否された。"},
    {EEXIST, "ファイルが存在する。既に存在するファイルを作成しようとしています。",
     "EXIST   ファイルが存在する。"},
    {EXDEV, "デバイス間リンク。rename 関数を使って、別のデバイスにファイルを移動しようとしました。",
     "EXDEV   デバイス間リンク。"},
    {EINVAL,
     "不正な引数。たとえば、ファイル ポインタの移動 (fseek の呼び出し) のとき、指定した元の位置がファイルの"
     "先頭より前にある場合です。",
     "EINVAL   不正な引数。"},
    {EMFILE, "開いているファイルが多すぎる。空いているファイル ハンドルがないので、ファイルを開けません。",
     "EMFILE   開いているファイルが多すぎる。"},
    {ENOSPC,
     "デバイスの空き領域不足。デバイスに書き込み用の領域が残っていません (たとえば、ディスクがいっぱいになった"
     "場合)。",
     "ENOSPC   デバイスの空き領域不足。"},
    {EDOM, "数値演算関数の引数が関数のドメイン外の値である。",
     "EDOM   数値演算関数の引数が関数のドメイン外の値である。"},
    {ERANGE,
     "結果が大きすぎる。数値演算関数の引数が大きすぎて、結果の有効桁数の一部または全部が失われます。"
     "このエラーは、他の関数でも、引数が想定より大きい(たとえば、_getcwd の buffer 引数が大きすぎる) 場合に"
     "発生します。",
     "ERANGE   結果が大きすぎる。"},
    {EDEADLOCK, "リソースのデッドロックが発生する可能性がある。",
     "EDEADLOCK   リソースのデッドロックが発生する可能性がある。"},
};

const ErrnoText* findErrno(int err) {
  for (const ErrnoText& t : kErrnoTexts)
    if (t.err == err) return &t;
  return nullptr;
}

void listPool(const Errors_Pool* pool, bool toStdout) {
  if (pool->first == nullptr) return;
  int number = 0;
  for (const Errors_Msg* m = pool->first; m < pool->over; ++m) {
    if (m->inUse == 0) continue;
    ++number;
    if (toStdout) {
      char line[4096];
      std::snprintf(line, sizeof line, "[%d] %s", number, m->msg);
      Errors_puts(line);
    } else {
      Errors_printf("[%d] %s", number, m->msg);
    }
  }
}

}  // namespace

void Errors_initPool(Errors_Msg* records, std::size_t count) {
  Errors_MsgPool.first = records;
  Errors_MsgPool.over = records + count;
  for (std::size_t i = 0; i < count; ++i) records[i].inUse = 0;
}

void Errors_raise(const char* module, int line, int32_t code, const char* format,
                  ...) {
  ++g_counter;
  va_list ap;
  va_start(ap, format);
  std::string text = formatText(Errors_kTextSize - 5, format, ap);
  va_end(ap);

  Errors_Msg& m = Errors_curMsg;
  m.inUse = 0;
  m.id = g_counter;
  m.code = code;
  std::snprintf(m.module, sizeof m.module, "%s", module);
  m.line = line;
  std::size_t keep = text.size() < Errors_kMsgSize ? text.size() : Errors_kMsgSize - 1;
  std::memcpy(m.msg, text.data(), keep);
  m.msg[keep] = '\0';
  m.msgPtr = m.msg;

  ++g_nest;
  if (g_nest > 1) {
    Errors_printf(Errors_Txt_DoubleError, module, line, code, Errors_codeName(code));
    Errors_printf("%s", text.c_str());
    Errors_exit(module, line);
  }
  int32_t result = 0;
  if (Errors_hook != nullptr)
    result = Errors_hook(g_counter, code, text.c_str());
  else
    Errors_puts(text.c_str());
  (void)result;  // a hook that returns ends the run like one that asks to
  Errors_exit(module, line);
}

const char* Errors_errnoLong(int err) {
  const ErrnoText* t = findErrno(err);
  return t ? t->longText : "Unknown Error";
}

const char* Errors_errnoShort(int err) {
  const ErrnoText* t = findErrno(err);
  return t ? t->shortText : "Unknown Error";
}

void Errors_raiseErrno() {
  int err = errno;
  Errors_raise(kModule, __LINE__, Errors_Err_Errno, "%s",
               Errors_errnoLong(err));
}

int Errors_logErrno() {
  int err = errno;
  Errors_log("errno = %d : %s", err, Errors_errnoShort(err));
  return 0;
}

int Errors_log(const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  std::string text = formatText(Errors_kTextSize - 4, format, ap);
  va_end(ap);
  Errors_printf("%s", text.c_str());
  if (g_logReset) {
    std::remove(Errors_kLogName);
    g_logReset = false;
  }
  text += "\r\n";
  if (!OsFile_append(Errors_kLogName, text.data(), text.size()))
    Errors_raise(kModule, __LINE__, FileX_Err_CannotWriteOpen,
                 FileX_Txt_CannotWrite, Errors_kLogName);
  return 0;
}

int Errors_printf(const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  std::string text = formatText(Errors_kTextSize - 4, format, ap);
  va_end(ap);
  writeLine(2, text, "\r\n");
  return 0;
}

void Errors_puts(const char* text) { writeLine(1, text, "\n"); }

void Errors_exit(const char* module, int line) {
  ++g_exits;
  if (g_exits == 1) Errors_printf(Errors_Txt_Exit, module, line);
  std::fflush(stdout);
  std::fflush(stderr);
  std::exit(Errors_kExitStatus);
}

int Errors_break() {
  if (Os_stdinIsTerminal()) Os_readKeyNoEcho();
  return 1;
}

void Errors_printPool(const Errors_Pool* pool) { listPool(pool, false); }

void Errors_putsPool(const Errors_Pool* pool) { listPool(pool, true); }

void Errors_clearNest() { g_nest = 0; }
