#include "platform/sdl/sdl_joystick.h"

#include <SDL.h>

#include <algorithm>
#include <array>

namespace bd::platform {

uint32_t ButtonWord(std::span<const uint8_t> pressed) {
  uint32_t word = 0;
  const size_t count = std::min<size_t>(pressed.size(), 32);
  for (size_t i = 0; i < count; ++i) {
    if (pressed[i]) word |= uint32_t{1} << i;
  }
  return word;
}

SdlJoystick::SdlJoystick() {
  // The joystick subsystem brings SDL's event subsystem with it, which would
  // otherwise take over Ctrl+C and termination signals from the program.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  initialised_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
  // We poll; nobody drains SDL's event queue, so keep joystick events out of it.
  if (initialised_) SDL_JoystickEventState(SDL_IGNORE);
}

SdlJoystick::~SdlJoystick() {
  Close();
  if (initialised_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

bool SdlJoystick::OpenFirst() {
  if (joystick_) return true;
  if (!initialised_ || SDL_NumJoysticks() < 1) return false;
  joystick_ = SDL_JoystickOpen(0);
  return joystick_ != nullptr;
}

void SdlJoystick::Close() {
  if (joystick_) SDL_JoystickClose(joystick_);
  joystick_ = nullptr;
}

bool SdlJoystick::GetCaps(JoyCaps& caps) {
  if (!initialised_) return false;
  SDL_JoystickUpdate();
  if (!OpenFirst()) return false;
  const uint32_t low = AxisToUnsigned(SDL_JOYSTICK_AXIS_MIN), high = AxisToUnsigned(SDL_JOYSTICK_AXIS_MAX);
  caps = JoyCaps{low, high, low, high};
  return true;
}

bool SdlJoystick::GetPos(JoyPos& pos) {
  if (!initialised_) return false;
  // Reads the devices' new states and notices devices that came or went.
  SDL_JoystickUpdate();
  if (joystick_ && !SDL_JoystickGetAttached(joystick_)) {
    Close();
    return false;
  }
  if (!joystick_) {
    if (!OpenFirst()) return false;
    SDL_JoystickUpdate();  // plugged in again: read it at once
  }

  // A missing axis reads as centred, a missing third axis as 0.
  const int axes = SDL_JoystickNumAxes(joystick_);
  const auto axis = [&](int index) {
    return index < axes ? SDL_JoystickGetAxis(joystick_, index) : int16_t{0};
  };
  pos.x = AxisToUnsigned(axis(0));
  pos.y = AxisToUnsigned(axis(1));
  pos.z = axes > 2 ? AxisToUnsigned(axis(2)) : 0;

  std::array<uint8_t, 32> pressed{};
  const int buttons = std::clamp(SDL_JoystickNumButtons(joystick_), 0, 32);
  for (int i = 0; i < buttons; ++i) pressed[i] = SDL_JoystickGetButton(joystick_, i);
  pos.buttons = ButtonWord(std::span(pressed).first(buttons));
  return true;
}

}  // namespace bd::platform
