// TApp, the program as the player meets it: the modes (title, game, editor,
// test play, game over), the menu and its commands, the keys and the
// joystick, the screens outside play and the confirm action. It owns the
// surfaces, the sound cues, the game (game/game.h) and the stage editor
// (editor/stage_editor.h), and sees the desktop only through
// platform::Services. The shell forwards every event to one of the handlers
// below and mirrors the menu model onto its real menu after each.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/main_menu.h"
#include "app/virtual_keys.h"
#include "audio/sound_cues.h"
#include "editor/stage_editor.h"
#include "game/game.h"
#include "game/joystick.h"
#include "platform/services.h"
#include "render/play_painter.h"
#include "render/sprite_sheet.h"
#include "render/surface.h"

namespace bd {

inline constexpr const char* kCaption = "Burrow Dash";
// The file dialogs' one filter: description and pattern.
inline constexpr const char* kStageFileFilter = "Burrow Dash Stage|*.bds";

enum TGameMode : int32_t { gmTitle = 0, gmGame = 1, gmEdit = 2, gmTestPlay = 3, gmGameOver = 4 };

class TApp {
 public:
  explicit TApp(const platform::Services& services);
  TApp(const TApp&) = delete;
  TApp& operator=(const TApp&) = delete;

  // Start-up: places the window, reads the joystick's limits, shows the title.
  void Startup();

  // Events the shell forwards.
  void KeyDown(uint16_t key);
  void KeyUp(uint16_t key);
  // The window lost the keyboard: every held key and joystick direction lets go.
  void ReleaseHeldInput();
  void PlayTick();      // the play clock, every 24 ms while it runs
  void PollJoystick();  // the joystick poll, every 24 ms from start-up to exit
  // The mouse on the screen's picture, in picture pixels; it paints in edit mode only.
  void ScreenMouseDown(TMouseButton button, int x, int y);
  void ScreenMouseMove(TMouseButtons held, int x, int y);
  // A press on the palette window's picture.
  void PaletteMouseDown(TMouseButton button, int x, int y);
  // A click on an item or its shortcut: runs the item's command if it can act now.
  void RunCommand(TMenuItemId id);

  // Menu commands.
  void GoToTitle();
  void GiveUp();
  void Pause();
  // A new game from its first stage; tools start one from a later stage.
  void StartGame(int first_stage = 0);
  void EditMode();
  void PlayEditedSet();
  void Quit();
  void OpenStages();
  void SaveStages();
  void SelectEditStage(int index);
  void TestPlay();
  void ClearAllStages();
  void ClearEditedStage();
  void ToggleMusic();
  void ToggleSound();
  // The Help menu: boxes listing the keys, and naming the version and folders.
  void ShowKeys();
  void ShowAbout();

  // Space and joystick button 1.
  void ConfirmAction();
  // The confirm action's end of a finished death or a tally.
  void ContinueAfterDeathOrTally();

  // The game's stage start with the program's part around it: the play
  // commands on, the stage shown, the play clock started.
  void StartStage();
  // Open and Play Edit once their file is chosen: a file given on the
  // command line goes straight here.
  void OpenStageFile(const std::string& path);  // in edit mode
  void PlayStageFile(const std::string& path);  // on the title screen
  // The reading step of Open and Play Edit: a stage file's six stages into
  // the editor. A file that cannot be read or is not a whole stage file is
  // refused with the "Error" box and changes nothing; false then.
  bool LoadStageFile(const std::string& path);
  void ShowTitle();
  void ShowGameOver();
  void TitleCursorUp();
  void TitleCursorDown();

  // The pictures every screen is drawn from: the shell loads them and hands
  // them over before Startup.
  void SetSpriteSheet(const TSurface& sheet) { sprite_sheet_ = sheet; }
  const TSurface& sprite_sheet() const { return sprite_sheet_; }

  bool PlayClockRunning() const { return play_clock_running_; }
  bool Paused() const { return menu.Checked(TMenuItemId::Pause); }
  // The play keys held, as the next tick reads them.
  const TInputLatches& keys() const { return keys_; }

  TGameMode GameMode = gmTitle;
  int32_t TitleChoice = 1;  // 1 GAME START, 2 EDIT MODE
  TMainMenu menu;
  TSurface screen{kImageWidth, kImageHeight};

 private:
  TSurface sprite_sheet_{kSheetWidth, kSheetHeight};  // given by the shell before Startup

 public:
  TSurface background{kImageWidth, kImageHeight};
  TSurface palette_picture{kPalettePictureWidth, kPalettePictureHeight};
  TPlayPainter painter;  // draws play onto screen and background
  TSoundCues sound;
  TJoystickState joy;
  TGame game;
  TStageEditor editor;
  std::string ProgramFolder;  // with its trailing separator

 private:
  void SetPlayClock(bool running);
  void SetCaption(const std::string& caption);
  void DisablePlayCommands();                  // Give up and Pause off, Pause unchecked
  void SetTitleCommandsEnabled(bool enabled);  // Start Game, Edit Mode, Play Edit
  void CaptionForFile(const std::string& path);
  // Asks before unsaved stages are replaced or left; true to go on.
  bool MayDiscardStages();
  // The open dialog of Open and Play Edit; nothing when cancelled.
  std::optional<std::string> AskForStageFile();

  platform::Services services_;
  bool play_clock_running_ = false;
  TInputLatches keys_;  // cleared at every stage start
};

}  // namespace bd
