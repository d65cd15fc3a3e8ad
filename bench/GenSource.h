// Generates C source text for the benchmarks: functions, macros, types,
// comments, string literals, titles and uses of the defined names, in a
// fixed pseudo-random order so that every run measures the same bytes.
#pragma once
#include <cstddef>
#include <string>

std::string GenSource_make(std::size_t bytes, unsigned seed = 1);
