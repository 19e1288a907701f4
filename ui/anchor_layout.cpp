#include "ui/anchor_layout.h"

namespace hivescout {

bool keepsPresetGeometry(const AnchoredControl& entry) {
    return (entry.flags & (AnchorFlags::Preset64 | AnchorFlags::Preset128)) != 0;
}

void measureAnchoredControl(AnchoredControl& entry, const RECT& parentWindow, const RECT& childWindow) {
    entry.width = childWindow.right - childWindow.left;
    entry.height = childWindow.bottom - childWindow.top;
    entry.rightMargin = parentWindow.right - childWindow.right;
    entry.bottomMargin = parentWindow.bottom - childWindow.bottom;
}

RECT anchoredRectangle(const AnchoredControl& entry, const RECT& parentWindow, RECT child) {
    if (entry.flags & AnchorFlags::Right) child.right = parentWindow.right - entry.rightMargin;
    if (!(entry.flags & AnchorFlags::Left)) child.left = child.right - entry.width;
    if (entry.flags & AnchorFlags::Bottom) child.bottom = parentWindow.bottom - entry.bottomMargin;
    if (!(entry.flags & AnchorFlags::Top)) child.top = child.bottom - entry.height;
    return child;
}

}  // namespace hivescout
