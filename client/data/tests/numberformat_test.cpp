#include <cmath>
#include <limits>

#include <QtTest>

#include "durnak/data/numberformat.hpp"

using namespace durnak::data;

namespace {

const QLocale kTurkish(QLocale::Turkish, QLocale::Turkey);

} // namespace

class NumberFormatTest : public QObject {
    Q_OBJECT

private slots:
    void formatFloatTurkish_data();
    void formatFloatTurkish();
    void formatFloatUsesLocaleSeparators_data();
    void formatFloatUsesLocaleSeparators();
    void formatFloatNonFinite();
    void formatCurrIsExact_data();
    void formatCurrIsExact();
    void defaultTexts();
    void ikiHaneYuvarla_data();
    void ikiHaneYuvarla();
    void ikiHaneYuvarlaOtherLocales_data();
    void ikiHaneYuvarlaOtherLocales();
    void parseLocaleNumber_data();
    void parseLocaleNumber();
    void displayLocaleFallsBackToTurkish();
};

void NumberFormatTest::formatFloatTurkish_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    const QString money = kParaFormati;
    QTest::newRow("money") << money << 1234.5 << "1.234,50";
    QTest::newRow("money zero") << money << 0.0 << "0,00";
    QTest::newRow("money below one keeps its integer digit") << money << 0.5 << "0,50";
    QTest::newRow("money several groups") << money << 1234567890.125 << "1.234.567.890,13";
    QTest::newRow("money 15 digits") << money << 1e15 << "1.000.000.000.000.000,00";
    QTest::newRow("money exactly three digits no separator") << money << 999.0 << "999,00";
    QTest::newRow("money carry into a new group") << money << 999999.995 << "1.000.000,00";
    QTest::newRow("stored below the half still rounds up") << money << 2.345 << "2,35";
    QTest::newRow("below the half rounds down") << money << 2.3449 << "2,34";
    QTest::newRow("1234.567") << money << 1234.567 << "1.234,57";
    QTest::newRow("negative") << money << -1234.5 << "-1.234,50";
    QTest::newRow("negative half away from zero") << money << -2.345 << "-2,35";
    QTest::newRow("negative rounding to zero has no sign") << money << -0.004 << "0,00";
    QTest::newRow("two integer digits") << kIkiBasamakFormati << 5.0 << "05,00";
    QTest::newRow("two integer digits, more present") << kIkiBasamakFormati << 12345.0 << "12.345,00";
    QTest::newRow("two integer digits zero") << kIkiBasamakFormati << 0.0 << "00,00";
    QTest::newRow("no integer digit") << kYuvarlamaFormati << 0.5 << ",50";
    QTest::newRow("no integer digit zero") << kYuvarlamaFormati << 0.0 << ",00";
    QTest::newRow("no integer digit rounds to one") << kYuvarlamaFormati << 0.999 << "1,00";
    QTest::newRow("no integer digit negative") << kYuvarlamaFormati << -0.5 << "-,50";
    QTest::newRow("no integer digit grouped") << kYuvarlamaFormati << 1234.567 << "1.234,57";
    QTest::newRow("three decimals") << kUcHaneFormati << 1234.5678 << "1.234,568";
    QTest::newRow("three decimals small half") << kUcHaneFormati << 0.0005 << ",001";
    QTest::newRow("optional decimals dropped") << "0.##" << 2.0 << "2";
    QTest::newRow("optional decimals kept") << "0.##" << 1.5 << "1,5";
    QTest::newRow("no grouping without comma") << "0.00" << 1234.5 << "1234,50";
    QTest::newRow("negative section") << "#,##0.00;(#,##0.00)" << -1234.5 << "(1.234,50)";
    QTest::newRow("zero section") << "0.00;-0.00;'yok'" << 0.001 << "yok";
    QTest::newRow("literal suffix") << "#,##0.00 TL" << 1234.5 << "1.234,50 TL";
}

void NumberFormatTest::formatFloatTurkish()
{
    QFETCH(QString, pattern);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(FormatFloat(pattern, value, kTurkish), expected);
}

void NumberFormatTest::formatFloatUsesLocaleSeparators_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected");
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << "1,234,567.89";
    QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany) << "1.234.567,89";
    const QLocale french(QLocale::French, QLocale::France);
    const QString space = french.groupSeparator();
    QTest::newRow("fr_FR") << french << QString(QStringLiteral("1") + space + QStringLiteral("234") + space + QStringLiteral("567,89"));
}

void NumberFormatTest::formatFloatUsesLocaleSeparators()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    QCOMPARE(FormatFloat(kParaFormati, 1234567.891, locale), expected);
}

