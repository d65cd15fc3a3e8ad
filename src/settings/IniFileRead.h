// IniFileRead: the reader of the sectioned settings format (IniFile.h). It
// walks a file line by line in the order the writer put things and names
// every deviation with an error of its own. A CR LF and a lone LF both end a
// line; positions are byte offsets in the file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "settings/IniFile.h"

// A byte offset in a settings file, as the reads return it; -1 means none.
using IniFile_Pos = long;

// The string limit of a freshly opened reader, and the size of the buffer
// that IniFile_Read_checkApp reads the application name into.
inline constexpr std::size_t IniFile_kStrMaxDefault = 256;
// The reader's read size; the first read after a jump takes less, since a
// jump mostly goes to one line.
inline constexpr std::size_t IniFile_kReadChunk = 4096;
inline constexpr std::size_t IniFile_kJumpRead = 512;

// One target of the reads: "b" fills a bool, "i" and "I" a 32-bit integer,
// "s" and "S" a text buffer of at least the string limit's size, "t" a time
// value. Other letters ("-") pass a field over and take no target.
struct IniFile_Target {
  using Kind = IniFile_Value::Kind;
  IniFile_Target() : kind(Kind::None), p(nullptr) {}
  IniFile_Target(bool* v) : kind(Kind::Bool), p(v) {}
  IniFile_Target(int32_t* v) : kind(Kind::Int), p(v) {}
  IniFile_Target(char* v) : kind(Kind::Text), p(v) {}
  IniFile_Target(std::time_t* v) : kind(Kind::Time), p(v) {}
  Kind kind;
  void* p;
};

struct IniFile_Read {
  std::FILE* file = nullptr;
  // The file is read unbuffered in chunks kept here. The reads walk lines
  // and jump back to lines they have seen (a links file's targets are read
  // again for every link): a jump inside the chunk costs the system nothing,
  // one outside it a single positioned read.
  IniFile_Pos chunkBase = 0;  // file offset of chunk[0]
  std::size_t chunkLen = 0;   // bytes held
  std::size_t chunkAt = 0;    // the next byte the reader takes
  std::size_t readSize = IniFile_kReadChunk;  // of the next read
  char chunk[IniFile_kReadChunk];
  char* line = nullptr;  // the caller's line buffer
  std::size_t lineSize = 0;
  std::size_t strMax = IniFile_kStrMaxDefault;
  char path[StrX_kPathSize] = {};  // for messages

  IniFile_Read() = default;
  IniFile_Read(const IniFile_Read&) = delete;
  IniFile_Read& operator=(const IniFile_Read&) = delete;
  ~IniFile_Read();  // closes a stream still open
};

// Opens path for reading with the caller's line buffer (at least 2 bytes): a
// line longer than lineSize - 1 bytes is read as several lines. The string
// limit becomes 256. Raises FileX_Err_CannotReadOpen.
void IniFile_Read_open(IniFile_Read* r, const char* path, char* lineBuf, std::size_t lineSize);
void IniFile_Read_close(IniFile_Read* r);
// The offset of the next byte the reader takes.
IniFile_Pos IniFile_Read_tell(const IniFile_Read* r);
// Whether the line the last read returned was only the first piece of a
// longer line: the byte before the reader's position is no line feed, and
// the rest of that line holds more than blanks. The position stays.
bool IniFile_Read_lineWasCut(IniFile_Read* r);
// The size of the caller's text targets: texts are cut to size - 1 bytes.
void IniFile_Read_setStrMax(IniFile_Read* r, std::size_t size);
// The next line that is not blank must be the header "[name]". Raises
// FileX_Err_EOF, IniFile_Err_BadFormat (no header there), or
// IniFile_NotFoundSection (another header; the position is then back where
// the call began, before any blank lines).
void IniFile_Read_setSection(IniFile_Read* r, const char* name);
// Searches the header "[name]" from the current position, once more from the
// start of the file when wrap is true. The position behind the header line;
// raises IniFile_NotFoundSection.
IniFile_Pos IniFile_Read_findSection(IniFile_Read* r, const char* name, bool wrap);
// Reads the next attribute, which must be called name, into the targets. The
// position at which the read began (before any empty lines), for
// IniFile_Read_attrAt. Raises IniFile_Err_FewAttr at the end of the file and
// IniFile_Err_BadAttr for another name.
IniFile_Pos IniFile_Read_attrList(IniFile_Read* r, const char* name, const char* letters,
                                  const IniFile_Target* targets, std::size_t count);
template <class... T>
IniFile_Pos IniFile_Read_attr(IniFile_Read* r, const char* name, const char* letters,
                              T*... targets) {
  const IniFile_Target list[] = {IniFile_Target(targets)..., IniFile_Target()};
  return IniFile_Read_attrList(r, name, letters, list, sizeof...(T));
}
// How many attributes called name follow one after the other. The position
// is unchanged.
int IniFile_Read_countAttr(IniFile_Read* r, const char* name);
// The next line of a section with free keys: the key (text before "=", cut
// to keySize - 1 bytes) and the values behind it. The position at which the
// call began, or -1 at the end of the file or at the next header, which is
// then left for the next section read.
IniFile_Pos IniFile_Read_nextList(IniFile_Read* r, char* key, std::size_t keySize,
                                  const char* letters, const IniFile_Target* targets,
                                  std::size_t count);
template <class... T>
IniFile_Pos IniFile_Read_next(IniFile_Read* r, char* key, std::size_t keySize,
                              const char* letters, T*... targets) {
  const IniFile_Target list[] = {IniFile_Target(targets)..., IniFile_Target()};
  return IniFile_Read_nextList(r, key, keySize, letters, list, sizeof...(T));
}
// Reads the values of the attribute line at pos, a position that a read
// returned: one seek and one line read. Raises IniFile_Err_FewAttr when no
// attribute line follows pos.
void IniFile_Read_attrAtList(IniFile_Read* r, IniFile_Pos pos, const char* letters,
                             const IniFile_Target* targets, std::size_t count);
template <class... T>
void IniFile_Read_attrAt(IniFile_Read* r, IniFile_Pos pos, const char* letters,
                         T*... targets) {
  const IniFile_Target list[] = {IniFile_Target(targets)..., IniFile_Target()};
  IniFile_Read_attrAtList(r, pos, letters, list, sizeof...(T));
}
// Reads "Application" and "Version", which must come next. Raises
// IniFile_Err_OtherApp or IniFile_Err_OtherVer (outside lowest..highest).
void IniFile_Read_checkApp(IniFile_Read* r, const char* application, int32_t lowest,
                           int32_t highest);
