// IniFile: the settings writer.
//
// The file is opened in binary mode and every line ends in an explicit
// CR LF, so that a settings file is byte for byte the same on every
// platform.
#include "settings/IniFile.h"

#include <cstring>
#include <string>

#include "runtime/Errors.h"
#include "runtime/FileX.h"
#include "settings/IniFileShared.h"

namespace {

constexpr const char* kModule = IniFile_kModule;
constexpr char kLineEnd[] = "\r\n";
using Kind = IniFile_Value::Kind;

Kind writerTakes(char letter) {
  switch (letter) {
    case 'b': return Kind::Bool;
    case 'i': case 'x': return Kind::Int;
    case 's': return Kind::Text;
    case 't': return Kind::Time;
    default: return Kind::None;
  }
}

void put(IniFile_Write* w, const char* text) { std::fputs(text, w->file); }

// How much of a text is written, and whether in quotes.
struct TextForm {
  std::size_t n;
  bool quoted;
};

// A text goes in double quotes when it holds a comma or a quote or begins or
// ends with a space. Its written form is cut to IniFile_kTextMax bytes: the
// longest prefix in whole characters whose form fits. The form's length is
// not monotone in the prefix's (a trailing space adds quotes), so every
// character boundary up to the limit is tried.
TextForm textForm(const char* s, std::size_t n) {
  // Mostly the whole text fits, and then it is the answer.
  if (n > 0 && n <= IniFile_kTextMax) {
    std::size_t quotes = 0;
    bool comma = false;
    for (std::size_t k = 0; k < n; ++k) {
      quotes += s[k] == '"';
      comma |= s[k] == ',';
    }
    const bool quoted = comma || quotes > 0 || s[0] == ' ' || s[n - 1] == ' ';
    if ((quoted ? n + quotes + 2 : n) <= IniFile_kTextMax) return TextForm{n, quoted};
  }
  TextForm best{0, false};
  std::size_t quotes = 0, i = 0;
  bool comma = false;
  while (i < n && i <= IniFile_kTextMax) {
    std::size_t len = IniFile_charLen(s + i, s + n);
    for (std::size_t k = i; k < i + len; ++k) {
      if (s[k] == '"') ++quotes;
      if (s[k] == ',') comma = true;
    }
    i += len;
    bool quoted = comma || quotes > 0 || s[0] == ' ' || s[i - 1] == ' ';
    if ((quoted ? i + quotes + 2 : i) <= IniFile_kTextMax) best = TextForm{i, quoted};
  }
  return best;
}

// An empty text is written as nothing; inside quotes each quote is doubled.
void putText(IniFile_Write* w, const char* s) {
  if (s == nullptr) return;
  TextForm form = textForm(s, std::strlen(s));
  if (!form.quoted) {
    std::fwrite(s, 1, form.n, w->file);
    return;
  }
  std::string quoted = "\"";
  for (std::size_t k = 0; k < form.n; ++k) {
    if (s[k] == '"') quoted += '"';
    quoted += s[k];
  }
  quoted += '"';
  std::fwrite(quoted.data(), 1, quoted.size(), w->file);
}

void putTime(IniFile_Write* w, const std::time_t* t) {
  if (t == nullptr) return;
  const std::tm* local = std::localtime(t);
  char text[32];
  if (local && std::strftime(text, sizeof text, "%Y/%m/%d-%H:%M:%S", local) > 0) put(w, text);
}

void putValue(IniFile_Write* w, char letter, const IniFile_Value& v) {
  char text[16];
  switch (letter) {
    case 'b': put(w, v.b ? "1" : "0"); break;
    case 'i': std::snprintf(text, sizeof text, "%d", static_cast<int>(v.i)); put(w, text); break;
    case 'x':
      std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(static_cast<uint32_t>(v.i)));
      put(w, text);
      break;
    case 's': putText(w, v.s); break;
    case 't': putTime(w, v.t); break;
    default: break;
  }
}

}  // namespace

IniFile_Write::~IniFile_Write() {
  if (file) std::fclose(file);
}

void IniFile_Write_open(IniFile_Write* w, const char* path) {
  if (w->file) std::fclose(w->file);
  w->file = FileX_open(path, "wb");
  if (w->file == nullptr) {
    Errors_raise(kModule, __LINE__, FileX_Err_CannotWriteOpen,
                 FileX_Txt_CannotWriteOpen, path);
  }
  w->noSectionYet = true;
  StrX_cpy(w->path, path, sizeof w->path);
}

void IniFile_Write_setSection(IniFile_Write* w, const char* name) {
  if (!w->noSectionYet) {
    put(w, " ");
    put(w, kLineEnd);
  }
  w->noSectionYet = false;
  put(w, "[");
  put(w, name);
  put(w, "] ");
  put(w, kLineEnd);
}

void IniFile_Write_attrList(IniFile_Write* w, const char* name, const char* letters,
                            const IniFile_Value* values, std::size_t count) {
  if (!IniFile_argsMatch(letters, values, count, writerTakes)) {
    IniFile_raiseMisuse();
    return;
  }
  put(w, name);
  put(w, " = ");
  std::size_t k = 0;
  for (const char* l = letters; *l; ++l) {
    if (l != letters) put(w, ", ");
    if (writerTakes(*l) != Kind::None) putValue(w, *l, values[k++]);
  }
  put(w, kLineEnd);
}

void IniFile_Write_close(IniFile_Write* w) {
  if (w->file == nullptr) return;
  put(w, " ");
  put(w, kLineEnd);
  const bool failed = FileX_closeFailed(w->file);
  w->file = nullptr;
  if (failed)
    Errors_raise(kModule, __LINE__, FileX_Err_CannotWrite,
                 FileX_Txt_WriteFailedOf, w->path);
}
