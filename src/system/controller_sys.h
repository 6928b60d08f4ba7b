// The platform's game controllers in XInput's layout.
#pragma once

#include <cstdint>

namespace zyn::system::sys {

// XInput's results for a pad that is not there and for an index above 3.
constexpr uint32_t kDeviceNotConnected = 1167;
constexpr uint32_t kBadArguments = 160;

// One reading: XInput's packet number and gamepad fields, unscaled.
struct PadState {
    uint32_t packet = 0;
    uint16_t buttons = 0;
    uint8_t left_trigger = 0;
    uint8_t right_trigger = 0;
    int16_t left_x = 0;
    int16_t left_y = 0;
    int16_t right_x = 0;
    int16_t right_y = 0;
};

// Both return 0 or XInput's (or an equivalent) system error code.
uint32_t pad_read(uint32_t index, PadState& state);
uint32_t pad_vibrate(uint32_t index, uint16_t left_motor, uint16_t right_motor);

} // namespace zyn::system::sys
