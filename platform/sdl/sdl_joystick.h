// Joystick 1 of the desktop build, read through SDL2. SDL is used for nothing
// else here: no window, no video, no event loop of its own. Every call comes
// from the user-interface thread, like the rest of the services.
//
// A device SDL has a game-controller mapping for is read by its layout: the
// left stick and the D-pad steer, the south face button is button 1 and the
// east face button button 2, whatever the raw axis and button numbers. Any
// other device is read raw: axes 0, 1 and 2 and every button.
#pragma once

#include <cstdint>
#include <span>

#include "platform/services.h"

struct _SDL_Joystick;
struct _SDL_GameController;

namespace bd::platform {

// SDL's signed axis (-32768..32767) moved onto 0..65535, so that the core's
// unsigned dead-zone arithmetic sees the range it expects.
constexpr uint32_t AxisToUnsigned(int16_t value) { return static_cast<uint32_t>(int32_t{value} + 32768); }

// One axis of a pad: a D-pad direction wins over the stick on its axis, so a
// resting stick that drifts cannot spoil a D-pad press. Both directions at
// once (a worn or odd pad) say nothing, and the stick decides.
constexpr uint32_t PadAxis(int16_t stick, bool toward_min, bool toward_max) {
  if (toward_min == toward_max) return AxisToUnsigned(stick);
  return toward_min ? 0 : 65535;
}

// Bit i set when button i is down; buttons past the 32nd have no bit.
uint32_t ButtonWord(std::span<const uint8_t> pressed);

class SdlJoystick : public JoystickService {
 public:
  SdlJoystick();
  ~SdlJoystick() override;
  SdlJoystick(const SdlJoystick&) = delete;
  SdlJoystick& operator=(const SdlJoystick&) = delete;

  // The fixed 0..65535 range whenever SDL started, device or not: the core
  // asks once at start-up and polls only when the answer was yes, and a pad
  // may be plugged in later.
  bool GetCaps(JoyCaps& caps) override;
  // Opens the first device that opens, plugged in before or since; centred
  // with no buttons while none is attached, so a pad pulled out mid-run
  // leaves no direction or dig held. False only when SDL could not start.
  bool GetPos(JoyPos& pos) override;

 private:
  void FindDevice();
  bool Open(int index);
  void Close();
  void ReadPad(JoyPos& pos) const;
  void ReadRaw(JoyPos& pos) const;

  bool initialised_ = false;
  _SDL_Joystick* joystick_ = nullptr;          // the open device, raw or under controller_
  _SDL_GameController* controller_ = nullptr;  // set when the device opened by its mapping
  // The devices the last search saw; a device that would not open is tried
  // again only once the set of devices has changed.
  int searched_count_ = -1;
  int32_t searched_newest_ = -1;
};

}  // namespace bd::platform
