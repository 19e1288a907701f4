#include "ui/ui_libraries.h"

#include <commctrl.h>
#include <objbase.h>

#include "base/handle.h"
#include "base/system_library.h"

namespace hivescout {

namespace {

// Each is loaded on first use and kept to the end of the process.
HMODULE commonControls() {
    static const UniqueModule module = loadSystemLibrary(L"comctl32.dll");
    return module.get();
}

HMODULE com() {
    static const UniqueModule module = loadSystemLibrary(L"ole32.dll");
    return module.get();
}

// The common controls and the rich-edit control load these later by bare name; loaded
// from the system folder first, the later loads find them in place whatever search
// those calls make.
void preloadLateLibraries() {
    static const UniqueModule modules[] = {loadSystemLibrary(L"uxtheme.dll"), loadSystemLibrary(L"usp10.dll"),
                                           loadSystemLibrary(L"msimg32.dll"), loadSystemLibrary(L"oleaut32.dll")};
    static_cast<void>(modules);
}

template <typename Function>
Function bind(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Function>(::GetProcAddress(module, name)) : nullptr;
}

}  // namespace

UiLibraries::UiLibraries() {
    preloadLateLibraries();
    using CoInitializeFunction = HRESULT(WINAPI*)(LPVOID);
    using InitCommonControlsExFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    if (const auto coInitialize = bind<CoInitializeFunction>(com(), "CoInitialize"))
        comInitialised_ = SUCCEEDED(coInitialize(nullptr));
    if (const auto initialise = bind<InitCommonControlsExFunction>(commonControls(), "InitCommonControlsEx")) {
        INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
        initialise(&controls);
    }
}

UiLibraries::~UiLibraries() {
    using CoUninitializeFunction = void(WINAPI*)();
    if (!comInitialised_) return;
    if (const auto coUninitialize = bind<CoUninitializeFunction>(com(), "CoUninitialize")) coUninitialize();
}

}  // namespace hivescout
