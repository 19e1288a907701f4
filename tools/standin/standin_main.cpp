// A registry editor for the end-to-end tests: the Windows editor's window layout, filled
// from the live registry, observable through a named mapping (standin_channel.h) and
// bent by fault knobs from the environment.
#include <windows.h>
#include <commctrl.h>

#include "base/handle.h"
#include "tools/standin/channel_writer.h"
#include "tools/standin/knobs.h"
#include "tools/standin/main_window.h"

using namespace hivescout;

namespace {

DWORD WINAPI exitLater(void* delay) {
    ::Sleep(static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(delay)));
    ::ExitProcess(0);
}

void scheduleExit(DWORD delayMs) {
    if (delayMs == 0) return;
    UniqueHandle thread(::CreateThread(nullptr, 0, exitLater, reinterpret_cast<void*>(std::uintptr_t{delayMs}), 0,
                                       nullptr));
}

int runMessageLoop() {
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const Knobs knobs = readKnobs();
    channelWriter().open(::GetCurrentProcessId());
    scheduleExit(knobs.exitAfterMs);

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    if (!MainWindow::registerClass(instance)) return 1;

    if (knobs.windowDelayMs != 0) ::Sleep(knobs.windowDelayMs);
    if (knobs.secondWindow == SecondWindow::Before) createHelperWindow(instance);
    MainWindow mainWindow(knobs);
    if (!mainWindow.create(instance, showCommand)) return 1;
    if (knobs.secondWindow == SecondWindow::After) createHelperWindow(instance);
    return runMessageLoop();
}
