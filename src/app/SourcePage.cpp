// The source-file pipeline.
#include "app/Pipelines.h"

void ScrivoApp_makeSourcePage(const char*, const char*, char* result) { result[0] = '\0'; }
