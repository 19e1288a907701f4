// A Windows program that ends at once: what a process start costs by itself. Given any
// argument it first enumerates the top-level windows once, which is what a first use of
// the window system costs (under Wine the display driver is loaded then).
#include <windows.h>

namespace {
BOOL CALLBACK visit(HWND, LPARAM) { return TRUE; }
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
    if (arguments && *arguments) ::EnumWindows(visit, 0);
    return 0;
}
