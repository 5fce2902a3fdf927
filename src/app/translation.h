#pragma once

class QCoreApplication;

// Qt's own texts — the standard buttons, the input prompt, the folder picker — in the
// program's language, Simplified Chinese, whatever language the desktop is set to: a window
// whose own texts are Chinese should not answer in English buttons. False when Qt's Chinese
// catalogue is not installed; those texts then stay in English.
bool installQtTranslation(QCoreApplication &app);
