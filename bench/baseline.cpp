// The baseline of the pipeline benchmark: read a file, HTML-escape it and
// write it, with nothing else. scrivo_bench_baseline IN OUT
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  std::FILE* in = std::fopen(argv[1], "rb");
  std::FILE* out = std::fopen(argv[2], "wb");
  if (!in || !out) return 1;
  char buf[65536];
  std::string esc;
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, in)) > 0) {
    esc.clear();
    for (std::size_t i = 0; i < n; ++i) {
      switch (buf[i]) {
        case '<': esc += "&lt;"; break;
        case '>': esc += "&gt;"; break;
        case '&': esc += "&amp;"; break;
        case '"': esc += "&quot;"; break;
        default: esc += buf[i];
      }
    }
    std::fwrite(esc.data(), 1, esc.size(), out);
  }
  std::fclose(in);
  return std::fclose(out) == 0 ? 0 : 1;
}
