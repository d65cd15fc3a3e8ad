// ScrivoApp: entry, dispatch, the error policy and the progress line.
#include "app/ScrivoApp.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/Browser.h"
#include "app/Pipelines.h"
#include "platform/Os.h"
#include "platform/WinX.h"
#include "runtime/BigStack.h"
#include "runtime/ByteClass.h"
#include "runtime/Errors.h"
#include "runtime/Except3.h"
#include "runtime/StrXPath.h"

namespace {

constexpr char kModule[] = "scrivo-app";

Errors_Msg g_poolRecords[Errors_kPoolRecords];
Except3_Frame g_frames[Except3_kFrames];

bool equalNoCase(const char* a, const char* b, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = ByteClass_lower(static_cast<unsigned char>(a[i]));
    const unsigned char y = ByteClass_lower(static_cast<unsigned char>(b[i]));
    if (x != y) return false;
    if (x == 0) return true;
  }
  return true;
}

bool isExt(const char* ext, const char* name) {
  return std::strlen(ext) == std::strlen(name) && equalNoCase(ext, name, std::strlen(name));
}

void writeOut(const std::string& text) { Os_consoleWrite(1, text.data(), text.size()); }

}  // namespace

ScrivoApp_Pipeline ScrivoApp_choosePipeline(const char* path) {
  const char* ext = StrX_refExt(path);
  if (isExt(ext, "c") || isExt(ext, "cpp") || isExt(ext, "h") || isExt(ext, "txt"))
    return ScrivoApp_Pipeline::SourcePage;
  if (equalNoCase(ext, "htm", 3) || isExt(ext, "hmt")) return ScrivoApp_Pipeline::TemplateDoc;
  if (isExt(ext, "scv")) return ScrivoApp_Pipeline::Site;
  return ScrivoApp_Pipeline::None;
}

void ScrivoApp_setUpRuntime(void* bigStackArea, uint32_t size) {
  Errors_initPool(g_poolRecords, Errors_kPoolRecords);
  Except3_Sys_init(&Except3_globalSys, g_frames, sizeof g_frames);
  Errors_hook = ScrivoApp_onError;
  BigStack_init(&BigStack_main, bigStackArea, size);
}

void ScrivoApp_run(const char* input, ScrivoApp_Progress* progress, PrintX* sink,
                   bool inputCut) {
  alignas(8) static uint8_t bigStackArea[BigStack_kMainSize];
  ScrivoApp_setUpRuntime(bigStackArea, sizeof bigStackArea);

  if (input[0] == '\0')
    Errors_raise(kModule, __LINE__, Errors_Unofficial, "%s",
                 Errors_Txt_Error);
  if (inputCut)
    Errors_raise(kModule, __LINE__, StrX_Err_PathTooLong,
                 StrX_Txt_PathTooLong, static_cast<int>(StrX_kPathSize - 1), input);

  char result[StrX_kPathSize] = "";
  switch (ScrivoApp_choosePipeline(input)) {
    case ScrivoApp_Pipeline::SourcePage:
      ScrivoApp_makeSourcePage(input, ScrivoApp_kWorkFolder, result);
      break;
    case ScrivoApp_Pipeline::TemplateDoc:
      ScrivoApp_makeTemplateDoc(input, ScrivoApp_kWorkFolder, result, sink);
      break;
    case ScrivoApp_Pipeline::Site:
      ScrivoApp_makeSite(input, ScrivoApp_kWorkFolder, result, progress, sink);
      break;
    case ScrivoApp_Pipeline::None:
      return;
  }
  Browser_openHtml(result);
}

int32_t ScrivoApp_onError(int32_t, int32_t code, const char* msg) {
  if (code != Except3_Err_Uncaught) Except3_Sys_throw(&Except3_globalSys, &Errors_curMsg);
  Errors_printf("%s", msg);
  Errors_printPool(&Errors_MsgPool);
  return 1;
}

int32_t ScrivoApp_printProgress(void*, int32_t step, int32_t value, const char* text,
                                int32_t index, int32_t count) {
  char line[1024];
  std::snprintf(line, sizeof line, "\r%79s", "");
  writeOut(line);
  std::string t = text ? text : "";
  std::string buf(t.size() + 64, '\0');
  int n = std::snprintf(&buf[0], buf.size(), "\rstep %d/3 [%d/%d] (%3d%%) %s", step, index,
                        count, value / 100, t.c_str());
  buf.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  writeOut(buf);
  std::fflush(stdout);
  return 0;
}

int ScrivoApp_main(int argc, char** argv) {
  Os_consoleInit();
  if (argc <= 1) {
    writeOut(ScrivoApp_kBanner);
    writeOut(ScrivoApp_kUsage);
    return 0;
  }
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    writeOut(std::string(ScrivoApp_kBanner) + ScrivoApp_kUsage + ScrivoApp_kHelpUsage +
             ScrivoApp_kHelpInputs + WinX_browserRule() + ScrivoApp_kHelpStatus);
    return 0;
  }
  if (std::strcmp(argv[1], "--version") == 0) {
    writeOut(std::string(ScrivoApp_kBanner) + ScrivoApp_kVersionLabel + SCRIVO_VERSION + "\n");
    return 0;
  }
  // A path that does not fit its buffer would name another file: the run is
  // refused instead (ScrivoApp_run reports it once the runtime is set up).
  char input[StrX_kPathSize];
  bool cut = !StrX_cpyAbsPath(input, argv[1], sizeof input);

  PrintX sink;
  PrintX_init(&sink);
  PrintX_setFlags(&sink, PrintX_Stdout | PrintX_LineBefore);
  ScrivoApp_Progress progress{nullptr, ScrivoApp_printProgress};
  ScrivoApp_run(input, &progress, &sink, cut);
  std::fflush(stdout);
  return 0;
}
