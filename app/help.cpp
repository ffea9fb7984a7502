// The Help menu's two boxes. The shortcuts are read from the menu table, so
// the list cannot go stale.
#include <string>

#include "app/app.h"

namespace bd {
namespace {

// "&Play Edit..." as the player reads it: "Play Edit".
std::string Plain(const char* caption) {
  std::string plain;
  for (const char* c = caption; *c != '\0'; ++c)
    if (*c != '&') plain += *c;
  while (plain.ends_with(".")) plain.pop_back();
  return plain;
}

}  // namespace

void TApp::ShowKeys() {
  std::string text =
      "KEYBOARD\n"
      "Left, Right: run\n"
      "Up, Down: climb a ladder; Down also drops from a bar. On the title: choose Game Start or Edit Mode\n"
      "Z, X: dig a hole to the left, to the right\n"
      "Space or Enter: start from the title, go on after a death or a tally, test-play in the editor\n"
      "Escape: leave test play\n"
      "F11: full screen and back\n"
      "F10, or Alt and a menu's letter: the menus\n"
      "\n"
      "GAMEPAD OR JOYSTICK\n"
      "Stick or D-pad: steer\n"
      "Button 1 (south): dig to the left, and what Space does\n"
      "Button 2 (east): dig to the right\n"
      "\n"
      "SHORTCUTS\n";
  for (const TMenuItem& item : menu.Items()) {
    if (item.shortcut == 0) continue;
    const TMenuItem& parent = menu.Item(*item.parent);
    // A submenu's items are named with it: "Stage 3".
    const std::string name =
        parent.parent ? Plain(parent.caption) + " " + Plain(item.caption) : Plain(item.caption);
    text += ShortcutName(item.shortcut) + ": " + name + "\n";
  }
  text +=
      "\n"
      "THE PALETTE, TOP TO BOTTOM\n"
      "1 Brick: can be dug, and fills in again\n"
      "2 Solid block: cannot be dug\n"
      "3 Ladder\n"
      "4 Bar: hang from it and move along; Down lets go\n"
      "5 Trap brick: looks like brick, but runner and guards fall through\n"
      "6 Hidden ladder: appears when all the gold is taken\n"
      "7 Gold: take every piece, then climb out over the top\n"
      "8 Guard\n"
      "9 Runner's start\n"
      "Left button paints the chosen tile, right button erases.";
  services_.dialogs.MessageBox(text, kCaption, false);
}

void TApp::ShowAbout() {
  services_.dialogs.MessageBox(std::string("Burrow Dash ") + BD_VERSION +
                                   "\n(C) 2026 the Burrow Dash crew. All rights reserved.\n"
                                   "\n"
                                   "Sounds and music are read from the game's folder:\n" +
                                   ProgramFolder +
                                   "\n\n"
                                   "Stage files (.bds) are kept wherever you save them: Save in Edit Mode "
                                   "writes one, Open and Play Edit read one.",
                               kCaption, false);
}

}  // namespace bd
