#include "browse/filelisting.h"

#include <QCollator>
#include <QDir>

#include <algorithm>
#include <vector>

#include "browse/patterns.h"

QStringList listPaneFiles(const QString &folder, const NamePatterns &patterns)
{
    const QStringList all = QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);

    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);

    // Sort keys once per name: comparing keys is far cheaper than collating pairs.
    struct Keyed {
        QCollatorSortKey key;
        QString name;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(all.size());
    for (const QString &name : all) {
        if (patterns.matches(name))
            keyed.push_back({collator.sortKey(name), name});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        const int c = a.key.compare(b.key);
        return c != 0 ? c < 0 : a.name < b.name;
    });

    QStringList names;
    names.reserve(int(keyed.size()));
    for (const Keyed &k : keyed)
        names << k.name;
    return names;
}
