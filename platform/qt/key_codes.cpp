#include "platform/qt/key_codes.h"

#include <QKeyEvent>

namespace bd::platform {
namespace {

constexpr int kShift = 8192, kCtrl = 16384, kAlt = 32768;

int VirtualKeyOfQtKey(int key) {
  if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)) return key;
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return 112 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    default: return 0;
  }
}

int QtKeyOfVirtualKey(int vk) {
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return vk;
  if (vk >= 112 && vk <= 123) return Qt::Key_F1 + (vk - 112);
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
