// Game controllers: the frame, the result code in the extended error, and the
// state copied out field by field.
#include "system/controller_sys.h"

#include "core/frame.h"

using namespace zyn;

namespace {

// Every call records the platform's result in the extended error, 0 included.
int report(uint32_t code)
{
    if (code != 0)
        return frame::fail(ZYN_ERR_CALL_FAILED, 0, int32_t(code));
    core::set_error(ZYN_ERR_NONE, 0);
    return 1;
}

} // namespace

ZYN_EXPORT int ZYN_CALL zyn_xinput_isconnected(uint32_t index)
{
    return frame::full(0, [&] {
        system::sys::PadState state;
        return report(system::sys::pad_read(index, state));
    });
}

ZYN_EXPORT int ZYN_CALL zyn_xinput_vibrate(uint32_t index, uint16_t left_motor, uint16_t right_motor)
{
    return frame::full(0, [&] { return report(system::sys::pad_vibrate(index, left_motor, right_motor)); });
}

ZYN_EXPORT int ZYN_CALL zyn_xinput_getstate_bgt_compatibility(uint32_t index, uint32_t* packet, uint16_t* buttons,
                                                              uint8_t* left_trigger, uint8_t* right_trigger,
                                                              int16_t* left_x, int16_t* left_y, int16_t* right_x,
                                                              int16_t* right_y)
{
    return frame::full(0, [&] {
        system::sys::PadState state;
        if (!report(system::sys::pad_read(index, state)))
            return 0;
        // A null out-pointer is skipped rather than written through.
        auto put = [](auto* out, auto value) {
            if (out != nullptr)
                *out = value;
        };
        put(packet, state.packet);
        put(buttons, state.buttons);
        put(left_trigger, state.left_trigger);
        put(right_trigger, state.right_trigger);
        put(left_x, state.left_x);
        put(left_y, state.left_y);
        put(right_x, state.right_x);
        put(right_y, state.right_y);
        return 1;
    });
}
