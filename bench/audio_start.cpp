// Measures what the sound costs the window thread at start-up and at a change
// of music: first SDL_mixer and FluidSynth called in place, as the window would
// pay without the worker, then SdlAudio, whose calls only post.
// Usage: audio_start [piece.mid]   (SDL_AUDIODRIVER=dummy without a sound card;
// without a piece it writes a short one of its own)
#include <SDL.h>
#include <SDL_mixer.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

#include "platform/sdl/sdl_audio.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Processor time of the calling thread: what a call costs it, however busy the machine.
double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Four piano notes, half a second each.
std::string WriteShortPiece() {
  const unsigned char bytes[] = {
      'M', 'T',  'h', 'd', 0,  0,    0,  6, 0, 0,    0,  1,   0,  96,   'M', 'T', 'r', 'k',  0,    0,
      0,   39,                                                                   //
      0,   0xC0, 0,                                                              //
      0,   0x90, 60,  100, 96, 0x80, 60, 0, 0, 0x90, 64, 100, 96, 0x80, 64,  0,  //
      0,   0x90, 67,  100, 96, 0x80, 67, 0, 0, 0x90, 72, 100, 96, 0x80, 72,  0,   0,   0xFF, 0x2F, 0};
  char path[] = "/tmp/bd_audio_start_XXXXXX.mid";
  const int fd = mkstemps(path, 4);
  if (fd < 0) return {};
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes), sizeof bytes);
  return path;
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::string own = argc > 1 ? std::string() : WriteShortPiece();
  const std::string piece = argc > 1 ? argv[1] : own;
  std::string font;
  for (const std::string& candidate : bd::platform::SdlAudio::DebianSoundFonts()) {
    if (std::ifstream(candidate).good()) {
      font = candidate;
      break;
    }
  }
  if (piece.empty() || font.empty()) {
    std::fprintf(stderr, "need a piece and an installed General MIDI font\n");
    return 1;
  }
  std::printf("piece %s, font %s\n", piece.c_str(), font.c_str());

  // In place, in a fresh process: what the window thread would wait for.
  auto start = Clock::now();
  SDL_InitSubSystem(SDL_INIT_AUDIO);
  const double init_ms = MsSince(start);
  start = Clock::now();
  if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
    std::fprintf(stderr, "no device: %s (try SDL_AUDIODRIVER=dummy)\n", Mix_GetError());
    return 1;
  }
  const double open_ms = MsSince(start);
  Mix_SetSoundFonts(font.c_str());
  std::printf("in place on driver %s: audio init %.1f ms, Mix_OpenAudio %.1f ms\n",
              SDL_GetCurrentAudioDriver(), init_ms, open_ms);
  for (const char* which : {"first", "second", "third"}) {
    start = Clock::now();
    const double cpu = ThreadCpuMs();
    Mix_Music* music = Mix_LoadMUS(piece.c_str());
    std::printf("  Mix_LoadMUS, %s: %.1f ms (%.1f ms of this thread's processor time)\n", which,
                MsSince(start), ThreadCpuMs() - cpu);
    if (music) Mix_FreeMusic(music);
  }
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);

  // Through SdlAudio: the calls only post; the worker loads.
  start = Clock::now();
  double cpu = ThreadCpuMs();
  {
    bd::platform::SdlAudio audio;
    std::printf("SdlAudio: constructor %.2f ms (%.2f ms processor)\n", MsSince(start), ThreadCpuMs() - cpu);
    for (const char* which : {"first", "second"}) {
      const auto asked = Clock::now();
      cpu = ThreadCpuMs();
      audio.OpenAndPlayMusic(piece);
      const double call_ms = MsSince(asked), call_cpu_ms = ThreadCpuMs() - cpu;
      const bool playing = audio.Observe().music_playing;
      std::printf("  %s piece: OpenAndPlayMusic %.2f ms (%.2f ms processor), %s %.1f ms after the call\n",
                  which, call_ms, call_cpu_ms, playing ? "playing" : "NOT playing", MsSince(asked));
    }
    start = Clock::now();
  }
  std::printf("SdlAudio: destructor %.1f ms\n", MsSince(start));
  if (!own.empty()) std::remove(own.c_str());
  return 0;
}
