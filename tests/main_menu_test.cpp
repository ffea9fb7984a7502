#include "app/main_menu.h"

#include <gtest/gtest.h>

namespace bd {
namespace {

using enum TMenuItemId;

TEST(MainMenu, ShortcutsCarryTheStoredCodes) {
  const TMainMenu menu;
  const struct {
    TMenuItemId id;
    int code;
  } expected[] = {{GoToTitle, 112},     {GiveUp, 116},          {Pause, 16464},      {StartGame, 32851},
                  {EditMode, 32837},    {PlayEditedSet, 32848}, {Quit, 16465},       {OpenStages, 114},
                  {SaveStages, 113},    {EditStage1, 16433},    {EditStage6, 16438}, {TestPlay, 115},
                  {ToggleMusic, 16461}, {ToggleSound, 16467}};
  for (const auto& [id, code] : expected) {
    EXPECT_EQ(menu.Item(id).shortcut, code) << menu.Item(id).name;
    EXPECT_EQ(menu.FindShortcut(code), id) << code;
  }
  EXPECT_EQ(menu.FindShortcut('Z'), std::nullopt);
  EXPECT_EQ(menu.FindShortcut(0), std::nullopt);
}

TEST(MainMenu, AnItemActsOnlyWhenItAndEveryMenuAboveItAreEnabled) {
  TMainMenu menu;
  EXPECT_TRUE(menu.Active(EditStage3));
  menu.SetEnabled(EditMenu, false);
  EXPECT_FALSE(menu.Active(EditStage3));  // two levels below the disabled menu
  EXPECT_FALSE(menu.Active(TestPlay));
  EXPECT_TRUE(menu.Enabled(TestPlay));
  EXPECT_TRUE(menu.Active(GoToTitle));
  menu.SetEnabled(EditMenu, true);
  menu.SetEnabled(StageMenu, false);
  EXPECT_FALSE(menu.Active(EditStage3));
  EXPECT_TRUE(menu.Active(TestPlay));
}

TEST(MainMenu, StageItemsAreOneRadioGroupStartingOnTheFirst) {
  TMainMenu menu;
  EXPECT_TRUE(menu.Checked(EditStage1));
  menu.SetChecked(EditStage4, true);
  EXPECT_TRUE(menu.Checked(EditStage4));
  for (TMenuItemId id : {EditStage1, EditStage2, EditStage3, EditStage5, EditStage6})
    EXPECT_FALSE(menu.Checked(id));
  // Checking an item outside the group leaves the group alone.
  menu.SetChecked(ToggleMusic, false);
  menu.SetChecked(ToggleMusic, true);
  EXPECT_TRUE(menu.Checked(EditStage4));
}

}  // namespace
}  // namespace bd
