// The menu bar menu as data: the core owns every item's enabled and
// checked state; the shell builds its real menu from this table and mirrors it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "app/virtual_keys.h"

namespace bd {

enum class TMenuItemId : uint8_t {
  FileMenu,
  GoToTitle,
  GiveUp,
  Pause,
  Separator4,
  StartGame,
  EditMode,
  PlayEditedSet,
  Separator1,
  Quit,
  EditMenu,
  OpenStages,
  SaveStages,
  Separator2,
  StageMenu,
  EditStage1,
  EditStage2,
  EditStage3,
  EditStage4,
  EditStage5,
  EditStage6,
  TestPlay,
  Separator3,
  ClearAllStages,
  ClearEditedStage,
  OptionMenu,
  ToggleMusic,
  ToggleSound,
  HelpMenu,
  ShowKeys,
  ShowAbout,
  Count,
};

inline constexpr int kMenuItemCount = static_cast<int>(TMenuItemId::Count);

enum class TMenuItemKind : uint8_t { Menu, Command, Separator };

struct TMenuItem {
  TMenuItemId id;
  std::optional<TMenuItemId> parent;  // none for the menus of the bar
  const char* name;
  const char* script_name;  // the replay tool's name for a command; nullptr for menus and separators
  const char* caption;      // with its '&' mnemonic
  int shortcut;             // 0 for none
  TMenuItemKind kind;
  int radio_group;  // 0 for none
  int tag;
  bool enabled;
  bool checkable;  // shows a check mark when checked
  bool checked;
};

class TMainMenu {
 public:
  TMainMenu();

  const TMenuItem& Item(TMenuItemId id) const { return items_[Index(id)]; }
  const std::array<TMenuItem, kMenuItemCount>& Items() const { return items_; }

  void SetEnabled(TMenuItemId id, bool enabled) { items_[Index(id)].enabled = enabled; }
  // Checking an item of a radio group unchecks the others of its group.
  void SetChecked(TMenuItemId id, bool checked);
  bool Enabled(TMenuItemId id) const { return Item(id).enabled; }
  bool Checked(TMenuItemId id) const { return Item(id).checked; }

  // An item acts, by click or shortcut, only when it and every menu above it are enabled.
  bool Active(TMenuItemId id) const;
  // The command a replay script names.
  std::optional<TMenuItemId> FindScriptName(std::string_view script_name) const;
  // The item whose shortcut is this code, whether or not it can act now.
  std::optional<TMenuItemId> FindShortcut(int code) const;

 private:
  static constexpr int Index(TMenuItemId id) { return static_cast<int>(id); }
  std::array<TMenuItem, kMenuItemCount> items_;
};

}  // namespace bd
