#pragma once
#include <windows.h>

namespace hivescout {

// Subclasses the plain dialog's edit control: the reflected colour messages make it
// read-only the first time it paints and keep its background in the window colour
// instead of the grey of a read-only edit control.
class ReadOnlyTextHook {
public:
    ReadOnlyTextHook() = default;
    ReadOnlyTextHook(const ReadOnlyTextHook&) = delete;
    ReadOnlyTextHook& operator=(const ReadOnlyTextHook&) = delete;
    ~ReadOnlyTextHook() { detach(); }

    bool attach(HWND control);
    void detach();

private:
    static LRESULT CALLBACK hookProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR data);
    HWND control_ = nullptr;
};

namespace ReflectedMessages {
constexpr UINT ColourEdit = 0x2133;    // OCM_CTLCOLOREDIT
constexpr UINT ColourStatic = 0x2138;  // OCM_CTLCOLORSTATIC
}  // namespace ReflectedMessages

}  // namespace hivescout
