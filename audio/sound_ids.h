// Every sound of the game by id, with the one table of its file names. The
// files lie in the program's folder; the build copies them there.
#pragma once

#include <array>
#include <cstdint>

namespace bd {

// The four short effects of play.
enum TSoundEffect : uint8_t { seDig = 0, seDying = 1, seTake = 2, seKill = 3 };
inline constexpr int kSoundEffectCount = 4;

// The five pieces of music.
enum class TMusicPiece : uint8_t { Title, Stage, Escape, GameOver, Ending };
inline constexpr int kMusicPieceCount = 5;

inline constexpr std::array<const char*, kSoundEffectCount> kEffectFiles = {"dig.wav", "dying.wav",
                                                                            "take.wav", "kil.wav"};
inline constexpr std::array<const char*, kMusicPieceCount> kMusicFiles = {"tit.mid", "mus1.mid", "mus2.mid",
                                                                          "mus3.mid", "mus4.mid"};

inline constexpr const char* EffectFile(TSoundEffect effect) { return kEffectFiles[effect]; }
inline constexpr const char* MusicFile(TMusicPiece piece) { return kMusicFiles[static_cast<int>(piece)]; }

}  // namespace bd
