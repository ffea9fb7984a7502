#include "platform/sdl/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unordered_map>
#include <utility>

#include "platform/file_access.h"

#ifdef BD_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace bd::platform {
namespace {

constexpr int kRate = 44100;
constexpr int kEffectChannel = 0;
constexpr size_t kLargestPiece = size_t{4} << 20;  // the pieces are a few kilobytes
constexpr size_t kLargestWave = size_t{16} << 20;  // the effects are a few kilobytes

uint32_t BigEndian32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}
uint16_t BigEndian16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }

// Empty when the chunk headers of a Standard MIDI File are all there.
// FluidSynth takes any file named .mid and only fails, silently, when it
// plays, so a broken piece is caught here, where it can still be reported.
std::string MidiProblem(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < 14 || std::memcmp(bytes.data(), "MThd", 4) != 0) return "not a MIDI file";
  const uint32_t header = BigEndian32(&bytes[4]);
  if (header < 6) return "not a MIDI file";
  const uint16_t tracks = BigEndian16(&bytes[10]);
  if (tracks == 0) return "the file holds no track";
  size_t pos = 8 + size_t{header};
  for (int found = 0; found < tracks;) {
    if (pos > bytes.size() || bytes.size() - pos < 8) return "the file ends before its last track";
    const size_t length = BigEndian32(&bytes[pos + 4]);
    if (length > bytes.size() - pos - 8) return "the file ends inside a track";
    if (std::memcmp(&bytes[pos], "MTrk", 4) == 0) ++found;
    pos += 8 + length;
  }
  return {};
}

// The whole piece, checked; throws with the reason when it will not play.
std::vector<uint8_t> ReadPiece(const std::string& path) {
  const auto fail = [&](const std::string& why) {
    throw PlatformError("Cannot open music " + path + ": " + why);
  };
  // Only a regular file: a FIFO in the game's folder must not hang start-up.
  std::string reason;
  auto read = ReadRegularFile(path, kLargestPiece + 1, reason);
  if (!read) fail(reason);
  std::vector<uint8_t> bytes = std::move(*read);
  if (bytes.size() > kLargestPiece) fail("too large for a piece of music");
  if (std::string problem = MidiProblem(bytes); !problem.empty()) fail(problem);
  return bytes;
}

// A regular file's wave, or nothing: an effect that cannot be read stays silent.
Mix_Chunk* LoadWave(const std::string& path) {
  std::string reason;
  const auto bytes = ReadRegularFile(path, kLargestWave, reason);
  if (!bytes || bytes->empty()) return nullptr;
  SDL_RWops* source = SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size()));
  return source ? Mix_LoadWAV_RW(source, SDL_TRUE) : nullptr;
}

// A RIFF file of the sfbk form. Mix_SetSoundFonts splits its list at ';'.
bool IsSoundFont(const std::string& path) {
  if (path.empty() || path.find(';') != std::string::npos) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  char head[12];
  const bool font = std::fread(head, 1, sizeof head, file) == sizeof head &&
                    std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "sfbk", 4) == 0;
  std::fclose(file);
  return font;
}

#ifdef BD_HAVE_ALSA
void DropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}
#endif

// libasound prints its own lines to stderr when a machine has no card; the
// game falls back to silence then, which is worth no message.
class QuietAlsa {
 public:
#ifdef BD_HAVE_ALSA
  QuietAlsa() { snd_lib_error_set_handler(DropAlsaMessage); }
  ~QuietAlsa() { snd_lib_error_set_handler(nullptr); }
#else
  QuietAlsa() = default;
#endif
  QuietAlsa(const QuietAlsa&) = delete;
  QuietAlsa& operator=(const QuietAlsa&) = delete;
};

}  // namespace

struct SdlAudio::Mixer {
  bool open = false;
  std::unordered_map<std::string, Mix_Chunk*> chunks;  // nullptr: the wave would not load
  Mix_Music* music = nullptr;
  std::string music_path;
  std::shared_ptr<const std::vector<uint8_t>>
      music_bytes;  // kept while the piece is open, in case the backend reads as it plays

