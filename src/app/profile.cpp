#include "app/profile.h"

#include <QList>

#include "platform/filenames.h"
#include "platform/smallfile.h"

namespace {

struct Line {
    QByteArray text;    // without its line ending
    QByteArray ending;  // "\n", "\r\n" or empty on a last line without one
};

// Editors on Windows like to start UTF-8 files with a byte order mark; it is not part of the
// first line's text, but a write keeps it.
const QByteArray kBom("\xEF\xBB\xBF");

QList<Line> splitLines(const QByteArray &content)
{
    QList<Line> lines;
    qsizetype start = content.startsWith(kBom) ? kBom.size() : 0;
    while (start < content.size()) {
        const qsizetype lf = content.indexOf('\n', start);
        if (lf < 0) {
            lines.append({content.mid(start), QByteArray()});
            break;
        }
        const bool cr = lf > start && content.at(lf - 1) == '\r';
        lines.append({content.mid(start, lf - start - (cr ? 1 : 0)), cr ? "\r\n" : "\n"});
        start = lf + 1;
    }
    return lines;
}

// The name of a "[section]" line, or nothing. Text after the closing bracket (a comment, say)
// does not stop the line from opening its section.
std::optional<QString> sectionName(const QByteArray &line)
{
    const QByteArray t = line.trimmed();
    const qsizetype close = t.indexOf(']');
    if (!t.startsWith('[') || close < 0)
        return std::nullopt;
    return QString::fromUtf8(t.mid(1, close - 1)).trimmed();
}

// The key of a "key=value" line, or nothing (comments and other lines).
std::optional<QString> keyName(const QByteArray &line)
{
    const QByteArray t = line.trimmed();
    if (t.isEmpty() || t.startsWith(';') || t.startsWith('#') || t.startsWith('['))
        return std::nullopt;
    const qsizetype eq = t.indexOf('=');
    if (eq <= 0)
        return std::nullopt;
    return QString::fromUtf8(t.left(eq)).trimmed();
}

QString valueOf(const QByteArray &line)
{
    QByteArray v = line.mid(line.indexOf('=') + 1).trimmed();
    // A value quoted as a whole loses its quotes, so blanks at its ends survive a round trip.
    if (v.size() >= 2 && v.startsWith('"') && v.endsWith('"'))
        v = v.mid(1, v.size() - 2);
    return QString::fromUtf8(v);
}

QByteArray encodedValue(const QString &value)
{
    const bool quote = value != value.trimmed() || (value.startsWith(u'"') && value.endsWith(u'"'));
    const QByteArray utf8 = value.toUtf8();
    return quote ? '"' + utf8 + '"' : utf8;
}

bool same(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

std::optional<QString> profileValue(const QByteArray &content, const QString &section,
                                    const QString &key)
{
    bool inSection = false;
    for (const Line &line : splitLines(content)) {
        if (const auto name = sectionName(line.text)) {
            inSection = same(*name, section);
        } else if (inSection) {
            const auto k = keyName(line.text);
            if (k && same(*k, key))
                return valueOf(line.text);
        }
    }
    return std::nullopt;
}

QByteArray withProfileValue(const QByteArray &content, const QString &section, const QString &key,
                            const QString &value)
{
    QList<Line> lines = splitLines(content);
    const QByteArray newline = content.contains("\r\n") ? QByteArray("\r\n") : QByteArray("\n");
    const QByteArray entry = key.toUtf8() + '=' + encodedValue(value);

    qsizetype sectionAt = -1;   // the matching section's header line
    qsizetype lastKeyAt = -1;   // its last key line
    bool inSection = false;
    bool replaced = false;
    for (qsizetype i = 0; i < lines.size() && !replaced; ++i) {
        if (const auto name = sectionName(lines[i].text)) {
            if (sectionAt >= 0 && inSection)
                break;
            inSection = same(*name, section);
            if (inSection && sectionAt < 0)
                sectionAt = lastKeyAt = i;
            continue;
        }
        if (!inSection)
            continue;
        if (const auto k = keyName(lines[i].text)) {
            if (same(*k, key)) {
                lines[i].text = lines[i].text.left(lines[i].text.indexOf('=') + 1) + encodedValue(value);
                replaced = true;
            } else {
                lastKeyAt = i;
            }
        }
    }
    if (!replaced) {
        if (!lines.isEmpty() && lines.last().ending.isEmpty())
            lines.last().ending = newline;
        if (sectionAt < 0) {
            lines.append({'[' + section.toUtf8() + ']', newline});
            lines.append({entry, newline});
        } else {
            lines.insert(lastKeyAt + 1, {entry, newline});
        }
    }
    QByteArray out;
    out.reserve(content.size() + entry.size() + 16);
    if (content.startsWith(kBom))
        out += kBom;
    for (const Line &line : std::as_const(lines))
        out += line.text + line.ending;
    return out;
}

QByteArray withoutProfileKey(const QByteArray &content, const QString &section, const QString &key)
{
    QList<Line> lines = splitLines(content);
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionName(lines[i].text)) {
            inSection = same(*name, section);
        } else if (inSection) {
            const auto k = keyName(lines[i].text);
            if (k && same(*k, key)) {
                lines.removeAt(i);
                break;
            }
        }
    }
    QByteArray out;
    if (content.startsWith(kBom))
        out += kBom;
    for (const Line &line : std::as_const(lines))
        out += line.text + line.ending;
    return out;
}

