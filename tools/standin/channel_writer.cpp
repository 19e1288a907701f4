#include "tools/standin/channel_writer.h"

using namespace standin;

bool ChannelWriter::open(DWORD processId) {
    const std::wstring name = kChannelNamePrefix + std::to_wstring(processId);
    const ULONGLONG size = sizeof(StandinChannel);
    mapping_.reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                        static_cast<DWORD>(size >> 32), static_cast<DWORD>(size), name.c_str()));
    if (!mapping_) return false;
    MappedView view(::MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (!view.get()) return false;
    channel_ = static_cast<StandinChannel*>(view.get());
    view_ = std::move(view);
    // A fresh mapping is zero-filled; only the identification differs.
    channel_->version = kChannelVersion;
    ::InterlockedExchange(reinterpret_cast<volatile LONG*>(&channel_->magic), static_cast<LONG>(kChannelMagic));
    return true;
}

void ChannelWriter::record(Control control, Origin origin, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!channel_) return;
    const LONG64 index = channel_->messageCount;
    if (index - channel_->clearMark >= static_cast<LONG64>(kRecordCapacity))
        ::InterlockedExchange(&channel_->recordOverflowed, 1);
    RecordedMessage& entry = channel_->record[static_cast<std::size_t>(index % kRecordCapacity)];
    entry.control = static_cast<std::uint32_t>(control);
    entry.origin = static_cast<std::uint32_t>(origin);
    entry.message = message;
    entry.reserved = 0;
    entry.wParam = static_cast<std::uint64_t>(wParam);
    entry.lParam = static_cast<std::uint64_t>(lParam);
    // The interlocked increment orders the entry before the new count for readers.
    ::InterlockedIncrement64(&channel_->messageCount);
}

ChannelWriter& channelWriter() {
    static ChannelWriter writer;
    return writer;
}
