// Game controllers: connection, state in XInput's layout, the packet number
// and the motors. Linux attaches SDL's virtual pad; under Wine no pad is attached.
#include <zyn/zyn.h>

#if !defined(_WIN32)
#  include "support/system_virtual_pad.h"
#  include <SDL2/SDL_gamecontroller.h>
#endif

#include "support/loaded_library.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr int kNotConnected = 1167;
constexpr int kBadArguments = 160;

class Controllers : public test::LoadedLibrary {};

struct Reading {
    uint32_t packet = 0xAAAAAAAA;
    uint16_t buttons = 0xAAAA;
    uint8_t left_trigger = 0xAA, right_trigger = 0xAA;
    int16_t lx = 0x2AAA, ly = 0x2AAA, rx = 0x2AAA, ry = 0x2AAA;

    int read(uint32_t index)
    {
        return zyn_xinput_getstate_bgt_compatibility(index, &packet, &buttons, &left_trigger, &right_trigger, &lx, &ly,
                                                     &rx, &ry);
    }
    bool untouched() const
    {
        return packet == 0xAAAAAAAA && buttons == 0xAAAA && left_trigger == 0xAA && right_trigger == 0xAA &&
               lx == 0x2AAA && ly == 0x2AAA && rx == 0x2AAA && ry == 0x2AAA;
    }
};

TEST_F(Controllers, AbsentPadsAndBadIndexes)
{
    // No pad at index 3 (the test attaches none there), none at all under Wine.
    for (uint32_t index : {3u}) {
        EXPECT_EQ(zyn_xinput_isconnected(index), 0);
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_CALL_FAILED);
        EXPECT_EQ(zyn_get_extendederror(), kNotConnected);
        Reading r;
        EXPECT_EQ(r.read(index), 0);
        EXPECT_EQ(zyn_get_extendederror(), kNotConnected);
        EXPECT_TRUE(r.untouched());
        EXPECT_EQ(zyn_xinput_vibrate(index, 65535, 0), 0);
        EXPECT_EQ(zyn_get_extendederror(), kNotConnected);
    }
    for (uint32_t index : {4u, 7u, 0xFFFFFFFFu}) {
        EXPECT_EQ(zyn_xinput_isconnected(index), 0);
        EXPECT_EQ(zyn_geterror(), ZYN_ERR_CALL_FAILED);
        EXPECT_EQ(zyn_get_extendederror(), kBadArguments);
        Reading r;
        EXPECT_EQ(r.read(index), 0);
        EXPECT_TRUE(r.untouched());
    }
}

TEST_F(Controllers, NeedTheLibraryLoaded)
{
    zyn_unload();
    Reading r;
    EXPECT_EQ(zyn_xinput_isconnected(0), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_EQ(zyn_get_extendederror(), 0);
    EXPECT_EQ(r.read(0), 0);
    EXPECT_EQ(zyn_xinput_vibrate(0, 1, 1), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_NOT_LOADED);
    EXPECT_TRUE(r.untouched());
}

#if !defined(_WIN32)
TEST_F(Controllers, VirtualPadReadsInXInputLayout)
{
    {
        test::VirtualPad pad;
        ASSERT_TRUE(pad.attached());
        EXPECT_EQ(zyn_xinput_isconnected(0), 1);
        EXPECT_EQ(zyn_geterror(), 0);
        EXPECT_EQ(zyn_get_extendederror(), 0);

        // At rest: nothing pressed, triggers 0, sticks centred.
        pad.set_axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
        pad.set_axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
        Reading rest;
        ASSERT_EQ(rest.read(0), 1);
        EXPECT_EQ(rest.buttons, 0);
        EXPECT_EQ(rest.left_trigger, 0);
        EXPECT_EQ(rest.right_trigger, 0);
        EXPECT_LE(std::abs(rest.lx), 1);
        EXPECT_LE(std::abs(rest.ly), 1);

        // An unchanged pad keeps its packet number.
        Reading again;
        ASSERT_EQ(again.read(0), 1);
        EXPECT_EQ(again.packet, rest.packet);

        // Buttons land on XInput's bits; the left stick up and left, the right trigger full.
        pad.set_button(SDL_CONTROLLER_BUTTON_A, true);
        pad.set_button(SDL_CONTROLLER_BUTTON_Y, true);
        pad.set_button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
        pad.set_button(SDL_CONTROLLER_BUTTON_START, true);
        pad.set_button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
        pad.set_axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
        pad.set_axis(SDL_CONTROLLER_AXIS_LEFTY, -32768); // SDL: up is negative
        pad.set_axis(SDL_CONTROLLER_AXIS_RIGHTY, 32767);
        pad.set_axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
        Reading moved;
        ASSERT_EQ(moved.read(0), 1);
        EXPECT_EQ(moved.buttons, 0x1000 | 0x8000 | 0x0004 | 0x0010 | 0x0200);
        EXPECT_EQ(moved.lx, -32768);
        EXPECT_EQ(moved.ly, 32767); // XInput: up is positive
        EXPECT_LE(moved.ry, -32767);
        EXPECT_EQ(moved.right_trigger, 255);
        EXPECT_EQ(moved.left_trigger, 0);
        EXPECT_NE(moved.packet, rest.packet);

        // Motors: left is SDL's low-frequency one; speeds stay until changed.
        EXPECT_EQ(zyn_xinput_vibrate(0, 65535, 0), 1);
        EXPECT_EQ(zyn_geterror(), 0);
        EXPECT_EQ(pad.low_motor(), 65535);
        EXPECT_EQ(pad.high_motor(), 0);
        Reading after;
        ASSERT_EQ(after.read(0), 1); // an update in between does not stop the motor
        EXPECT_EQ(after.packet, moved.packet);
        EXPECT_EQ(pad.low_motor(), 65535);
        EXPECT_EQ(zyn_xinput_vibrate(0, 0, 0), 1);
        EXPECT_EQ(pad.low_motor(), 0);
        EXPECT_EQ(pad.high_motor(), 0);

        EXPECT_EQ(zyn_xinput_isconnected(1), 0);
        EXPECT_EQ(zyn_get_extendederror(), kNotConnected);
    }
    // Detached: not connected any more.
    EXPECT_EQ(zyn_xinput_isconnected(0), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_CALL_FAILED);
    EXPECT_EQ(zyn_get_extendederror(), kNotConnected);
}

TEST_F(Controllers, GameShuttingSdlDownFreesItsPads)
{
    // SDL frees the pad the library holds, which must then be neither used nor closed
    // (valgrind sees it; ASan cannot look into SDL); the library starts SDL again.
    for (auto how : {test::SdlShutdown::Quit, test::SdlShutdown::QuitSubsystem, test::SdlShutdown::QuitAndRestart}) {
        test::VirtualPad pad;
        ASSERT_TRUE(pad.attached());
        ASSERT_EQ(zyn_xinput_isconnected(0), 1);
        test::shut_down_sdl(how);
        EXPECT_EQ(zyn_xinput_isconnected(0), 0) << int(how);
        EXPECT_EQ(zyn_get_extendederror(), kNotConnected);
        EXPECT_TRUE(test::sdl_running()) << int(how);
        test::VirtualPad again;
        EXPECT_EQ(zyn_xinput_isconnected(0), 1) << int(how);
    }
}
#else
TEST_F(Controllers, NoPadUnderWine)
{
    EXPECT_EQ(zyn_xinput_isconnected(0), 0);
    EXPECT_EQ(zyn_geterror(), ZYN_ERR_CALL_FAILED);
    EXPECT_EQ(zyn_get_extendederror(), kNotConnected);
}
#endif

} // namespace
