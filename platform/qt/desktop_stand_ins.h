// Stand-ins for the benchmarks: SilentAudio plays nothing, as on a machine
// without a sound card, and NoJoystick keeps them free of devices. The game
// itself uses the SDL services (platform/sdl).
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
