// StrX: byte-string operations over code page 932 texts (the path
// operations are in StrXPath.h). Operations called double-byte aware step
// over a lead byte together with its trail byte, so a trail byte that equals
// "\\", "/" or a letter never counts as a character of its own; the others
// work byte by byte. Every operation that writes into a caller buffer is told
// its size and cuts its result to fit, never splitting a double-byte
// character where it writes whole characters.
#pragma once
#include <cstddef>
#include <cstdint>
#include <ctime>

// Path buffers hold 260 bytes: at most 259 bytes and a NUL.
inline constexpr std::size_t StrX_kPathSize = 260;

// --- Copying and editing in place ---

// Copies at most size - 1 bytes and always terminates; nothing when size is 0.
void StrX_cpy(char* dst, const char* src, std::size_t size);
// Removes white space (StrX_isSpace) at both ends.
char* StrX_trim(char* text);
// Removes every CR, LF and TAB byte.
char* StrX_cutRet(char* text);
// Removes HTML tags: from "<" up to and including the next ">", where the
// character right after "<" never closes the tag; an open tag runs to the
// end. Double-byte aware.
char* StrX_cutTag(char* text);
// Replaces every from by to, left to right, continuing after each written
// to; the text never grows past size - 1 bytes (it is cut there). An empty
// from changes nothing.
char* StrX_rep(char* text, std::size_t size, const char* from, const char* to);
// Copies text with "A"-"Z" lowered and double-byte characters unchanged, at
// most size - 1 bytes. dst may be text itself.
char* StrX_toLower(char* dst, const char* text, std::size_t size);

// --- Searching ---

// The last c that is not a trail byte, or null.
char* StrX_chrLast(const char* text, char c);

// --- Hashing (no allocation: used at every byte of a page) ---

// Sum of byte (0..255) x (index + 1), unsigned 32-bit, modulo width (0 when
// width is 0).
uint32_t StrX_getHash(const char* text, uint32_t width);
// The same with "A"-"Z" lowered and every byte taken as signed (-128..127).
uint32_t StrX_getHashI(const char* text, uint32_t width);

// --- Character classes (ASCII only; never the locale's) ---

// Blank, TAB, LF, VT, FF, CR; false for every high-bit byte.
bool StrX_isSpace(int c);
bool StrX_isAlpha(int c);
bool StrX_isDigit(int c);
// Blank, LF, CR, TAB.
bool StrX_isWhite(int c);
// True for the empty text and a text of white space only.
bool StrX_isBlank(const char* text);

// --- Comparing and scanning ---

// Words: a run of letters, digits and "_" that begins with a letter or "_",
// or one double-byte character. Gives the position after the next word and
// copies it into dst (at most size - 1 bytes; a double-byte character is
// copied whole or not at all), or null when the text ends first.
const char* StrX_getWord(const char* text, char* dst, std::size_t size);
// Copies up to *count words joined as in the text: one blank where the text
// has blanks, nothing where words touch; digits before a word are copied as
// they stand. Stops at a byte after a word that is neither a blank, a letter,
// a digit, "_" nor a lead byte, and at a word that does not fit. *count gets
// the number of words copied; gives the position after the last of them, or
// null when none was copied.
const char* StrX_cpyWords(const char* text, int* count, char* dst, std::size_t size);

// --- Time ---

// Year, month, day, hour, minute, second as local time (daylight saving
// decided by the system); false when it cannot be represented.
[[nodiscard]] bool StrX_makeTime(const int fields[6], std::time_t* time);

// --- StrX_Mem: texts stored one after another in one caller buffer ---

struct StrX_Mem {
  char* buf;
  char* bufOver;
  char* last;  // start of the newest text; buf when the pool is empty
};

// An empty text at buf. A buffer of 0 bytes raises StrX_Err_MemEmpty.
void StrX_Mem_init(StrX_Mem* mem, char* buffer, std::size_t size);
void StrX_Mem_toEmpty(StrX_Mem* mem);
// Starts a new empty text right after the newest one and gives it; raises
// StrX_Err_MemEmpty when no byte is left for it.
char* StrX_Mem_alloc(StrX_Mem* mem);
// Removes the newest text, so that the next StrX_Mem_alloc gives its
// position again; nothing when the pool is empty.
void StrX_Mem_free(StrX_Mem* mem);
// Bytes the newest text can still grow by (its NUL kept in the buffer).
std::size_t StrX_Mem_getLeftSize(const StrX_Mem* mem);