void NumberFormatTest::formatFloatNonFinite()
{
    QCOMPARE(FormatFloat(kParaFormati, std::numeric_limits<double>::quiet_NaN(), kTurkish), "NAN");
    QCOMPARE(FormatFloat(kParaFormati, std::numeric_limits<double>::infinity(), kTurkish), "INF");
    QCOMPARE(FormatFloat(kParaFormati, -std::numeric_limits<double>::infinity(), kTurkish), "-INF");
}

void NumberFormatTest::formatCurrIsExact_data()
{
    QTest::addColumn<qint64>("scaled");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1234.5") << qint64(12345000) << "1.234,50";
    QTest::newRow("half a cent rounds away from zero") << qint64(-50) << "-0,01";
    QTest::newRow("just below half a cent has no sign") << qint64(-49) << "0,00";
    QTest::newRow("beyond double precision") << std::numeric_limits<qint64>::max() << "922.337.203.685.477,58";
    QTest::newRow("most negative") << std::numeric_limits<qint64>::min() << "-922.337.203.685.477,58";
}

void NumberFormatTest::formatCurrIsExact()
{
    QFETCH(qint64, scaled);
    QFETCH(QString, expected);
    QCOMPARE(FormatCurr(kParaFormati, scaled, kTurkish), expected);
}

void NumberFormatTest::defaultTexts()
{
    QCOMPARE(FixedToString(12345000, kTurkish), "1234,5");
    QCOMPARE(FixedToString(-5, kTurkish), "-0,0005");
    QCOMPARE(FixedToString(0, kTurkish), "0");
    QCOMPARE(FloatToString(1234.5, kTurkish), "1234,5");
    QCOMPARE(FloatToString(0.1 + 0.2, kTurkish), "0,3");
}

void NumberFormatTest::ikiHaneYuvarla_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("group separator removed before reading") << 1234.567 << 1234.57;
    QTest::newRow("several groups") << 1234567.891 << 1234567.89;
    QTest::newRow("2.346") << 2.346 << 2.35;
    QTest::newRow("2.345 stored below the half") << 2.345 << 2.35;
    QTest::newRow("below one reads back without integer digit") << 0.5 << 0.5;
    QTest::newRow("0.004 rounds to zero") << 0.004 << 0.0;
    QTest::newRow("0.005 rounds up") << 0.005 << 0.01;
    QTest::newRow("zero") << 0.0 << 0.0;
    QTest::newRow("negative") << -2.345 << -2.35;
    QTest::newRow("negative below one") << -0.5 << -0.5;
    QTest::newRow("already two decimals") << 19.99 << 19.99;
}

void NumberFormatTest::ikiHaneYuvarla()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    const double result = IkiHaneYuvarla(value, kTurkish);
    QVERIFY2(result == expected, qPrintable(QStringLiteral("%1 -> %2").arg(value, 0, 'g', 17).arg(result, 0, 'g', 17)));
}

void NumberFormatTest::ikiHaneYuvarlaOtherLocales_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany);
    QTest::newRow("fr_FR narrow space groups") << QLocale(QLocale::French, QLocale::France);
    QTest::newRow("de_CH apostrophe groups") << QLocale(QLocale::German, QLocale::Switzerland);
}

void NumberFormatTest::ikiHaneYuvarlaOtherLocales()
{
    QFETCH(QLocale, locale);
    QCOMPARE(IkiHaneYuvarla(1234567.891, locale), 1234567.89);
    QCOMPARE(IkiHaneYuvarla(0.5, locale), 0.5);
    QCOMPARE(IkiHaneYuvarla(-0.125, locale), -0.13);
}

void NumberFormatTest::parseLocaleNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("expected");
    QTest::newRow("grouped") << "1.234,5" << true << 1234.5;
    QTest::newRow("no integer digit") << ",50" << true << 0.5;
    QTest::newRow("negative no integer digit") << "-,50" << true << -0.5;
    QTest::newRow("blank around") << " 12,5 " << true << 12.5;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("sign only") << "-" << false << 0.0;
    QTest::newRow("double sign") << "--1" << false << 0.0;
    QTest::newRow("letters") << "12a" << false << 0.0;
}

void NumberFormatTest::parseLocaleNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, expected);
    double value = -99;
    QCOMPARE(ParseLocaleNumber(text, kTurkish, value), ok);
    if (ok)
        QCOMPARE(value, expected);
}

void NumberFormatTest::displayLocaleFallsBackToTurkish()
{
    if (QLocale::system().language() != QLocale::C)
        QSKIP("needs a C/POSIX system locale (the CTest run sets one)");
    QCOMPARE(DisplayLocale().language(), QLocale::Turkish);
    QCOMPARE(FormatFloat(kParaFormati, 1234.5), "1.234,50");
}

QObject* numberFormatTests()
{
    return new NumberFormatTest;
}

#include "numberformat_test.moc"
