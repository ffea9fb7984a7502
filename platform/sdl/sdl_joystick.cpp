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
  // SDL drops presses once it has a window of its own without focus; the
  // game's window is Qt's, so SDL's idea of focus must never count.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  // Nintendo pads would otherwise swap A and B to match their labels; button
  // 1 is the south button on every pad.
  SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
  initialised_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  // We poll; nobody drains SDL's event queue, so keep device events out of it.
  if (initialised_) {
    SDL_JoystickEventState(SDL_IGNORE);
    SDL_GameControllerEventState(SDL_IGNORE);
  }
}

SdlJoystick::~SdlJoystick() {
  Close();
  if (initialised_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void SdlJoystick::FindDevice() {
  const int count = SDL_NumJoysticks();
  SDL_JoystickID newest = -1;
  for (int i = 0; i < count; ++i) newest = std::max(newest, SDL_JoystickGetDeviceInstanceID(i));
  // Instance ids only grow: the same count and newest id mean the same
  // devices as the last search, which opened none of them (an open device
  // that leaves lowers the count), so skip the costly open attempts.
  if (count == searched_count_ && newest == searched_newest_) return;
  searched_count_ = count;
  searched_newest_ = newest;
  for (int i = 0; i < count; ++i) {
    if (Open(i)) return;
  }
}

bool SdlJoystick::Open(int index) {
  if (SDL_IsGameController(index)) {
    controller_ = SDL_GameControllerOpen(index);
    if (controller_) {
      joystick_ = SDL_GameControllerGetJoystick(controller_);
      return true;
    }
  }
  joystick_ = SDL_JoystickOpen(index);  // no mapping, or it would not open: read the device raw
  return joystick_ != nullptr;
}

void SdlJoystick::Close() {
  if (controller_) {
    SDL_GameControllerClose(controller_);
  } else if (joystick_) {
    SDL_JoystickClose(joystick_);
  }
  controller_ = nullptr;
  joystick_ = nullptr;
}

bool SdlJoystick::GetCaps(JoyCaps& caps) {
  if (!initialised_) return false;
  const uint32_t low = AxisToUnsigned(SDL_JOYSTICK_AXIS_MIN), high = AxisToUnsigned(SDL_JOYSTICK_AXIS_MAX);
  caps = JoyCaps{low, high, low, high};
  return true;
}

bool SdlJoystick::GetPos(JoyPos& pos) {
  if (!initialised_) return false;
  // Reads the devices' new states and notices devices that came or went.
  SDL_JoystickUpdate();
  if (joystick_ && !SDL_JoystickGetAttached(joystick_)) Close();
  if (!joystick_) FindDevice();  // SDL reads a device's state as it opens it

  pos = JoyPos{AxisToUnsigned(0), AxisToUnsigned(0), 0, 0};
  if (controller_) {
    ReadPad(pos);
  } else if (joystick_) {
    ReadRaw(pos);
  }
  return true;
}

void SdlJoystick::ReadPad(JoyPos& pos) const {
  const auto down = [this](SDL_GameControllerButton button) {
    return SDL_GameControllerGetButton(controller_, button) != 0;
  };
  pos.x = PadAxis(SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_LEFTX),
                  down(SDL_CONTROLLER_BUTTON_DPAD_LEFT), down(SDL_CONTROLLER_BUTTON_DPAD_RIGHT));
  pos.y = PadAxis(SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_LEFTY),
                  down(SDL_CONTROLLER_BUTTON_DPAD_UP), down(SDL_CONTROLLER_BUTTON_DPAD_DOWN));
  // Only the two face buttons count: a shoulder or Start held must not turn
  // a dig into "both buttons", which the core reads as none.
  pos.buttons = (down(SDL_CONTROLLER_BUTTON_A) ? 1u : 0u) | (down(SDL_CONTROLLER_BUTTON_B) ? 2u : 0u);
}

void SdlJoystick::ReadRaw(JoyPos& pos) const {
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
}

}  // namespace bd::platform
