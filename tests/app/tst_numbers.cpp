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
            {"0e999", 0}, {"1e-999", 0}, {"1e999", HUGE_VAL}, {"-1e999", -HUGE_VAL}, {"--1", 0}, {"+-1", 0}, {"１２", 0},
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

    void text_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        const struct {
            double value;
            const char *text;
        } rows[] = {
            {0, "0"}, {-0.0, "0"}, {10, "10"}, {-2, "-2"}, {1.5, "1.5"}, {-2.5, "-2.5"}, {0.0001, "0.0001"},
            {0.1 + 0.1 + 0.1, "0.3"}, {123456789012345.0, "123456789012345"},
            {1234567890123456.0, "1.23456789012346E+15"}, {1e20, "1E+20"}, {-0.00001, "-1E-05"},
        };
        for (const auto &r : rows)
            QTest::newRow(QByteArray::number(r.value, 'g', 17).constData()) << r.value << QString::fromUtf8(r.text);
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
