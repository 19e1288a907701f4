#include "ui/read_only_text_hook.h"

#include "ui/ui_libraries.h"

namespace hivescout {

namespace {
constexpr UINT_PTR kHookId = 1003;
}

bool ReadOnlyTextHook::attach(HWND control) {
    detach();
    if (!control || !setWindowSubclass(control, &ReadOnlyTextHook::hookProcedure, kHookId,
                                         reinterpret_cast<DWORD_PTR>(this)))
        return false;
    control_ = control;
    return true;
}

void ReadOnlyTextHook::detach() {
    if (control_ && ::IsWindow(control_)) removeWindowSubclass(control_, &ReadOnlyTextHook::hookProcedure, kHookId);
    control_ = nullptr;
}

LRESULT CALLBACK ReadOnlyTextHook::hookProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                 UINT_PTR id, DWORD_PTR data) {
    switch (message) {
        case ReflectedMessages::ColourEdit:
            ::SendMessageW(window, EM_SETREADONLY, TRUE, 0);
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
        case ReflectedMessages::ColourStatic:
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
        case WM_NCDESTROY: {
            auto* hook = reinterpret_cast<ReadOnlyTextHook*>(data);
            removeWindowSubclass(window, &ReadOnlyTextHook::hookProcedure, id);
            hook->control_ = nullptr;
            break;
        }
        default:
            break;
    }
    return defSubclassProc(window, message, wParam, lParam);
}

}  // namespace hivescout
