// TForm1, the main window: it owns every piece of game state, the surfaces,
// the menu model and the timers' switches, and holds every event handler.
// It sees the desktop only through platform::Services.
#pragma once

#include <cstdint>
#include <string>

#include "app/game_mode.h"
#include "app/joystick.h"
#include "app/main_menu.h"
#include "audio/music.h"
#include "audio/sound_effects.h"
#include "game/play_state.h"
#include "game/random.h"
#include "platform/services.h"
#include "render/sprite_sheet.h"
#include "render/surface.h"
#include "stage/edit_set.h"
#include "stage/stage_grid.h"

namespace bd {

// Virtual-key codes the game reacts to.
enum TVirtualKey : uint16_t {
  vkEscape = 27,
  vkSpace = 32,
  vkLeft = 37,
  vkUp = 38,
  vkRight = 39,
  vkDown = 40,
  vkX = 88,
  vkZ = 90,
};

inline constexpr const char* kCaption = "Burrow Dash";
inline constexpr const char* kNoStageFile = "*.bds";
inline constexpr int kPaletteImageWidth = 32;
inline constexpr int kPaletteImageHeight = 336;

class TForm1 {
 public:
  explicit TForm1(const platform::Services& services);
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // Start-up.
  void FormCreate();

  // Events the shell forwards.
  void FormKeyDown(uint16_t key);
  void FormKeyUp(uint16_t key);
  void Timer1Timer();
  void Timer2Timer();
  // A click on an item or its shortcut: runs the item's handler if it can act now.
  void MenuClick(TMenuItemId id);

  // Menu commands.
  void Reset1Click();
  void Replay1Click();
  void PAUSE1Click();
  void Start1Click();
  void Edit1Click();
  void PlayEdit1Click();
  void Exit1Click();
  void Open1Click();
  void Save1Click();
  void N11Click(int tag);
  void TestPlay1Click();
  void AllClear1Click();
  void New1Click();
  void Music1Click();
  void Sound1Click();

  // Space and joystick button 1.
  void ConfirmAction();
  // The confirm action's end of a finished death or a tally.
  void ContinuePlay();

  void StartStage();
  // The reading step of Open and Play Edit: a stage file's six stages into
  // EditSet. A file without the magic is refused with the "Error" box and
  // changes nothing; false then.
  bool LoadStageFile(const std::string& path);
  void ShowTitle();
  void ShowGameOver();
  void TitleCursorUp();
  void TitleCursorDown();
  void DrawEditStage();
  // The palette window's picture: drawn when the palette is created, and its
  // stage digit whenever the edited stage changes.
  void PaletteFormCreate();
  void DrawStageNumber();

  // Asks for a sound effect; at most the first request of a play tick sounds.
  void PlayEffect(TSoundEffect effect);
  bool SoundBusy() const { return effects_.SoundBusy; }

  bool Timer1Enabled() const { return timer1_enabled_; }
  bool Paused() const { return MainMenu1.Checked(TMenuItemId::PAUSE1); }

  // Game state, plain data owned by the window.
  TGameGlobals game;
  TPlayState play;
  TEditSet EditSet;
  TJoystickState joy;
  TRandom random;
  TMainMenu MainMenu1;
  TSurface Image1{kImageWidth, kImageHeight};
  TSurface Image2{kSheetWidth, kSheetHeight};  // the sprite sheet, filled by the shell before FormCreate
  TSurface Image3{kImageWidth, kImageHeight};
  TSurface PaletteImage{kPaletteImageWidth, kPaletteImageHeight};

  std::string ProgramFolder;  // with its trailing separator
  int32_t EditStage = 0;
  uint8_t SelectedTile = tcBrick;
  // The file name held by the save dialog: the set's current stage file.
  std::string SaveDialogFileName = kNoStageFile;

 private:
  void SetTimer1(bool enabled);
  void SetCaption(const std::string& caption);
  void DisablePlayCommands();                  // Replay1 and PAUSE1 off, PAUSE1 unchecked
  void SetTitleCommandsEnabled(bool enabled);  // Start1, Edit1, PlayEdit1
  void CaptionForFile(const std::string& path);
  void DrawScoreLines();  // the two score lines of the game-over screen and the stage banner

  // The steps of the play tick, in the order Timer1Timer runs them.
  void EraseActors();
  void DrawGold();
  void DrawLadders();
  void MoveRunnerStep();  // dying, or the holes and then digging or moving
  void DyingStep();
  void GoldPickup();
  void EndingTexts();
  void RevealHiddenLadders();
  void MoveGuards();
  void DrawRunner();
  void ClearStage();
  void TallyTick();

  platform::Services services_;
  TMusic music_;
  TSoundEffects effects_;
  TStageGrid stage_scratch_;  // a built-in stage unpacked for stage start
  bool timer1_enabled_ = false;
};

}  // namespace bd
