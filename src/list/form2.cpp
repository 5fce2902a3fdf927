#include "list/form2.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "app/form1.h"
#include "walk/entrylist.h"
#include "walk/listedits.h"
#include "walk/walk.h"

namespace {

// The dialog's arrangement is given in twips; at 96 dots per inch a pixel is 15 twips.
QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

} // namespace

Form2::Form2(Form1 *owner) : QWidget(owner, Qt::Dialog), owner_(owner)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("查找"));
    setFixedSize(4815 / 15, 1575 / 15);

    Text1 = new QLineEdit(this);
    Text1->setAccessibleName(QStringLiteral("查找"));
    Command1 = new QPushButton(QStringLiteral("查找"), this);
    Command1->setAutoDefault(false);
    Check1 = new QCheckBox(QStringLiteral("文件列表"), this);
    Check1->setChecked(true);
    Check2 = new QCheckBox(QStringLiteral("预览列表"), this);
    Check2->setChecked(true);
    Label1 = new QLabel(this);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Text1->setGeometry(twips(120, 120, 3375, 375));
    Command1->setGeometry(twips(3600, 120, 1095, 375));
    Check1->setGeometry(twips(3600, 600, 1095, 375));
    Check2->setGeometry(twips(3600, 1080, 1095, 375));
    Label1->setGeometry(twips(120, 600, 3375, 735));

    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Text1, &QLineEdit::returnPressed, this, [this] { Text1_KeyPress(13); });
    Text1->setFocus();
}

void Form2::Command1_Click()
{
    const QString text = Text1->text();
    const bool inList = Check1->isChecked();
    const bool inPane = Check2->isChecked();
    // Both lists together hold up to twice 32767 entries.
    int found = 0;
    // The main window stays while the search yields; the dialog may be closed meanwhile.
    const HeldOpen held(owner_->closeGuard());
    QPointer<Form2> alive(this);
    if (!text.isEmpty() && inList)
        found += markMatches(*owner_, held, owner_->List1, text);
    if (!alive || held.closing())
        return;
    if (!text.isEmpty() && inPane)
        found += markMatches(*owner_, held, owner_->File1, text);
    if (!alive || held.closing())
        return;
    Label1->setText(QStringLiteral("共找到 ") + QString::number(found)
                    + QStringLiteral(" 个项目，已将它们标记。"));
}

void Form2::Text1_KeyPress(int keyAscii)
{
    if (keyAscii == 13)
        Command1_Click();
}

int markMatches(Form1 &window, const HeldOpen &held, EntryList *list, const QString &text)
{
    window.ShowProgressBar(list->count());
    if (!Walk(held, list, Walk::Order::FromTop).withProgress(window.progressStep()).toEnd()) {
        window.UnShowProgressBar();
        return 0;
    }
    const QStringList texts = entryTexts(list);
    QList<bool> matches(texts.size());
    int found = 0;
    for (qsizetype row = 0; row < texts.size(); ++row) {
        matches[row] = texts[row].contains(text, Qt::CaseSensitive);
        found += matches[row] ? 1 : 0;
    }
    setSelectedFlags(list, matches);
    window.UnShowProgressBar();
    return found;
}
