// WinX: shows a finished page in the user's web browser. On Windows the
// browser's command and DDE names come from the registry and the page is
// requested over DDE; on POSIX the command named by BROWSER (else xdg-open,
// or open on macOS) is run with the page. A browser that does not answer is
// not reported: the run has succeeded once its pages are written.
#pragma once

inline constexpr int WinX_kWaitMs = 1000;  // how long the browser may take to answer

// Shows the page; an empty path opens nothing.
void WinX_openHtml(const char* path);
