// A folder's entries found by name, whether its listing is read whole or each name is looked
// up: the same identities as a look at each file, none for a name that is not there.
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fileidentity.h"
#include "tempfolder.h"

class TstFileIdentity : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void identitiesOfNames_data()
    {
        QTest::addColumn<int>("asked");
        // A few names of a folder of 300 are looked up one by one; all of them come from
        // the folder's listing.
        QTest::newRow("each name looked up") << 2;
        QTest::newRow("whole listing") << 300;
    }
    void identitiesOfNames()
    {
        QFETCH(int, asked);
        TempFolder dir;
        const QByteArray folder = QFile::encodeName(dir.path()) + '/';
        QList<QByteArray> names;
        for (int i = 0; i < 300; ++i) {
            // Not UTF-8 either: the bytes are the name.
            names.append(QByteArray("f\xff") + QByteArray::number(i));
            const int fd = ::open((folder + names.last()).constData(), O_WRONLY | O_CREAT, 0600);
            QVERIFY(fd >= 0);
            ::close(fd);
        }
        QList<QByteArrayView> ask(names.cbegin(), names.cbegin() + asked);
        ask.append(names.first());      // asked twice
        ask.append("missing");
        const FolderIdentities ids = FolderIdentities::read(folder, ask);
        QList<FileIdentity> found;
        for (QByteArrayView name : ask)
            found.append(ids.find(name));
        QCOMPARE(found.size(), ask.size());
        for (int i = 0; i < asked + 1; ++i) {
            struct stat st;
            QVERIFY(::lstat((folder + ask[i].toByteArray()).constData(), &st) == 0);
            QCOMPARE(found[i], (FileIdentity{quint64(st.st_dev), quint64(st.st_ino)}));
        }
        QVERIFY(!found.last().known());
    }
};

QTEST_GUILESS_MAIN(TstFileIdentity)
#include "tst_fileidentity.moc"
