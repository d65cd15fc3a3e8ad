// Shared by the scanner tests: the C scanners of the passes run over a file,
// and the spans, definitions and bracket warnings they report.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "LexerFixture.h"
#include "engine/PassLoop.h"
#include "lexer/BLex3Write.h"
#include "lexer/CScanners.h"

class ScanPass {
 public:
  explicit ScanPass(const std::string& path, bool withErrorList = true) : o_(path) {
    BracketP_Errors_clear(&errors_);
    CScanners_init(&s, &o_.lx, withErrorList ? &errors_ : nullptr);
  }

  BLex3* lexer() { return &o_.lx; }
  const BracketP_Errors& errors() const { return errors_; }

  // Runs the passes' loop to the end of the data, calling onCycle(pos)
  // after every cycle.
  template <class F>
  void run(F&& onCycle) {
    PassLoop loop(&o_.lx);
    while (loop.cycle()) {
      CScanners_step(&s, loop.pos());
      loop.restore();
      onCycle(loop.pos());
      loop.offer(CScanners_nextPos(&s));
      loop.advance();
    }
    BracketP_finish(&s.tracker);
  }

  // The text between two positions.
  std::string text(BLex3_Pos from, BLex3_Pos to) {
    std::vector<char> buf(to.offset > from.offset ? to.offset - from.offset + 1 : 1);
    BLex3_copyRange(&o_.lx, from, to, buf.data(), buf.size());
    return buf.data();
  }

  CScanners s;

 private:
  OpenLexer o_;
  BracketP_Errors errors_{};
};

// The text with every LF made CR LF.
inline std::string crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// The spans of a file in the order they start: "C:" comments, "L:"
// literals, each with its delimiters; "open C:" for a span the file leaves
// open.
inline std::vector<std::string> spansOf(const std::string& path) {
  ScanPass pass(path);
  struct Open {
    bool on = false;
    BLex3_Pos start{};
    std::size_t index = 0;
  } openComment, openLiteral;
  std::vector<std::string> spans;
  auto follow = [&](const CommentP& s, Open& open, const char* tag, BLex3_Pos pos) {
    if (s.state == CommentP_StartOfComment) {
      open.on = true;
      open.start = pos;
      open.index = spans.size();
      spans.push_back(std::string("open ") + tag);
    } else if (s.state == CommentP_EndOfComment && open.on) {
      open.on = false;
      spans[open.index] = tag + pass.text(open.start, s.next);
    }
  };
  pass.run([&](BLex3_Pos pos) {
    follow(pass.s.comments, openComment, "C:", pos);
    follow(pass.s.literals, openLiteral, "L:", pos);
  });
  BLex3_Pos eof;
  BLex3_getEOFPos(pass.lexer(), &eof);
  for (Open* open : {&openComment, &openLiteral})
    if (open->on) spans[open->index] += pass.text(open->start, eof);
  return spans;
}

// The recognizer's events: the code, then for a start the name, for an
// aggregate its keyword number, for an enumeration its members in braces.
inline std::vector<std::string> declsOf(const std::string& path) {
  ScanPass pass(path);
  std::vector<std::string> events;
  pass.run([&](BLex3_Pos) {
    const CDeclP_Event* ev = CDeclP_getEvent(&pass.s.decl);
    int32_t code = CDeclP_getResult(&pass.s.decl);
    if (code == CDeclP_Nothing || code == CDeclP_NotYet) return;
    std::string e = std::to_string(code);
    switch (code) {
      case CDeclP_FunctionStart:
      case CDeclP_MacroStart:
      case CDeclP_TypedefStart:
      case CDeclP_AggregateStart:
      case CDeclP_EnumStart:
        e += " " + pass.text(ev->nameStart, ev->nameEnd);
        break;
      default:
        break;
    }
    if (code == CDeclP_AggregateStart) e += " " + std::to_string(ev->kind);
    if (code == CDeclP_EnumStart) {
      e += " ";
      char member[255];
      while (CDeclP_nextEnumMember(&pass.s.decl, member, sizeof member))
        e += std::string("{") + member + "}";
    }
    events.push_back(e);
  });
  return events;
}

// The bracket warnings of a file as the pipeline formats them.
inline std::string bracketWarningsOf(const std::string& path, int32_t* count = nullptr) {
  ScanPass pass(path);
  pass.run([](BLex3_Pos) {});
  char buf[BracketP_kFormatSize];
  int32_t n = BracketP_Errors_format(&pass.errors(), buf, sizeof buf);
  if (count != nullptr) *count = n;
  return buf;
}
