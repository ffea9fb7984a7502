#include "app/main_menu.h"

namespace bd {
namespace {

using enum TMenuItemId;
constexpr auto kMenu = TMenuItemKind::Menu;
constexpr auto kCommand = TMenuItemKind::Command;
constexpr auto kSeparator = TMenuItemKind::Separator;
constexpr int kF1 = vkF1, kF2 = vkF1 + 1, kF3 = vkF1 + 2, kF4 = vkF1 + 3, kF5 = vkF1 + 4;

constexpr int Ctrl(char key) { return kShortcutCtrl + key; }
constexpr int Alt(char key) { return kShortcutAlt + key; }

// In menu order; the state at creation, before Startup disables EditMenu.
// The last three columns: enabled, can carry a check mark, checked.
constexpr std::array<TMenuItem, kMenuItemCount> kInitialItems{{
    {FileMenu, {}, "FileMenu", nullptr, "&File", 0, kMenu, 0, 0, true, false, false},
    {GoToTitle, FileMenu, "GoToTitle", "title", "&Title", kF1, kCommand, 0, 0, true, false, false},
    {GiveUp, FileMenu, "GiveUp", "giveup", "&Give up", kF5, kCommand, 0, 0, false, false, false},
    {Pause, FileMenu, "Pause", "pause", "&Pause", Ctrl('P'), kCommand, 0, 0, false, true, false},
    {Separator4, FileMenu, "Separator4", nullptr, "-", 0, kSeparator, 0, 0, true, false, false},
    {StartGame, FileMenu, "StartGame", "start", "&Start Game", Alt('S'), kCommand, 0, 0, true, false, false},
    {EditMode, FileMenu, "EditMode", "edit", "&Edit Mode", Alt('E'), kCommand, 0, 0, true, false, false},
    {PlayEditedSet, FileMenu, "PlayEditedSet", "playedit", "&Play Edit...", Alt('P'), kCommand, 0, 0, true,
     false, false},
    {Separator1, FileMenu, "Separator1", nullptr, "-", 0, kSeparator, 0, 0, true, false, false},
    {Quit, FileMenu, "Quit", "quit", "&Quit", Ctrl('Q'), kCommand, 0, 0, true, false, false},
    {EditMenu, {}, "EditMenu", nullptr, "&Edit", 0, kMenu, 0, 0, true, false, false},
    {OpenStages, EditMenu, "OpenStages", "open", "&Open...", kF3, kCommand, 0, 0, true, false, false},
    {SaveStages, EditMenu, "SaveStages", "save", "&Save...", kF2, kCommand, 0, 0, true, false, false},
    {Separator2, EditMenu, "Separator2", nullptr, "-", 0, kSeparator, 0, 0, true, false, false},
    {StageMenu, EditMenu, "StageMenu", nullptr, "S&tage", 0, kMenu, 0, 0, true, false, false},
    {EditStage1, StageMenu, "EditStage1", "stage1", "&1", Ctrl('1'), kCommand, 1, 0, true, true, true},
    {EditStage2, StageMenu, "EditStage2", "stage2", "&2", Ctrl('2'), kCommand, 1, 1, true, true, false},
    {EditStage3, StageMenu, "EditStage3", "stage3", "&3", Ctrl('3'), kCommand, 1, 2, true, true, false},
    {EditStage4, StageMenu, "EditStage4", "stage4", "&4", Ctrl('4'), kCommand, 1, 3, true, true, false},
    {EditStage5, StageMenu, "EditStage5", "stage5", "&5", Ctrl('5'), kCommand, 1, 4, true, true, false},
    {EditStage6, StageMenu, "EditStage6", "stage6", "&6", Ctrl('6'), kCommand, 1, 5, true, true, false},
    {TestPlay, EditMenu, "TestPlay", "testplay", "&Test Play", kF4, kCommand, 0, 0, true, false, false},
    {Separator3, EditMenu, "Separator3", nullptr, "-", 0, kSeparator, 0, 0, true, false, false},
    {ClearAllStages, EditMenu, "ClearAllStages", "allclear", "&All Clear", 0, kCommand, 0, 0, true, false,
     false},
    {ClearEditedStage, EditMenu, "ClearEditedStage", "clear", "&Clear", 0, kCommand, 0, 0, true, false,
     false},
    {OptionMenu, {}, "OptionMenu", nullptr, "&Option", 0, kMenu, 0, 0, true, false, false},
    {ToggleMusic, OptionMenu, "ToggleMusic", "music", "&Music", Ctrl('M'), kCommand, 0, 0, true, true, true},
    {ToggleSound, OptionMenu, "ToggleSound", "sound", "&Sound", Ctrl('S'), kCommand, 0, 0, true, true, true},
    {HelpMenu, {}, "HelpMenu", nullptr, "&Help", 0, kMenu, 0, 0, true, false, false},
    {ShowKeys, HelpMenu, "ShowKeys", "keys", "&Keys and Controls...", 0, kCommand, 0, 0, true, false, false},
    {ShowAbout, HelpMenu, "ShowAbout", "about", "&About Burrow Dash...", 0, kCommand, 0, 0, true, false,
     false},
}};

constexpr bool TableMatchesIds() {
  for (int i = 0; i < kMenuItemCount; ++i) {
    if (static_cast<int>(kInitialItems[i].id) != i) return false;
  }
  return true;
}
static_assert(TableMatchesIds(), "menu table out of order");

}  // namespace

TMainMenu::TMainMenu() : items_(kInitialItems) {}

void TMainMenu::SetChecked(TMenuItemId id, bool checked) {
  TMenuItem& item = items_[Index(id)];
  if (checked && item.radio_group != 0) {
    for (TMenuItem& other : items_) {
      if (other.radio_group == item.radio_group && other.parent == item.parent) other.checked = false;
    }
  }
  item.checked = checked;
}

bool TMainMenu::Active(TMenuItemId id) const {
  std::optional<TMenuItemId> current = id;
  while (current) {
    const TMenuItem& item = Item(*current);
    if (!item.enabled) return false;
    current = item.parent;
  }
  return true;
}

std::optional<TMenuItemId> TMainMenu::FindScriptName(std::string_view script_name) const {
  for (const TMenuItem& item : items_) {
    if (item.script_name != nullptr && item.script_name == script_name) return item.id;
  }
  return std::nullopt;
}

std::optional<TMenuItemId> TMainMenu::FindShortcut(int code) const {
  if (code == 0) return std::nullopt;
  for (const TMenuItem& item : items_) {
    if (item.shortcut == code) return item.id;
  }
  return std::nullopt;
}

}  // namespace bd
