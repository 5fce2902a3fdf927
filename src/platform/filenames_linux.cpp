#include "platform/filenames.h"

#include <algorithm>

#include <QStringEncoder>

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool isEscape(char16_t c)
{
    return c >= 0xDC80 && c <= 0xDCFF;
}

bool isContinuation(uchar b)
{
    return (b & 0xC0) == 0x80;
}

// What an encoding met besides plain text.
struct Encoding {
    QByteArray bytes;
    bool nul = false;
    bool escapes = false;
    bool straySurrogate = false;
};

// Whether the text holds neither U+0000 nor any surrogate: then it is plain UTF-16 and Qt's own
// converter gives the very bytes, at the speed the batch rename needs for every path. The
// loop has no early exit, which lets the compiler check many units at once.
bool isPlainText(QStringView text)
{
    bool plain = true;
    for (const char16_t *s = text.utf16(), *const end = s + text.size(); s < end; ++s)
        plain &= *s != 0 && (*s < 0xD800 || *s > 0xDFFF);
    return plain;
}

Encoding encode(QStringView text)
{
    Encoding e;
    if (isPlainText(text)) {
        e.bytes = text.toUtf8();
        return e;
    }
    // At most three bytes per code unit; a pair of units gives four.
    e.bytes.resize(text.size() * 3);
    char *d = e.bytes.data();
    const char16_t *s = text.utf16();
    const char16_t *const end = s + text.size();
    while (s < end) {
        const char16_t c = *s++;
        if (c < 0x80) {
            e.nul |= c == 0;
            *d++ = char(c);
        } else if (c < 0x800) {
            *d++ = char(0xC0 | (c >> 6));
            *d++ = char(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && s < end && QChar::isLowSurrogate(*s)) {
            const char32_t u = QChar::surrogateToUcs4(c, *s++);
            *d++ = char(0xF0 | (u >> 18));
            *d++ = char(0x80 | ((u >> 12) & 0x3F));
            *d++ = char(0x80 | ((u >> 6) & 0x3F));
            *d++ = char(0x80 | (u & 0x3F));
        } else if (isEscape(c)) {
            e.escapes = true;
            *d++ = char(c & 0xFF);
        } else {
            e.straySurrogate |= QChar::isSurrogate(c);
            *d++ = char(0xE0 | (c >> 12));
            *d++ = char(0x80 | ((c >> 6) & 0x3F));
            *d++ = char(0x80 | (c & 0x3F));
        }
    }
    e.bytes.truncate(d - e.bytes.constData());
    return e;
}

// Written as an escape by visibleFileName: bytes that are not text, and characters that
// show as nothing or move the text about.
bool shownEscaped(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || isEscape(c);
}

void appendHex(QString &out, uchar byte)
{
    static constexpr char16_t digits[] = u"0123456789ABCDEF";
    out += u"\\x";
    out += QChar(digits[byte >> 4]);
    out += QChar(digits[byte & 0xF]);
}

} // namespace

