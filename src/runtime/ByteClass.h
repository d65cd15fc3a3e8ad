// ByteClass: classes of single bytes of ASCII and code page 932 text, the
// same on every platform and in every locale (<cctype> follows the locale).
// Only ASCII bytes belong to a class. A code page 932 trail byte can be one
// of them ("A"-"Z", "\\"): callers that step over text test lead bytes first.
#pragma once

// "A"-"Z" to "a"-"z"; every other byte unchanged.
constexpr unsigned char ByteClass_lower(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Space, tab, carriage return, line feed.
constexpr bool ByteClass_isWhite(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// ByteClass_isWhite and vertical tab and form feed: the white space of the C
// library's "C" locale.
constexpr bool ByteClass_isSpace(unsigned char c) {
  return ByteClass_isWhite(c) || c == '\v' || c == '\f';
}

// "/" or "\\", either of which separates the folders of a path.
constexpr bool ByteClass_isSep(unsigned char c) { return c == '/' || c == '\\'; }
