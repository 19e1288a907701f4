// A minimal program with a window: shows it, handles what is queued and ends. Given
// "-load=<name>" it first loads that library by bare name.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
    const std::wstring argument = arguments ? arguments : L"";
    if (argument.rfind(L"-load=", 0) == 0) ::LoadLibraryW(argument.substr(6).c_str());
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"minimal", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                          nullptr, nullptr, instance, nullptr);
    for (MSG message; ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageW(&message);
    return ::DestroyWindow(window) ? 0 : 1;
}
