// The template-document pipeline: an HTML document or template document is
// expanded into its page in the work folder beside it, with heading anchors,
// keyword links and the heading index at its "embed_index" tag.
#include "app/Pipelines.h"
#include "app/SourceHtml.h"
#include "runtime/Except3.h"
#include "runtime/FileX.h"
#include "runtime/StrX.h"
#include "runtime/StrXPath.h"
#include "runtime/TextCode.h"
#include "template/DocJob.h"

void ScrivoApp_makeTemplateDoc(const char* input, const char* workFolder, char* result,
                               PrintX* sink) {
  Except3_tryFinally(
      "scrivo-app", __LINE__,
      [&] {
        DocJob job;
        DocJob_forDocument(&job, input, workFolder);
        StrX_cpy(result, job.files.page, StrX_kPathSize);
        FileX_makeFolders(job.files.folder, false);
        const TextCode code = TextCode_ofFile(input);
        TextCode_Scope scope(code, code);

        DocJob_Reader reader(sink);
        char absInput[StrX_kPathSize];
        // A name cut here is not found by the reader, which says so.
        (void)StrX_cpyAbsPath(absInput, input, sizeof absInput);
        job.rxmlFile = RXML_addFile(&reader.rxml, absInput);
        DocJob_runAlone(&job, &reader.rxml, ScrivoApp_writeDocumentHtml);
      },
      [] {});
}
