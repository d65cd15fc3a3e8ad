// WinX: the system calls behind showing a finished page in the user's web
// browser. On Windows the browser's command and DDE names come from the
// registry (the "http" handler) and the page is requested over DDE; on
// POSIX there is no registry and the command named by BROWSER (else
// xdg-open, or open on macOS) is run with the page. Every call gives a
// status; the choice between them, and the errors raised, are Browser's.
#pragma once
#include <cstdint>
#include <string>

inline constexpr int WinX_kWaitMs = 1000;   // how long the browser may take to answer
inline constexpr uint32_t WinX_kTextSize = 512;  // each registry text

// The registry roots the program reads.
enum class WinX_Root { ClassesRoot, CurrentUser, LocalMachine };

// The keys of the http handler, read in this order.
inline constexpr char WinX_kKeyCommand[] = "http\\shell\\open\\command";
inline constexpr char WinX_kKeyDdeExec[] = "http\\shell\\open\\ddeexec";
inline constexpr char WinX_kKeyApplication[] = "http\\shell\\open\\ddeexec\\Application";
inline constexpr char WinX_kKeyTopic[] = "http\\shell\\open\\ddeexec\\Topic";

enum class WinX_RegStatus { Ok, NoKey, Failed };

// Reads one registry value (null name: the key's default value) into buf,
// NUL-terminated. Failed leaves the system's result code in *result.
// Where there is no registry (POSIX) every key is missing.
[[nodiscard]] WinX_RegStatus WinX_readReg(WinX_Root root, const char* keyPath,
                                          const char* valueName, char* buf, uint32_t size,
                                          uint32_t* result);

// Requests `request` from the DDE server (service, topic); when no
// conversation opens, starts `command` and tries once more. False when the
// DDE library fails, with the name of its error in *error. Does nothing on
// POSIX.
[[nodiscard]] bool WinX_requestDde(const char* command, const char* service, const char* topic,
                                   const char* request, const char** error);

// The page as the browser must be given it: on Windows with its drive (a
// path that begins with a separator names a folder of the current drive,
// which the browser's own current folder need not share), kept as it is
// when the system cannot say; unchanged on POSIX.
std::string WinX_fullPath(const char* path);

// Shows the page without DDE. Windows: the http handler's command
// (`registered`, empty when there is none) is started with the page, else
// the shell opens it. POSIX: $BROWSER PAGE (an empty BROWSER opens nothing),
// else the desktop's opener when it is on the PATH. Neither waits longer
// than WinX_kWaitMs, and a browser that cannot start is not reported: the
// run has succeeded once its pages are written.
void WinX_startBrowser(const std::string& registered, const std::string& page);

// The line of --help that says how the browser is chosen on this platform.
const char* WinX_browserRule();
