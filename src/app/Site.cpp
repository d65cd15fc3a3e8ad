// The project pipeline.
#include "app/Pipelines.h"

void ScrivoApp_makeSite(const char*, const char*, char* result, ScrivoApp_Progress*, PrintX*) {
  result[0] = '\0';
}
