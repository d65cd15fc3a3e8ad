// BLex3 listing writer: copies a stretch of the input file between two
// positions to a stream or a buffer, window by window, straight from the
// lexer's window: verbatim, HTML-escaped with line numbers, as plain text
// without tags, or cut to a buffer. Every call moves the lexer's cursor;
// callers that scan on save and restore their position around it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "lexer/BLex3.h"
#include "runtime/OutFile.h"

// The line number that switches numbering off in BLex3_writeHtml.
inline constexpr uint32_t BLex3_kNoLineNumbers = 0xFFFFFFFF;

// The prefix of every numbered line after an LF ("\n" is the LF itself).
inline constexpr char BLex3_kLinePrefixFormat[] = "\n%4u|";

// Writes the bytes from `from` up to (not including) `to` verbatim. A range
// that ends past the data stops at its end; to <= from writes nothing.
void BLex3_writeRange(BLex3* lexer, BLex3_Pos from, BLex3_Pos to, std::FILE* out);
void BLex3_writeRange(BLex3* lexer, BLex3_Pos from, BLex3_Pos to, OutFile* out);
// The line feeds among the bytes from `from` up to (not including) `to`.
uint32_t BLex3_countLines(BLex3* lexer, BLex3_Pos from, BLex3_Pos to);
// Writes the bytes with "&", "<" and ">" escaped. Unless *line is
// BLex3_kNoLineNumbers, every LF increments *line and is written as
// "\n%4u|" with the new number.
void BLex3_writeHtml(BLex3* lexer, BLex3_Pos from, BLex3_Pos to, uint32_t* line,
                     std::FILE* out);
void BLex3_writeHtml(BLex3* lexer, BLex3_Pos from, BLex3_Pos to, uint32_t* line,
                     OutFile* out);
// Writes the bytes without HTML tags and without leading and trailing white
// space; white space directly before a tag goes with the tag.
void BLex3_writeText(BLex3* lexer, BLex3_Pos from, BLex3_Pos to, std::FILE* out);
// Copies the bytes into dst, at most capacity - 1 of them, NUL-terminated
// (nothing is written when capacity is 0); a cut never splits a double-byte
// character.
void BLex3_copyRange(BLex3* lexer, BLex3_Pos from, BLex3_Pos to, char* dst,
                     std::size_t capacity);
