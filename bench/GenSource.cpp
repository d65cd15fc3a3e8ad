// The benchmark source generator.
#include "GenSource.h"

#include <cstdint>

namespace {

struct Rng {
  uint64_t s;
  uint32_t next() {
    s = s * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<uint32_t>(s >> 33);
  }
};

// One statement of a longer function body: uses of names, no definition.
std::string bodyLine(Rng& rng, const std::string& prev, int i) {
  std::string k = std::to_string(i + 1);
  switch (rng.next() % 4) {
    case 0: return "  r = r * " + k + " + v; /* step " + k + " of the loop */\n";
    case 1: return "  if (r > " + k + "00) { r -= MACRO_" + prev + "(1); }\n";
    case 2: return "  r += func" + prev + "(r & 7, s + " + k + ");\n";
    default: return "  // keeps r within the range of Type" + prev + "\n";
  }
}

}  // namespace

std::string GenSource_make(std::size_t bytes, unsigned seed, int bodyLines) {
  Rng rng{seed};
  std::string out;
  out.reserve(bytes + 4096);
  int n = 0;
  while (out.size() < bytes) {
    ++n;
    std::string id = std::to_string(n);
    switch (rng.next() % 8) {
      case 0:
        out += "/* <<<Section " + id + ">>>\n   A comment about [topic" + id + "] and more. */\n";
        break;
      case 1:
        out += "#define MACRO_" + id + "(x) ((x) * " + id + ")\n";
        break;
      case 2:
        out += "typedef struct tag" + id + " {\n  int a;\n  char name[16];\n} Type" + id + ";\n";
        break;
      case 3:
        out += "enum E" + id + " { E" + id + "_A, E" + id + "_B = 2 };\n";
        break;
      default: {
        std::string prev = std::to_string(n > 1 ? 1 + rng.next() % (n - 1) : 1);
        out += "static int func" + id + "(int v, const char* s)\n{\n"
               "  // uses of earlier names\n"
               "  int r = func" + prev + "(v - 1, \"text \\\"" + id + "\\\" here\");\n"
               "  if (r < 0 && v > 2) { r = MACRO_" + prev + "(r); }\n";
        for (int i = 0; i < bodyLines; ++i) out += bodyLine(rng, prev, i);
        out += "  return r + (s[0] == '\\'' ? 1 : 0);\n}\n\n";
        break;
      }
    }
  }
  return out;
}
