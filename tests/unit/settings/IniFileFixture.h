// Settings files for the IniFile tests: one written with the writer and read
// back as bytes, or one given as bytes and opened with the reader.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "settings/IniFile.h"
#include "settings/IniFileRead.h"

// A file with the given bytes, open for reading with a line buffer of
// lineSize bytes.
struct ReadFixture {
  explicit ReadFixture(const std::string& bytes, std::size_t lineSize = 256)
      : path(dir.file("t.scv")), line(lineSize) {
    writeFile(path, bytes);
    IniFile_Read_open(&r, path.c_str(), line.data(), line.size());
  }

  TempDir dir;
  std::string path;
  std::vector<char> line;
  IniFile_Read r;
};

// Writes a file with write(w) and gives its bytes.
template <class F>
std::string writtenBytes(F&& write) {
  TempDir dir;
  std::string path = dir.file("w.kwf");
  {
    IniFile_Write w;
    IniFile_Write_open(&w, path.c_str());
    write(&w);
    IniFile_Write_close(&w);
  }
  return readFile(path);
}
