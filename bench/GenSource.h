// Generates C source text for the benchmarks: functions, macros, types,
// comments, string literals, titles and uses of the defined names, in a
// fixed pseudo-random order so that every run measures the same bytes.
#pragma once
#include <cstddef>
#include <string>

// Each function body gets bodyLines more statements (uses, no definitions),
// which makes the definitions sparser: one in about 130 bytes without them,
// one in about 900 bytes with 40.
std::string GenSource_make(std::size_t bytes, unsigned seed = 1, int bodyLines = 0);
