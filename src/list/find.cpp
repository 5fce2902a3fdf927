// Opening the find dialog.
#include "app/form1.h"

#include "list/form2.h"

void Form1::Command12_Click()
{
    // A closed dialog is hidden until it is deleted; the next opening starts afresh.
    if (!Form2_ || Form2_->isHidden())
        Form2_ = new Form2(this);
    Form2_->show();
    Form2_->raise();
    Form2_->activateWindow();
}
