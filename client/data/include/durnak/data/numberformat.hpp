#pragma once

#include <cstdint>

#include <QLocale>
#include <QString>

namespace durnak::data {

// The program's number patterns. Digits are ASCII; the separators come from the locale.
inline const QString kParaFormati = QStringLiteral("#,###,##0.00");      // money, float columns
inline const QString kIkiBasamakFormati = QStringLiteral("#,###,##00.00");  // some totals: 5 -> 05,00
inline const QString kYuvarlamaFormati = QStringLiteral("#,###,##.00");   // IkiHaneYuvarla only
inline const QString kUcHaneFormati = QStringLiteral("#,###,##.000");     // stock detail

// Locale used for every number shown to the user: the system's, or Turkish where the
// system has none (C/POSIX).
QLocale DisplayLocale();

// Delphi-style pattern formatting. `0` mandatory digit, `#` optional digit, a `,` anywhere in
// the integer part turns on thousands grouping, `.` is the decimal point; up to three sections
// "positive;negative;zero", quoted text and other characters around the digits are copied.
// Works on the value's decimal form with 15 significant digits and rounds halves away from
// zero, so 2.345 gives "2,35" with Turkish settings.
QString FormatFloat(const QString& pattern, double value, const QLocale& locale = DisplayLocale());
// The same for fixed-point values (Currency/Bcd, scaled by 10 000), without going through double.
QString FormatCurr(const QString& pattern, std::int64_t scaled, const QLocale& locale = DisplayLocale());

// Default text of a fixed-point value: plain decimal, the locale's decimal point, no grouping,
// no trailing zeros ("1234,5").
QString FixedToString(std::int64_t scaled, const QLocale& locale = DisplayLocale());
// Default text of a float without display format: up to 15 significant digits, the locale's
// decimal point, no grouping.
QString FloatToString(double value, const QLocale& locale = DisplayLocale());

// Rounds to two decimals the way the program always has: format with "#,###,##.00", drop the
// group separators, read the text back with the locale.
double IkiHaneYuvarla(double value, const QLocale& locale = DisplayLocale());

// Reads a number written with the locale's separators (group separators allowed, a missing
// integer digit as in ",50" too). Returns false on anything else.
bool ParseLocaleNumber(const QString& text, const QLocale& locale, double& value);

} // namespace durnak::data
