// Shared by the lexer tests: a lexer opened on a test file with exactly
// sized window and kind map memory (so that any overrun shows under the
// sanitizers), and the byte kinds of a text as a scan from its start gives.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "lexer/BLex3.h"
#include "platform/Os.h"

struct OpenLexer {
  BLex3 lx;
  std::vector<char> buf;
  std::vector<int8_t> kinds;

  explicit OpenLexer(const std::string& path, std::size_t bufSize = BLex3_kBufSize,
                     uint32_t blockSize = BLex3_kBlockSize)
      : buf(bufSize), kinds(((bufSize - 1) / blockSize) * blockSize) {
    BLex3_init(&lx, path.c_str(), buf.data(), bufSize, blockSize);
    BLex3_setKindMap(&lx, kinds.data(), kinds.size());
  }
  ~OpenLexer() { BLex3_finish(&lx); }
  OpenLexer(const OpenLexer&) = delete;
  OpenLexer& operator=(const OpenLexer&) = delete;

  BLex3_Pos pos() {
    BLex3_Pos p;
    BLex3_getPos(&lx, &p);
    return p;
  }
  void seek(int32_t offset) { BLex3_setPos(&lx, BLex3_Pos{offset, BLex3_kUnknown}); }
};

// Kinds by the rule: a lead byte and the byte after it, whatever its value,
// form one character.
inline std::vector<int32_t> kindsFromStart(const std::string& text) {
  std::vector<int32_t> k(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (Os_isLeadByte(static_cast<unsigned char>(text[i]))) {
      k[i] = BLex3_kLeadByte;
      if (i + 1 < text.size()) k[i + 1] = BLex3_kTrailByte;
      i += 2;
    } else {
      k[i] = BLex3_kSingleByte;
      ++i;
    }
  }
  return k;
}
