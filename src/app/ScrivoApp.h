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
