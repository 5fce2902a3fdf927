// Reading typed numbers and writing running numbers.
#include <QLocale>
#include <QTest>

#include <cmath>

#include "app/numbers.h"

class TstNumbers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        const struct {
            const char *text;
            double value;
        } rows[] = {
            {"007", 7}, {"12abc", 12}, {"1 000", 1000}, {"abc", 0}, {"-2", -2}, {"+3", 3},
            {"&H10", 16}, {"&h1f", 31}, {"&O17", 15}, {"&Hxyz", 0}, {"1.5", 1.5}, {"1.5.3", 1.5},
            {".5", 0.5}, {"5.", 5}, {"1e3", 1000}, {"1E-2", 0.01}, {"2.5D1", 25}, {"1e", 1},
            {"1e+", 1}, {"1 2", 12}, {"\t4\n2", 42}, {"", 0}, {" ", 0}, {".", 0}, {"-", 0},
            {"inf", 0}, {"nan", 0}, {"0x10", 0}, {"12,5", 12}, {"-&H10", -16}, {"&O19", 1},
            {"&O", 0}, {"&", 0}, {"&X1", 0}, {"2d", 2}, {"1.5e+1x", 15}, {" - 1 . 5 ", -1.5},
            {"0e999", 0}, {"1e-999", 0}, {"--1", 0}, {"+-1", 0}, {"１２", 0},
        };
        for (const auto &r : rows)
            QTest::newRow(r.text) << QString::fromUtf8(r.text) << r.value;
    }

    void reading()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(readNumber(text), value);
    }

    void hugeNumbersReadAsInfinity()
    {
        QVERIFY(std::isinf(readNumber(u"1e999")));
        QVERIFY(readNumber(u"-1e999") < 0);
    }

    void text_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << QStringLiteral("0");
        QTest::newRow("minus zero") << -0.0 << QStringLiteral("0");
        QTest::newRow("ten") << 10.0 << QStringLiteral("10");
        QTest::newRow("negative") << -2.0 << QStringLiteral("-2");
        QTest::newRow("half") << 1.5 << QStringLiteral("1.5");
        QTest::newRow("three tenths by addition") << 0.1 + 0.1 + 0.1 << QStringLiteral("0.3");
        QTest::newRow("fifteen digits") << 123456789012345.0 << QStringLiteral("123456789012345");
        QTest::newRow("sixteenth digit rounded") << 1234567890123456.0 << QStringLiteral("1.23456789012346E+15");
        QTest::newRow("large") << 1e20 << QStringLiteral("1E+20");
        QTest::newRow("small but plain") << 0.0001 << QStringLiteral("0.0001");
        QTest::newRow("tiny") << -0.00001 << QStringLiteral("-1E-05");
        QTest::newRow("residue of addition") << 0.1 + 0.2 << QStringLiteral("0.3");
        QTest::newRow("negative fraction") << -2.5 << QStringLiteral("-2.5");
    }

    void text()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(numberText(value), text);
    }

    // Typed numbers are read the same everywhere; the written ones follow the user's locale.
    void onlyTheTextFollowsTheLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German));
        QCOMPARE(readNumber(u"1.5"), 1.5);
        QCOMPARE(numberText(2.5), QStringLiteral("2,5"));
        QCOMPARE(numberText(-1000.0), QStringLiteral("-1000"));
        QLocale::setDefault(QLocale::c());
    }
};

QTEST_MAIN(TstNumbers)
#include "tst_numbers.moc"
