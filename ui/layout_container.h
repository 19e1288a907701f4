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
    enum RegisterResult : std::uint32_t { Stored = 0, AlreadyRegistered = 1, NoParent = 3 };

    LayoutContainer();
    LayoutContainer(const LayoutContainer&) = delete;
    LayoutContainer& operator=(const LayoutContainer&) = delete;

    std::uint32_t registerControl(AnchoredControl entry);
    std::uint32_t findControl(HWND child);
    // Moves every registered control to where its anchors put it now.
    void relayout();

private:
    // The container's lock, held until the returned owner goes.
    HeldMutex hold() const noexcept;

    UniqueHandle lock_;
    std::map<std::uintptr_t, AnchoredControl> controls_;
};

}  // namespace hivescout
