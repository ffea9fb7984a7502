// The SDL joystick service: its mapping, and the real service reading virtual
// devices that SDL's own joystick driver runs as if they were plugged in.
#include "platform/sdl/sdl_joystick.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <tuple>
#include <vector>

#include "app/app.h"
#include "platform/headless/headless_services.h"

namespace bd::platform {
namespace {

constexpr uint32_t kMid = 32768;  // a centred axis, as SDL's 0 maps
using Xyb = std::tuple<uint32_t, uint32_t, uint32_t>;

TEST(JoystickMapping, AxesAndButtons) {
  EXPECT_EQ(AxisToUnsigned(-32768), 0u);
  EXPECT_EQ(AxisToUnsigned(0), 32768u);
  EXPECT_EQ(AxisToUnsigned(32767), 65535u);

  const std::array<uint8_t, 3> first{1, 0, 0}, second{0, 1, 0}, both{1, 1, 0};
  EXPECT_EQ(ButtonWord(first), 1u);
  EXPECT_EQ(ButtonWord(second), 2u);
  EXPECT_EQ(ButtonWord(both), 3u);
  std::array<uint8_t, 40> many;
  many.fill(1);  // buttons past the 32nd are dropped, not shifted out of range
  EXPECT_EQ(ButtonWord(many), 0xFFFFFFFFu);
}

TEST(SdlJoystickLifetime, HoldsSdlOnlyWhileItLives) {
  ASSERT_EQ(SDL_WasInit(SDL_INIT_JOYSTICK), 0u);
  {
    SdlJoystick stick;
    EXPECT_NE(SDL_WasInit(SDL_INIT_GAMECONTROLLER), 0u) << SDL_GetError();
  }
  EXPECT_EQ(SDL_WasInit(SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK | SDL_INIT_EVENTS), 0u);
}

// The service under test and virtual devices it finds in SDL's list. The
// fixture holds SDL's subsystems itself, so the devices outlive the service.
// The test holds a handle on the device attached last only, which its
// helpers act on.
class SdlJoystickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a real joystick is plugged in and takes the first place";
  }
  void TearDown() override {
    while (!plugged_.empty()) Unplug(plugged_.back());
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  }

  // A device with no mapping: read raw.
  SDL_JoystickID Attach(int axes) {
    return Plug(SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, axes, 4, 0));
  }
  // A pad whose mapping puts its left stick, face buttons and D-pad where a
  // raw reading does not look: raw axes 0 and 1 are the right stick, raw
  // buttons 0 and 1 are Start and X.
  SDL_JoystickID AttachPad() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
    desc.naxes = 4, desc.nbuttons = 4, desc.nhats = 1;
    desc.vendor_id = 0x1234, desc.product_id = 0x5678;  // the mapping is found by vendor and product
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    char guid[33] = "";
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
    // The closing comma matters: SDL 2.26 appends the name's checksum to the
    // last field when the mapping ends without one.
    char mapping[256];
    std::snprintf(mapping, sizeof mapping,
                  "%s,Test pad,a:b3,b:b2,start:b0,x:b1,leftx:a2,lefty:a3,rightx:a0,righty:a1,"
                  "dpup:h0.1,dpright:h0.2,dpdown:h0.4,dpleft:h0.8,",
                  guid);
    EXPECT_GE(SDL_GameControllerAddMapping(mapping), 0) << SDL_GetError();
    return Plug(index);
  }
  SDL_JoystickID Plug(int index) {
    EXPECT_GE(index, 0) << SDL_GetError();
    Release();
    device_ = SDL_JoystickOpen(index);
    EXPECT_NE(device_, nullptr) << SDL_GetError();
    plugged_.push_back(SDL_JoystickGetDeviceInstanceID(index));
    return plugged_.back();
  }
  // Closes the test's handle; the device stays attached.
  void Release() {
    if (device_) SDL_JoystickClose(device_);
    device_ = nullptr;
  }
  void Unplug(SDL_JoystickID id) {
    if (device_ && SDL_JoystickInstanceID(device_) == id) Release();
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
    std::erase(plugged_, id);
  }

  void Axis(int axis, int16_t value) { ASSERT_EQ(SDL_JoystickSetVirtualAxis(device_, axis, value), 0); }
  void Axes(int16_t x, int16_t y, int16_t z = 0) {
    const int16_t values[] = {x, y, z};
    for (int axis = 0; axis < SDL_JoystickNumAxes(device_); ++axis) Axis(axis, values[axis]);
  }
  void Button(int button, bool down) { ASSERT_EQ(SDL_JoystickSetVirtualButton(device_, button, down), 0); }
  void Hat(uint8_t value) { ASSERT_EQ(SDL_JoystickSetVirtualHat(device_, 0, value), 0); }
  JoyPos Poll() {
    JoyPos pos;
    EXPECT_TRUE(stick.GetPos(pos));
    return pos;
  }
  Xyb Read() {
    const JoyPos pos = Poll();
    return {pos.x, pos.y, pos.buttons};
  }

  SdlJoystick stick;
  JoyCaps caps;
  SDL_Joystick* device_ = nullptr;
  std::vector<SDL_JoystickID> plugged_;
};

