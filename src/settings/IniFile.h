// IniFile: the sectioned settings format of the project files (".scv") and
// the links file ("_out.kwf"): "[name] " header lines and "name = v1, v2"
// attribute lines, written here and read by IniFileRead.h. Lines end in
// CR LF on every platform, so a file is the same bytes wherever it was
// written; the reader takes CR LF and a lone LF alike.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>

#include "runtime/StrX.h"

// The written form of a text value (quotes included) is cut to this many
// bytes, in whole characters and with its closing quote kept.
inline constexpr std::size_t IniFile_kTextMax = 4095;

// Value letters. Writing: b bool, i decimal int32, x "0x" and upper-case hex,
// s text, t local time "YYYY/MM/DD-hh:mm:ss". Reading: b, i, s, t, and I, S
// that leave their target alone when the field is empty; "x" is write-only.
// Any other letter (the program uses "-") stands for a field and takes no
// value or target.

// One value of IniFile_Write_attr: "b" takes a bool, "i" and "x" a 32-bit
// integer, "s" a text (null is empty), "t" a pointer to a time value.
struct IniFile_Value {
  enum class Kind { None, Bool, Int, Text, Time };
  IniFile_Value() : kind(Kind::None), i(0) {}
  IniFile_Value(bool v) : kind(Kind::Bool), b(v) {}
  IniFile_Value(int32_t v) : kind(Kind::Int), i(v) {}
  IniFile_Value(uint32_t v) : kind(Kind::Int), i(static_cast<int32_t>(v)) {}
  IniFile_Value(const char* v) : kind(Kind::Text), s(v) {}
  IniFile_Value(const std::time_t* v) : kind(Kind::Time), t(v) {}
  Kind kind;
  union {
    bool b;
    int32_t i;
    const char* s;
    const std::time_t* t;
  };
};

struct IniFile_Write {
  std::FILE* file = nullptr;
  bool noSectionYet = true;
  char path[StrX_kPathSize] = {};  // for the message of a failed write

  IniFile_Write() = default;
  IniFile_Write(const IniFile_Write&) = delete;
  IniFile_Write& operator=(const IniFile_Write&) = delete;
  // A writer left open by an error is closed without its final line.
  ~IniFile_Write();
};

// Creates or empties the file at path. Raises FileX_Err_CannotWriteOpen.
void IniFile_Write_open(IniFile_Write* w, const char* path);
// " " on a line of its own unless this is the first section, then "[name] ".
void IniFile_Write_setSection(IniFile_Write* w, const char* name);
// "name = " and one value per letter of letters, separated by ", ". A letter
// other than b, i, x, s, t writes nothing and takes no value. Values that do
// not match the letters raise Errors_Unofficial before anything is written.
void IniFile_Write_attrList(IniFile_Write* w, const char* name, const char* letters,
                            const IniFile_Value* values, std::size_t count);
template <class... V>
void IniFile_Write_attr(IniFile_Write* w, const char* name, const char* letters,
                        const V&... values) {
  const IniFile_Value list[] = {IniFile_Value(values)..., IniFile_Value()};
  IniFile_Write_attrList(w, name, letters, list, sizeof...(V));
}
// Writes the final " " line and closes the file. A write that failed on the
// way raises FileX_Err_CannotWrite here.
void IniFile_Write_close(IniFile_Write* w);
