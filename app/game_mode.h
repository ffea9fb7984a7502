#pragma once

#include <cstdint>

namespace bd {

enum TGameMode : int32_t { gmTitle = 0, gmGame = 1, gmEdit = 2, gmTestPlay = 3, gmGameOver = 4 };

// Values that live across stages, owned by the main window.
struct TGameGlobals {
  TGameMode GameMode = gmTitle;
  int32_t StageIndex = 0;
  int32_t Lives = 5;
  int32_t Score = 0;    // units of 100 points
  int32_t HiScore = 0;  // units of 100 points; lives for one run
  bool PlayEditSet = false;
  bool SoundOn = true;
  bool MusicOn = true;
  int32_t TitleChoice = 1;  // 1 GAME START, 2 EDIT MODE
};

}  // namespace bd
