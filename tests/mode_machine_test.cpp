// The main window's modes, commands, confirm action, menu enabling and
// captions, run on the headless services.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "platform/headless/headless_services.h"

namespace bd {
namespace {

using enum TMenuItemId;

class ModeMachine : public ::testing::Test {
 protected:
  ModeMachine() { form.FormCreate(); }

  void ExpectMenuForMode(const char* mode, bool give_up_and_pause, bool title_commands, bool edit_menu) {
    SCOPED_TRACE(mode);
    EXPECT_EQ(form.MainMenu1.Enabled(Replay1), give_up_and_pause);
    EXPECT_EQ(form.MainMenu1.Enabled(PAUSE1), give_up_and_pause);
    for (TMenuItemId id : {Start1, Edit1, PlayEdit1}) EXPECT_EQ(form.MainMenu1.Enabled(id), title_commands);
    EXPECT_EQ(form.MainMenu1.Enabled(Edit2), edit_menu);
    for (TMenuItemId id : {Reset1, Exit1, Music1, Sound1}) EXPECT_TRUE(form.MainMenu1.Active(id));
  }

  // Ends the runner's death the way the play tick leaves it.
  void FinishDeath() { form.play.runner.DeathTicks = 18; }

  std::string Folder() const { return "/opt/burrow-dash/"; }

