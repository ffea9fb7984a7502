#include "platform/qt/key_codes.h"

#include <QKeyEvent>

#include "app/virtual_keys.h"

namespace bd::platform {
namespace {

constexpr int kShift = kShortcutShift, kCtrl = kShortcutCtrl, kAlt = kShortcutAlt;

int VirtualKeyOfQtKey(int key) {
  if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)) return key;
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return vkF1 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return vkReturn;
    case Qt::Key_Escape: return vkEscape;
    case Qt::Key_Space: return vkSpace;
    case Qt::Key_Left: return vkLeft;
    case Qt::Key_Up: return vkUp;
    case Qt::Key_Right: return vkRight;
    case Qt::Key_Down: return vkDown;
    default: return 0;
  }
}

int QtKeyOfVirtualKey(int vk) {
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return vk;
  if (vk >= vkF1 && vk <= vkF12) return Qt::Key_F1 + (vk - vkF1);
  return 0;
}

}  // namespace

int VirtualKeyOf(const QKeyEvent& event) { return VirtualKeyOfQtKey(event.key()); }

int ShortcutCodeOf(const QKeyEvent& event) {
  const int vk = VirtualKeyOf(event);
  if (vk == 0) return 0;
  const Qt::KeyboardModifiers mods = event.modifiers();
  return vk + (mods.testFlag(Qt::ShiftModifier) ? kShift : 0) +
         (mods.testFlag(Qt::ControlModifier) ? kCtrl : 0) + (mods.testFlag(Qt::AltModifier) ? kAlt : 0);
}

QKeySequence KeySequenceOfShortcut(int code) {
  if (code == 0) return {};
  const int key = QtKeyOfVirtualKey(code & 0xFF);
  int mods = 0;
  if (code & kShift) mods |= Qt::SHIFT;
  if (code & kCtrl) mods |= Qt::CTRL;
  if (code & kAlt) mods |= Qt::ALT;
  return QKeySequence(key | mods);
}

}  // namespace bd::platform
