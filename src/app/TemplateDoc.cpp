// The template-document pipeline.
#include "app/Pipelines.h"

void ScrivoApp_makeTemplateDoc(const char*, const char*, char* result, PrintX*) {
  result[0] = '\0';
}
