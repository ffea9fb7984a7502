#include "app/main_menu.h"

namespace bd {
namespace {

using enum TMenuItemId;
constexpr auto kMenu = TMenuItemKind::Menu;
constexpr auto kCommand = TMenuItemKind::Command;
constexpr auto kSeparator = TMenuItemKind::Separator;
constexpr int kF1 = 112, kF2 = 113, kF3 = 114, kF4 = 115, kF5 = 116;

constexpr int Ctrl(char key) { return kShortcutCtrl + key; }
constexpr int Alt(char key) { return kShortcutAlt + key; }

// In menu order; the state at creation, before FormCreate disables Edit2.
// The last three columns: enabled, can carry a check mark, checked.
constexpr std::array<TMenuItem, kMenuItemCount> kInitialItems{{
    {File1, {}, "File1", "&File", 0, kMenu, 0, 0, true, false, false},
    {Reset1, File1, "Reset1", "&Title", kF1, kCommand, 0, 0, true, false, false},
    {Replay1, File1, "Replay1", "&Give up", kF5, kCommand, 0, 0, false, false, false},
    {PAUSE1, File1, "PAUSE1", "&Pause", Ctrl('P'), kCommand, 0, 0, false, true, false},
    {N4, File1, "N4", "-", 0, kSeparator, 0, 0, true, false, false},
    {Start1, File1, "Start1", "&Start Game", Alt('S'), kCommand, 0, 0, true, false, false},
    {Edit1, File1, "Edit1", "&Edit Mode", Alt('E'), kCommand, 0, 0, true, false, false},
    {PlayEdit1, File1, "PlayEdit1", "&Play Edit...", Alt('P'), kCommand, 0, 0, true, false, false},
    {N1, File1, "N1", "-", 0, kSeparator, 0, 0, true, false, false},
    {Exit1, File1, "Exit1", "&Quit", Ctrl('Q'), kCommand, 0, 0, true, false, false},
    {Edit2, {}, "Edit2", "&Edit", 0, kMenu, 0, 0, true, false, false},
    {Open1, Edit2, "Open1", "&Open...", kF3, kCommand, 0, 0, true, false, false},
    {Save1, Edit2, "Save1", "&Save...", kF2, kCommand, 0, 0, true, false, false},
    {N2, Edit2, "N2", "-", 0, kSeparator, 0, 0, true, false, false},
    {Stage1, Edit2, "Stage1", "S&tage", 0, kMenu, 0, 0, true, false, false},
    {N11, Stage1, "N11", "&1", Ctrl('1'), kCommand, 1, 0, true, true, true},
    {N21, Stage1, "N21", "&2", Ctrl('2'), kCommand, 1, 1, true, true, false},
    {N31, Stage1, "N31", "&3", Ctrl('3'), kCommand, 1, 2, true, true, false},
    {N41, Stage1, "N41", "&4", Ctrl('4'), kCommand, 1, 3, true, true, false},
    {N51, Stage1, "N51", "&5", Ctrl('5'), kCommand, 1, 4, true, true, false},
    {N61, Stage1, "N61", "&6", Ctrl('6'), kCommand, 1, 5, true, true, false},
    {TestPlay1, Edit2, "TestPlay1", "&Test Play", kF4, kCommand, 0, 0, true, false, false},
    {N3, Edit2, "N3", "-", 0, kSeparator, 0, 0, true, false, false},
    {AllClear1, Edit2, "AllClear1", "&All Clear", 0, kCommand, 0, 0, true, false, false},
    {New1, Edit2, "New1", "&Clear", 0, kCommand, 0, 0, true, false, false},
    {Option1, {}, "Option1", "&Option", 0, kMenu, 0, 0, true, false, false},
    {Music1, Option1, "Music1", "&Music", Ctrl('M'), kCommand, 0, 0, true, true, true},
    {Sound1, Option1, "Sound1", "&Sound", Ctrl('S'), kCommand, 0, 0, true, true, true},
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

std::optional<TMenuItemId> TMainMenu::FindShortcut(int code) const {
  if (code == 0) return std::nullopt;
  for (const TMenuItem& item : items_) {
    if (item.shortcut == code) return item.id;
  }
  return std::nullopt;
}

}  // namespace bd
