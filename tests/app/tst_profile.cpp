// The settings file: one value read and written, everything else of the file kept; where it
// is kept; and the folder the window starts in restored from it and written back on close.
#include <optional>

#include "app/profile.h"
#include "platform/filenames.h"
#include "testwindow.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kPath = QStringLiteral("path");
const QString kValue = QStringLiteral("value");

// Makes a folder read-only as an installed copy's folder is. Permission bits stop an ordinary
// user but not root, whom only a read-only mount stops; the mount is made in a mount namespace
// of this process's own, so it goes with the process whatever happens to the test.
struct ReadOnlyFolder {
    explicit ReadOnlyFolder(const QString &folder) : path(QFile::encodeName(folder))
    {
        if (::geteuid() != 0) {
            ok = ::chmod(path.constData(), 0555) == 0;
            return;
        }
        static const bool ownNamespace = ::unshare(CLONE_NEWNS) == 0
            && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        mounted = ownNamespace && ::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) == 0;
        ok = mounted && ::mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
    }
    ~ReadOnlyFolder()
    {
        if (mounted)
            ::umount2(path.constData(), MNT_DETACH);
        else
            ::chmod(path.constData(), 0700);
    }
    QByteArray path;
    bool mounted = false;
    bool ok = false;
};

} // namespace