std::optional<QString> readProfileString(const QString &file, const QString &section,
                                         const QString &key)
{
    const SmallFile f = readSmallFile(file, kMaxProfileBytes);
    if (f.kind != SmallFile::Kind::Regular)
        return std::nullopt;
    return profileValue(f.content, section, key);
}

bool writeProfileString(const QString &file, const QString &section, const QString &key,
                        const QString &value)
{
    // A line break would end the line early and let the rest pose as further keys or sections.
    const auto breaksLine = [](const QString &t) { return t.contains(u'\n') || t.contains(u'\r'); };
    if (breaksLine(value) || breaksLine(section) || breaksLine(key) || section.contains(u']')
        || key.contains(u'=') || section.trimmed().isEmpty() || key.trimmed().isEmpty())
        return false;
    const SmallFile old = readSmallFile(file, kMaxProfileBytes);
    if (old.kind == SmallFile::Kind::Other)
        return false;
    return writeSmallFile(file, withProfileValue(old.content, section, key, value));
}

namespace {

QString bytesKey(const QString &key)
{
    return key + QStringLiteral(".bytes");
}

} // namespace

std::optional<QString> readProfilePath(const QString &file, const QString &section,
                                       const QString &key)
{
    const SmallFile f = readSmallFile(file, kMaxProfileBytes);
    if (f.kind != SmallFile::Kind::Regular)
        return std::nullopt;
    const std::optional<QString> value = profileValue(f.content, section, key);
    const std::optional<QString> bytes = profileValue(f.content, section, bytesKey(key));
    if (value && bytes) {
        const QString exact = decodeFileName(QByteArray::fromPercentEncoding(bytes->toLatin1()));
        if (visibleFileName(exact) == *value)
            return exact;
    }
    return value;
}

bool writeProfilePath(const QString &file, const QString &section, const QString &key,
                      const QString &path)
{
    const QByteArray exact = encodeFileName(path);
    // A path that is plain UTF-8 on one line is kept as it always was, alone; any other is
    // written visibly (its line breaks escaped too) and exactly.
    const bool plain = QString::fromUtf8(exact) == path && !path.contains(u'\n') && !path.contains(u'\r');
    if (section.contains(u']') || section.contains(u'\n') || section.contains(u'\r'))
        return false;
    const SmallFile old = readSmallFile(file, kMaxProfileBytes);
    if (old.kind == SmallFile::Kind::Other)
        return false;
    QByteArray content = withProfileValue(old.content, section, key, plain ? path : visibleFileName(path));
    content = plain ? withoutProfileKey(content, section, bytesKey(key))
                    : withProfileValue(content, section, bytesKey(key),
                                       QString::fromLatin1(exact.toPercentEncoding("/")));
    return writeSmallFile(file, content);
}
