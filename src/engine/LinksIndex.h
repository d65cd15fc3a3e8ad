// LinksIndex: the links file loaded back as the keyword table of the writing
// passes. Only the words inside "[" "]" and "{" "}" of the names are indexed,
// single words and phrases of up to 64 words; a key keeps the file position
// of its entry, never the target, which is read from the file again for each
// link. The table, the key pool and the line buffer are one program-wide
// area, allocated once: only one index is open at a time.
#pragma once
#include <cstddef>
#include <cstdint>

#include "settings/IniFileRead.h"

// The reader's line buffer: a name and its line hold at most 4095 bytes.
inline constexpr std::size_t LinksIndex_kLineSize = 4096;
// The "Base" value: at most 255 bytes.
inline constexpr std::size_t LinksIndex_kBaseSize = 256;
// The word index: 255 buckets, chosen by the byte-weighted sum of the key
// (StrX_getHash), each with room for 588 keys (2,400,000 bytes of 16-byte
// entries split evenly). A full bucket raises ArrX_Err_Full.
inline constexpr uint32_t LinksIndex_kBuckets = 255;
inline constexpr std::size_t LinksIndex_kBucketKeys = 588;
// The pool of the key texts; full, it raises StrX_Err_MemEmpty.
inline constexpr std::size_t LinksIndex_kPoolSize = 6400000;
// The longest phrase that is indexed or searched, in words.
inline constexpr int LinksIndex_kPhraseWords = 64;

struct LinksIndex_Table;  // the program-wide area

// The first test of a search, cheap enough for every byte of a text: the
// pairs of first and second byte that keys begin with (the second byte as 0
// when it is not part of the word, as in the key "A").
struct LinksIndex_Starts {
  enum : uint8_t { kStart = 1, kDigit = 2, kLead = 4 };
  uint8_t cls[256];  // letters and "_" start a word, digits go on, lead bytes
  bool utf8;         // the classes are those of UTF-8 text
  // No byte below 0x80 leads a character and none above is a word byte, so
  // that words can be found sixteen bytes at a time (ByteScan_wordStartMask).
  bool asciiWords;
  uint64_t pairs[65536 / 64];
  // Every pair of bytes at which LinksIndex_mayStart says yes, made from
  // the pairs and the classes once they are known: one bit test a byte.
  uint64_t accepted[65536 / 64];
  // The lengths of the keys by their first two bytes, for the words that
  // start with a letter or "_" (kStart): row the first byte, column the
  // second when it is a word byte (kWordCols for a word of one byte), bit
  // the length (kLongWord and longer share the last bit). A word refused
  // by it is never hashed; a table small enough to stay in the cache.
  static constexpr int kRows = 53;      // "A"-"Z", "a"-"z", "_"
  static constexpr int kWordCols = 63;  // those and "0"-"9"
  static constexpr int kLongWord = 63;
  uint8_t row[256];  // a byte's row, or kRows (a row of no lengths) when it starts no word
  uint8_t col[256];  // a byte's column, or kWordCols when it is no word byte
  uint64_t lengths[(kRows + 1) * (kWordCols + 1)];
  // The same by their first and their last byte: together they refuse most
  // words that merely begin like a key.
  uint64_t tails[(kRows + 1) * (kWordCols + 1)];
  // The same by the last byte alone, whatever the first: the only lengths a
  // run of word bytes needs to try.
  uint64_t endings[kWordCols + 1];

  // The lengths' word of a first byte of a row and a column, and the bit
  // of a length.
  uint64_t& lengthsOf(unsigned char first, unsigned column) {
    return lengths[row[first] * (kWordCols + 1) + column];
  }
  uint64_t& tailsOf(unsigned char first, unsigned char last) {
    return tails[row[first] * (kWordCols + 1) + col[last]];
  }
  static uint64_t lengthBit(std::size_t len) {
    return uint64_t{1} << (len < kLongWord ? len : static_cast<std::size_t>(kLongWord));
  }
};

