#include "rename/journalformat.h"

#include <charconv>
#include <cstring>
#include <zlib.h>

namespace JournalFormat {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

bool continuation(uchar c)
{
    return (c & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at p (overlong forms, surrogates and code points
// beyond U+10FFFF are not valid), or 0.
qsizetype utf8Length(const uchar *p, qsizetype left)
{
    const uchar c = p[0];
    if (c >= 0xC2 && c <= 0xDF)
        return left >= 2 && continuation(p[1]) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (left < 3 || !continuation(p[1]) || !continuation(p[2]))
            return 0;
        if ((c == 0xE0 && p[1] < 0xA0) || (c == 0xED && p[1] > 0x9F))
            return 0;
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (left < 4 || !continuation(p[1]) || !continuation(p[2]) || !continuation(p[3]))
            return 0;
        if ((c == 0xF0 && p[1] < 0x90) || (c == 0xF4 && p[1] > 0x8F))
            return 0;
        return 4;
    }
    return 0;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

char *writeEscaped(char *out, QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const uchar c = p[i];
        if (c > 0x20 && c < 0x7F && c != '%') {
            *out++ = char(c);
            ++i;
            continue;
        }
        if (c >= 0x80) {
            if (const qsizetype len = utf8Length(p + i, n - i)) {
                std::memcpy(out, p + i, size_t(len));
                out += len;
                i += len;
                continue;
            }
        }
        *out++ = '%';
        *out++ = kHex[c >> 4];
        *out++ = kHex[c & 15];
        ++i;
    }
    return out;
}

void appendEscaped(QByteArray &out, QByteArrayView bytes)
{
    const qsizetype at = out.size();
    out.resize(at + 3 * bytes.size());
    out.truncate(writeEscaped(out.data() + at, bytes) - out.constData());
}

bool appendUnescaped(QByteArray &out, QByteArrayView field)
{
    qsizetype plainFrom = 0;   // bytes that stand for themselves go in a run at a time
    for (qsizetype i = field.indexOf('%'); i >= 0; i = field.indexOf('%', plainFrom)) {
        if (i + 2 >= field.size())
            return false;
        const int hi = hexValue(field[i + 1]);
        const int lo = hexValue(field[i + 2]);
        if (hi < 0 || lo < 0)
            return false;
        out.append(field.sliced(plainFrom, i - plainFrom));
        out += char(hi * 16 + lo);
        plainFrom = i + 3;
    }
    out.append(field.sliced(plainFrom));
    return true;
}

bool unescape(QByteArrayView field, QByteArray &out)
{
    out.clear();
    return appendUnescaped(out, field);
}

char *writeNumber(char *out, quint64 value)
{
    return std::to_chars(out, out + 20, value).ptr;
}

void appendNumber(QByteArray &out, quint64 value)
{
    char digits[20];
    out.append(digits, writeNumber(digits, value) - digits);
}

bool readNumber(QByteArrayView field, quint64 &value)
{
    if (field.isEmpty() || field.size() > 20)
        return false;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    return ec == std::errc() && end == field.data() + field.size();
}

quint32 crc(quint32 sum, QByteArrayView bytes)
{
    // zlib takes at most 4 GiB at a time; a plan is far smaller, but the loop costs nothing.
    const auto *p = reinterpret_cast<const Bytef *>(bytes.data());
    qsizetype left = bytes.size();
    uLong value = sum;
    while (left > 0) {
        const uInt chunk = uInt(qMin<qsizetype>(left, 1 << 30));
        value = ::crc32(value, p, chunk);
        p += chunk;
        left -= chunk;
    }
    return quint32(value);
}

quint32 crcOfBoth(quint32 first, quint32 second, qsizetype secondSize)
{
    return quint32(::crc32_combine(first, second, z_off_t(secondSize)));
}

void appendHex8(QByteArray &out, quint32 value)
{
    char text[8];
    for (int i = 7; i >= 0; --i, value >>= 4)
        text[i] = kHex[value & 15];
    out.append(text, 8);
}

void appendRecord(QByteArray &out, QByteArrayView text)
{
    out += text;
    out += ' ';
    appendHex8(out, crc(0, text));
    out += '\n';
}

bool readRecord(QByteArrayView line, QByteArrayView &text)
{
    if (line.size() < 10 || line[line.size() - 9] != ' ')
        return false;
    text = line.first(line.size() - 9);
    QByteArray expected;
    appendHex8(expected, crc(0, text));
    return line.last(8) == QByteArrayView(expected);
}

QByteArray timeText(const QDateTime &utc)
{
    return utc.toUTC().toString(Qt::ISODateWithMs).toLatin1();
}

QDateTime readTime(QByteArrayView field)
{
    QDateTime t = QDateTime::fromString(QString::fromLatin1(field), Qt::ISODateWithMs);
    return t.isValid() ? t.toUTC() : QDateTime();
}

} // namespace JournalFormat
