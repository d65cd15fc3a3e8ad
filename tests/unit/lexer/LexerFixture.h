// Shared by the lexer tests: a lexer opened on a test file with exactly
// sized window and kind map memory (so that any overrun shows under the
// sanitizers).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "lexer/BLex3.h"

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