// A device SDL has no mapping for: axes 0 to 2 and every button, raw.
class SdlJoystickRaw : public SdlJoystickTest {};

TEST_F(SdlJoystickRaw, AxesAndButtonsAreReadOntoTheUnsignedRange) {
  Attach(3);
  ASSERT_TRUE(stick.GetCaps(caps));
  EXPECT_TRUE(caps.x_min == 0 && caps.x_max == 65535 && caps.y_min == 0 && caps.y_max == 65535);

  Axes(-32768, 32767, 0);
  JoyPos pos = Poll();
  EXPECT_TRUE(pos.x == 0 && pos.y == 65535 && pos.z == 32768) << pos.x << " " << pos.y << " " << pos.z;
  Axes(32767, 0, -32768);
  pos = Poll();
  EXPECT_TRUE(pos.x == 65535 && pos.y == 32768 && pos.z == 0) << pos.x << " " << pos.y << " " << pos.z;

  EXPECT_EQ(Poll().buttons, 0u);
  Button(0, true);
  EXPECT_EQ(Poll().buttons, 1u);
  Button(1, true);
  EXPECT_EQ(Poll().buttons, 3u);
  Button(0, false);
  EXPECT_EQ(Poll().buttons, 2u);
}

TEST_F(SdlJoystickRaw, ThirdAxisReadsZeroOnATwoAxisDevice) {
  Attach(2);
  Axes(32767, -32768);
  const JoyPos pos = Poll();
  EXPECT_TRUE(pos.x == 65535 && pos.y == 0 && pos.z == 0) << pos.x << " " << pos.y << " " << pos.z;
}

// A pad read through its mapping, whatever its raw numbering.
class SdlGamepad : public SdlJoystickTest {};

TEST_F(SdlGamepad, LeftStickSteersNotTheRawFirstAxes) {
  AttachPad();
  Axis(0, 32767), Axis(1, 32767);  // the right stick, pushed: steers nothing
  Axis(2, -32768), Axis(3, -32768);
  EXPECT_EQ(Read(), Xyb(0, 0, 0));
  Axis(2, 32767), Axis(3, 0);
  EXPECT_EQ(Read(), Xyb(65535, kMid, 0));
}

TEST_F(SdlGamepad, SouthIsButtonOneEastIsButtonTwoAndNoOtherButtonCounts) {
  AttachPad();
  Button(0, true), Button(1, true);  // Start and X held throughout
  EXPECT_EQ(Read(), Xyb(kMid, kMid, 0));
  Button(3, true);
  EXPECT_EQ(Read(), Xyb(kMid, kMid, 1));
  Button(2, true);
  EXPECT_EQ(Read(), Xyb(kMid, kMid, 3));
  Button(3, false);
  EXPECT_EQ(Read(), Xyb(kMid, kMid, 2));
}

