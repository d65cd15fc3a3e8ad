// TextCode: the two encodings of input files, code page 932 and UTF-8. A
// file is UTF-8 when it begins with the byte order mark, or holds a byte
// above 0x7F and is well-formed UTF-8 throughout; every other file is code
// page 932, and a pure-ASCII file is the same either way. The pipelines
// decide once per input file and set the current code while its passes
// run: like the platform's active code page, it tells every double-byte
// aware operation where a character ends. The page code tells in which
// encoding the program's own texts (code page 932 in the program) are
// written into the page at hand.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

enum class TextCode : uint8_t { Cp932, Utf8 };

// The decision, fed with a file's bytes in order.
struct TextCode_Scan {
  uint64_t seen = 0;  // bytes fed so far
  uint8_t need = 0;   // continuation bytes still expected
  uint8_t lo = 0x80;  // range of the next continuation byte
  uint8_t hi = 0xBF;
  bool high = false;  // a byte above 0x7F
  bool bad = false;   // not well-formed UTF-8
  bool bom = false;   // begins with EF BB BF
};
void TextCode_feed(TextCode_Scan* scan, const char* bytes, std::size_t n);
TextCode TextCode_result(const TextCode_Scan* scan);
// Reads the file once; a file that cannot be read is code page 932 here
// (the passes that read it then report it).
TextCode TextCode_ofFile(const char* path);

void TextCode_setCurrent(TextCode code);
TextCode TextCode_current();
// Length of the character at p (NUL-terminated text) in the current code:
// 1, 2 for a code page 932 lead byte with a byte after it, 2 to 4 for a
// UTF-8 lead byte and the continuation bytes after it.
std::size_t TextCode_charLen(const char* p);
// The same within n bytes at p (n > 0), NUL or not.
std::size_t TextCode_charLenIn(const char* p, std::size_t n);
// Whether c begins a character of more than one byte in the current code.
bool TextCode_isLead(unsigned char c);
// The byte kinds of UTF-8, which need no context: a continuation byte is a
// trail byte, any other byte above 0x7F a lead byte.
inline bool TextCode_isUtf8Trail(unsigned char c) { return c >= 0x80 && c <= 0xBF; }

TextCode TextCode_page();
// One of the program's texts in the page code: the text itself for code
// page 932, else its UTF-8 form (converted once and kept).
const char* TextCode_text(const char* cp932);
// Text taken from a file of code from, as the page code wants it.
std::string TextCode_forPage(const char* text, TextCode from);
// Sets the current and the page code for a scope, and puts back the codes
// before it when the scope ends (normally or by an error).
class TextCode_Scope {
 public:
  TextCode_Scope(TextCode current, TextCode page);
  ~TextCode_Scope();
  TextCode_Scope(const TextCode_Scope&) = delete;
  TextCode_Scope& operator=(const TextCode_Scope&) = delete;

 private:
  TextCode current_;
  TextCode page_;
};

// The declaration a UTF-8 page carries right after its <HEAD>.
inline constexpr char TextCode_kUtf8Meta[] =
    "<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">";
