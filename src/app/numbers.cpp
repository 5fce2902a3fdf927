#include "app/numbers.h"

#include <QByteArray>
#include <QLocale>

#include <cmath>
#include <string>

namespace {

bool ignored(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

int digitValue(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - '0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - 'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - 'A' + 10;
    return 99;
}

double readRadix(const QString &s, qsizetype i, int radix)
{
    double v = 0;
    for (; i < s.size() && digitValue(s[i]) < radix; ++i)
        v = v * radix + digitValue(s[i]);
    return v;
}

} // namespace

double readNumber(QStringView text)
{
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (!ignored(c))
            s += c;

    qsizetype i = 0;
    double sign = 1;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        sign = s[i++] == u'-' ? -1 : 1;

    if (i + 1 < s.size() && s[i] == u'&') {
        const QChar kind = s[i + 1].toUpper();
        if (kind == u'H')
            return sign * readRadix(s, i + 2, 16);
        if (kind == u'O')
            return sign * readRadix(s, i + 2, 8);
        return 0;
    }

    // Collect the longest prefix of the form digits [. digits] [(E|D) [sign] digits].
    std::string number;
    bool digits = false;
    for (; i < s.size() && s[i].isDigit() && s[i].unicode() < 128; ++i, digits = true)
        number += char(s[i].unicode());
    if (i < s.size() && s[i] == u'.') {
        number += '.';
        for (++i; i < s.size() && s[i].unicode() < 128 && s[i].isDigit(); ++i, digits = true)
            number += char(s[i].unicode());
    }
    if (!digits)
        return 0;
    if (i < s.size() && (s[i].toUpper() == u'E' || s[i].toUpper() == u'D')) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            exponent += char(s[j++].unicode());
        const qsizetype firstDigit = j;
        for (; j < s.size() && s[j].unicode() < 128 && s[j].isDigit(); ++j)
            exponent += char(s[j].unicode());
        if (j > firstDigit)   // "1e" or "1e+" stop before the E
            number += exponent;
    }
    // QByteArray reads with the full stop as decimal point whatever the locale.
    bool ok = false;
    const double v = QByteArray::fromStdString(number).toDouble(&ok);
    if (!ok)   // out of range: too large, or too small to tell from 0
        return number.find("e-") != std::string::npos ? 0.0 : sign * HUGE_VAL;
    return sign * v;
}

QString numberText(double v)
{
    if (v == 0)
        return QStringLiteral("0");   // also -0
    // 'G' with 15 digits: plain decimal while 15 significant digits can show the value, and
    // exponent notation such as 1E+20 or 1E-05 beyond that, never a long run of invented zeros.
    QString text = QString::number(v, 'G', 15);
    const QString point = QLocale().decimalPoint();
    if (point != QLatin1String("."))
        text.replace(u'.', point);
    return text;
}
