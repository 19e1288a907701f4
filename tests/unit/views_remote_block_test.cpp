// The block owner, tried on this process's own memory, where nothing else allocates.
#include <gtest/gtest.h>
#include <windows.h>

#include "views/remote_block.h"

using namespace hivescout;

namespace {

DWORD stateOf(void* address) {
    MEMORY_BASIC_INFORMATION info{};
    ::VirtualQuery(address, &info, sizeof(info));
    return info.State;
}

}  // namespace

TEST(RemoteBlock, AllocatesOnceAndReusesTheBlockForTheSameProcess) {
    RemoteBlock block;
    ASSERT_TRUE(block.allocate(::GetCurrentProcess(), 80));
    void* const first = block.address();
    EXPECT_EQ(static_cast<DWORD>(MEM_COMMIT), stateOf(first));
    ASSERT_TRUE(block.allocate(::GetCurrentProcess(), 80));
    EXPECT_EQ(first, block.address());
    block.release();
    EXPECT_FALSE(block.held());
    EXPECT_EQ(static_cast<DWORD>(MEM_FREE), stateOf(first));
    block.release();  // a second release finds nothing
}

TEST(RemoteBlock, ADifferentSizeReplacesTheBlock) {
    RemoteBlock block;
    ASSERT_TRUE(block.allocate(::GetCurrentProcess(), 72));
    void* const first = block.address();
    ASSERT_TRUE(block.allocate(::GetCurrentProcess(), 40962));
    // The old block is gone (its pages may well be handed out again for the new one).
    if (block.address() != first) {
        EXPECT_EQ(static_cast<DWORD>(MEM_FREE), stateOf(first));
    }
    MEMORY_BASIC_INFORMATION info{};
    ::VirtualQuery(block.address(), &info, sizeof(info));
    EXPECT_EQ(static_cast<DWORD>(MEM_COMMIT), info.State);
    EXPECT_GE(info.RegionSize, 40962u);
}

TEST(RemoteBlock, TheDestructorFreesWhatIsHeld) {
    void* address = nullptr;
    {
        RemoteBlock block;
        ASSERT_TRUE(block.allocate(::GetCurrentProcess(), 4096));
        address = block.address();
    }
    EXPECT_EQ(static_cast<DWORD>(MEM_FREE), stateOf(address));
}

TEST(RemoteBlock, AnAbandonedBlockIsNeverFreed) {
    RemoteBlock block;
    ASSERT_TRUE(block.allocate(::GetCurrentProcess(), 4096));
    void* const address = block.address();
    block.abandon();
    block.release();
    EXPECT_EQ(static_cast<DWORD>(MEM_COMMIT), stateOf(address));
    ::VirtualFree(address, 0, MEM_RELEASE);
}

TEST(RemoteBlock, AFailedAllocationHoldsNothing) {
    RemoteBlock block;
    EXPECT_FALSE(block.allocate(nullptr, 80));
    EXPECT_FALSE(block.held());
}
