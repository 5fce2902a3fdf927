#include "app/numbers.h"

#include <QLocale>

double readNumber(QStringView text)
{
    QString s;
    for (QChar c : text)
        if (c != u' ' && c != u'\t' && c != u'\n')
            s += c;
    bool ok = false;
    int end = s.size();
    while (end > 0) {
        const double v = s.left(end).toDouble(&ok);
        if (ok)
            return v;
        --end;
    }
    return 0;
}

QString numberText(double v)
{
    if (v == 0)
        return QStringLiteral("0");
    QString t = QString::number(v, 'g', 15);
    return t.replace(u'.', QLocale().decimalPoint());
}
