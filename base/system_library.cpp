#include "base/system_library.h"

#include <string>

namespace hivescout {

bool restrictLibrarySearch() {
    // Looked up, because a system without the search-path update lacks it; loadSystemLibrary
    // then still names the folder in full.
    using Function = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto setDefaultDirectories =
        kernel ? reinterpret_cast<Function>(::GetProcAddress(kernel, "SetDefaultDllDirectories")) : nullptr;
    return setDefaultDirectories != nullptr && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

UniqueModule loadSystemLibrary(const wchar_t* name) {
    // By name with the system folder as the only place, so that a side-by-side assembly of
    // the manifest (version 6 of the common controls) still takes its place.
    UniqueModule module(::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (module || ::GetLastError() != ERROR_INVALID_PARAMETER) return module;
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return module;
    return UniqueModule(::LoadLibraryExW((std::wstring(folder) + L"\\" + name).c_str(), nullptr, 0));
}

}  // namespace hivescout
