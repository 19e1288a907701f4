#include <windows.h>

#include "app/main_flow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return static_cast<int>(hivescout::runJump(instance));
}
