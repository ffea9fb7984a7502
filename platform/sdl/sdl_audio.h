// Sound of the desktop build through SDL2_mixer: the four effects on one
// mixer channel, and the music as MIDI through FluidSynth with a General MIDI
// sound font.
//
// Threads. Every AudioService call comes from the user-interface thread and
// only posts a request. One worker thread of ours owns SDL_mixer: it opens
// the device, loads and plays everything, so FluidSynth reading its font
// (tens of milliseconds for every piece, several times that on a busy
// machine) never holds up a frame.
// SDL_mixer mixes on SDL's own audio thread and calls nothing of ours there.
// SDL's audio subsystem is started and stopped on the user-interface thread,
// because SDL_InitSubSystem is not safe against the joystick's on another.
// Start the other SDL users (the joystick) before it, so that their start-up
// does not run beside the worker either.
//
// No device: SDL's dummy driver, or silence; never a message. SDL_AUDIODRIVER
// is respected when set (its disk driver records what the game plays).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/services.h"

namespace bd::platform {

class SdlAudio : public AudioService {
 public:
  // Debian's places for a General MIDI SoundFont, best first.
  static std::vector<std::string> DebianSoundFonts();

  // Levels, of SDL_mixer's 0..128. Set by recording every piece with effects
  // over it on the disk driver (README, "Sounds and music"): no sample reaches
  // full scale and each effect stands 6 dB over the music in its main octave.
  static constexpr int kEffectVolume = 80;
  // Frames a mix: 23 ms, so an effect starts within the tick that asked.
  static constexpr int kBufferFrames = 1024;
  // FluidSynth's gain follows the music volume; the fonts differ in level, so
  // each known one has its own, and any other font gets the quietest.
  struct FontLevel {
    const char* file;  // the font's file name, links followed
    int music_volume;
  };
  static constexpr FontLevel kFontLevels[] = {{"TimGM6mb.sf2", 112}, {"FluidR3_GM.sf2", 40}};
  static int MusicVolume(const std::string& sound_font);

  // Starts SDL's audio and the worker; does not wait for the device. The music
  // uses the first candidate that is a SoundFont file; with none it is silent.
  explicit SdlAudio(const std::vector<std::string>& sound_fonts = DebianSoundFonts());
  ~SdlAudio() override;
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  // Cuts off the effect still sounding and starts this one. A wave is read once
  // and kept; one that is missing or broken plays nothing.
  void PlayWave(const std::string& path) override;
  // Reads and checks the file here, so that a missing or broken piece throws
  // PlatformError at once; the worker then closes the open piece, loads this
  // one and plays it once. Only the latest piece asked for is loaded. Without
  // a sound font it does nothing.
  void OpenAndPlayMusic(const std::string& path) override;
  // Halts the open piece and leaves it open; nothing open: nothing happens.
  void StopMusic() override;

  struct State {
    std::string driver;        // SDL's audio driver; empty when none started
    bool device_open = false;  // false: everything is silent
    std::string sound_font;    // empty: the music is silent
    std::string effect;        // wave on the effect channel, playing or not
    bool effect_playing = false;
    int channels_playing = 0;  // of every mixer channel
    std::string music;         // the open piece; empty when none
    bool music_playing = false;
  };
  // Waits until every request made so far has been carried out, then reports.
  State Observe();

 private:
  struct Mixer;  // the worker's SDL_mixer objects

  // Requests not yet taken by the worker; later ones replace earlier ones.
  struct Requests {
    bool effect = false;
    std::string effect_path;
    bool open = false;  // a piece to open and play
    std::string piece_path;
    std::shared_ptr<const std::vector<uint8_t>> piece_bytes;
    bool stop = false;  // halt the music, after the open when both are asked
    bool Any() const { return effect || open || stop; }
  };

  void Run();
  void Carry(Requests& work);
  void OpenMusic(Requests& work);
  State Report() const;

  std::string sound_font_;
  // Pieces read and checked, by path; only the window thread touches this.
  std::unordered_map<std::string, std::shared_ptr<const std::vector<uint8_t>>> pieces_;
  bool subsystem_ = false;  // SDL's audio subsystem is ours to quit
  std::unique_ptr<Mixer> mixer_;

  std::mutex mutex_;
  std::condition_variable wake_;  // to the worker
  std::condition_variable done_;  // from the worker: the report is ready
  Requests asked_;
  bool report_asked_ = false;
  bool quit_ = false;
  State report_;
  std::thread worker_;
};

}  // namespace bd::platform
