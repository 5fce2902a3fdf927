// The real standard dialogs speak the program's language once Qt's Chinese catalogue is
// loaded as the program loads it, and the real folder picker opens where it is asked to.
#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include "tempfolder.h"
#include <QTest>
#include <QTimer>

#include <functional>

#include "app/translation.h"
#include "platform/dialogs.h"

using namespace Qt::StringLiterals;

namespace {

// A button's text as read on screen: the mnemonic marker and its "(&Y)" shown as "(Y)" aside.
QString shown(QString text)
{
    text.remove(u'&');
    const qsizetype open = text.indexOf(u'(');
    return open > 0 ? text.left(open) : text;
}

QStringList buttonTexts(QWidget *dialog)
{
    QStringList texts;
    for (auto *box : dialog->findChildren<QDialogButtonBox *>())
        for (QAbstractButton *b : box->buttons())
            if (b->isVisible())
                texts << shown(b->text());
    texts.sort();
    return texts;
}

// Runs `look` on the modal dialog as soon as it is up, then dismisses it, so that the real
// exec() of the seam runs and returns.
void whenModal(const std::function<void(QDialog *)> &look)
{
    QTimer::singleShot(0, [look] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return whenModal(look);
        look(dialog);
        dialog->reject();
    });
}

} // namespace

class TstTranslation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Qt's picker keeps its history in ~/.config/QtProject.conf; the test's goes elsewhere.
        QVERIFY(config_.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
        QVERIFY(installQtTranslation(*qApp));
    }

    void standardButtonsAreChinese_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("buttons");
        QTest::newRow("message") << u"ok"_s << QStringList{u"确定"_s};
        QTest::newRow("question") << u"yesno"_s << QStringList{u"否"_s, u"是"_s};
        QTest::newRow("input prompt") << u"input"_s << QStringList{u"取消"_s, u"确定"_s};
    }

    void standardButtonsAreChinese()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, buttons);
        QtDialogs dialogs;
        QStringList seen;
        whenModal([&](QDialog *d) { seen = buttonTexts(d); });
        if (kind == u"input")
            QCOMPARE(dialogs.input(nullptr, u"输入"_s, u"移项"_s), QString());
        else
            dialogs.message(nullptr, u"文本"_s, u"Quillmere"_s,
                            kind == u"ok" ? Dialogs::Buttons::Ok : Dialogs::Buttons::YesNo,
                            Dialogs::Icon::None);
        QCOMPARE(seen, buttons);
    }

    // Qt's own picker here (the offscreen platform has no native one): it opens on the folder
    // given, shows the prompt where the user reads it, and its buttons are Chinese too.
    void pickerOpensOnStartFolderWithPrompt()
    {
        TempFolder dir;
        QtDialogs dialogs;
        QStringList seen;
        whenModal([&](QDialog *d) {
            auto *picker = qobject_cast<QFileDialog *>(d);
            if (picker)
                seen = QStringList{picker->directory().absolutePath(), picker->windowTitle(),
                                   picker->labelText(QFileDialog::LookIn)} + buttonTexts(d);
        });
        QCOMPARE(dialogs.pickFolder(nullptr, u"请选择文件夹"_s, dir.path() + u'/'), QString());
        QCOMPARE(seen, (QStringList{dir.path(), u"请选择文件夹"_s, u"请选择文件夹"_s, u"取消"_s, u"选择"_s}));
    }

private:
    TempFolder config_;
};

QTEST_MAIN(TstTranslation)
#include "tst_translation.moc"
