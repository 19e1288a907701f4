#include "sync/termination.h"

#include <atomic>
#include <sstream>

#include "base/exit_flags.h"
#include "base/handle.h"
#include "base/report.h"
#include "base/shared_objects.h"
#include "base/report_texts.h"

namespace hivescout {

namespace {

const DWORD kCommandDurationMs = 200;
// A copy ends this long after a command at the latest, whatever its writes wait for.
const DWORD kTerminationDeadlineMs = 800;
// How long the termination lines may wait for another writer of the log file.
const DWORD kTerminationLockWaitMs = 300;

// Who ends the process: the watcher on a command, or the main flow once its exit code
// is decided. Whichever moves the state first wins; the other stands aside.
enum WatchState : int { NotStarted, Watching, Terminating, Closed };
std::atomic<int> watchState{NotStarted};

// The thread that starts the watcher, the main thread, which a command stops for good.
UniqueHandle mainThread;
UniqueHandle watcherThread;
// Ends the process when the watcher's own steps take too long.
UniqueHandle deadlineThread;
UniqueHandle deadlineEvent;
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
        if (length_ < capacity_)
            buffer_[length_++] = c;
        else
            overflow_ = true;
    }
    char* buffer_;
    std::size_t capacity_;
    std::size_t length_ = 0;
    bool overflow_ = false;
};

[[noreturn]] void endOnCommand() {
    ::TerminateProcess(::GetCurrentProcess(), exitFlags.load() | ExitFlags::TerminatedByOtherInstance);
    for (;;) ::Sleep(INFINITE);
}

// Suspending is asynchronous: asking for the thread's registers returns only once the
// thread has really stopped.
void stopMainThread() {
    if (!mainThread || ::SuspendThread(mainThread.get()) == static_cast<DWORD>(-1)) return;
    CONTEXT registers{};
    registers.ContextFlags = CONTEXT_CONTROL;
    ::GetThreadContext(mainThread.get(), &registers);
}

[[noreturn]] void terminateOnCommand() {
    ::SetEvent(deadlineEvent.get());
    stopMainThread();

    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    char lines[512];
    const std::size_t length = composeTerminationLines(lines, sizeof(lines), ownProcessId, now);
    // A main thread stopped inside the log's append lock keeps it for good: nobody else
    // can be writing then, so the lines go without it.
    const DWORD lockWaitMs = appendLockHeldInProcess() ? 0 : kTerminationLockWaitMs;
    if (watcherOutput != nullptr && length != 0) watcherOutput->writeBytes(lines, length, 0, lockWaitMs);

    // No exit-time teardown: it could wait on a lock that the suspended main thread
    // holds. Nothing of the jump is released either: the system closes its handles and
    // abandons the editor's lock, which the next waiter takes, and the blocks in the
    // editor stay there, since a message in flight may still use them.
    endOnCommand();
}

DWORD WINAPI terminationDeadline(LPVOID) {
    ::WaitForSingleObject(deadlineEvent.get(), INFINITE);
    // Woken by the main flow's close, the thread just ends before the teardown runs.
    if (watchState.load() != Terminating) return 0;
    ::Sleep(kTerminationDeadlineMs);
    endOnCommand();
}

DWORD WINAPI terminationWatcher(LPVOID parameter) {
    const auto regeditProcessId = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(parameter));
    UniqueHandle event(openTerminationEvent(regeditProcessId));
    // Without its event the watcher can never receive a command: it ends quietly.
    if (!event) return 0;
    if (::WaitForSingleObject(event.get(), INFINITE) != WAIT_OBJECT_0) return 0;
    int watching = Watching;
    // A command that comes after the exit code was decided changes nothing.
    if (!watchState.compare_exchange_strong(watching, Terminating)) return 0;
    terminateOnCommand();
}

}  // namespace

HANDLE openTerminationEvent(std::uint32_t regeditProcessId) {
    return ::CreateEventW(nullptr, TRUE, FALSE, terminationEventName(regeditProcessId).c_str());
}

void startTerminationWatcher(std::uint32_t regeditProcessId) {
    if (watchState.load() != NotStarted) return;
    watcherOutput = dynamic_cast<ReportTargetBuffer*>(outputStream->rdbuf());
    mainThread.reset(::OpenThread(THREAD_ALL_ACCESS, FALSE, ::GetCurrentThreadId()));
    UniqueHandle event(openTerminationEvent(regeditProcessId));
    if (event) ::ResetEvent(event.get());
    // Both threads exist before any command can come: creating a thread then could wait
    // on a lock of the suspended main thread.
    deadlineEvent.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (deadlineEvent) deadlineThread.reset(::CreateThread(nullptr, 0, terminationDeadline, nullptr, 0, nullptr));
    watcherThread.reset(::CreateThread(nullptr, 0, terminationWatcher,
                                       reinterpret_cast<LPVOID>(static_cast<std::uintptr_t>(regeditProcessId)),
                                       CREATE_SUSPENDED, nullptr));
    watchState = Watching;
}

void resumeTerminationWatcher() {
    if (watcherThread) ::ResumeThread(watcherThread.get());
}

void closeTerminationWatcher() {
    int watching = Watching;
    if (watchState.compare_exchange_strong(watching, Closed)) {
        // The deadline thread ends before the teardown closes the event it waits on.
        ::SetEvent(deadlineEvent.get());
        if (deadlineThread) ::WaitForSingleObject(deadlineThread.get(), kTerminationDeadlineMs);
        return;
    }
    // The watcher is ending the process and will stop this thread; never run on into
    // the exit-time teardown under its feet.
    if (watching == Terminating && deadlineThread)
        ::WaitForSingleObject(deadlineThread.get(), 2 * kTerminationDeadlineMs);
}

void sendTerminationCommand(std::uint32_t regeditProcessId) {
    reportOutput(text::kSendingTermination);
    UniqueHandle event(openTerminationEvent(regeditProcessId));
    ::SetEvent(event.get());
    ::Sleep(kCommandDurationMs);
    ::ResetEvent(event.get());
}

std::size_t composeTerminationLines(char* buffer, std::size_t capacity, std::uint32_t processId, const SYSTEMTIME& t) {
    FixedText line(buffer, capacity);
    line.text(text::kTerminatedPrefix)
        .number(processId)
        .text(text::kTerminated)
        .text(text::kTerminatedEndedProcess)
        .number(processId)
        .text(text::kTerminatedEndedOn)
        .number(t.wYear, 4)
        .text("-")
        .number(t.wMonth, 2)
        .text("-")
        .number(t.wDay, 2)
        .text("T")
        .number(t.wHour, 2)
        .text(":")
        .number(t.wMinute, 2)
        .text(":")
        .number(t.wSecond, 2)
        .text("\r\n");
    return line.finish();
}

}  // namespace hivescout
