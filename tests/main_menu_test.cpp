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
  } expected[] = {{Reset1, 112},      {Replay1, 116},   {PAUSE1, 16464}, {Start1, 32851}, {Edit1, 32837},
                  {PlayEdit1, 32848}, {Exit1, 16465},   {Open1, 114},    {Save1, 113},    {N11, 16433},
                  {N61, 16438},       {TestPlay1, 115}, {Music1, 16461}, {Sound1, 16467}};
  for (const auto& [id, code] : expected) {
    EXPECT_EQ(menu.Item(id).shortcut, code) << menu.Item(id).name;
    EXPECT_EQ(menu.FindShortcut(code), id) << code;
  }
  EXPECT_EQ(menu.FindShortcut('Z'), std::nullopt);
  EXPECT_EQ(menu.FindShortcut(0), std::nullopt);
}

TEST(MainMenu, AnItemActsOnlyWhenItAndEveryMenuAboveItAreEnabled) {
  TMainMenu menu;
  EXPECT_TRUE(menu.Active(N31));
  menu.SetEnabled(Edit2, false);
  EXPECT_FALSE(menu.Active(N31));  // two levels below the disabled menu
  EXPECT_FALSE(menu.Active(TestPlay1));
  EXPECT_TRUE(menu.Enabled(TestPlay1));
  EXPECT_TRUE(menu.Active(Reset1));
  menu.SetEnabled(Edit2, true);
  menu.SetEnabled(Stage1, false);
  EXPECT_FALSE(menu.Active(N31));
  EXPECT_TRUE(menu.Active(TestPlay1));
}

TEST(MainMenu, StageItemsAreOneRadioGroupStartingOnTheFirst) {
  TMainMenu menu;
  EXPECT_TRUE(menu.Checked(N11));
  menu.SetChecked(N41, true);
  EXPECT_TRUE(menu.Checked(N41));
  for (TMenuItemId id : {N11, N21, N31, N51, N61}) EXPECT_FALSE(menu.Checked(id));
  // Checking an item outside the group leaves the group alone.
  menu.SetChecked(Music1, false);
  menu.SetChecked(Music1, true);
  EXPECT_TRUE(menu.Checked(N41));
}

}  // namespace
}  // namespace bd
