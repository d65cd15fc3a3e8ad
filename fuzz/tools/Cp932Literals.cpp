// Cp932Literals: copies a C++ source file with every non-ASCII character
// inside a string or character literal replaced by octal escapes of its
// code page 932 bytes.
//
// The program's own texts are UTF-8 in the sources and reach the program as
// code page 932 through GCC's -fexec-charset=CP932. Clang, which the fuzz
// targets need, takes only UTF-8 as execution character set, so the fuzz
// build compiles copies made by this tool instead. Octal escapes have at
// most three digits, so a following digit of the literal never joins an
// escape (a hex escape would swallow it). Comments and code outside
// literals are copied unchanged, and no line is added or removed, so
// __LINE__ and the reports of a fuzz run match the real build.
//
// Usage: scrivo_cp932lit INPUT OUTPUT
#include <iconv.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// The code page 932 bytes of a run of UTF-8 text; false when a character
// has none.
bool toCp932(const std::string& utf8, std::string* out) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string in = utf8;
  std::string buf(in.size() * 2 + 8, '\0');
  char* src = &in[0];
  std::size_t srcLeft = in.size();
  char* dst = &buf[0];
  std::size_t dstLeft = buf.size();
  std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (r == static_cast<std::size_t>(-1) || srcLeft != 0) return false;
  out->assign(buf.data(), buf.size() - dstLeft);
  return true;
}

void appendOctal(std::string* out, unsigned char b) {
  char esc[5];
  std::snprintf(esc, sizeof esc, "\\%03o", b);
  out->append(esc);
}

// Converts text; false (with a message) for a character without a code
// page 932 form or a literal left open at the end of the file.
bool convert(const std::string& text, std::string* out, const char* name) {
  enum class State { Code, LineComment, BlockComment, Literal } state = State::Code;
  char quote = 0;
  int line = 1;
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    char c = text[i];
    if (c == '\n') ++line;
    switch (state) {
      case State::Code:
        if (c == '/' && i + 1 < n && text[i + 1] == '/') {
          state = State::LineComment;
        } else if (c == '/' && i + 1 < n && text[i + 1] == '*') {
          out->append("/*");
          i += 2;
          state = State::BlockComment;
          continue;
        } else if (c == '"' || c == '\'') {
          state = State::Literal;
          quote = c;
        }
        out->push_back(c);
        ++i;
        break;
      case State::LineComment:
        if (c == '\n') state = State::Code;
        out->push_back(c);
        ++i;
        break;
      case State::BlockComment:
        if (c == '*' && i + 1 < n && text[i + 1] == '/') {
          out->append("*/");
          i += 2;
          state = State::Code;
          continue;
        }
        out->push_back(c);
        ++i;
        break;
      case State::Literal:
        if (c == '\\' && i + 1 < n) {
          out->push_back(c);
          out->push_back(text[i + 1]);
          if (text[i + 1] == '\n') ++line;
          i += 2;
        } else if (static_cast<unsigned char>(c) >= 0x80) {
          std::size_t end = i;
          while (end < n && static_cast<unsigned char>(text[end]) >= 0x80) ++end;
          std::string bytes;
          if (!toCp932(text.substr(i, end - i), &bytes)) {
            std::fprintf(stderr, "%s:%d: text without a code page 932 form\n", name, line);
            return false;
          }
          for (unsigned char b : bytes) appendOctal(out, b);
          i = end;
        } else {
          if (c == quote) state = State::Code;
          if (c == '\n') {
            std::fprintf(stderr, "%s:%d: literal left open at the line end\n", name, line);
            return false;
          }
          out->push_back(c);
          ++i;
        }
        break;
    }
  }
  if (state == State::Literal) {
    std::fprintf(stderr, "%s: literal left open at the end of the file\n", name);
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: scrivo_cp932lit INPUT OUTPUT\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "%s: cannot read\n", argv[1]);
    return 1;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string out;
  if (!convert(text, &out, argv[1])) return 1;
  std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
  file.write(out.data(), static_cast<std::streamsize>(out.size()));
  file.close();
  if (!file) {
    std::fprintf(stderr, "%s: cannot write\n", argv[2]);
    return 1;
  }
  return 0;
}
