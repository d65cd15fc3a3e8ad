// WinX: shows a finished page in the user's web browser. On Windows the
// browser's command and DDE names come from the registry (the "http"
// handler) and the page is requested over DDE, starting the browser first
// when no conversation opens; without a DDE registration the handler's
// command is started with the page (the shell opens it when there is no
// command either). On POSIX the command named by BROWSER (else xdg-open,
// or open on macOS) is run with the page. A browser that does not answer is
// not reported: the run has succeeded once its pages are written.
#pragma once
#include <cstdint>

inline constexpr int WinX_kWaitMs = 1000;   // how long the browser may take to answer
inline constexpr uint32_t WinX_kTextSize = 512;  // each registry text

// The registry roots the program reads.
enum class WinX_Root { ClassesRoot, CurrentUser, LocalMachine };

// The keys of the http handler, read in this order.
inline constexpr char WinX_kKeyCommand[] = "http\\shell\\open\\command";
inline constexpr char WinX_kKeyDdeExec[] = "http\\shell\\open\\ddeexec";
inline constexpr char WinX_kKeyApplication[] = "http\\shell\\open\\ddeexec\\Application";
inline constexpr char WinX_kKeyTopic[] = "http\\shell\\open\\ddeexec\\Topic";

// Shows the page; an empty path opens nothing.
void WinX_openHtml(const char* path);

// The line of --help that says how the browser is chosen on this platform.
const char* WinX_browserRule();

// Reads one registry value (null name: the key's default value) into buf.
// A missing key raises WinX_Err_NoRegKey; other failures the "allcode" error.
// Where there is no registry (POSIX) every key is missing.
char* WinX_getReg(WinX_Root root, const char* keyPath, const char* valueName, char* buf,
                  uint32_t size);

// Requests `request` from the DDE server (service, topic); when no
// conversation opens, starts `command` and tries once more. Failures of the
// DDE library raise "WinX: DDE Error : ...". Does nothing on POSIX.
void WinX_sendDde(const char* command, const char* service, const char* topic,
                  const char* request, uint32_t length);