// The test of LinksIndex_Starts for the rests of a run of word bytes that
// ends before runEnd (where a byte that is no word byte stands): the rest of
// len bytes starts at runEnd - len. The run's last byte is the same for
// every rest.
class LinksIndex_RunTest {
 public:
  LinksIndex_RunTest(const LinksIndex_Starts* s, const char* runEnd)
      : s_(s), lastCol_(s->col[static_cast<unsigned char>(runEnd[-1])]) {}
  // The lengths that a key may have here (bit k: k bytes, as lengthBit).
  uint64_t lengths() const { return s_->endings[lastCol_]; }
  // True when a key may be the rest of len bytes at text. Never when text
  // begins with no byte of a row.
  bool mayBeWord(const char* text, std::size_t len) const {
    const uint64_t bit = LinksIndex_Starts::lengthBit(len);
    const std::size_t row = std::size_t{s_->row[static_cast<unsigned char>(text[0])]}
                            * (LinksIndex_Starts::kWordCols + 1);
    // A rest of one byte has the run's end second, whose column is kWordCols.
    return (s_->tails[row + lastCol_] & bit) != 0 &&
           (s_->lengths[row + s_->col[static_cast<unsigned char>(text[1])]] & bit) != 0;
  }

 private:
  const LinksIndex_Starts* s_;
  unsigned lastCol_;
};

struct LinksIndex {
  IniFile_Read reader;
  char base[LinksIndex_kBaseSize] = {};       // targets are made absolute against it
  LinksIndex_Table* table = nullptr;          // the area, while the index is open
  const LinksIndex_Starts* starts = nullptr;  // in the area, while open

  LinksIndex() = default;
  LinksIndex(const LinksIndex&) = delete;
  LinksIndex& operator=(const LinksIndex&) = delete;
  ~LinksIndex();  // closes an index left open
};

// Opens the links file at path and indexes the names of its "links"
// section. Raises the settings reader's errors, ArrX_Err_Full,
// StrX_Err_MemEmpty, and Errors_Unofficial while another index is open; a
// failed open leaves the index closed.
void LinksIndex_open(LinksIndex* index, const char* path);
// The length in bytes of the longest registered key that starts at text,
// with its target (made absolute against "Base", cut to targetSize - 1
// bytes) in target; 0 and target unchanged when no key starts there. text
// must be NUL-terminated; a key of several words covers the bytes from its
// first word's start to its last word's end.
std::size_t LinksIndex_find(LinksIndex* index, const char* text, char* target,
                            std::size_t targetSize);
// A key found by LinksIndex_match: its target is read on demand, so that
// the search itself reads no file (and raises nothing).
struct LinksIndex_Match {
  IniFile_Pos pos = 0;  // its "A" line
  uint32_t line = 0;    // that line's number
};
// LinksIndex_find without the target: the length, 0 when no key starts at
// text; the key in *match.
std::size_t LinksIndex_match(LinksIndex* index, const char* text, LinksIndex_Match* match);
// LinksIndex_match for the word of wordLen bytes at text, which begins
// with a letter or "_" and runs to the first byte that is no letter, digit
// or "_".
std::size_t LinksIndex_matchWord(LinksIndex* index, const char* text, std::size_t wordLen,
                                 LinksIndex_Match* match);
// The target of a match, as LinksIndex_find gives it.
void LinksIndex_target(LinksIndex* index, const LinksIndex_Match& match, char* target,
                       std::size_t targetSize);
// Asks the processor for what LinksIndex_target will read first.
void LinksIndex_prefetchTarget(const LinksIndex* index, const LinksIndex_Match& match);
// True when a search's answer at a position is the same whatever follows
// the first reach bytes from there (also when the text ends after them):
// the index holds no phrase and no key of reach bytes or more.
bool LinksIndex_isLocal(const LinksIndex* index, std::size_t reach);
// False when no key starts at text (LinksIndex_find would give 0); true
// when one may. text must have a byte before its NUL or be at the NUL.
inline bool LinksIndex_mayStart(const LinksIndex* index, const char* text) {
  const LinksIndex_Starts* s = index->starts;
  if (s == nullptr) return false;
  const unsigned char c0 = static_cast<unsigned char>(text[0]);
  const unsigned char c1 = c0 == 0 ? 0 : static_cast<unsigned char>(text[1]);
  const uint32_t pair = (static_cast<uint32_t>(c0) << 8) | c1;
  return (s->accepted[pair >> 6] >> (pair & 63)) & 1u;
}

// Makes the word scanner follow the current text code, which the pipelines
// set per file; cheap when it has not changed.
void LinksIndex_followCode(LinksIndex* index);
// Closes the file and gives the area back; calling it again does nothing.
void LinksIndex_close(LinksIndex* index);
