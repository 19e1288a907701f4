#include "sync/termination.h"

#include <sstream>

#include "app/exit_flags.h"
#include "app/handle.h"
#include "app/report.h"
#include "regedit/window_wait.h"

namespace {

const DWORD kCommandDurationMs = 200;

bool watcherStarted = false;
UniqueHandle watcherThread;
// Where the watcher writes; fixed before the watcher can run, since the output target
// does not change after the log file is opened.
ReportTargetBuffer* watcherOutput = nullptr;

// Bounded appending into a caller's buffer; no allocation, so it is safe while the
// suspended main thread may hold the heap's lock.
class FixedText {
public:
    FixedText(char* buffer, std::size_t capacity) : buffer_(buffer), capacity_(capacity) {}
    FixedText& text(const char* piece) {
        while (*piece) put(*piece++);
        return *this;
    }
    FixedText& number(std::uint32_t value, int minimumDigits = 1) {
        char digits[10];
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0 && count < 10);
        while (count < minimumDigits && count < 10) digits[count++] = '0';
        while (count > 0) put(digits[--count]);
        return *this;
    }
    std::size_t finish() const { return overflow_ ? 0 : length_; }

private:
    void put(char c) {
        if (length_ < capacity_) buffer_[length_++] = c;
        else overflow_ = true;
    }
    char* buffer_;
    std::size_t capacity_;
    std::size_t length_ = 0;
    bool overflow_ = false;
};

[[noreturn]] void terminateOnCommand() {
    if (mainThreadHandle != nullptr) ::SuspendThread(mainThreadHandle);
    releaseRegeditWithoutFreeing();

    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    char lines[512];
    const std::size_t length = composeTerminationLines(lines, sizeof(lines), ownProcessId, now);
    if (watcherOutput != nullptr && length != 0) watcherOutput->writeBytes(lines, length);

    // No exit-time teardown: it could wait on a lock that the suspended main thread
    // holds. The system abandons the editor's lock, and the next waiter takes it.
    ::TerminateProcess(::GetCurrentProcess(), exitFlags.load() | ExitFlags::TerminatedByOtherInstance);
    for (;;) ::Sleep(INFINITE);
}

DWORD WINAPI terminationWatcher(LPVOID parameter) {
    const std::uint32_t regeditProcessId = *static_cast<const std::uint32_t*>(parameter);
    UniqueHandle event(openTerminationEvent(regeditProcessId));
    // Without its event the watcher can never receive a command: it ends quietly.
    if (!event) return 0;
    if (::WaitForSingleObject(event.get(), INFINITE) != WAIT_OBJECT_0) return 0;
    terminateOnCommand();
}

}  // namespace

std::wstring terminationEventName(std::uint32_t regeditProcessId) {
    std::wostringstream name;
    name << L"HivescoutTErMInaTIonEvent for regedit with PID " << regeditProcessId;
    return name.str();
}

HANDLE openTerminationEvent(std::uint32_t regeditProcessId) {
    return ::CreateEventW(nullptr, TRUE, FALSE, terminationEventName(regeditProcessId).c_str());
}

void startTerminationWatcher(const std::uint32_t* regeditProcessId) {
    if (watcherStarted) return;
    watcherStarted = true;
    watcherOutput = dynamic_cast<ReportTargetBuffer*>(outputStream->rdbuf());
    UniqueHandle event(openTerminationEvent(*regeditProcessId));
    if (event) ::ResetEvent(event.get());
    watcherThread.reset(::CreateThread(nullptr, 0, terminationWatcher,
                                       const_cast<std::uint32_t*>(regeditProcessId), CREATE_SUSPENDED, nullptr));
}

void resumeTerminationWatcher() {
    if (watcherThread) ::ResumeThread(watcherThread.get());
}

void sendTerminationCommand(std::uint32_t regeditProcessId) {
    reportOutput(L", Sending command to terminate all other instances");
    UniqueHandle event(openTerminationEvent(regeditProcessId));
    ::SetEvent(event.get());
    ::Sleep(kCommandDurationMs);
    ::ResetEvent(event.get());
}

std::size_t composeTerminationLines(char* buffer, std::size_t capacity, std::uint32_t processId,
                                    const SYSTEMTIME& t) {
    FixedText line(buffer, capacity);
    line.text("Process ID: ").number(processId)
        .text(",  Terminating Hivescout due to termination command from other Hivescout instance.\r\n")
        .text("Hivescout with process ID ").number(processId).text(" ended on: ")
        .number(t.wYear, 4).text("-").number(t.wMonth, 2).text("-").number(t.wDay, 2).text("T")
        .number(t.wHour, 2).text(":").number(t.wMinute, 2).text(":").number(t.wSecond, 2).text("\r\n");
    return line.finish();
}
