// The program's cursors by number (1 zoom, 3 delete, 4 length, 5 height, 6 round pillar, 7 square pillar, 8 hand), drawn in code.
#pragma once
#include <QCursor>

namespace ui::qt {

// The cursor registered under `number`; the default arrow for numbers without one (0, 2).
QCursor programCursor(int number);

} // namespace ui::qt
