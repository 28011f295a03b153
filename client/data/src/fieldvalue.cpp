#include "fieldvalue.hpp"

#include <cmath>
#include <limits>

#include "durnak/data/clientdataset.hpp"
#include "durnak/data/numberformat.hpp"

namespace durnak::data::detail {

namespace {

const QDate kOleEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;

[[noreturn]] void invalidValue(const QString& text, const QString& fieldName)
{
    throw DataSetError(QStringLiteral("'%1' is not a valid value for field '%2'").arg(text, fieldName));
}

[[noreturn]] void outOfRange(const QString& text, const QString& fieldName)
{
    throw DataSetError(QStringLiteral("Value %1 is out of range for field '%2'").arg(text, fieldName));
}

std::int64_t checkRange(FieldType type, std::int64_t value, const QString& fieldName)
{
    const auto fits = [&](auto lo, auto hi) { return value >= lo && value <= hi; };
    if ((type == FieldType::Int16 && !fits(-32768, 32767))
        || (type == FieldType::Int32
            && !fits(std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max())))
        outOfRange(QString::number(value), fieldName);
    return value;
}

std::int64_t roundToInt(double value, const QString& fieldName)
{
    // 2^63 as a double; anything at or beyond it does not fit.
    constexpr double kLimit = 9223372036854775808.0;
    if (!std::isfinite(value) || std::fabs(value) >= kLimit)
        outOfRange(QString::number(value), fieldName);
    return std::llround(value);
}

// The display locale first (what the user types), then the C locale (what code writes).
std::optional<double> parseNumber(const QString& text)
{
    double value = 0;
    if (ParseLocaleNumber(text, DisplayLocale(), value) || ParseLocaleNumber(text, QLocale::c(), value))
        return value;
    return std::nullopt;
}

std::optional<bool> parseBoolean(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(u"true", Qt::CaseInsensitive) == 0 || t == u"1")
        return true;
    if (t.compare(u"false", Qt::CaseInsensitive) == 0 || t == u"0")
        return false;
    return std::nullopt;
}

QString timeFormat(const QLocale& locale)
{
    QString format = locale.timeFormat(QLocale::ShortFormat);
    if (!format.contains(u"ss")) {
        const auto minutes = format.indexOf(u"mm");
        if (minutes >= 0)
            format.insert(minutes + 2, u":ss");
    }
    return format;
}

QString textOf(const Cell& cell)
{
    const auto& bytes = std::get<std::string>(cell);
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

bool isInteger(QMetaType::Type type)
{
    switch (type) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

bool isReal(QMetaType::Type type) { return type == QMetaType::Double || type == QMetaType::Float; }

double oleOf(FieldType type, double days)
{
    if (type == FieldType::Date)
        return std::trunc(days);
    if (type == FieldType::Time)
        return std::fabs(days - std::trunc(days));
    return days;
}

} // namespace

Domain domainOf(FieldType type)
{
    switch (type) {
    case FieldType::Int16:
    case FieldType::Int32:
    case FieldType::Int64:
        return Domain::Integer;
    case FieldType::Currency:
    case FieldType::Bcd:
        return Domain::Fixed;
    case FieldType::Float64:
        return Domain::Float;
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::DateTime:
        return Domain::DateTime;
    case FieldType::Boolean:
        return Domain::Flag;
    case FieldType::Blob:
        return Domain::Blob;
    case FieldType::String:
    case FieldType::WideString:
        break;
    }
    return Domain::Text;
}

bool isNumeric(FieldType type)
{
    const Domain d = domainOf(type);
    return d == Domain::Integer || d == Domain::Fixed || d == Domain::Float;
}

QDateTime oleToDateTime(double days)
{
    // The fraction is the time of day even before 1899-12-30 (-1.25 is 29 December, 06:00).
    const double whole = std::trunc(days);
    auto ms = static_cast<qint64>(std::llround(std::fabs(days - whole) * kMsPerDay));
    QDate date = kOleEpoch.addDays(static_cast<qint64>(whole));
    if (ms >= static_cast<qint64>(kMsPerDay)) {
        date = date.addDays(1);
        ms = 0;
    }
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)), Qt::UTC);
}

double dateTimeToOle(const QDateTime& value)
{
    const auto days = static_cast<double>(kOleEpoch.daysTo(value.date()));
    const double fraction = value.time().msecsSinceStartOfDay() / kMsPerDay;
    return days >= 0 ? days + fraction : days - fraction;
}

