// Internal to the user-interface run-time: colours as the program gives them
// (0xRRGGBB) to and from Qt.
#pragma once

#include <QColor>

inline QColor ColorFromValue(int value) {
  return QColor((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}
inline int ValueFromColor(const QColor &color) {
  return static_cast<int>(color.rgb() & 0xFFFFFFu);
}