TEST_F(SdlGamepad, DpadSteersAndWinsOverTheStickOnItsAxis) {
  AttachPad();
  Hat(SDL_HAT_LEFTUP);
  EXPECT_EQ(Read(), Xyb(0, 0, 0));
  Axis(2, -32768), Axis(3, -32768);  // stick up-left against a D-pad down-right
  Hat(SDL_HAT_RIGHTDOWN);
  EXPECT_EQ(Read(), Xyb(65535, 65535, 0));
  Hat(SDL_HAT_DOWN);  // the stick has the x axis back
  EXPECT_EQ(Read(), Xyb(0, 65535, 0));
  Axis(2, 0);
  Hat(SDL_HAT_LEFT | SDL_HAT_RIGHT);  // opposite directions say nothing
  EXPECT_EQ(Read(), Xyb(kMid, 0, 0));
}

// Devices that come and go while the game runs.
class SdlJoystickHotPlug : public SdlJoystickTest {};

TEST_F(SdlJoystickHotPlug, UnpluggedPadLetsGoAndWorksWhenPluggedBack) {
  const SDL_JoystickID pad = AttachPad();
  Hat(SDL_HAT_LEFT), Button(3, true);
  EXPECT_EQ(Read(), Xyb(0, kMid, 1));
  Unplug(pad);
  EXPECT_EQ(Read(), Xyb(kMid, kMid, 0));
  EXPECT_EQ(Read(), Xyb(kMid, kMid, 0));
  AttachPad();
  Hat(SDL_HAT_DOWN), Button(2, true);
  EXPECT_EQ(Read(), Xyb(kMid, 65535, 2));
}

TEST_F(SdlJoystickHotPlug, RemainingDeviceTakesOverWhenTheOpenOneIsUnplugged) {
  const SDL_JoystickID first = Attach(2);
  Axes(-32768, 0);
  EXPECT_EQ(Read(), Xyb(0, kMid, 0));
  AttachPad();
  Hat(SDL_HAT_RIGHT);
  EXPECT_EQ(Read(), Xyb(0, kMid, 0));  // the first device keeps its place
  Unplug(first);
  EXPECT_EQ(Read(), Xyb(65535, kMid, 0));
}

// The real service under the core.
class SdlJoystickUnderTheCore : public SdlJoystickTest {
 protected:
  HeadlessServices headless;
  TApp app{Services{headless.window, headless.timers, headless.dialogs, headless.audio, stick, headless.clock,
                    headless.files}};
};

// A stick plugged in after start-up moves the title cursor, button 1
// confirms, the dead zone's edge lies where the mapping puts it, and pulling
// the stick out lets go of a held direction and dig.
TEST_F(SdlJoystickUnderTheCore, StickPluggedInAfterStartUpPlaysAndLetsGoWhenPulled) {
  app.Startup();
  ASSERT_EQ(app.joy.JoyPresent, 1);
  EXPECT_EQ(app.joy.JoyUpLimit, 21845u);
  EXPECT_EQ(app.joy.JoyDownLimit, 43690u);
  app.PollJoystick();  // nothing attached yet
  const SDL_JoystickID device = Attach(3);

  Axes(0, 32767);
  app.PollJoystick();
  EXPECT_EQ(app.TitleChoice, 2);
  Axes(0, -32768);
  app.PollJoystick();
  EXPECT_EQ(app.TitleChoice, 1);
  Axes(0, 0);
  Button(0, true);
  app.PollJoystick();
  EXPECT_EQ(app.GameMode, gmGame);

  Axes(-10924, 0);  // 21844: just past the left limit
  app.PollJoystick();
  EXPECT_EQ(app.joy.JoyLeft, 1);
  Axes(-10923, 0);  // 21845: on it, still in the dead zone
  app.PollJoystick();
  EXPECT_EQ(app.joy.JoyLeft, 0);

  Axes(-32768, 0);
  app.PollJoystick();
  ASSERT_TRUE(app.joy.JoyLeft == 1 && app.joy.JoyDigLeft == 1);
  Unplug(device);
  app.PollJoystick();
  EXPECT_TRUE(app.joy.JoyLeft == 0 && app.joy.JoyDigLeft == 0);
}

}  // namespace
}  // namespace bd::platform
