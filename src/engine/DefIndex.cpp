// DefIndex: definition lists, anchors and links entries.
#include "engine/DefIndex.h"

#include <charconv>
#include <cstring>

#include "lexer/BLex3Write.h"
#include "runtime/Errors.h"
#include "runtime/FileX.h"
#include "runtime/TextCode.h"

namespace {

struct KindInfo {
  const char* anchor;  // the anchor and links kind: def1, func1, ...
  const char* word;    // the item's word
};

// Closes a list; the first list whose writing failed is kept in failed.
void closeList(std::FILE** f, const char* path, const char** failed) {
  if (*f == nullptr) return;
  const bool bad = FileX_closeFailed(*f);
  *f = nullptr;
  if (bad && *failed == nullptr) *failed = path;
}

std::FILE* openList(const char* path, char* kept) {
  if (path == nullptr) return nullptr;
  StrX_cpy(kept, path, StrX_kPathSize);
  return FileX_open(path, "wb");
}

// "<LI><A href=\"#func12\">name 関数</A>\r\n", without formatting.
void writeItem(std::FILE* list, const char* kind, int32_t n, const char* name, const char* word) {
  char number[12];  // "-2147483648"
  std::fputs("<LI><A href=\"#", list);
  std::fputs(kind, list);
  const char* end = std::to_chars(number, number + sizeof number, n).ptr;
  std::fwrite(number, 1, static_cast<std::size_t>(end - number), list);
  std::fputs("\">", list);
  std::fputs(name, list);
  std::fputc(' ', list);
  std::fputs(word, list);
  std::fputs("</A>\r\n", list);
}

void start(DefIndex* d, int32_t& counter, std::FILE* list, const char* kind, const char* word) {
  const int32_t n = ++counter;
  char name[DefIndex_kNameSize];
  BLex3_copyRange(d->recognizer->lexer, d->event->nameStart, d->event->nameEnd, name, sizeof name);
  if (list != nullptr) writeItem(list, kind, n, name, TextCode_text(word));
  if (d->links != nullptr) {
    char braced[DefIndex_kNameSize + 2];
    const std::size_t nameLen = std::strlen(name);
    braced[0] = '{';
    std::memcpy(braced + 1, name, nameLen);
    std::memcpy(braced + 1 + nameLen, "}", 2);
    LinksFile_addDef(d->links, kind, n, braced, "");
    if (std::strcmp(kind, "enum") == 0) {
      // The members are read ahead; the recognizer then goes on from where
      // it stood, as it does in the writing pass, which reads none, so that
      // both passes see the definitions after the enumeration alike.
      const BLex3_Pos resume = d->recognizer->scanPos;
      char member[DefIndex_kNameSize + 1] = "{";
      while (CDeclP_nextEnumMember(d->recognizer, member + 1, DefIndex_kNameSize - 1)) {
        std::strcat(member, "}");
        LinksFile_addDef(d->links, kind, n, member, "");
        member[1] = '\0';
      }
      d->recognizer->scanPos = resume;
    }
  }
  if (d->anchor != nullptr) {
    OutFile_puts(d->anchor, "<A name=\"");
    OutFile_puts(d->anchor, kind);
    OutFile_putInt(d->anchor, n);
    OutFile_puts(d->anchor, "\">");
  }
}

}  // namespace

void DefIndex_init(DefIndex* index, CDeclP* recognizer, const char* typePath,
                   const char* funcPath, const char* macroPath, LinksFile* links,
                   OutFile* anchor) {
  *index = DefIndex{};
  index->recognizer = recognizer;
  index->event = CDeclP_getEvent(recognizer);
  index->links = links;
  index->anchor = anchor;
  index->typeList = openList(typePath, index->typePath);
  index->funcList = openList(funcPath, index->funcPath);
  index->macroList = openList(macroPath, index->macroPath);
}

void DefIndex_step(DefIndex* d) {
  switch (CDeclP_getResult(d->recognizer)) {
    case CDeclP_MacroStart:
      start(d, d->macros, d->macroList, "def", "マクロ");
      break;
    case CDeclP_FunctionStart:
      start(d, d->functions, d->funcList, "func", "関数");
      break;
    case CDeclP_TypedefStart:
      start(d, d->types, d->typeList, "type", "型");
      break;
    case CDeclP_AggregateStart: {
      int32_t k = d->event->kind;
      start(d, d->aggregates, d->typeList, "struct",
            k == CDeclP_kStruct ? "構造体" : k == CDeclP_kUnion ? "共用体" : "クラス");
      break;
    }
    case CDeclP_EnumStart:
      start(d, d->enums, d->typeList, "enum", "列挙型");
      break;
    case CDeclP_MacroEnd:
    case CDeclP_FunctionEnd:
    case CDeclP_TypedefEnd:
    case CDeclP_AggregateEnd:
    case CDeclP_EnumEnd:
      if (d->anchor != nullptr) OutFile_puts(d->anchor, "</A>");
      break;
    default:
      break;
  }
}

void DefIndex_finish(DefIndex* index) {
  const char* failed = nullptr;
  closeList(&index->typeList, index->typePath, &failed);
  closeList(&index->funcList, index->funcPath, &failed);
  closeList(&index->macroList, index->macroPath, &failed);
  if (failed != nullptr)
    Errors_raise("scrivo", __LINE__, FileX_Err_CannotWrite,
                 FileX_Txt_WriteFailedOf, failed);
}
