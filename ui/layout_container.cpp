#include "ui/layout_container.h"

namespace hivescout {

namespace {

std::uintptr_t keyOf(HWND child) { return reinterpret_cast<std::uintptr_t>(child); }

RECT windowRectangle(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

// A window rectangle in the parent's client coordinates.
RECT inClientCoordinates(HWND parent, RECT rect) {
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void moveControl(HWND child, const RECT& rect) {
    ::SetWindowPos(child, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER);
    ::InvalidateRect(child, nullptr, TRUE);
}

}  // namespace

HeldMutex LayoutContainer::hold() const noexcept {
    const HANDLE lock = lock_.get();
    return HeldMutex(lock && ::WaitForSingleObject(lock, INFINITE) != WAIT_FAILED ? lock : nullptr);
}

// The creating thread keeps its first ownership for the container's whole life, so the
// dialog's own thread never waits, and any other thread waits until this one ends. The
// lock has no name: no other process may ever share it.
LayoutContainer::LayoutContainer() : lock_(::CreateMutexW(nullptr, TRUE, nullptr)) {}

bool LayoutContainer::findControl(HWND child) {
    const HeldMutex scope = hold();
    return controls_.count(keyOf(child)) != 0;
}

void LayoutContainer::registerControl(AnchoredControl entry) {
    if (findControl(entry.child)) return;
    if (!entry.parent && !keepsPresetGeometry(entry)) return;
    if (!keepsPresetGeometry(entry)) {
        measureAnchoredControl(entry, windowRectangle(entry.parent), windowRectangle(entry.child));
    }
    const HeldMutex scope = hold();
    controls_[keyOf(entry.child)] = entry;
}

void LayoutContainer::relayout() {
    for (const auto& item : controls_) {
        const AnchoredControl& entry = item.second;
        const RECT parent = inClientCoordinates(entry.parent, windowRectangle(entry.parent));
        const RECT child = inClientCoordinates(entry.parent, windowRectangle(entry.child));
        moveControl(entry.child, anchoredRectangle(entry, parent, child));
    }
}

}  // namespace hivescout
