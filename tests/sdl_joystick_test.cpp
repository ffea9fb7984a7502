// The SDL joystick service: its mapping, and the real service reading a
// virtual device that SDL's own joystick driver runs as if it were plugged in.
#include "platform/sdl/sdl_joystick.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <array>

#include "app/app.h"
#include "platform/headless/headless_services.h"

namespace bd::platform {
namespace {

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
    EXPECT_NE(SDL_WasInit(SDL_INIT_JOYSTICK), 0u) << SDL_GetError();
  }
  EXPECT_EQ(SDL_WasInit(SDL_INIT_JOYSTICK | SDL_INIT_EVENTS), 0u);
}

// The service under test and a virtual device in the first place. The fixture
// holds SDL's joystick subsystem itself, so the device outlives the service.
class SdlJoystickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a real joystick is plugged in and takes the first place";
  }
  void TearDown() override {
    Detach();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }

  void Attach(int axes) {
    index_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, axes, 4, 0);
    ASSERT_EQ(index_, 0) << SDL_GetError();
    device_ = SDL_JoystickOpen(index_);
    ASSERT_NE(device_, nullptr) << SDL_GetError();
  }
  void Detach() {
    if (device_) SDL_JoystickClose(device_);
    if (index_ >= 0) SDL_JoystickDetachVirtual(index_);
    device_ = nullptr;
    index_ = -1;
  }
  void Axes(int16_t x, int16_t y, int16_t z = 0) {
    const int16_t values[] = {x, y, z};
    for (int axis = 0; axis < SDL_JoystickNumAxes(device_); ++axis)
      ASSERT_EQ(SDL_JoystickSetVirtualAxis(device_, axis, values[axis]), 0) << SDL_GetError();
  }
  void Button(int button, bool down) { ASSERT_EQ(SDL_JoystickSetVirtualButton(device_, button, down), 0); }
  JoyPos Poll() {
    JoyPos pos;
    EXPECT_TRUE(stick.GetPos(pos));
    return pos;
  }

  SdlJoystick stick;
  JoyCaps caps;
  int index_ = -1;
  SDL_Joystick* device_ = nullptr;
};

TEST_F(SdlJoystickTest, NoDeviceMeansNoCaps) { EXPECT_FALSE(stick.GetCaps(caps)); }

TEST_F(SdlJoystickTest, AxesAndButtonsAreReadOntoTheUnsignedRange) {
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

TEST_F(SdlJoystickTest, ThirdAxisReadsZeroOnATwoAxisDevice) {
  Attach(2);
  ASSERT_TRUE(stick.GetCaps(caps));
  Axes(32767, -32768);
  const JoyPos pos = Poll();
  EXPECT_TRUE(pos.x == 65535 && pos.y == 0 && pos.z == 0) << pos.x << " " << pos.y << " " << pos.z;
}

TEST_F(SdlJoystickTest, UnpluggedDeviceFailsUntilOneIsPluggedInAgain) {
  Attach(3);
  ASSERT_TRUE(stick.GetCaps(caps));
  Detach();
  JoyPos pos;
  EXPECT_FALSE(stick.GetPos(pos));
  EXPECT_FALSE(stick.GetPos(pos));
  Attach(3);
  Axes(-32768, 0);
  EXPECT_EQ(Poll().x, 0u);
}

// The real service under the core: the stick moves the title cursor, button 1
// confirms, and the dead zone's edge lies where the mapping puts it.
TEST_F(SdlJoystickTest, StickAndButtonOneDriveTheTitleAndThePlay) {
  Attach(3);
  HeadlessServices headless;
  TApp app(Services{headless.window, headless.timers, headless.dialogs, headless.audio, stick, headless.clock,
                    headless.files});
  app.Startup();
  ASSERT_EQ(app.joy.JoyPresent, 1);
  EXPECT_EQ(app.joy.JoyUpLimit, 21845u);
  EXPECT_EQ(app.joy.JoyDownLimit, 43690u);

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
}

}  // namespace
}  // namespace bd::platform
