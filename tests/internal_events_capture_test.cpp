// The media code of an application-command message on every platform: the
// table, the device bits and the single waiting slot.
#include "events/capture.h"

#include <zyn/zyn.h>

#include <gtest/gtest.h>

namespace {

using namespace zyn::events;

TEST(MediaCode, CommandBitsMapThroughTheTableIntoOneWaitingSlot)
{
    const int codes[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, ZYN_MEDIA_VOLUME_DOWN, ZYN_MEDIA_VOLUME_UP,
                           ZYN_MEDIA_NEXT_TRACK, ZYN_MEDIA_PREVIOUS_TRACK, 0, ZYN_MEDIA_PLAY_PAUSE, 0};
    take_pending();
    for (uint32_t command = 0; command < 16; ++command)
        for (uint32_t device : {0u, 0x1000u, 0x8000u, 0xf000u}) {
            // The top four bits of the high word name the device; the low word is no part of the command.
            record_app_command(uintptr_t((command | device) << 16) | 0x1234);
            EXPECT_EQ(take_pending(), codes[command]) << command << " " << device;
            EXPECT_EQ(take_pending(), ZYN_MEDIA_NONE);
        }
    record_app_command(uintptr_t(9) << 16);
    record_app_command(uintptr_t(14) << 16);
    EXPECT_EQ(take_pending(), ZYN_MEDIA_PLAY_PAUSE); // the last one counts
    record_app_command(uintptr_t(11) << 16);
    record_app_command(uintptr_t(1) << 16); // an unmapped one discards the waiting code
    EXPECT_EQ(take_pending(), ZYN_MEDIA_NONE);
}

} // namespace
