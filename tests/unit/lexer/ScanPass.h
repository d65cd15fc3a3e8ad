// Shared by the scanner tests: the lockstep loop of the analysis pass with
// exactly the source-reading scanners (line counter, comment scanner,
// literal scanner, bracket tracker, recognizer), and what a test reads from
// it: the spans the two CommentP report, the recognizer's definitions (with
// the enumeration members, asked for as the definition index asks), and the
// formatted bracket warnings.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "LexerFixture.h"
#include "lexer/BLex3Write.h"
#include "lexer/BracketP.h"
#include "lexer/CDeclP.h"
#include "lexer/CommentP.h"
#include "lexer/LineCounter.h"

class ScanPass {
 public:
  static constexpr int kMaxRepeats = 10000;

  explicit ScanPass(const std::string& path, bool withErrorList = true) : o_(path) {
    BLex3* lx = &o_.lx;
    BracketP_Errors_clear(&errors_);
    LineCounter_init(&lines);
    LineCounter_setLexer(&lines, lx);
    BracketP_init(&tracker, withErrorList ? &errors_ : nullptr, &lines, &comments, &literals);
    BracketP_setLexer(&tracker, lx);
    CommentP_init(&comments, &literals);
    CommentP_setCommentTable(&comments);
    CommentP_setLexer(&comments, lx);
    CommentP_init(&literals, &comments);
    CommentP_setLiteralTable(&literals);
    CommentP_setLexer(&literals, lx);
    CDeclP_init(&decl, lx, &tracker, &comments);
  }

  BLex3* lexer() { return &o_.lx; }
  const BracketP_Errors& errors() const { return errors_; }

  // Runs the loop to the end of the data; after the steps of every cycle,
  // with the lexer restored to the cycle's position, calls onCycle(pos).
  template <class F>
  void run(F&& onCycle) {
    BLex3* lx = &o_.lx;
    BLex3_Pos cur{0, 0};
    int32_t prevOffset = -1;
    int repeats = 0;
    for (;;) {
      if (cur.offset == prevOffset) {
        if (++repeats >= kMaxRepeats) {
          ADD_FAILURE() << "no progress at offset " << cur.offset;
          return;
        }
      } else {
        prevOffset = cur.offset;
        repeats = 0;
      }
      if (BLex3_fetch(lx, 0) == nullptr) break;
      LineCounter_step(&lines);
      BLex3_setPos(lx, cur);
      CommentP_step(&comments);
      BLex3_setPos(lx, cur);
      CommentP_step(&literals);
      BLex3_setPos(lx, cur);
      BracketP_step(&tracker);
      BLex3_setPos(lx, cur);
      CDeclP_step(&decl);
      BLex3_setPos(lx, cur);
      onCycle(cur);
      BLex3_Pos best, pos;
      BracketP_getNextPos(&tracker, &best);
      CommentP_getNextPos(&comments, &pos);
      if (pos.offset < best.offset) best = pos;
      CommentP_getNextPos(&literals, &pos);
      if (pos.offset < best.offset) best = pos;
      CDeclP_getNextPos(&decl, &pos);
      if (pos.offset < best.offset) best = pos;
      cur = best;
      BLex3_setPos(lx, cur);
    }
    BracketP_finish(&tracker);
  }

  // The text between two positions.
  std::string text(BLex3_Pos from, BLex3_Pos to) {
    std::vector<char> buf(to.offset > from.offset ? to.offset - from.offset + 1 : 1);
    BLex3_copyRange(&o_.lx, from, to, buf.data(), buf.size());
    return buf.data();
  }

  LineCounter lines;
  CommentP comments;
  CommentP literals;
  BracketP tracker;
  CDeclP decl;

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
    follow(pass.comments, openComment, "C:", pos);
    follow(pass.literals, openLiteral, "L:", pos);
  });
  BLex3_Pos eof;
  BLex3_getEOFPos(pass.lexer(), &eof);
  for (Open* open : {&openComment, &openLiteral})
    if (open->on) spans[open->index] += pass.text(open->start, eof);
  return spans;
}

// The recognizer's events other than "nothing": the code, then for a start
// the name, for an aggregate its keyword number, for an enumeration its
// members in braces; with atOffsets, "@offset" of the event.
inline std::vector<std::string> declsOf(const std::string& path, bool atOffsets = false,
                                        bool withErrorList = true) {
  ScanPass pass(path, withErrorList);
  std::vector<std::string> events;
  pass.run([&](BLex3_Pos pos) {
    const CDeclP_Event* ev = CDeclP_getEvent(&pass.decl);
    int32_t code = CDeclP_getResult(&pass.decl);
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
      while (CDeclP_nextEnumMember(&pass.decl, member, sizeof member))
        e += std::string("{") + member + "}";
    }
    if (atOffsets) e += "@" + std::to_string(pos.offset);
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
