// Game controllers through XInput 9.1.0 (xinput9_1_0.dll, linked directly: it
// ships with every Windows since Vista).
#include "system/controller_sys.h"

#include <windows.h>
#include <xinput.h>

namespace zyn::system::sys {

uint32_t pad_read(uint32_t index, PadState& state)
{
    XINPUT_STATE raw;
    ZeroMemory(&raw, sizeof raw);
    const DWORD result = XInputGetState(index, &raw);
    if (result == ERROR_SUCCESS) {
        state.packet = raw.dwPacketNumber;
        state.buttons = raw.Gamepad.wButtons;
        state.left_trigger = raw.Gamepad.bLeftTrigger;
        state.right_trigger = raw.Gamepad.bRightTrigger;
        state.left_x = raw.Gamepad.sThumbLX;
        state.left_y = raw.Gamepad.sThumbLY;
        state.right_x = raw.Gamepad.sThumbRX;
        state.right_y = raw.Gamepad.sThumbRY;
    }
    return result;
}

uint32_t pad_vibrate(uint32_t index, uint16_t left_motor, uint16_t right_motor)
{
    XINPUT_VIBRATION vibration;
    vibration.wLeftMotorSpeed = left_motor;
    vibration.wRightMotorSpeed = right_motor;
    return XInputSetState(index, &vibration);
}

} // namespace zyn::system::sys