class TstProfile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // No test reads or writes the user's own configuration folder.
    void initTestCase()
    {
        QVERIFY(config_.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
    }

    void reading_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("case of names") << QByteArray("[PATH]\r\nVALUE = /x \r\n") << QStringLiteral("/x");
        QTest::newRow("other sections first") << QByteArray("[a]\nvalue=no\n[path]\nvalue=yes") << QStringLiteral("yes");
        QTest::newRow("quoted blanks") << QByteArray("[path]\nvalue=\" /a b \"\n") << QStringLiteral(" /a b ");
        QTest::newRow("long value read whole") << QByteArray("[path]\nvalue=" + QByteArray(600, 'x') + "\n")
                                               << QString(600, u'x');
        QTest::newRow("missing key") << QByteArray("[path]\nother=1\n") << QStringLiteral("<none>");
        QTest::newRow("key in other section") << QByteArray("[x]\nvalue=1\n") << QStringLiteral("<none>");
        QTest::newRow("comment") << QByteArray("[path]\n;value=1\n") << QStringLiteral("<none>");
        QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[path]\nvalue=/b\n") << QStringLiteral("/b");
        QTest::newRow("note after the header") << QByteArray("[path] ; last folder\nvalue=/n\n") << QStringLiteral("/n");
        QTest::newRow("first of two keys") << QByteArray("[path]\nvalue=/1\nvalue=/2\n") << QStringLiteral("/1");
        QTest::newRow("empty value") << QByteArray("[path]\nvalue=\n") << QString();
        QTest::newRow("one quote only") << QByteArray("[path]\nvalue=\"/a\n") << QStringLiteral("\"/a");
    }

    void reading()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QCOMPARE(profileValue(content, kPath, kValue).value_or(QStringLiteral("<none>")), expected);
    }

    void writing_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("new file") << QByteArray() << QByteArray("[path]\nvalue=/n\n");
        QTest::newRow("replace keeps the rest")
            << QByteArray("; mine\n[a]\nk=v\n\n[Path]\nx=1\nValue = /old\ny=2\n[b]\n")
            << QByteArray("; mine\n[a]\nk=v\n\n[Path]\nx=1\nValue =/n\ny=2\n[b]\n");
        QTest::newRow("crlf kept") << QByteArray("[path]\r\nvalue=/old\r\n") << QByteArray("[path]\r\nvalue=/n\r\n");
        QTest::newRow("key added to its section") << QByteArray("[path]\nx=1\n\n[b]\nk=v\n")
                                                  << QByteArray("[path]\nx=1\nvalue=/n\n\n[b]\nk=v\n");
        QTest::newRow("section appended") << QByteArray("[b]\nk=v") << QByteArray("[b]\nk=v\n[path]\nvalue=/n\n");
        QTest::newRow("section appended in crlf") << QByteArray("[b]\r\nk=v\r\n")
                                                  << QByteArray("[b]\r\nk=v\r\n[path]\r\nvalue=/n\r\n");
        QTest::newRow("byte order mark kept") << QByteArray("\xEF\xBB\xBF[path]\nvalue=/o\n")
                                              << QByteArray("\xEF\xBB\xBF[path]\nvalue=/n\n");
        QTest::newRow("comment in the section kept") << QByteArray("[path]\n; note\nvalue=/o ; not a comment\n")
                                                     << QByteArray("[path]\n; note\nvalue=/n\n");
        QTest::newRow("empty section gets the key") << QByteArray("[path]\n[b]\n")
                                                    << QByteArray("[path]\nvalue=/n\n[b]\n");
    }

    void writing()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QCOMPARE(withProfileValue(before, kPath, kValue, QStringLiteral("/n")), after);
    }

    void fileRoundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("blanks at the ends") << QStringLiteral(" /tmp/x ");
        QTest::newRow("quotes") << QStringLiteral("\"/q\"");
        QTest::newRow("equals and semicolon") << QStringLiteral("/a=b;c");
        QTest::newRow("chinese") << QStringLiteral("/home/用户/照片");
    }

    // The rest of a file written by hand is kept, and no temporary is left beside it.
    void fileRoundTrip()
    {
        QFETCH(QString, value);
        TempFolder dir;
        const QString ini = makeFile(dir.filePath(QStringLiteral("FilePath.ini")), "; mine\r\n[Other]\r\nvalue=keep\r\n");
        QVERIFY(writeProfileString(ini, kPath, kValue, value));
        QCOMPARE(readProfileString(ini, kPath, kValue).value_or(QStringLiteral("<none>")), value);
        QCOMPARE(readProfileString(ini, QStringLiteral("other"), kValue).value_or(QString()), QStringLiteral("keep"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    // A value, section or key with a line break, and a place that cannot take the file: the
    // write fails and leaves the file as it was. A missing file reads as none.
    void refusedWritesLeaveTheFile()
    {
        TempFolder dir;
        const QString ini = dir.filePath(QStringLiteral("FilePath.ini")), x = QStringLiteral("/x");
        QVERIFY(writeProfileString(ini, kPath, kValue, QStringLiteral("/good")));
        QVERIFY(!writeProfileString(ini, kPath, kValue, QStringLiteral("/bad\nvalue=/evil")));
        QVERIFY(!writeProfileString(ini, kPath, kValue, QStringLiteral("/bad\r")));
        QVERIFY(!writeProfileString(ini, QStringLiteral("path]\n[x"), kValue, x));
        QVERIFY(!writeProfileString(ini, kPath, QStringLiteral("value=/x\nk"), x));
        QCOMPARE(contentOf(ini), QByteArray("[path]\nvalue=/good\n"));
        QVERIFY(!readProfileString(dir.filePath(QStringLiteral("none.ini")), kPath, kValue));
        // A folder where the file should be: neither root nor anyone else can write it.
        QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("folder.ini"))));
        QVERIFY(!writeProfileString(dir.filePath(QStringLiteral("folder.ini")), kPath, kValue, x));
        QVERIFY(!writeProfileString(dir.filePath(QStringLiteral("no/such/dir/FilePath.ini")), kPath, kValue, x));
    }

    // "<tmp>" stands for a folder with files, "<app>" for the program's own folder.
    void startFolderAndWhatCloseSaves_data()
    {
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("shown");
        QTest::newRow("saved folder") << "<tmp>" << "<tmp>";
        QTest::newRow("volume root, one separator") << "/" << "/";
        QTest::newRow("deleted folders: nearest ancestor") << "<tmp>/gone/deeper/still" << "<tmp>";
        QTest::newRow("empty value") << "" << "<app>";
        QTest::newRow("first start, no file") << QString() << "<app>";
    }

    void startFolderAndWhatCloseSaves()
    {
        QFETCH(QString, saved);
        QFETCH(QString, shown);
        TempFolder tmp;
        makeFile(tmp.path() + QStringLiteral("/b.jpg"));
        makeFile(tmp.path() + QStringLiteral("/a.jpg"));
        TestWindow w(saved.isNull() ? saved : saved.replace(QStringLiteral("<tmp>"), tmp.path()));
        shown.replace(QStringLiteral("<tmp>"), tmp.path()).replace(QStringLiteral("<app>"), QDir::cleanPath(w.appDir()));
        QCOMPARE(w->dir1Path(), shown);
        QCOMPARE(w->CurrentFolder, shown == u'/' ? shown : shown + u'/');
        QVERIFY(shown.startsWith(w->Drive1->currentText()));
        if (shown == tmp.path())
            QCOMPARE(entries(w->File1), (QStringList{"a.jpg", "b.jpg"}));
        QVERIFY(w->close());
        QCOMPARE(readProfileString(w.iniPath(), kPath, kValue).value_or(QStringLiteral("<none>")), shown);
    }

    // A folder whose name is not UTF-8 comes back exactly; the file stays UTF-8 for any other
    // reader, with the folder in its visible form, and a value edited by hand wins.
    void folderNotUtf8IsSavedAndRestoredExactly()
    {
        TempFolder tmp;
        const QString folder = decodeFileName(QFile::encodeName(tmp.path()) + "/\xb2\xe2 \xff");
        QCOMPARE(::mkdir(encodeFileName(folder).constData(), 0700), 0);
        TestWindow w;
        w->setDir1(folder);
        QVERIFY(w->close());
        const QByteArray content = contentOf(w.iniPath());
        QCOMPARE(QString::fromUtf8(content).toUtf8(), content);
        QVERIFY2(content.contains("value=" + QFile::encodeName(tmp.path()) + "/\\xB2\\xE2 \\xFF\n"), content.constData());
        QCOMPARE(Form1(w.dialogs, w.desktop, w.appDir()).dir1Path(), folder);
        makeFile(w.iniPath(), QByteArray(content).replace("\\xFF", "\\xFE"));
        QCOMPARE(Form1(w.dialogs, w.desktop, w.appDir()).dir1Path(), tmp.path());
    }

    // A copy whose folder can be written keeps its file there, even beside a copy in the
    // configuration folder; an installed copy keeps it in the configuration folder, reads it
    // from there, and makes the folder on its first close.
    void settingsFolder_data()
    {
        QTest::addColumn<QString>("app");
        QTest::addColumn<bool>("configCopy");
        QTest::addColumn<bool>("beside");
        QTest::newRow("writable folder") << "<tmp>" << true << true;
        QTest::newRow("read-only mount, first start") << "<read-only>" << false << false;
        QTest::newRow("under /usr, which even root leaves alone") << "/usr/bin" << true << false;
    }

    void settingsFolder()
    {
        QFETCH(QString, app);
        QFETCH(bool, configCopy);
        QFETCH(bool, beside);
        TempFolder tmp;
        const QString besideFolder = tmp.path() + QStringLiteral("/b");
        const QString configFolder = tmp.path() + QStringLiteral("/c");
        QVERIFY(QDir().mkdir(besideFolder) && QDir().mkdir(configFolder));
        const QString configIni = config_.path() + QStringLiteral("/quillmere/FilePath.ini");
        QDir(config_.path()).removeRecursively();
        if (configCopy)
            makeFile(configIni, "[path]\nvalue=" + configFolder.toUtf8() + "\n");
        const bool readOnly = app == u"<read-only>";
        if (!app.startsWith(u'/'))
            QVERIFY(QDir().mkdir(app = tmp.path() + QStringLiteral("/app")));
        const QString besideIni = app + QStringLiteral("/FilePath.ini");
        if (beside)
            makeFile(besideIni, "[path]\nvalue=" + besideFolder.toUtf8() + "\n");
        std::optional<ReadOnlyFolder> guard;
        if (readOnly && !guard.emplace(app).ok)
            QSKIP("the folder cannot be made read-only here");

        FakeDialogs dialogs;
        FakeDesktop desktop;
        Form1 w(dialogs, desktop, app);
        const QString shown = beside ? besideFolder : configCopy ? configFolder : app;
        QCOMPARE(w.IniPath, beside ? besideIni : configIni);
        QCOMPARE(w.dir1Path(), shown);
        QVERIFY(w.close());
        QCOMPARE(readProfileString(w.IniPath, kPath, kValue).value_or(QStringLiteral("<none>")), shown);
        if (beside)
            QCOMPARE(readProfileString(configIni, kPath, kValue).value_or(QStringLiteral("<none>")), configFolder);
        else
            QVERIFY(!QFile::exists(besideIni));
    }

    // Not the program's settings file: the window starts at once in its own folder, as without
    // a file, and closing leaves the thing as it was.
    void unusualSettingsFileIsLeftAlone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("fifo") << "fifo";
        QTest::newRow("link to /dev/zero") << "zero";
        QTest::newRow("100 MB of line feeds") << "big";
    }

    void unusualSettingsFileIsLeftAlone()
    {
        QFETCH(QString, kind);
        TempFolder app;
        const QString ini = app.filePath(QStringLiteral("FilePath.ini"));
        const QByteArray name = QFile::encodeName(ini);
        if (kind == u"fifo") {
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        } else if (kind == u"zero") {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), ini));
        } else {
            QFile big(ini);
            QVERIFY(big.open(QIODevice::WriteOnly));
            const QByteArray lineFeeds(1024 * 1024, '\n');
            for (int i = 0; i < 100; ++i)
                big.write(lineFeeds);
        }
        struct stat before {};
        QCOMPARE(::lstat(name.constData(), &before), 0);

        FakeDialogs dialogs;
        FakeDesktop desktop;
        Form1 w(dialogs, desktop, app.path());
        QCOMPARE(w.dir1Path(), QDir::cleanPath(app.path()));
        QVERIFY(w.close());
        struct stat after {};
        QCOMPARE(::lstat(name.constData(), &after), 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_size, before.st_size);
    }

private:
    TempFolder config_;
};

QTEST_MAIN(TstProfile)
#include "tst_profile.moc"
