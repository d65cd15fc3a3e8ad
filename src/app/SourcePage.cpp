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

        DocJob_Links links;
        DocJob_openLinks(&links, job.files.links);
        DocJob_analyze(&links, &job, "");
        DocJob_closeLinks(&links);
        DocJob_loadKeywords(&links, job.files.links);
        DocJob_write(&links, &job, nullptr);
        ScrivoApp_writeSourceHtml(job.files);
        DocJob_closeKeywords(&links);
        PageFiles_removeWork(&job.files);
      },
      [] {});
}
