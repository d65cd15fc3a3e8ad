// SiteFrame: the site's own pages. The frame page index.html shows the
// navigation bar and the page list on the left and the project's first
// page in the main frame.
#pragma once

#include "app/SitePlan.h"
#include "engine/Project.h"
#include "engine/TitleList.h"
#include "runtime/PrintX.h"

// Writes the navigation bar, the page list and the frame page, in the
// current text code. A first page that names no file of the project is
// said on sink and the page list shown instead.
void SiteFrame_write(const SitePlan& plan, const Project* project, TitleList* pages,
                     PrintX* sink);
