// PassParts: the pieces every pass sets up the same way: the lexer with its
// 516-byte window (blocks of 256) and 512-byte kind map, and the tag scanner
// with its 2048-byte pool and room for 10 attributes.
#pragma once

#include "lexer/BLex3.h"
#include "lexer/HtmlTagP.h"

// The lexer closes its file when the pass's scope ends, on the error path
// too, after the pass's own clean-up has finished the writers that still
// read from it.
struct PassLexer {
  char window[BLex3_kBufSize];
  int8_t kinds[BLex3_kKindMapSize];
  BLex3 lexer;
  PassLexer() = default;
  PassLexer(const PassLexer&) = delete;
  PassLexer& operator=(const PassLexer&) = delete;
  ~PassLexer() { BLex3_finish(&lexer); }
  void open(const char* path) {
    BLex3_init(&lexer, path, window, sizeof window, BLex3_kBlockSize);
    BLex3_setKindMap(&lexer, kinds, sizeof kinds);
  }
};

struct PassTags {
  HtmlTagP tags;
  char pool[HtmlTagP_kPoolSize];
  const char* table[2 * HtmlTagP_kMaxAttrs];
  void init(BLex3* lexer) {
    HtmlTagP_init(&tags, pool, sizeof pool, table, sizeof table);
    HtmlTagP_setLexer(&tags, lexer);
  }
  BLex3_Pos next() const {
    BLex3_Pos p;
    HtmlTagP_getNextPos(&tags, &p);
    return p;
  }
};
