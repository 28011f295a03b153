#include "durnak/data/numberformat.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "durnak/protocol/table.hpp"

namespace durnak::data {

namespace {

// A number as decimal digits: value = 0.d1d2d3... x 10^intDigits. No leading or trailing
// zeros in `digits`; zero has no digits.
struct Decimal {
    bool negative = false;
    std::string digits;
    int intDigits = 0;

    bool isZero() const { return digits.empty(); }
    void normalise()
    {
        while (!digits.empty() && digits.back() == '0')
            digits.pop_back();
        std::size_t lead = 0;
        while (lead < digits.size() && digits[lead] == '0')
            ++lead;
        digits.erase(0, lead);
        intDigits -= static_cast<int>(lead);
        if (digits.empty())
            intDigits = 0;
    }
};

// 15 significant digits as Delphi's FormatFloat takes them from a double, so a value stored
// just below a half (2.345 is 2.34499999...) rounds the way its decimal form suggests.
Decimal decimalOf(double value)
{
    Decimal d;
    d.negative = std::signbit(value);
    if (value == 0)
        return d;
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    const std::string text(buffer);  // d.dddddddddddddde+XX
    const auto e = text.find('e');
    d.digits = text.substr(0, 1) + text.substr(2, e - 2);
    d.intDigits = std::atoi(text.c_str() + e + 1) + 1;
    d.normalise();
    return d;
}

Decimal decimalOfScaled(std::int64_t scaled)
{
    Decimal d;
    d.negative = scaled < 0;
    const auto magnitude = d.negative ? 0ULL - static_cast<unsigned long long>(scaled)
                                      : static_cast<unsigned long long>(scaled);
    d.digits = std::to_string(magnitude);
    d.intDigits = static_cast<int>(d.digits.size()) - 4;  // four implied decimals
    d.normalise();
    return d;
}

// Halves away from zero.
void roundTo(Decimal& d, int decimals)
{
    const int keep = d.intDigits + decimals;
    if (keep >= static_cast<int>(d.digits.size()))
        return;
    if (keep < 0) {
        d.digits.clear();
        d.intDigits = 0;
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
            d.digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.intDigits;
        } else {
            ++d.digits[static_cast<std::size_t>(i)];
        }
    }
    d.normalise();
}

struct Section {
    QString prefix;
    QString suffix;
    bool hasNumber = false;
    bool grouping = false;
    int minInt = 0;
    int minDec = 0;
    int maxDec = 0;
};

QStringList splitSections(const QString& pattern)
{
    QStringList sections;
    QString current;
    QChar quote;
    for (const QChar c : pattern) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u';') {
            sections << current;
            current.clear();
            continue;
        }
        current += c;
    }
    sections << current;
    return sections;
}

Section parseSection(const QString& text)
{
    Section s;
    int intPlaces = 0;
    int firstIntZero = -1;
    bool inFraction = false;
    int fracPlaces = 0;
    int lastFracZero = -1;
    QChar quote;
    for (const QChar c : text) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                (s.hasNumber ? s.suffix : s.prefix) += c;
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
            continue;
        }
        const bool placeholder = c == u'0' || c == u'#' || c == u',' || c == u'.';
        if (!placeholder) {
            (s.hasNumber ? s.suffix : s.prefix) += c;
            continue;
        }
        s.hasNumber = true;
        if (c == u'.') {
            inFraction = true;
        } else if (c == u',') {
            if (!inFraction)
                s.grouping = true;
        } else if (inFraction) {
            if (c == u'0')
                lastFracZero = fracPlaces;
            ++fracPlaces;
        } else {
            if (c == u'0' && firstIntZero < 0)
                firstIntZero = intPlaces;
            ++intPlaces;
        }
    }
    s.minInt = firstIntZero < 0 ? 0 : intPlaces - firstIntZero;
    s.maxDec = fracPlaces;
    s.minDec = lastFracZero + 1;
    return s;
}

