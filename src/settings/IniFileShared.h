// IniFileShared: the few helpers that the settings writer (IniFile.cpp) and
// reader (IniFileRead.cpp) both need. Not for other modules.
#pragma once
#include <cstddef>

#include "platform/Os.h"
#include "runtime/Errors.h"
#include "runtime/TextCode.h"
#include "settings/IniFile.h"

inline constexpr char IniFile_kModule[] = "Inifile";

// Values or targets that do not match their letters: a fault of the caller,
// raised before the file is touched.
inline void IniFile_raiseMisuse() {
  Errors_raise(IniFile_kModule, __LINE__, Errors_Unofficial, "%s",
               Errors_Txt_Error);
}

// Length of the character at p, which lies before end: 2 for a lead byte
// followed by a byte that can be its trail byte, else 1. Quotes, commas and
// blanks are never trail bytes, so the format's delimiters can be found byte
// by byte; this only keeps cuts from splitting a character.
inline std::size_t IniFile_charLen(const char* p, const char* end) {
  if (TextCode_current() == TextCode::Utf8)
    return TextCode_charLenIn(p, static_cast<std::size_t>(end - p));
  if (p + 1 < end && Os_isLeadByte(static_cast<unsigned char>(p[0])) &&
      static_cast<unsigned char>(p[1]) >= 0x40)
    return 2;
  return 1;
}

// Whether each letter finds a value or target of its kind, and all of them
// are used. `Kind takes(char)` tells which kind a letter takes (None: none).
template <class Arg, class Takes>
bool IniFile_argsMatch(const char* letters, const Arg* args, std::size_t count, Takes takes) {
  std::size_t k = 0;
  for (const char* l = letters; *l; ++l) {
    IniFile_Value::Kind want = takes(*l);
    if (want == IniFile_Value::Kind::None) continue;
    if (k == count || args[k].kind != want) return false;
    ++k;
  }
  return k == count;
}
