#pragma once

class QPushButton;

// Pictures for the buttons whose captions are symbols: from the desktop's icon theme, with a
// picture of Qt's own style where the theme has none, so they show on a bare system too.
enum class ButtonPicture { OpenFolder, Find, Deduplicate, DropMissing, GetFolder };

void setButtonIcon(QPushButton *button, ButtonPicture picture);
