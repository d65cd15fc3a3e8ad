// Strv: growing heap texts.
#include "runtime/Strv.h"

#include <cstring>

#include "runtime/Errors.h"
#include "runtime/StdPlus.h"

namespace {

char* newBlock(std::size_t size) {
  char* p = static_cast<char*>(StdPlus_malloc(size));
  if (p == nullptr)
    Errors_raise("Strv", __LINE__, Errors_Unofficial, "%s",
                 Errors_Txt_Error);
  return p;
}

}  // namespace

void Strv_init(Strv* strv) {
  strv->text = newBlock(Strv_kStep);
  if (strv->text != nullptr) strv->text[0] = '\0';
}

void Strv_finish(Strv* strv) {
  StdPlus_free(strv->text);
  strv->text = nullptr;
}

char* Strv_cpy(Strv* strv, const char* source) {
  const std::size_t n = std::strlen(source);
  const std::size_t cur = strv->text == nullptr ? 0 : std::strlen(strv->text);
  if (strv->text == nullptr || n / Strv_kStep > cur / Strv_kStep) {
    // The new block is filled before the old one goes, as source may lie in it.
    char* block = newBlock((n + Strv_kStep) / Strv_kStep * Strv_kStep);
    if (block == nullptr) return strv->text;
    std::memcpy(block, source, n + 1);
    StdPlus_free(strv->text);
    strv->text = block;
    return block;
  }
  std::memmove(strv->text, source, n + 1);
  return strv->text;
}
