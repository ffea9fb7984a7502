// The main window's modes, commands, confirm action, menu enabling and
// captions, run on the headless services.
#include <gtest/gtest.h>

#include "app/app.h"
#include "platform/headless/headless_services.h"
#include "tests/game_seam.h"

namespace bd {
namespace {

using enum TMenuItemId;
using testing::EditGame;

class ModeMachine : public ::testing::Test {
 protected:
  ModeMachine() { app.Startup(); }

  void ExpectMenuForMode(const char* mode, bool give_up_and_pause, bool title_commands, bool edit_menu) {
    SCOPED_TRACE(mode);
    EXPECT_EQ(app.menu.Enabled(GiveUp), give_up_and_pause);
    EXPECT_EQ(app.menu.Enabled(Pause), give_up_and_pause);
    for (TMenuItemId id : {StartGame, EditMode, PlayEditedSet})
      EXPECT_EQ(app.menu.Enabled(id), title_commands);
    EXPECT_EQ(app.menu.Enabled(EditMenu), edit_menu);
    for (TMenuItemId id : {GoToTitle, Quit, ToggleMusic, ToggleSound}) EXPECT_TRUE(app.menu.Active(id));
  }

  // Ends the runner's death the way the play tick leaves it.
  void FinishDeath() {
    EditGame(app.game, [&](TGameState& s) { s.play.runner.DeathTicks = 18; });
  }

  std::string Folder() const { return "/opt/burrow-dash/"; }

