#pragma once
#include <windows.h>

#include <string>
#include <utility>

#include "base/handle.h"
#include "tools/standin/standin_channel.h"

// Unmaps a view of a file mapping exactly once.
class MappedView {
public:
    MappedView() = default;
    explicit MappedView(void* view) noexcept : view_(view) {}
    MappedView(const MappedView&) = delete;
    MappedView& operator=(const MappedView&) = delete;
    MappedView(MappedView&& other) noexcept : view_(std::exchange(other.view_, nullptr)) {}
    MappedView& operator=(MappedView&& other) noexcept {
        if (this != &other) {
            reset();
            view_ = std::exchange(other.view_, nullptr);
        }
        return *this;
    }
    ~MappedView() { reset(); }
    void reset() noexcept {
        if (view_) ::UnmapViewOfFile(std::exchange(view_, nullptr));
    }
    void* get() const noexcept { return view_; }

private:
    void* view_ = nullptr;
};

// The stand-in's side of the channel: owns the named mapping and is its only writer.
// Used from the interface thread only.
class ChannelWriter {
public:
    bool open(DWORD processId);

    // Runs change(state) between the two steps of the state sequence counter.
    template <typename Change>
    void updateState(Change&& change) {
        if (!channel_) return;
        ::InterlockedIncrement(&channel_->stateSequence);
        change(channel_->state);
        ::InterlockedIncrement(&channel_->stateSequence);
    }

    void record(standin::Control control, standin::Origin origin, UINT message, WPARAM wParam, LPARAM lParam);

private:
    hivescout::UniqueHandle mapping_;
    MappedView view_;
    standin::StandinChannel* channel_ = nullptr;
};

// The one channel of this process.
ChannelWriter& channelWriter();
