// WorkPaths: the paths of a run's output, built so that a path that does not
// fit its 260-byte buffer is refused with an error naming it instead of
// being cut to a path that names another file.
#pragma once
#include <cstddef>

#include "runtime/StrX.h"

// The work folder: folderName against the folder of input.
void ScrivoApp_workFolder(char* dst, const char* input, const char* folderName);
// name joined to folder.
void ScrivoApp_joinPath(char* dst, const char* folder, const char* name);
// A source page's name: input's file name with its extension made htm.
void ScrivoApp_pagePath(char* dst, const char* folder, const char* input);
// Deletes the given work files in order (a missing one is no error).
void ScrivoApp_removeFiles(const char* const* paths, std::size_t count);