  platform::HeadlessServices headless;
  TForm1 form{headless.services()};
};

TEST_F(ModeMachine, StartUpPlacesTheWindowAndOpensOnTheTitle) {
  EXPECT_EQ(form.game.GameMode, gmTitle);
  EXPECT_EQ(headless.window.left, 1920 / 2 - 256);
  EXPECT_EQ(headless.window.top, 1080 / 2 - 256);
  EXPECT_EQ(headless.window.client_width, 512);
  EXPECT_EQ(headless.window.client_height, 448);
  EXPECT_EQ(form.ProgramFolder, Folder());
  EXPECT_EQ(headless.window.caption, "Burrow Dash");
  EXPECT_TRUE(form.game.SoundOn && form.game.MusicOn);
  EXPECT_TRUE(form.MainMenu1.Checked(Music1) && form.MainMenu1.Checked(Sound1));
  EXPECT_EQ(form.game.Lives, 5);
  EXPECT_EQ(form.game.TitleChoice, 1);
  EXPECT_EQ(headless.audio.music_calls, std::vector<std::string>{"start " + Folder() + "tit.mid"});
  EXPECT_FALSE(form.Timer1Enabled());
  EXPECT_EQ(form.random.seed, headless.clock.seed);
  for (const TStageGrid& stage : form.EditSet.stages) {
    TStageGrid framed;
    ClearToFrame(framed);
    EXPECT_EQ(stage, framed);
  }
  ExpectMenuForMode("title", false, true, false);
}

TEST(ModeMachinePlacement, TopIsClampedAndLeftIsNot) {
  platform::HeadlessServices headless;
  headless.window.screen = {400, 500};
  TForm1 form(headless.services());
  form.FormCreate();
  EXPECT_EQ(headless.window.left, 200 - 256);
  EXPECT_EQ(headless.window.top, 0);
}

TEST_F(ModeMachine, MenuEnablingFollowsTheModes) {
  form.Start1Click();
  ExpectMenuForMode("game", true, false, false);
  form.Reset1Click();
  form.Edit1Click();
  ExpectMenuForMode("edit", false, false, true);
  form.TestPlay1Click();
  ExpectMenuForMode("test play", true, false, false);
  form.Reset1Click();
  form.Start1Click();
  form.game.Lives = 1;
  FinishDeath();
  form.ConfirmAction();
  ASSERT_EQ(form.game.GameMode, gmGameOver);
  ExpectMenuForMode("game over", true, false, false);
  form.Reset1Click();
  ExpectMenuForMode("title again", false, true, false);
}

TEST_F(ModeMachine, ConfirmOnTheTitleFollowsTheCursor) {
  form.ConfirmAction();
  EXPECT_EQ(form.game.GameMode, gmGame);
  EXPECT_EQ(form.game.StageIndex, 0);
  EXPECT_TRUE(form.Timer1Enabled());
  form.Reset1Click();
  form.FormKeyDown(vkDown);
  EXPECT_EQ(form.game.TitleChoice, 2);
  EXPECT_EQ(form.play.keys.KeyDown, 0);  // the title cursor sets no latch
  form.FormKeyDown(vkSpace);
  EXPECT_EQ(form.game.GameMode, gmEdit);
  EXPECT_TRUE(headless.window.palette_visible);
}

TEST_F(ModeMachine, TestPlayComesBackToTheEditorByEscapeDeathOrTally) {
  form.Edit1Click();
  form.N11Click(3);
  form.ConfirmAction();
  ASSERT_EQ(form.game.GameMode, gmTestPlay);
  EXPECT_EQ(form.game.StageIndex, 3);
  EXPECT_FALSE(headless.window.palette_visible);
  EXPECT_EQ(form.play.StartDelay, 0);  // no banner in test play

  form.FormKeyDown(vkEscape);
  EXPECT_EQ(form.game.GameMode, gmEdit);
  EXPECT_FALSE(form.Timer1Enabled());

  form.MenuClick(TestPlay1);
  ASSERT_EQ(form.game.GameMode, gmTestPlay);
  FinishDeath();
  form.ConfirmAction();
  EXPECT_EQ(form.game.GameMode, gmEdit);
  EXPECT_EQ(form.game.Lives, 5);  // a death in test play costs no life

  // Entering the editor leaves DeathTicks at 18: confirm stops at the death test.
  form.ConfirmAction();
  EXPECT_EQ(form.game.GameMode, gmEdit);
  form.MenuClick(TestPlay1);  // F4 works throughout
  ASSERT_EQ(form.game.GameMode, gmTestPlay);
  form.play.phase = spTally;
  form.ConfirmAction();
  EXPECT_EQ(form.game.GameMode, gmEdit);
  EXPECT_EQ(form.EditStage, 3);
}

TEST_F(ModeMachine, DeathsCostLivesUntilTheGameIsOver) {
  form.Start1Click();
  form.game.StageIndex = 2;
  FinishDeath();
  form.ConfirmAction();
  EXPECT_EQ(form.game.GameMode, gmGame);
  EXPECT_EQ(form.game.Lives, 4);
  EXPECT_EQ(form.game.StageIndex, 2);
  EXPECT_EQ(form.play.runner.DeathTicks, 0);
  EXPECT_TRUE(form.Timer1Enabled());

  form.game.Lives = 1;
  FinishDeath();
  form.ConfirmAction();
  EXPECT_EQ(form.game.GameMode, gmGameOver);
  EXPECT_EQ(form.game.Lives, 0);
  EXPECT_FALSE(form.Timer1Enabled());
  EXPECT_EQ(form.play.runner.DeathTicks, 0);
  EXPECT_EQ(headless.audio.music_calls.back(), "start " + Folder() + "mus3.mid");

  // Give up on the game-over screen changes nothing visible; confirm still leads to the title.
  form.MenuClick(Replay1);
  EXPECT_EQ(form.game.GameMode, gmGameOver);
  form.ConfirmAction();
  EXPECT_EQ(form.game.GameMode, gmTitle);
}

TEST_F(ModeMachine, TallyLeadsToTheNextStageOrEndsTheSet) {
  form.Start1Click();
  form.play.phase = spTally;
  form.ConfirmAction();
  EXPECT_EQ(form.game.GameMode, gmGame);
  EXPECT_EQ(form.game.StageIndex, 1);
  EXPECT_EQ(form.play.phase, spCollect);

  // After the sixth stage of a Play Edit game comes the game-over screen.
  form.game.PlayEditSet = true;
  form.game.StageIndex = 5;
  form.play.phase = spTally;
  form.ConfirmAction();
  EXPECT_EQ(form.game.GameMode, gmGameOver);
  EXPECT_EQ(form.play.phase, spCollect);

  // The built-in set has no stage after the sixteenth either.
  form.Reset1Click();
  EXPECT_FALSE(form.game.PlayEditSet);
  form.Start1Click();
  form.game.StageIndex = 15;
  form.play.phase = spTally;
  form.ConfirmAction();
  EXPECT_EQ(form.game.GameMode, gmGameOver);
}

TEST_F(ModeMachine, ConfirmTestsTheDeathBeforeTheEditorAndTheTally) {
  form.Edit1Click();
  FinishDeath();
  form.ConfirmAction();
  EXPECT_EQ(form.game.GameMode, gmEdit);  // no test play

  // A death given up during the tally: the death is looked at first.
  form.Reset1Click();
  form.Start1Click();
  form.play.phase = spTally;
  form.Replay1Click();
  EXPECT_EQ(form.play.runner.DeathTicks, 1);
  form.ConfirmAction();  // DeathTicks 1: the tally decides
  EXPECT_EQ(form.game.StageIndex, 1);
  EXPECT_EQ(form.game.Lives, 5);

  // Alive, no tally: nothing.
  form.ConfirmAction();
  EXPECT_EQ(form.game.StageIndex, 1);
  EXPECT_EQ(form.game.GameMode, gmGame);
}

TEST_F(ModeMachine, TitleFromAnywhereResetsTheGame) {
  form.Start1Click();
  form.game.Score = 40;
  form.game.Lives = 2;
  form.PAUSE1Click();
  form.Replay1Click();
  form.MenuClick(Reset1);
  EXPECT_EQ(form.game.GameMode, gmTitle);
  EXPECT_EQ(form.play.runner.DeathTicks, 0);
  EXPECT_FALSE(form.MainMenu1.Checked(PAUSE1));
  EXPECT_FALSE(form.Timer1Enabled());
  EXPECT_EQ(form.game.Lives, 5);
  EXPECT_EQ(form.game.Score, 0);
  EXPECT_FALSE(headless.window.palette_visible);
}

TEST_F(ModeMachine, PauseStopsTheTimerAndTheKeysButNotKeyUps) {
  form.Start1Click();
  form.FormKeyDown(vkLeft);
  form.MenuClick(PAUSE1);
  EXPECT_TRUE(form.MainMenu1.Checked(PAUSE1));
  EXPECT_FALSE(form.Timer1Enabled());
  form.FormKeyDown(vkRight);
  form.FormKeyDown(vkSpace);
  EXPECT_EQ(form.play.keys.KeyRight, 0);
  form.FormKeyUp(vkLeft);
  EXPECT_EQ(form.play.keys.KeyLeft, 0);
  // Menu commands are not paused.
  form.game.Lives = 1;
  FinishDeath();
  form.ConfirmAction();  // Space is ignored, but the joystick's confirm is not
  EXPECT_EQ(form.game.GameMode, gmGameOver);
  form.FormKeyDown(vkSpace);
  EXPECT_EQ(form.game.GameMode, gmGameOver);
  form.MenuClick(PAUSE1);
  EXPECT_FALSE(form.MainMenu1.Checked(PAUSE1));
  EXPECT_TRUE(form.Timer1Enabled());
  form.FormKeyDown(vkSpace);
  EXPECT_EQ(form.game.GameMode, gmTitle);
}

TEST_F(ModeMachine, CommandsOfDisabledMenusDoNothing) {
  form.MenuClick(TestPlay1);
  form.MenuClick(N31);
  EXPECT_EQ(form.game.GameMode, gmTitle);
  EXPECT_EQ(form.EditStage, 0);
  form.Start1Click();
  form.MenuClick(N31);
  form.MenuClick(Edit1);
  form.MenuClick(Start1);
  EXPECT_EQ(form.EditStage, 0);
  EXPECT_EQ(form.game.GameMode, gmGame);
  form.Reset1Click();
  form.MenuClick(Replay1);
  EXPECT_EQ(form.play.runner.DeathTicks, 0);
}

TEST_F(ModeMachine, EditModeNamesTheStageFileInTheCaption) {
  form.Edit1Click();
  EXPECT_EQ(headless.window.caption, "Burrow Dash");
  form.Reset1Click();
  form.SaveDialogFileName = "/home/player/stages/mine.bds";
  form.Edit1Click();
  EXPECT_EQ(headless.window.caption, "Burrow Dash - mine.bds");
  form.TestPlay1Click();
  EXPECT_EQ(headless.window.caption, "Burrow Dash - mine.bds");  // test play leaves it

  form.Edit1Click();
  headless.dialogs.message_box_answers = {false};
  form.MenuClick(AllClear1);
  EXPECT_EQ(headless.window.caption, "Burrow Dash - mine.bds");
  EXPECT_EQ(form.SaveDialogFileName, "/home/player/stages/mine.bds");

  form.N11Click(2);
  form.EditSet.stages[0].at(4, 4) = tcGold;
  form.MenuClick(AllClear1);  // answered OK
  EXPECT_EQ(headless.window.caption, "Burrow Dash");
  EXPECT_EQ(form.SaveDialogFileName, "*.bds");
  EXPECT_EQ(form.EditStage, 0);
  EXPECT_TRUE(form.MainMenu1.Checked(N11));
  EXPECT_EQ(form.EditSet.stages[0].at(4, 4), tcEmpty);
  ASSERT_EQ(headless.dialogs.message_boxes.size(), 2u);
  EXPECT_EQ(headless.dialogs.message_boxes[1].text, "All Clear?");
  EXPECT_EQ(headless.dialogs.message_boxes[1].caption, "BurrowDash");

  form.Reset1Click();
  form.Start1Click();
  EXPECT_EQ(headless.window.caption, "Burrow Dash");
}

TEST_F(ModeMachine, ClearEmptiesOnlyTheStageOnScreenAndOnlyOnOk) {
  form.Edit1Click();
  form.N11Click(1);
  form.EditSet.stages[1].at(2, 2) = tcBrick;
  form.EditSet.stages[2].at(2, 2) = tcBrick;
  headless.dialogs.message_box_answers = {false, true};
  form.MenuClick(New1);
  EXPECT_EQ(form.EditSet.stages[1].at(2, 2), tcBrick);
  form.MenuClick(New1);
  EXPECT_EQ(form.EditSet.stages[1].at(2, 2), tcEmpty);
  EXPECT_EQ(form.EditSet.stages[2].at(2, 2), tcBrick);
  EXPECT_EQ(headless.dialogs.message_boxes.back().text, "Clear?");
}

TEST_F(ModeMachine, MusicAndSoundToggles) {
  form.MenuClick(Music1);
  EXPECT_FALSE(form.game.MusicOn);
  EXPECT_FALSE(form.MainMenu1.Checked(Music1));
  EXPECT_EQ(headless.audio.music_calls.back(), "stop");  // the menu's stop is not guarded
  const size_t calls = headless.audio.music_calls.size();
  form.Edit1Click();  // entering the editor with music off leaves the player alone
  form.Reset1Click();
  form.Start1Click();
  EXPECT_EQ(headless.audio.music_calls.size(), calls);
  form.MenuClick(Music1);
  EXPECT_TRUE(form.game.MusicOn);
  EXPECT_EQ(headless.audio.music_calls.size(), calls);  // turning music on starts nothing
  form.Reset1Click();
  EXPECT_EQ(headless.audio.music_calls.back(), "start " + Folder() + "tit.mid");

  form.MenuClick(Sound1);
  EXPECT_FALSE(form.game.SoundOn);
  EXPECT_FALSE(form.MainMenu1.Checked(Sound1));
  form.MenuClick(Sound1);
  EXPECT_TRUE(form.game.SoundOn && form.MainMenu1.Checked(Sound1));
}

TEST_F(ModeMachine, AFailingServiceEndsTheHandlerAtThatStep) {
  headless.audio.fail_next_music = "cannot open mus1.mid";
  EXPECT_THROW(form.Start1Click(), platform::PlatformError);
  // The steps before the music cue were made; the ones after it were not.
  EXPECT_EQ(form.game.GameMode, gmGame);
  EXPECT_TRUE(form.MainMenu1.Enabled(Replay1));
  EXPECT_FALSE(form.Timer1Enabled());
  // The program goes on.
  form.MenuClick(Reset1);
  EXPECT_EQ(form.game.GameMode, gmTitle);
}

TEST_F(ModeMachine, QuitClosesTheWindow) {
  form.MenuClick(Exit1);
  EXPECT_TRUE(headless.window.close_requested);
}

TEST(Joystick, LimitsAndButtonsFollowTheDeadZoneRules) {
  platform::HeadlessServices headless;
  headless.joystick.caps = platform::JoyCaps{0, 65535, 0, 65535};
  TForm1 form(headless.services());
  form.FormCreate();
  EXPECT_EQ(form.joy.JoyLeftLimit, 21845u);
  EXPECT_EQ(form.joy.JoyRightLimit, 43690u);

  headless.joystick.position = {21844, 43691, 0, 3};  // both buttons: none at all
  form.Timer2Timer();
  EXPECT_EQ(form.joy.JoyLeft, 1);
  EXPECT_EQ(form.joy.JoyDown, 1);
  EXPECT_EQ(form.game.TitleChoice, 2);
  EXPECT_EQ(form.joy.JoyDigLeft, 0);
  EXPECT_EQ(form.game.GameMode, gmTitle);

  // Stick up with button 1: the cursor moves first, then the game starts.
  headless.joystick.position = {21845, 0, 0, 1};
  form.Timer2Timer();
  EXPECT_EQ(form.joy.JoyLeft, 0);  // strict comparison
  EXPECT_EQ(form.game.TitleChoice, 1);
  EXPECT_EQ(form.game.GameMode, gmGame);

  // A failed poll keeps every state.
  headless.joystick.position_ok = false;
  form.Timer2Timer();
  EXPECT_EQ(form.joy.JoyUp, 1);
  EXPECT_EQ(form.joy.JoyDigLeft, 1);
  headless.joystick.position_ok = true;
  headless.joystick.position = {30000, 30000, 0, 2};
  form.Timer2Timer();
  EXPECT_EQ(form.joy.JoyDigRight, 1);
  EXPECT_EQ(form.joy.JoyDigLeft, 0);
}

}  // namespace
}  // namespace bd
