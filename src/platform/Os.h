// Os: everything that differs between Windows and POSIX, apart from the
// browser opener (WinX) and the file-system calls of OsFile.
// Other modules never test _WIN32; each Os_* function has a body in
// Os_posix.cpp and one in Os_win32.cpp, and CMake compiles one of them.
#pragma once
#include <cstddef>
#include <string>

// Code page 932 lead byte. POSIX has no active code page, so the range is
// fixed there; Windows asks the active code page.
bool Os_isLeadByte(unsigned char c);

// Appends the UTF-8 form of n bytes of code page 932 text to out; a byte
// that does not map is appended unchanged.
void Os_cp932ToUtf8(const char* in, std::size_t n, std::string* out);

// The native path separator: "\\" on Windows, "/" on POSIX.
char Os_pathSep();

// Copies the current folder into buf (at most size - 1 bytes); false when it
// cannot be read or does not fit.
[[nodiscard]] bool Os_getcwd(char* buf, std::size_t size);

// Prepares the console streams once at start: the locale on POSIX (console
// lines are converted to UTF-8 in a UTF-8 locale), binary mode on Windows.
void Os_consoleInit();

// Writes bytes of code page 932 text to standard output (stream 1) or
// standard error (stream 2), converting them for the console where needed.
void Os_consoleWrite(int stream, const char* bytes, std::size_t n);

// True when standard input is a terminal (a key press can be waited for).
bool Os_stdinIsTerminal();

// Reads one key from the console without echo and discards it.
void Os_readKeyNoEcho();
