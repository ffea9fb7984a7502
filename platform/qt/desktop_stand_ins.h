// Sound and joystick of the desktop build until their real backends
// (SDL2_mixer with FluidSynth, SDL2's joystick API) are part of the game:
// the game runs silent and without a joystick, as on a machine without them.
#pragma once

#include "platform/services.h"

namespace bd::platform {

class SilentAudio : public AudioService {
 public:
  void PlayWave(const std::string&) override {}
  void OpenAndPlayMusic(const std::string&) override {}
  void StopMusic() override {}
};

class NoJoystick : public JoystickService {
 public:
  bool GetCaps(JoyCaps&) override { return false; }
  bool GetPos(JoyPos&) override { return false; }
};

}  // namespace bd::platform
