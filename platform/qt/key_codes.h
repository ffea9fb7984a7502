// Translation of Qt key events into the virtual-key codes and shortcut codes the core knows.
#pragma once

#include <QKeySequence>

class QKeyEvent;

namespace bd::platform {

// The virtual-key code of the event's key, or 0 when the game has no code for it.
int VirtualKeyOf(const QKeyEvent& event);

// Virtual-key code plus 8192 for Shift, 16384 for Ctrl and 32768 for Alt; 0 when unknown.
int ShortcutCodeOf(const QKeyEvent& event);

QKeySequence KeySequenceOfShortcut(int code);

}  // namespace bd::platform