  // On the worker: the device, with SDL's dummy driver when the chosen one
  // cannot open one (a machine without a card).
  void Open(const std::string& sound_font, int music_volume) {
    {
      QuietAlsa quiet;
      open = Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, SdlAudio::kBufferFrames) == 0;
      const char* driver = SDL_GetCurrentAudioDriver();
      if (!open && !(driver && std::strcmp(driver, "dummy") == 0) && SDL_AudioInit("dummy") == 0)
        open = Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, SdlAudio::kBufferFrames) == 0;
    }
    if (!open) return;
    Mix_Init(MIX_INIT_MID);
    Mix_AllocateChannels(1);  // effects never mix: one channel, and a new one cuts the old
    if (!sound_font.empty()) Mix_SetSoundFonts(sound_font.c_str());
    Mix_Volume(kEffectChannel, kEffectVolume);
    Mix_VolumeMusic(music_volume);  // kept by SDL_mixer for every piece it plays
  }

  void CloseMusic() {
    if (music) Mix_FreeMusic(music);  // halts it first
    music = nullptr;
    music_path.clear();
    music_bytes.reset();
  }

  void Close() {
    if (!open) return;
    Mix_HaltChannel(-1);
    CloseMusic();
    for (auto& [path, chunk] : chunks)
      if (chunk) Mix_FreeChunk(chunk);
    chunks.clear();
    Mix_CloseAudio();
    Mix_Quit();
    open = false;
  }

  void PlayEffect(const std::string& path) {
    Mix_HaltChannel(kEffectChannel);
    auto [entry, added] = chunks.try_emplace(path, nullptr);
    if (added) entry->second = LoadWave(path);
    if (entry->second) Mix_PlayChannel(kEffectChannel, entry->second, 0);
  }
};

std::vector<std::string> SdlAudio::DebianSoundFonts() {
  return {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
          "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/soundfonts/default.sf2"};
}

int SdlAudio::MusicVolume(const std::string& sound_font) {
  std::error_code error;
  const std::string file = std::filesystem::canonical(sound_font, error).filename().string();
  int quietest = MIX_MAX_VOLUME;
  for (const FontLevel& level : kFontLevels) {
    if (file == level.file) return level.music_volume;
    quietest = std::min(quietest, level.music_volume);
  }
  return quietest;
}

SdlAudio::SdlAudio(const std::vector<std::string>& sound_fonts) : mixer_(std::make_unique<Mixer>()) {
  for (const std::string& candidate : sound_fonts) {
    if (IsSoundFont(candidate)) {
      sound_font_ = candidate;
      break;
    }
  }
  // SDL's audio brings its event subsystem, which would otherwise take over
  // Ctrl+C and termination signals from the program.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  subsystem_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  if (!subsystem_) {
    // SDL_AUDIODRIVER names a driver that is not there, or none would start.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    subsystem_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  }
  if (!subsystem_) return;  // silence
  // Nobody drains SDL's event queue.
  SDL_EventState(SDL_AUDIODEVICEADDED, SDL_IGNORE);
  SDL_EventState(SDL_AUDIODEVICEREMOVED, SDL_IGNORE);
  try {
    worker_ = std::thread(&SdlAudio::Run, this);
  } catch (const std::system_error&) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);  // no thread to spare: silence
    subsystem_ = false;
  }
}

