#include "tools/standin/control_recorder.h"

#include <commctrl.h>

#include "tools/standin/channel_writer.h"

using standin::Control;
using standin::Origin;

namespace {

constexpr UINT_PTR kRecorderSubclassId = 0x5354;

int dispatchDepth = 0;
bool listFillPending = false;
Knobs activeKnobs;
DWORD outsideMessages = 0;
DWORD outsideItemReads = 0;

// A message sent by another thread arrives while the stand-in is in no handler of its
// own; InSendMessageEx tells a sent message from a posted or same-thread one.
Origin originOfCurrentMessage() {
    if (!DispatchScope::atTop()) return Origin::OwnThread;
    const DWORD flags = ::InSendMessageEx(nullptr);
    return (flags & (ISMEX_SEND | ISMEX_NOTIFY | ISMEX_CALLBACK)) ? Origin::OtherThread : Origin::OwnThread;
}

bool isItemRead(Control which, UINT message) {
    return (which == Control::Tree && message == TVM_GETITEMW) || (which == Control::List && message == LVM_GETITEMW);
}

// Ends the process on the chosen outside message, before the control sees it.
void countOutsideMessage() {
    ++outsideMessages;
    if (activeKnobs.exitAfterMessages != 0 && outsideMessages >= activeKnobs.exitAfterMessages) ::ExitProcess(0);
}

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    const Control which = static_cast<Control>(data);
    const Origin origin = originOfCurrentMessage();
    channelWriter().record(which, origin, message, wParam, lParam);
    if (message == WM_NCDESTROY) ::RemoveWindowSubclass(window, recordingProc, kRecorderSubclassId);
    if (origin == Origin::OtherThread) {
        countOutsideMessage();
        if (isItemRead(which, message)) {
            const bool counted = activeKnobs.exitOnListRead == (which == Control::List);
            if (counted && activeKnobs.exitOnItemRead != 0 && ++outsideItemReads >= activeKnobs.exitOnItemRead)
                ::ExitProcess(0);
            if (activeKnobs.itemReadDelayMs != 0) ::Sleep(activeKnobs.itemReadDelayMs);
        }
    }
    if (which == Control::Header && message == HDM_GETITEMCOUNT && listFillPending) return -1;
    DispatchScope scope;
    return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

DispatchScope::DispatchScope() noexcept { ++dispatchDepth; }
DispatchScope::~DispatchScope() { --dispatchDepth; }
bool DispatchScope::atTop() noexcept { return dispatchDepth == 0; }

void recordControlMessages(HWND control, Control which, const Knobs& knobs) {
    activeKnobs = knobs;
    if (control) ::SetWindowSubclass(control, recordingProc, kRecorderSubclassId, static_cast<DWORD_PTR>(which));
}

void setListFillPending(bool pending) { listFillPending = pending; }
