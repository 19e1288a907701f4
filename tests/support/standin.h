#pragma once
// The registry editor stand-in on the test bench: installing it as the prefix's
// regedit.exe, starting and stopping it, ending every editor between tests, and reading
// what it publishes (tools/standin/standin_channel.h): its state and the ordered record
// of the messages its tree, list and header received.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "base/handle.h"
#include "tests/support/process_runner.h"
#include "tools/standin/standin_channel.h"

// Where the build puts the stand-in: next to the test program, in "standin".
std::wstring standinBuildPath();
// The prefix's editor, <Windows directory>\regedit.exe, which every start of regedit.exe runs.
std::wstring installedEditorPath();
// Copies the stand-in over the installed editor unless it is there already.
bool installStandin();

// Process IDs of every running regedit.exe, in snapshot order.
std::vector<DWORD> runningEditorIds();
// Ends every running regedit.exe and waits for the ends. True when none is left.
bool killAllEditors(DWORD timeoutMs = 5000);

// One recorded message. Equality ignores the origin, so expected sequences can be written
// as {control, message, wParam, lParam}.
struct StandinMessage {
    standin::Control control = standin::Control::Tree;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    standin::Origin origin = standin::Origin::OtherThread;
};
bool operator==(const StandinMessage& left, const StandinMessage& right);
inline bool operator!=(const StandinMessage& left, const StandinMessage& right) { return !(left == right); }
void PrintTo(const StandinMessage& message, std::ostream* out);  // for GoogleTest's messages

// Messages a control gets from the system and its own drawing, whatever drives it:
// painting, hit-testing, cursor, timers, focus and window-position chatter, and so on.
bool isNoiseMessage(UINT message);
std::vector<StandinMessage> withoutNoise(const std::vector<StandinMessage>& messages);
// Only the messages another thread or process sent (what a driving program sent).
std::vector<StandinMessage> fromOtherThreads(const std::vector<StandinMessage>& messages);
// Only what another process sent, and only the messages that drive the views: item
// queries, selection, expansion, the state change, scrolling and the mouse and key messages.
std::vector<StandinMessage> drivingMessages(const std::vector<StandinMessage>& messages);
std::vector<StandinMessage> forControl(const std::vector<StandinMessage>& messages, standin::Control control);

// A copy of a stand-in's published state.
struct StandinState {
    bool ready = false;
    HWND mainWindow = nullptr;
    HWND tree = nullptr;
    HWND list = nullptr;
    HWND header = nullptr;
};

// Reads the channel of one stand-in process, started by the test or by anyone else.
// Holding it keeps the channel readable after the stand-in has ended.
class StandinObserver {
public:
    StandinObserver() = default;
    StandinObserver(const StandinObserver&) = delete;
    StandinObserver& operator=(const StandinObserver&) = delete;
    ~StandinObserver();

    // Opens the channel of the process, waiting up to timeoutMs for it to appear.
    bool attach(DWORD processId, DWORD timeoutMs = 5000);
    bool attached() const { return channel_ != nullptr; }

    StandinState state() const;
    // Waits until the condition holds for the state (polled every 10 ms).
    bool waitFor(const std::function<bool(const StandinState&)>& condition, DWORD timeoutMs) const;

    // The messages recorded since the last clear, oldest first.
    std::vector<StandinMessage> messages() const;
    void clearMessages();
    // True when more messages came since the last clear than the record holds.
    bool recordOverflowed() const;

private:
    hivescout::UniqueHandle mapping_;
    standin::StandinChannel* channel_ = nullptr;
};

// Live facts about a window, asked from the test process.
bool isForegroundWindow(HWND window);
bool isMinimizedWindow(HWND window);

struct StandinOptions {
    std::map<std::wstring, std::wstring> knobs;  // standin::knob names to values
    bool waitUntilReady = true;                  // wait for the main window and its controls
    DWORD readyTimeoutMs = 10000;
};

// Options with the given knobs and everything else as usual.
inline StandinOptions withKnobs(std::map<std::wstring, std::wstring> knobs) {
    StandinOptions options;
    options.knobs = std::move(knobs);
    return options;
}

// A stand-in started by the test and ended with the object (or by stop()).
class Standin {
public:
    explicit Standin(const StandinOptions& options = {});
    Standin(const Standin&) = delete;
    Standin& operator=(const Standin&) = delete;

    bool started() const { return process_.started(); }
    // True once the main window with its controls exists (and the stand-in still runs).
    bool ready() const;
    bool waitUntilReady(DWORD timeoutMs);
    DWORD processId() const { return process_.processId(); }
    HANDLE process() const { return process_.handle(); }
    bool hasEnded(DWORD waitMs = 0) const;
    void stop();

    StandinObserver& observer() { return observer_; }
    const StandinObserver& observer() const { return observer_; }
    StandinState state() const { return observer_.state(); }

private:
    RunningProcess process_;
    StandinObserver observer_;
};

// Installs the stand-in and starts count of them one after the other, each ready.
std::vector<std::unique_ptr<Standin>> startStandins(unsigned count, const StandinOptions& options = {});
