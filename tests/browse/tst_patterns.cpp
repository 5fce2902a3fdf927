// File-name patterns of the filter box.
#include <QTest>

#include "browse/patterns.h"

class TstPatterns : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void matching_data()
    {
        QTest::addColumn<QString>("patterns");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");
        const struct {
            const char *patterns, *name;
            bool matches;
        } rows[] = {
            {"*.*", "a.txt", true}, {"*.*", "readme", true}, {"*.jpg", "A.JPG", true},
            {"*.jpg", "a.jpeg", false}, {"*.jpg;*.png", "b.png", true}, {"*.jpg;*.png", "c.gif", false},
            {"a?.txt", "ab.txt", true}, {"a?.txt", "abc.txt", false}, {"*.jpg;", "x.jpg", true},
            {"", "x", false}, {";;", "x", false}, {"[ab].txt", "[ab].txt", true},
            {"[ab].txt", "a.txt", false}, {"照片*", "照片1.jpg", true},
        };
        for (const auto &r : rows)
            QTest::newRow(qPrintable(QStringLiteral("%1 ~ %2").arg(QString::fromUtf8(r.patterns), QString::fromUtf8(r.name))))
                << QString::fromUtf8(r.patterns) << QString::fromUtf8(r.name) << r.matches;
    }

    void matching()
    {
        QFETCH(QString, patterns);
        QFETCH(QString, name);
        QFETCH(bool, matches);
        QCOMPARE(NamePatterns(patterns).matches(name), matches);
    }
};

QTEST_MAIN(TstPatterns)
#include "tst_patterns.moc"
