#pragma once

#include <QPixmap>

#include "durnak/grid/columns.hpp"

namespace durnak::grid {

// Our own artwork, painted once and cached (main thread). The legend strip of the main
// window uses the same DURUM icons.
inline constexpr int kIconSize = 24;
QPixmap durumIcon(int code);  // 0-5; a null pixmap for other codes
QPixmap flagIcon(bool yes, FlagZero zero = FlagZero::Hayir);  // null for Empty and not yes
QPixmap resimIcon();
QPixmap checkIcon(bool checked);

} // namespace durnak::grid