QString decodeFileName(QByteArrayView bytes)
{
    // One pass straight into the result: a folder of tens of thousands of names decodes at
    // the cost of plain UTF-8 decoding, with no check made beforehand.
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const auto *const end = p + bytes.size();
    QString out(bytes.size(), Qt::Uninitialized);  // never more units than bytes
    auto *const begin = reinterpret_cast<char16_t *>(out.data());
    char16_t *d = begin;
    while (p < end) {
        const uchar b = *p;
        if (b < 0x80) {
            *d++ = b;
            ++p;
            continue;
        }
        const auto left = end - p;
        // Overlong forms, UTF-8-encoded surrogates and values past U+10FFFF are not valid:
        // their bytes are carried one by one like any other stray byte.
        if (b >= 0xC2 && b <= 0xDF && left >= 2 && isContinuation(p[1])) {
            *d++ = char16_t(((b & 0x1F) << 6) | (p[1] & 0x3F));
            p += 2;
            continue;
        }
        if (b >= 0xE0 && b <= 0xEF && left >= 3 && isContinuation(p[1]) && isContinuation(p[2])
            && (b != 0xE0 || p[1] >= 0xA0) && (b != 0xED || p[1] < 0xA0)) {
            *d++ = char16_t(((b & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
            p += 3;
            continue;
        }
        if (b >= 0xF0 && b <= 0xF4 && left >= 4 && isContinuation(p[1]) && isContinuation(p[2])
            && isContinuation(p[3]) && (b != 0xF0 || p[1] >= 0x90) && (b != 0xF4 || p[1] < 0x90)) {
            const char32_t u = (char32_t(b & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12)
                               | (char32_t(p[2] & 0x3F) << 6) | char32_t(p[3] & 0x3F);
            *d++ = QChar::highSurrogate(u);
            *d++ = QChar::lowSurrogate(u);
            p += 4;
            continue;
        }
        *d++ = char16_t(kEscapeBase | b);
        ++p;
    }
    out.truncate(d - begin);
    return out;
}

QByteArray encodeFileName(QStringView text)
{
    return encode(text).bytes;
}

void appendFileName(QByteArray &out, QStringView text)
{
    if (!isPlainText(text)) {
        out += encode(text).bytes;
        return;
    }
    const qsizetype at = out.size();
    out.resize(at + 3 * text.size());   // at most three bytes per code unit
    QStringEncoder utf8(QStringEncoder::Utf8, QStringConverter::Flag::Stateless);
    out.truncate(utf8.appendToBuffer(out.data() + at, text) - out.constData());
}

std::optional<QByteArray> kernelPath(QStringView path)
{
    if (!path.startsWith(u'/'))
        return std::nullopt;
    Encoding e = encode(path);
    if (e.nul || e.straySurrogate)
        return std::nullopt;
    // Escapes that happen to spell valid UTF-8 are a second text for another name's bytes.
    if (e.escapes && decodeFileName(e.bytes) != path)
        return std::nullopt;
    return std::move(e.bytes);
}

QString visibleFileName(QStringView text)
{
    const auto needsCare = [](char16_t c) { return c == u'\\' || shownEscaped(c); };
    if (std::none_of(text.utf16(), text.utf16() + text.size(), needsCare))
        return text.toString();
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.utf16()[i];
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text.utf16()[i + 1])) {
            // A character beyond U+FFFF, whose low half may lie in the escape range.
            out += QChar(c);
            out += QChar(text.utf16()[++i]);
        } else if (c == u'\\') {
            const char16_t next = i + 1 < text.size() ? text.utf16()[i + 1] : 0;
            out += u'\\';
            if (i + 1 < text.size() && (next == u'x' || next == u'\\' || shownEscaped(next)))
                out += u'\\';
        } else if (isEscape(c)) {
            appendHex(out, uchar(c & 0xFF));
        } else if (c >= 0x80 && c <= 0x9F) {
            // A control character of the upper half is written as its two UTF-8 bytes, so
            // that it never looks like the stray byte of the same value.
            appendHex(out, 0xC2);
            appendHex(out, uchar(c));
        } else if (shownEscaped(c)) {
            appendHex(out, uchar(c));
        } else {
            out += QChar(c);
        }
    }
    return out;
}

QString pathFromFileUrl(const QUrl &url)
{
    if (!url.isValid() || url.scheme().compare(u"file", Qt::CaseInsensitive) != 0)
        return {};
    if (const QString host = url.host(); !host.isEmpty() && host.compare(u"localhost", Qt::CaseInsensitive) != 0)
        return {};
    if (url.hasQuery() || url.hasFragment())
        return {};
    // The encoded form keeps each byte as the sender wrote it; the decoded forms of QUrl would
    // turn bytes that are not UTF-8 into U+FFFD.
    const QByteArray encoded = url.path(QUrl::FullyEncoded).toLatin1();
    if (encoded.contains("%2F") || encoded.contains("%2f"))
        return {};
    const QByteArray bytes = QByteArray::fromPercentEncoding(encoded);
    if (!bytes.startsWith('/') || bytes.contains('\0'))
        return {};
    return decodeFileName(bytes);
}

QUrl fileUrlOf(const QString &path)
{
    const std::optional<QByteArray> bytes = kernelPath(path);
    if (!bytes)
        return QUrl();
    return QUrl::fromEncoded("file://" + bytes->toPercentEncoding("/"), QUrl::StrictMode);
}
