// Browser: shows the finished page. The http handler's registry keys give
// a DDE request with the page in it; without a DDE registration (POSIX has
// no registry at all) the page goes to WinX_startBrowser. A registry or DDE
// failure other than a missing key is raised; a browser that does not
// answer is not reported.
#pragma once

// Shows the page; an empty path opens nothing.
void Browser_openHtml(const char* path);
