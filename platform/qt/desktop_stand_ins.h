// Sound of the desktop build until its real backend (SDL2_mixer with
// FluidSynth) is part of the game: the game runs silent, as on a machine
// without a sound card. NoJoystick keeps the benchmarks free of devices.
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