QString render(const Section& s, const Decimal& d, bool withMinus, const QLocale& locale)
{
    std::string integer;
    if (d.intDigits > 0) {
        integer = d.digits.substr(0, static_cast<std::size_t>(d.intDigits));
        integer.resize(static_cast<std::size_t>(d.intDigits), '0');
    }
    if (static_cast<int>(integer.size()) < s.minInt)
        integer.insert(0, static_cast<std::size_t>(s.minInt) - integer.size(), '0');

    std::string fraction;
    for (int i = 0; i < s.maxDec; ++i) {
        const int at = d.intDigits + i;
        fraction += (at >= 0 && at < static_cast<int>(d.digits.size()))
                        ? d.digits[static_cast<std::size_t>(at)]
                        : '0';
    }
    while (static_cast<int>(fraction.size()) > s.minDec && fraction.back() == '0')
        fraction.pop_back();

    QString out;
    if (withMinus)
        out += u'-';
    out += s.prefix;
    const QString group = locale.groupSeparator();
    for (std::size_t i = 0; i < integer.size(); ++i) {
        if (s.grouping && i > 0 && (integer.size() - i) % 3 == 0)
            out += group;
        out += QChar::fromLatin1(integer[i]);
    }
    if (!fraction.empty()) {
        out += locale.decimalPoint();
        out += QString::fromLatin1(fraction.data(), static_cast<qsizetype>(fraction.size()));
    }
    out += s.suffix;
    return out;
}

QString formatDecimal(const QString& pattern, Decimal value, const QLocale& locale)
{
    const QStringList texts = splitSections(pattern);
    int index = 0;
    if (value.negative && !value.isZero() && texts.size() >= 2 && !texts[1].isEmpty())
        index = 1;
    Section section = parseSection(texts[index]);
    if (section.hasNumber)
        roundTo(value, section.maxDec);
    if (value.isZero() && texts.size() >= 3 && !texts[2].isEmpty()) {
        index = 2;
        section = parseSection(texts[2]);
    }
    // A value that rounds to zero carries no sign; the negative section writes its own.
    const bool withMinus = index == 0 && value.negative && !value.isZero() && section.hasNumber;
    if (!section.hasNumber)
        return section.prefix;
    return render(section, value, withMinus, locale);
}

} // namespace

QLocale DisplayLocale()
{
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C)
        return QLocale(QLocale::Turkish, QLocale::Turkey);
    return system;
}

QString FormatFloat(const QString& pattern, double value, const QLocale& locale)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (pattern.isEmpty())
        return FloatToString(value, locale);
    return formatDecimal(pattern, decimalOf(value), locale);
}

QString FormatCurr(const QString& pattern, std::int64_t scaled, const QLocale& locale)
{
    if (pattern.isEmpty())
        return FixedToString(scaled, locale);
    return formatDecimal(pattern, decimalOfScaled(scaled), locale);
}

QString FixedToString(std::int64_t scaled, const QLocale& locale)
{
    QString text = QString::fromStdString(protocol::formatDecimal(scaled));
    text.replace(u'.', locale.decimalPoint());
    return text;
}

QString FloatToString(double value, const QLocale& locale)
{
    QString text = QString::number(value, 'g', 15);
    text.replace(u'.', locale.decimalPoint());
    return text;
}

bool ParseLocaleNumber(const QString& text, const QLocale& locale, double& value)
{
    QString t = text.trimmed();
    bool negative = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negative = t.front() == u'-';
        t.remove(0, 1);
    } else if (t.startsWith(locale.negativeSign())) {
        negative = true;
        t.remove(0, locale.negativeSign().size());
    }
    // "#,###,##.00" writes values below 1 without an integer digit.
    if (t.startsWith(locale.decimalPoint()))
        t.prepend(u'0');
    if (t.isEmpty() || t.front() == u'-' || t.front() == u'+')
        return false;
    bool ok = false;
    const double parsed = locale.toDouble(t, &ok);
    if (!ok)
        return false;
    value = negative ? -parsed : parsed;
    return true;
}

double IkiHaneYuvarla(double value, const QLocale& locale)
{
    QString text = FormatFloat(kYuvarlamaFormati, value, locale);
    for (const QChar c : locale.groupSeparator())
        text.remove(c);
    double result = 0;
    if (!ParseLocaleNumber(text, locale, result))
        return value;  // INF/NAN: nothing to round
    return result;
}

} // namespace durnak::data