  platform::HeadlessServices headless;
  TApp app{headless.services()};
};

TEST_F(ModeMachine, StartUpPlacesTheWindowAndOpensOnTheTitle) {
  EXPECT_EQ(app.GameMode, gmTitle);
  EXPECT_EQ(headless.window.left, 1920 / 2 - 256);
  EXPECT_EQ(headless.window.top, 1080 / 2 - 256);
  EXPECT_EQ(headless.window.client_width, 512);
  EXPECT_EQ(headless.window.client_height, 448);
  EXPECT_EQ(app.ProgramFolder, Folder());
  EXPECT_EQ(headless.window.caption, "Burrow Dash");
  EXPECT_TRUE(app.sound.SoundOn() && app.sound.MusicOn());
  EXPECT_TRUE(app.menu.Checked(ToggleMusic) && app.menu.Checked(ToggleSound));
  EXPECT_EQ(app.game.progress().Lives, 5);
  EXPECT_EQ(app.TitleChoice, 1);
  EXPECT_EQ(headless.audio.music_calls, std::vector<std::string>{"start " + Folder() + "tit.mid"});
  EXPECT_FALSE(app.PlayClockRunning());
  EXPECT_EQ(app.game.random().seed, headless.clock.seed);
  for (const TStageGrid& stage : app.editor.stages()) {
    TStageGrid framed;
    ClearToFrame(framed);
    EXPECT_EQ(stage, framed);
  }
  ExpectMenuForMode("title", false, true, false);
}

TEST(ModeMachinePlacement, TopIsClampedAndLeftIsNot) {
  platform::HeadlessServices headless;
  headless.window.screen = {400, 500};
  TApp app(headless.services());
  app.Startup();
  EXPECT_EQ(headless.window.left, 200 - 256);
  EXPECT_EQ(headless.window.top, 0);
}

TEST_F(ModeMachine, MenuEnablingFollowsTheModes) {
  app.StartGame();
  ExpectMenuForMode("game", true, false, false);
  app.GoToTitle();
  app.EditMode();
  ExpectMenuForMode("edit", false, false, true);
  app.TestPlay();
  ExpectMenuForMode("test play", true, false, false);
  app.GoToTitle();
  app.StartGame();
  EditGame(app.game, [&](TGameState& s) { s.progress.Lives = 1; });
  FinishDeath();
  app.ConfirmAction();
  ASSERT_EQ(app.GameMode, gmGameOver);
  ExpectMenuForMode("game over", true, false, false);
  app.GoToTitle();
  ExpectMenuForMode("title again", false, true, false);
}

TEST_F(ModeMachine, ConfirmOnTheTitleFollowsTheCursor) {
  app.ConfirmAction();
  EXPECT_EQ(app.GameMode, gmGame);
  EXPECT_EQ(app.game.progress().StageIndex, 0);
  EXPECT_TRUE(app.PlayClockRunning());
  app.GoToTitle();
  app.KeyDown(vkDown);
  EXPECT_EQ(app.TitleChoice, 2);
  EXPECT_EQ(app.keys().KeyDown, 0);  // the title cursor sets no latch
  app.KeyDown(vkSpace);
  EXPECT_EQ(app.GameMode, gmEdit);
  EXPECT_TRUE(headless.window.palette_visible);
}

TEST_F(ModeMachine, TestPlayComesBackToTheEditorByEscapeDeathOrTally) {
  app.EditMode();
  app.SelectEditStage(3);
  app.ConfirmAction();
  ASSERT_EQ(app.GameMode, gmTestPlay);
  EXPECT_EQ(app.game.progress().StageIndex, 3);
  EXPECT_FALSE(headless.window.palette_visible);
  EXPECT_EQ(app.game.play().StartDelay, 0);  // no banner in test play

  app.KeyDown(vkEscape);
  EXPECT_EQ(app.GameMode, gmEdit);
  EXPECT_FALSE(app.PlayClockRunning());

  app.RunCommand(TestPlay);
  ASSERT_EQ(app.GameMode, gmTestPlay);
  FinishDeath();
  app.ConfirmAction();
  EXPECT_EQ(app.GameMode, gmEdit);
  EXPECT_EQ(app.game.progress().Lives, 5);  // a death in test play costs no life

  // Entering the editor leaves DeathTicks at 18: confirm stops at the death test.
  app.ConfirmAction();
  EXPECT_EQ(app.GameMode, gmEdit);
  app.RunCommand(TestPlay);  // F4 works throughout
  ASSERT_EQ(app.GameMode, gmTestPlay);
  EditGame(app.game, [&](TGameState& s) { s.play.phase = spTally; });
  app.ConfirmAction();
  EXPECT_EQ(app.GameMode, gmEdit);
  EXPECT_EQ(app.editor.current_stage(), 3);
}

TEST_F(ModeMachine, DeathsCostLivesUntilTheGameIsOver) {
  app.StartGame();
  EditGame(app.game, [&](TGameState& s) { s.progress.StageIndex = 2; });
  FinishDeath();
  app.ConfirmAction();
  EXPECT_EQ(app.GameMode, gmGame);
  EXPECT_EQ(app.game.progress().Lives, 4);
  EXPECT_EQ(app.game.progress().StageIndex, 2);
  EXPECT_EQ(app.game.play().runner.DeathTicks, 0);
  EXPECT_TRUE(app.PlayClockRunning());

  EditGame(app.game, [&](TGameState& s) { s.progress.Lives = 1; });
  FinishDeath();
  app.ConfirmAction();
  EXPECT_EQ(app.GameMode, gmGameOver);
  EXPECT_EQ(app.game.progress().Lives, 0);
  EXPECT_FALSE(app.PlayClockRunning());
  EXPECT_EQ(app.game.play().runner.DeathTicks, 0);
  EXPECT_EQ(headless.audio.music_calls.back(), "start " + Folder() + "mus3.mid");

  // Give up on the game-over screen changes nothing visible; confirm still leads to the title.
  app.RunCommand(GiveUp);
  EXPECT_EQ(app.GameMode, gmGameOver);
  app.ConfirmAction();
  EXPECT_EQ(app.GameMode, gmTitle);
}

TEST_F(ModeMachine, TallyLeadsToTheNextStageOrEndsTheSet) {
  app.StartGame();
  EditGame(app.game, [&](TGameState& s) { s.play.phase = spTally; });
  app.ConfirmAction();
  EXPECT_EQ(app.GameMode, gmGame);
  EXPECT_EQ(app.game.progress().StageIndex, 1);
  EXPECT_EQ(app.game.play().phase, spCollect);

  // After the sixth stage of a Play Edit game comes the game-over screen.
  EditGame(app.game, [&](TGameState& s) {
    s.progress.PlayEditSet = true;
    s.progress.StageIndex = 5;
    s.play.phase = spTally;
  });
  app.ConfirmAction();
  EXPECT_EQ(app.GameMode, gmGameOver);
  EXPECT_EQ(app.game.play().phase, spCollect);

  // The built-in set has no stage after the sixteenth either.
  app.GoToTitle();
  EXPECT_FALSE(app.game.progress().PlayEditSet);
  app.StartGame();
  EditGame(app.game, [&](TGameState& s) {
    s.progress.StageIndex = 15;
    s.play.phase = spTally;
  });
  app.ConfirmAction();
  EXPECT_EQ(app.GameMode, gmGameOver);
}

TEST_F(ModeMachine, ConfirmTestsTheDeathBeforeTheEditorAndTheTally) {
  app.EditMode();
  FinishDeath();
  app.ConfirmAction();
  EXPECT_EQ(app.GameMode, gmEdit);  // no test play

  // A death given up during the tally: the death is looked at first.
  app.GoToTitle();
  app.StartGame();
  EditGame(app.game, [&](TGameState& s) { s.play.phase = spTally; });
  app.GiveUp();
  EXPECT_EQ(app.game.play().runner.DeathTicks, 1);
  app.ConfirmAction();  // DeathTicks 1: the tally decides
  EXPECT_EQ(app.game.progress().StageIndex, 1);
  EXPECT_EQ(app.game.progress().Lives, 5);

  // Alive, no tally: nothing.
  app.ConfirmAction();
  EXPECT_EQ(app.game.progress().StageIndex, 1);
  EXPECT_EQ(app.GameMode, gmGame);
}

TEST_F(ModeMachine, TitleFromAnywhereResetsTheGame) {
  app.StartGame();
  EditGame(app.game, [&](TGameState& s) {
    s.progress.Score = 40;
    s.progress.Lives = 2;
  });
  app.Pause();
  app.GiveUp();
  app.RunCommand(GoToTitle);
  EXPECT_EQ(app.GameMode, gmTitle);
  EXPECT_EQ(app.game.play().runner.DeathTicks, 0);
  EXPECT_FALSE(app.menu.Checked(Pause));
  EXPECT_FALSE(app.PlayClockRunning());
  EXPECT_EQ(app.game.progress().Lives, 5);
  EXPECT_EQ(app.game.progress().Score, 0);
  EXPECT_FALSE(headless.window.palette_visible);
}

TEST_F(ModeMachine, PauseStopsThePlayClockAndTheKeysButNotKeyUps) {
  app.StartGame();
  app.KeyDown(vkLeft);
  app.RunCommand(Pause);
  EXPECT_TRUE(app.menu.Checked(Pause));
  EXPECT_FALSE(app.PlayClockRunning());
  app.KeyDown(vkRight);
  app.KeyDown(vkSpace);
  EXPECT_EQ(app.keys().KeyRight, 0);
  app.KeyUp(vkLeft);
  EXPECT_EQ(app.keys().KeyLeft, 0);
  // Menu commands are not paused.
  EditGame(app.game, [&](TGameState& s) { s.progress.Lives = 1; });
  FinishDeath();
  app.ConfirmAction();  // Space is ignored, but the joystick's confirm is not
  EXPECT_EQ(app.GameMode, gmGameOver);
  app.KeyDown(vkSpace);
  EXPECT_EQ(app.GameMode, gmGameOver);
  app.RunCommand(Pause);
  EXPECT_FALSE(app.menu.Checked(Pause));
  EXPECT_TRUE(app.PlayClockRunning());
  app.KeyDown(vkSpace);
  EXPECT_EQ(app.GameMode, gmTitle);
}

TEST_F(ModeMachine, CommandsOfDisabledMenusDoNothing) {
  app.RunCommand(TestPlay);
  app.RunCommand(EditStage3);
  EXPECT_EQ(app.GameMode, gmTitle);
  EXPECT_EQ(app.editor.current_stage(), 0);
  app.StartGame();
  app.RunCommand(EditStage3);
  app.RunCommand(EditMode);
  app.RunCommand(StartGame);
  EXPECT_EQ(app.editor.current_stage(), 0);
  EXPECT_EQ(app.GameMode, gmGame);
  app.GoToTitle();
  app.RunCommand(GiveUp);
  EXPECT_EQ(app.game.play().runner.DeathTicks, 0);
}

TEST_F(ModeMachine, EditModeNamesTheStageFileInTheCaption) {
  app.EditMode();
  EXPECT_EQ(headless.window.caption, "Burrow Dash");
  app.GoToTitle();
  app.editor.AdoptStageFile("/home/player/stages/mine.bds", app.editor.stages());
  app.EditMode();
  EXPECT_EQ(headless.window.caption, "Burrow Dash - mine.bds");
  app.TestPlay();
  EXPECT_EQ(headless.window.caption, "Burrow Dash - mine.bds");  // test play leaves it

  app.EditMode();
  headless.dialogs.message_box_answers = {false};
  app.RunCommand(ClearAllStages);
  EXPECT_EQ(headless.window.caption, "Burrow Dash - mine.bds");
  EXPECT_EQ(app.editor.file_name(), "/home/player/stages/mine.bds");

  app.SelectEditStage(2);
  app.editor.SetCell(0, 4, 4, tcGold);
  app.RunCommand(ClearAllStages);  // answered OK
  EXPECT_EQ(headless.window.caption, "Burrow Dash");
  EXPECT_EQ(app.editor.file_name(), "*.bds");
  EXPECT_EQ(app.editor.current_stage(), 0);
  EXPECT_TRUE(app.menu.Checked(EditStage1));
  EXPECT_EQ(app.editor.stages()[0].at(4, 4), tcEmpty);
  ASSERT_EQ(headless.dialogs.message_boxes.size(), 2u);
  EXPECT_EQ(headless.dialogs.message_boxes[1].text, "All Clear?");
  EXPECT_EQ(headless.dialogs.message_boxes[1].caption, "BurrowDash");

  app.GoToTitle();
  app.StartGame();
  EXPECT_EQ(headless.window.caption, "Burrow Dash");
}

TEST_F(ModeMachine, ClearEmptiesOnlyTheStageOnScreenAndOnlyOnOk) {
  app.EditMode();
  app.SelectEditStage(1);
  app.editor.SetCell(1, 2, 2, tcBrick);
  app.editor.SetCell(2, 2, 2, tcBrick);
  headless.dialogs.message_box_answers = {false, true};
  app.RunCommand(ClearEditedStage);
  EXPECT_EQ(app.editor.stages()[1].at(2, 2), tcBrick);
  app.RunCommand(ClearEditedStage);
  EXPECT_EQ(app.editor.stages()[1].at(2, 2), tcEmpty);
  EXPECT_EQ(app.editor.stages()[2].at(2, 2), tcBrick);
  EXPECT_EQ(headless.dialogs.message_boxes.back().text, "Clear?");
}

TEST_F(ModeMachine, MusicAndSoundToggles) {
  app.RunCommand(ToggleMusic);
  EXPECT_FALSE(app.sound.MusicOn());
  EXPECT_FALSE(app.menu.Checked(ToggleMusic));
  EXPECT_EQ(headless.audio.music_calls.back(), "stop");  // the menu's stop is not guarded
  const size_t calls = headless.audio.music_calls.size();
  app.EditMode();  // entering the editor with music off leaves the player alone
  app.GoToTitle();
  app.StartGame();
  EXPECT_EQ(headless.audio.music_calls.size(), calls);
  app.RunCommand(ToggleMusic);
  EXPECT_TRUE(app.sound.MusicOn());
  EXPECT_EQ(headless.audio.music_calls.size(), calls);  // turning music on starts nothing
  app.GoToTitle();
  EXPECT_EQ(headless.audio.music_calls.back(), "start " + Folder() + "tit.mid");

  app.RunCommand(ToggleSound);
  EXPECT_FALSE(app.sound.SoundOn());
  EXPECT_FALSE(app.menu.Checked(ToggleSound));
  app.RunCommand(ToggleSound);
  EXPECT_TRUE(app.sound.SoundOn() && app.menu.Checked(ToggleSound));
}

TEST_F(ModeMachine, AMissingPieceIsReportedOnceAndTheGamePlaysOn) {
  headless.audio.missing_pieces = {"mus1.mid"};
  app.StartGame();
  // The stage started in full: banner, play commands, play clock.
  EXPECT_EQ(app.GameMode, gmGame);
  EXPECT_TRUE(app.menu.Enabled(GiveUp));
  EXPECT_TRUE(app.PlayClockRunning());
  EXPECT_EQ(app.game.play().StartDelay, kBannerTicks);
  ASSERT_EQ(headless.dialogs.message_boxes.size(), 1u);
  EXPECT_EQ(headless.dialogs.message_boxes[0].text, "cannot open " + Folder() + "mus1.mid");
  EXPECT_EQ(headless.dialogs.message_boxes[0].caption, "Burrow Dash");
  EXPECT_FALSE(headless.dialogs.message_boxes[0].ok_cancel);

  // Giving up: the dying stops the music that never started, and counts on.
  app.RunCommand(GiveUp);
  for (int tick = 0; tick < kBannerTicks + kDeathTicksOver; ++tick) app.PlayTick();
  EXPECT_EQ(app.game.play().runner.DeathTicks, kDeathTicksOver);
  app.ConfirmAction();  // the next life starts the stage, and its music, again
  EXPECT_EQ(app.game.progress().Lives, 4);
  EXPECT_TRUE(app.PlayClockRunning());
  EXPECT_EQ(headless.dialogs.message_boxes.size(), 1u);  // once a run, not at every start
}

TEST_F(ModeMachine, QuitClosesTheWindow) {
  app.RunCommand(Quit);
  EXPECT_TRUE(headless.window.close_requested);
}

TEST(Joystick, LimitsAndButtonsFollowTheDeadZoneRules) {
  platform::HeadlessServices headless;
  headless.joystick.caps = platform::JoyCaps{0, 65535, 0, 65535};
  TApp app(headless.services());
  app.Startup();
  EXPECT_EQ(app.joy.JoyLeftLimit, 21845u);
  EXPECT_EQ(app.joy.JoyRightLimit, 43690u);

  headless.joystick.position = {21844, 43691, 0, 3};  // both buttons: none at all
  app.PollJoystick();
  EXPECT_EQ(app.joy.JoyLeft, 1);
  EXPECT_EQ(app.joy.JoyDown, 1);
  EXPECT_EQ(app.TitleChoice, 2);
  EXPECT_EQ(app.joy.JoyDigLeft, 0);
  EXPECT_EQ(app.GameMode, gmTitle);

  // Stick up with button 1: the cursor moves first, then the game starts.
  headless.joystick.position = {21845, 0, 0, 1};
  app.PollJoystick();
  EXPECT_EQ(app.joy.JoyLeft, 0);  // strict comparison
  EXPECT_EQ(app.TitleChoice, 1);
  EXPECT_EQ(app.GameMode, gmGame);

  // A failed poll keeps every state.
  headless.joystick.position_ok = false;
  app.PollJoystick();
  EXPECT_EQ(app.joy.JoyUp, 1);
  EXPECT_EQ(app.joy.JoyDigLeft, 1);
  headless.joystick.position_ok = true;
  headless.joystick.position = {30000, 30000, 0, 2};
  app.PollJoystick();
  EXPECT_EQ(app.joy.JoyDigRight, 1);
  EXPECT_EQ(app.joy.JoyDigLeft, 0);
}

}  // namespace
}  // namespace bd
