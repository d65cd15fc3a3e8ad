// The source-file pipeline: a C/C++ source or text file becomes one page in
// the work folder beside it.
#include "app/Pipelines.h"
#include "app/SourceHtml.h"
#include "runtime/Except3.h"
#include "runtime/FileX.h"
#include "runtime/StrX.h"
#include "runtime/TextCode.h"
#include "template/DocJob.h"

void ScrivoApp_makeSourcePage(const char* input, const char* workFolder, char* result) {
  Except3_tryFinally(
      "scrivo-app", __LINE__,
      [&] {
        DocJob job;
        DocJob_forSource(&job, input, workFolder);
        StrX_cpy(result, job.files.page, StrX_kPathSize);
        FileX_makeFolders(job.files.folder, false);
        const TextCode code = TextCode_ofFile(input);
        TextCode_Scope scope(code, code);

        DocJob_runAlone(&job, nullptr, ScrivoApp_writeSourceHtml);
      },
      [] {});
}
