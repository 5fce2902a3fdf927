// The help menu: About, the homepage, the recommendation page.
#include "app/form1.h"

#include "platform/desktop.h"
#include "tools/form5.h"
#include "tools/toolsinfo.h"

void Form1::mnvisithomepage_Click()
{
    desktop().openUrl(ToolsInfo::homepageUrl());
}

void Form1::mnTuijian_Click()
{
    // One window at a time, owned by no one: it outlives the main window. An open one is
    // only brought forward and keeps what it shows.
    if (!Form5_)
        Form5_ = new Form5(desktop());
    Form5_->show();
    Form5_->setWindowState(Form5_->windowState() & ~Qt::WindowMinimized);
    Form5_->raise();
    Form5_->activateWindow();
}

void Form1::mnabout_Click()
{
    MsgBox(ToolsInfo::authorCredit(), QStringLiteral("关于"), Dialogs::Buttons::Ok,
           Dialogs::Icon::Information);
}
