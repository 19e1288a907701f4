#pragma once
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

#include "base/handle.h"
#include "ui/anchor_layout.h"

namespace hivescout {

// Keeps registered controls attached to their parent's edges while the parent is resized.
// One container belongs to each dialog object.
class LayoutContainer {
public:
    LayoutContainer();
    LayoutContainer(const LayoutContainer&) = delete;
    LayoutContainer& operator=(const LayoutContainer&) = delete;

    // Ignores a control registered already, and one without a parent that must be measured.
    void registerControl(AnchoredControl entry);
    // Moves every registered control to where its anchors put it now.
    void relayout();

private:
    bool findControl(HWND child);
    // The container's lock, held until the returned owner goes.
    HeldMutex hold() const noexcept;

    UniqueHandle lock_;
    std::map<std::uintptr_t, AnchoredControl> controls_;
};

}  // namespace hivescout