SdlAudio::~SdlAudio() {
  if (worker_.joinable()) {
    {
      std::lock_guard lock(mutex_);
      quit_ = true;
    }
    wake_.notify_one();
    worker_.join();
  }
  if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudio::PlayWave(const std::string& path) {
  if (!worker_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    asked_.effect = true;
    asked_.effect_path.assign(path);  // no allocation once the string has grown
  }
  wake_.notify_one();
}

void SdlAudio::OpenAndPlayMusic(const std::string& path) {
  if (sound_font_.empty()) return;
  // Each piece is read and checked once: a stage start, or the escape cue
  // inside a play tick, then costs no file reading and no allocation.
  auto cached = pieces_.find(path);
  if (cached == pieces_.end())
    cached = pieces_.emplace(path, std::make_shared<const std::vector<uint8_t>>(ReadPiece(path))).first;
  std::shared_ptr<const std::vector<uint8_t>> bytes = cached->second;
  if (!worker_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    asked_.open = true;
    asked_.piece_path = path;
    asked_.piece_bytes = std::move(bytes);
    asked_.stop = false;  // the new piece closes the one a stop was meant for
  }
  wake_.notify_one();
}

void SdlAudio::StopMusic() {
  if (!worker_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    asked_.stop = true;
  }
  wake_.notify_one();
}

SdlAudio::State SdlAudio::Observe() {
  if (!worker_.joinable()) {
    State silent;
    silent.sound_font = sound_font_;
    return silent;
  }
  std::unique_lock lock(mutex_);
  report_asked_ = true;
  wake_.notify_one();
  done_.wait(lock, [&] { return !report_asked_; });
  return report_;
}

void SdlAudio::Run() {
  mixer_->Open(sound_font_, MusicVolume(sound_font_));
  Requests work;  // swapped with asked_, so the strings keep their room
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] { return quit_ || report_asked_ || asked_.Any(); });
    if (quit_) break;
    if (asked_.Any()) {
      std::swap(work, asked_);
      asked_.effect = asked_.open = asked_.stop = false;
      lock.unlock();
      Carry(work);
      lock.lock();
      continue;  // a report waits for the requests that came before it
    }
    report_ = Report();
    report_asked_ = false;
    done_.notify_all();
  }
  lock.unlock();
  mixer_->Close();
  SDL_TLSCleanup();  // SDL frees its per-thread error text only for threads it started itself
}

void SdlAudio::Carry(Requests& work) {
  if (!mixer_->open) return;
  if (work.effect) mixer_->PlayEffect(work.effect_path);
  if (work.open) {
    OpenMusic(work);
  } else if (work.stop) {
    Mix_HaltMusic();
  }
}

void SdlAudio::OpenMusic(Requests& work) {
  mixer_->CloseMusic();
  // The slow part: FluidSynth reads the whole sound font for every piece.
  SDL_RWops* source =
      SDL_RWFromConstMem(work.piece_bytes->data(), static_cast<int>(work.piece_bytes->size()));
  Mix_Music* music = source ? Mix_LoadMUSType_RW(source, MUS_MID, SDL_TRUE) : nullptr;
  if (!music) return;  // the font would not load: the music stays silent
  bool newer = false;
  {
    std::lock_guard lock(mutex_);
    newer = asked_.open;
  }
  if (newer) {
    Mix_FreeMusic(music);  // never heard: the next round opens the newer piece
    return;
  }
  mixer_->music = music;
  mixer_->music_path = work.piece_path;
  mixer_->music_bytes = std::move(work.piece_bytes);
  if (!work.stop) Mix_PlayMusic(music, 0);  // 0: once, no repeat
}

SdlAudio::State SdlAudio::Report() const {
  State state;
  const char* driver = SDL_GetCurrentAudioDriver();
  state.driver = driver ? driver : "";
  state.device_open = mixer_->open;
  state.sound_font = sound_font_;
  if (!mixer_->open) return state;
  const Mix_Chunk* chunk = Mix_GetChunk(kEffectChannel);
  for (const auto& [path, loaded] : mixer_->chunks)
    if (loaded && loaded == chunk) state.effect = path;
  state.effect_playing = Mix_Playing(kEffectChannel) != 0;
  state.channels_playing = Mix_Playing(-1);
  state.music = mixer_->music_path;
  state.music_playing = Mix_PlayingMusic() != 0;
  return state;
}

}  // namespace bd::platform
