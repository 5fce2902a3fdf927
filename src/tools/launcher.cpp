// The launcher of the programs kept beside this one.
#include "app/form1.h"

#include "tools/form3.h"

void Form1::mnVarrowSoft_Click()
{
    // One window at a time, owned by no one: it outlives the main window. An open one is
    // only brought forward and its list is not read again.
    if (!Form3_)
        Form3_ = new Form3(dialogs(), desktop());
    Form3_->show();
    Form3_->setWindowState(Form3_->windowState() & ~Qt::WindowMinimized);
    Form3_->raise();
    Form3_->activateWindow();
}
