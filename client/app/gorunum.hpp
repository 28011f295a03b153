#pragma once

class QApplication;

namespace durnak::client {

// The program's look, "Fiord Flat": flat controls on dark slate blue, light text, an orange
// accent; lists and edits stay light for reading. DejaVu Sans stands in for Tahoma.
void FiordFlatUygula(QApplication& uygulama);

} // namespace durnak::client
