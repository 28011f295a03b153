#pragma once

// Conversions between a field's stored cell and the values the program sees.

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QVariant>

#include "durnak/protocol/table.hpp"

namespace durnak::data::detail {

using protocol::Cell;
using protocol::FieldType;

// Kinds of value whose cells can be copied as they are between two field types.
enum class Domain { Integer, Fixed, Float, DateTime, Text, Flag, Blob };
Domain domainOf(FieldType type);
bool isNumeric(FieldType type);

QDateTime oleToDateTime(double days);
double dateTimeToOle(const QDateTime& value);

QVariant toVariant(FieldType type, const Cell& cell);
// Throws DataSetError naming the field when the value does not fit.
Cell fromVariant(FieldType type, const QVariant& value, const QString& fieldName);
Cell convert(FieldType from, FieldType to, const Cell& cell, const QString& fieldName);

QString asString(FieldType type, const Cell& cell, const QLocale& locale);
std::int64_t asInteger(FieldType type, const Cell& cell, const QString& fieldName);
double asFloat(FieldType type, const Cell& cell, const QString& fieldName);
bool asBoolean(FieldType type, const Cell& cell, const QString& fieldName);
QString displayText(FieldType type, const Cell& cell, const QString& format, const QLocale& locale);

void store(protocol::Table& table, std::size_t row, std::size_t column, const Cell& cell);

} // namespace durnak::data::detail
