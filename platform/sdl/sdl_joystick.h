// Joystick 1 of the desktop build, read through SDL2's joystick API. SDL is
// used for nothing else here: no window, no video, no event loop of its own.
// Every call comes from the user-interface thread, like the rest of the
// services.
#pragma once

#include <cstdint>
#include <span>

#include "platform/services.h"

struct _SDL_Joystick;

namespace bd::platform {

// SDL's signed axis (-32768..32767) moved onto 0..65535, so that the core's
// unsigned dead-zone arithmetic sees the range it expects.
constexpr uint32_t AxisToUnsigned(int16_t value) { return static_cast<uint32_t>(int32_t{value} + 32768); }

// Bit i set when button i is down; buttons past the 32nd have no bit.
uint32_t ButtonWord(std::span<const uint8_t> pressed);

class SdlJoystick : public JoystickService {
 public:
  SdlJoystick();
  ~SdlJoystick() override;
  SdlJoystick(const SdlJoystick&) = delete;
  SdlJoystick& operator=(const SdlJoystick&) = delete;

  // Opens the first device; false when SDL could not start or none is attached.
  bool GetCaps(JoyCaps& caps) override;
  // False while the device is unplugged; a device plugged in again at the
  // first place is opened and read by the next call.
  bool GetPos(JoyPos& pos) override;

 private:
  bool OpenFirst();
  void Close();

  bool initialised_ = false;
  _SDL_Joystick* joystick_ = nullptr;
};

}  // namespace bd::platform
