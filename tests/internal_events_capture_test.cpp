// The mapping from an application-command message to a media code, on every
// platform: the table, the device bits and the single waiting slot.
#include "events/capture.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

namespace {

using namespace zyn::events;

uintptr_t message_param(uint32_t command, uint32_t device = 0) { return uintptr_t((command | device) << 16); }

TEST(MediaCode, CommandsMapThroughTheTable)
{
    EXPECT_EQ(media_code(11), ZYN_MEDIA_NEXT_TRACK);
    EXPECT_EQ(media_code(12), ZYN_MEDIA_PREVIOUS_TRACK);
    EXPECT_EQ(media_code(14), ZYN_MEDIA_PLAY_PAUSE);
    EXPECT_EQ(media_code(10), ZYN_MEDIA_VOLUME_UP);
    EXPECT_EQ(media_code(9), ZYN_MEDIA_VOLUME_DOWN);
    for (uint32_t other : {0u, 1u, 8u, 13u, 15u, 0x0fffu, 0xffffu})
        EXPECT_EQ(media_code(other), ZYN_MEDIA_NONE) << other;
}

TEST(MediaCode, TheWaitingCodeIsTakenOnce)
{
    take_pending();
    // The top four bits of the high word name the device and are ignored;
    // the low word is not part of the command either.
    record_app_command(message_param(10, 0x8000) | 0x1234);
    EXPECT_EQ(take_pending(), ZYN_MEDIA_VOLUME_UP);
    EXPECT_EQ(take_pending(), ZYN_MEDIA_NONE);
    record_app_command(message_param(9, 0x1000));
    record_app_command(message_param(14));
    EXPECT_EQ(take_pending(), ZYN_MEDIA_PLAY_PAUSE);
    record_app_command(message_param(11));
    record_app_command(message_param(1)); // unmapped: discards the waiting code
    EXPECT_EQ(take_pending(), ZYN_MEDIA_NONE);
    // Bits 28 to 31 set on a command that would otherwise be unknown.
    record_app_command(message_param(12, 0xf000));
    EXPECT_EQ(take_pending(), ZYN_MEDIA_PREVIOUS_TRACK);
}

} // namespace
