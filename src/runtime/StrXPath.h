// StrXPath: the path operations of StrX. Paths are code page 932 byte
// strings: every scan steps over a double-byte character whole, so a trail
// byte 0x5C ("表") is never taken for a separator. "\\" and "/" both split a
// path in every operation; the native separator (Os_pathSep: "\\" on
// Windows, "/" on POSIX) is the one written, and on Windows the paths made
// absolute or relative have every "/" written as "\\" (no name holds a "/"
// there). A path is absolute when it begins with a separator (on Windows:
// on the current drive) or has ":" as its second byte (a drive).
//
// Was it cut? Every operation that builds a longer text takes the size of its
// destination, never writes past it, and returns true when the whole result
// fitted ("fitted"). False means the result was cut (at a character
// boundary) and names another path than the one meant: callers must not open
// a cut path for writing, and should report it (StrX_Err_PathTooLong).
#pragma once
#include <cstddef>

#include "runtime/StrX.h"

// The work text in which StrX_toAbsPath joins and resolves: results hold at
// most 511 bytes whatever the destination's size.
inline constexpr std::size_t StrX_kAbsWorkSize = 512;

// Folds "." and ".." components in place (the text never grows): a ".."
// followed by a separator removes itself and the component before it; a
// "." followed by a separator disappears. Leading ".." of a relative path
// stay. A ".." that would climb above the root (or drive) of the path raises
// StrX_Err_NoMoreParentDir; should the raise return, the rest of the text is
// kept as it stands. A final ".." or "." without separator stays.
void StrX_resolveDots(char* path);

// A relative path becomes base + separator + path, resolved; an empty path,
// an absolute path and texts beginning with "file:", "http:" or "https:" are
// left alone (on Windows an absolute path still gets "\\" for "/"). An empty
// base leaves the path relative (only resolved). A result ending in
// separator + "." loses the ".".
[[nodiscard]] bool StrX_toAbsPath(char* path, std::size_t size, const char* base);
// Copies path into dst and makes it absolute against the current folder. An
// absolute path is copied as StrX_toAbsPath leaves it (its whole length when
// size allows);
// false also when the current folder cannot be read (dst then gets path).
[[nodiscard]] bool StrX_cpyAbsPath(char* dst, const char* path, std::size_t size);
// StrX_toAbsPath against the folder that holds baseFile; an empty path stays
// empty.
[[nodiscard]] bool StrX_toAbsPathFromFile(char* path, std::size_t size, const char* baseFile);

// The absolute path made relative to the absolute base folder, in place:
// "/a/b/c.htm" against "/a" gives "b/c.htm", "/a/x.htm" against "/a/b" gives
// "../x.htm", "/a" against "/a/b" gives "..". The comparison ignores ASCII
// case. Targets on another drive than the base, or with no drive while the
// base has one, stay unchanged. An empty result becomes "." (or "./" when
// the target ends with a separator).
[[nodiscard]] bool StrX_toRelPath(char* path, std::size_t size, const char* base);
// StrX_toRelPath against the folder that holds baseFile (computed in a
// 260-byte block of BigStack_main).
[[nodiscard]] bool StrX_toRelPathFromFile(char* path, std::size_t size, const char* baseFile);

// The last component after the last separator; for a path ending with a
// separator, the component before it with that separator; the whole path
// when it has none.
const char* StrX_refFName(const char* path);
char* StrX_refFName(char* path);
// Copies the folder part of path (as StrX_cutFName gives it) into dst; dst
// may be path itself.
[[nodiscard]] bool StrX_cpyFolder(char* dst, const char* path, std::size_t size);
// Cuts path to its folder: one trailing separator is dropped, then the text
// is cut at its last separator. A root stays a root: "/x" and "/" give "/",
// "c:\x" and "c:\a\" give "c:\". A path without separator becomes empty.
void StrX_cutFName(char* path);

// The text after the last "." of the whole path ("a.b/c" gives "b/c"), or
// the terminating NUL when there is no ".".
const char* StrX_refExt(const char* path);
char* StrX_refExt(char* path);
// Replaces what follows the last "." by ext, or removes the "." and what
// follows when ext is empty; without a "." appends "." and ext (when ext is
// not empty).
[[nodiscard]] bool StrX_chgExt(char* path, std::size_t size, const char* ext);