QVariant toVariant(FieldType type, const Cell& cell)
{
    if (std::holds_alternative<std::monostate>(cell))
        return {};
    switch (type) {
    case FieldType::Int16:
    case FieldType::Int32:
        return static_cast<int>(std::get<std::int64_t>(cell));
    case FieldType::Int64:
        return static_cast<qlonglong>(std::get<std::int64_t>(cell));
    case FieldType::Currency:
    case FieldType::Bcd:
        return static_cast<double>(std::get<std::int64_t>(cell)) / protocol::kDecimalScale;
    case FieldType::Float64:
        return std::get<double>(cell);
    case FieldType::Date:
        return oleToDateTime(std::get<double>(cell)).date();
    case FieldType::Time:
        return oleToDateTime(std::get<double>(cell)).time();
    case FieldType::DateTime:
        return oleToDateTime(std::get<double>(cell));
    case FieldType::Boolean:
        return std::get<bool>(cell);
    case FieldType::Blob: {
        const auto& bytes = std::get<std::string>(cell);
        return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    case FieldType::String:
    case FieldType::WideString:
        break;
    }
    return textOf(cell);
}

Cell fromVariant(FieldType type, const QVariant& value, const QString& fieldName)
{
    if (!value.isValid() || value.isNull())
        return {};
    const auto kind = static_cast<QMetaType::Type>(value.typeId());
    const bool text = kind == QMetaType::QString || kind == QMetaType::QByteArray;

    switch (domainOf(type)) {
    case Domain::Integer: {
        if (kind == QMetaType::Bool)
            return std::int64_t{value.toBool()};
        if (isInteger(kind))
            return checkRange(type, value.toLongLong(), fieldName);
        if (isReal(kind))
            return checkRange(type, roundToInt(value.toDouble(), fieldName), fieldName);
        if (text) {
            bool ok = false;
            const qlonglong parsed = value.toString().trimmed().toLongLong(&ok);
            if (ok)
                return checkRange(type, parsed, fieldName);
        }
        break;
    }
    case Domain::Fixed: {
        std::optional<double> number;
        if (kind == QMetaType::Bool)
            number = value.toBool() ? 1 : 0;
        else if (isInteger(kind) || isReal(kind))
            number = value.toDouble();
        else if (text)
            number = parseNumber(value.toString());
        if (number)
            return roundToInt(*number * protocol::kDecimalScale, fieldName);
        break;
    }
    case Domain::Float: {
        if (kind == QMetaType::Bool)
            return value.toBool() ? 1.0 : 0.0;
        if (isInteger(kind) || isReal(kind))
            return value.toDouble();
        if (text) {
            if (const auto number = parseNumber(value.toString()))
                return *number;
        }
        break;
    }
    case Domain::DateTime: {
        if (kind == QMetaType::QDateTime)
            return oleOf(type, dateTimeToOle(value.toDateTime()));
        if (kind == QMetaType::QDate)
            return oleOf(type, dateTimeToOle(QDateTime(value.toDate(), QTime(0, 0), Qt::UTC)));
        if (kind == QMetaType::QTime)
            return oleOf(type, value.toTime().msecsSinceStartOfDay() / kMsPerDay);
        if (isInteger(kind) || isReal(kind))
            return oleOf(type, value.toDouble());
        if (text) {
            const QString t = value.toString().trimmed();
            const QLocale locale = DisplayLocale();
            QDateTime parsed = QDateTime::fromString(t, Qt::ISODate);
            if (!parsed.isValid())
                parsed = locale.toDateTime(t, locale.dateFormat(QLocale::ShortFormat) + u' ' + timeFormat(locale));
            if (!parsed.isValid()) {
                QDate date = QDate::fromString(t, Qt::ISODate);
                if (!date.isValid())
                    date = locale.toDate(t, QLocale::ShortFormat);
                if (date.isValid())
                    parsed = QDateTime(date, QTime(0, 0), Qt::UTC);
            }
            if (!parsed.isValid()) {
                QTime time = QTime::fromString(t, Qt::ISODate);
                if (!time.isValid())
                    time = locale.toTime(t, timeFormat(locale));
                if (time.isValid())
                    return oleOf(type, time.msecsSinceStartOfDay() / kMsPerDay);
            }
            if (parsed.isValid())
                return oleOf(type, dateTimeToOle(parsed));
        }
        break;
    }
    case Domain::Flag: {
        if (kind == QMetaType::Bool || isInteger(kind) || isReal(kind))
            return value.toBool();
        if (text) {
            if (const auto flag = parseBoolean(value.toString()))
                return *flag;
        }
        break;
    }
    case Domain::Blob:
        if (kind == QMetaType::QByteArray)
            return value.toByteArray().toStdString();
        return value.toString().toStdString();
    case Domain::Text:
        if (value.canConvert<QString>())
            return value.toString().toStdString();
        break;
    }
    invalidValue(value.toString(), fieldName);
}

Cell convert(FieldType from, FieldType to, const Cell& cell, const QString& fieldName)
{
    if (domainOf(from) == domainOf(to) || std::holds_alternative<std::monostate>(cell))
        return cell;
    return fromVariant(to, toVariant(from, cell), fieldName);
}

QString asString(FieldType type, const Cell& cell, const QLocale& locale)
{
    if (std::holds_alternative<std::monostate>(cell))
        return {};
    switch (domainOf(type)) {
    case Domain::Integer:
        return QString::number(std::get<std::int64_t>(cell));
    case Domain::Fixed:
        return FixedToString(std::get<std::int64_t>(cell), locale);
    case Domain::Float:
        return FloatToString(std::get<double>(cell), locale);
    case Domain::DateTime: {
        const QDateTime value = oleToDateTime(std::get<double>(cell));
        const QString date = locale.toString(value.date(), QLocale::ShortFormat);
        const QString time = locale.toString(value.time(), timeFormat(locale));
        if (type == FieldType::Date)
            return date;
        if (type == FieldType::Time)
            return time;
        return value.time().msecsSinceStartOfDay() == 0 ? date : date + u' ' + time;
    }
    case Domain::Flag:
        return std::get<bool>(cell) ? QStringLiteral("True") : QStringLiteral("False");
    case Domain::Blob: {
        const auto& bytes = std::get<std::string>(cell);
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    case Domain::Text:
        break;
    }
    return textOf(cell);
}

std::int64_t asInteger(FieldType type, const Cell& cell, const QString& fieldName)
{
    if (std::holds_alternative<std::monostate>(cell))
        return 0;
    switch (domainOf(type)) {
    case Domain::Integer:
        return std::get<std::int64_t>(cell);
    case Domain::Fixed: {
        const std::int64_t scaled = std::get<std::int64_t>(cell);
        const std::int64_t half = scaled < 0 ? -protocol::kDecimalScale / 2 : protocol::kDecimalScale / 2;
        return (scaled + half) / protocol::kDecimalScale;
    }
    case Domain::Float:
    case Domain::DateTime:
        return roundToInt(std::get<double>(cell), fieldName);
    case Domain::Flag:
        return std::get<bool>(cell) ? 1 : 0;
    case Domain::Text:
    case Domain::Blob:
        break;
    }
    bool ok = false;
    const QString text = textOf(cell);
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok)
        invalidValue(text, fieldName);
    return value;
}

double asFloat(FieldType type, const Cell& cell, const QString& fieldName)
{
    if (std::holds_alternative<std::monostate>(cell))
        return 0;
    switch (domainOf(type)) {
    case Domain::Integer:
        return static_cast<double>(std::get<std::int64_t>(cell));
    case Domain::Fixed:
        return static_cast<double>(std::get<std::int64_t>(cell)) / protocol::kDecimalScale;
    case Domain::Float:
    case Domain::DateTime:
        return std::get<double>(cell);
    case Domain::Flag:
        return std::get<bool>(cell) ? 1 : 0;
    case Domain::Text:
    case Domain::Blob:
        break;
    }
    const QString text = textOf(cell);
    if (const auto number = parseNumber(text))
        return *number;
    invalidValue(text, fieldName);
}

bool asBoolean(FieldType type, const Cell& cell, const QString& fieldName)
{
    if (std::holds_alternative<std::monostate>(cell))
        return false;
    switch (domainOf(type)) {
    case Domain::Integer:
    case Domain::Fixed:
        return std::get<std::int64_t>(cell) != 0;
    case Domain::Float:
    case Domain::DateTime:
        return std::get<double>(cell) != 0;
    case Domain::Flag:
        return std::get<bool>(cell);
    case Domain::Text:
    case Domain::Blob:
        break;
    }
    const QString text = textOf(cell);
    if (const auto flag = parseBoolean(text))
        return *flag;
    invalidValue(text, fieldName);
}

QString displayText(FieldType type, const Cell& cell, const QString& format, const QLocale& locale)
{
    if (std::holds_alternative<std::monostate>(cell))
        return {};
    const Domain domain = domainOf(type);
    if (domain == Domain::Blob)
        return QStringLiteral("(BLOB)");
    if (format.isEmpty())
        return asString(type, cell, locale);
    switch (domain) {
    case Domain::Integer:
        return FormatFloat(format, static_cast<double>(std::get<std::int64_t>(cell)), locale);
    case Domain::Fixed:
        return FormatCurr(format, std::get<std::int64_t>(cell), locale);
    case Domain::Float:
        return FormatFloat(format, std::get<double>(cell), locale);
    case Domain::DateTime:
        // Date and time formats are Qt date-time patterns.
        return locale.toString(oleToDateTime(std::get<double>(cell)), format);
    default:
        return asString(type, cell, locale);
    }
}

void store(protocol::Table& table, std::size_t row, std::size_t column, const Cell& cell)
{
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                table.setNull(row, column);
            else if constexpr (std::is_same_v<T, bool>)
                table.setFlag(row, column, v);
            else if constexpr (std::is_same_v<T, std::int64_t>)
                table.setInt(row, column, v);
            else if constexpr (std::is_same_v<T, double>)
                table.setReal(row, column, v);
            else
                table.setText(row, column, v);
        },
        cell);
}

} // namespace durnak::data::detail
