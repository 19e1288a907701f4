#pragma once
#include <windows.h>

#include "views/view_finder.h"

namespace hivescout {

// The tree among the direct children of parent, and the first list among the siblings
// that follow it (with no tree, the first list among the children). Either may be null.
RegeditViews viewsAmongChildrenOf(HWND parent);

// Some editors keep their views one window level deeper: the direct child of the main
// window that holds both a tree and a list among its own children, or null.
HWND nestedViewsHolder(HWND mainWindow);

}  // namespace hivescout
