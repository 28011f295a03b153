#pragma once

class QApplication;
class QDialog;

namespace durnak::client {

// The program's look, "Fiord Flat": flat controls on dark slate blue, light text, an orange
// accent; lists and edits stay light for reading. DejaVu Sans stands in for Tahoma.
void FiordFlatUygula(QApplication& uygulama);

// A light window for dialogs whose captions are designed in dark slate (red 67, green 76,
// blue 88), which the dark look would swallow.
inline constexpr const char* kKoyuYazi = "#434c58";
void AcikZeminUygula(QDialog& pencere);

} // namespace durnak::client
